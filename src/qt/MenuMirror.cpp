#include "qt/MenuMirror.h"

#include <QAction>

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "core/exchanges/NetworkText.h"

namespace pricora {

MenuMirror::MenuMirror(MenuRef model, MenuActionTarget& target, ImageCache& images)
    : model_(std::move(model)), target_(target), images_(images), menu_(std::make_unique<QMenu>()) {
  model_->addObserver(this);
  connect(menu_.get(), &QMenu::aboutToShow, this, [this] {
    toldOpen_ = true;
    if (MenuDelegate* delegate = model_->delegate()) delegate->menuWillOpen(*model_);
    if (dirty_) sync();
  });
  connect(menu_.get(), &QMenu::aboutToHide, this, [this] { tellClosed(); });
}

MenuMirror::~MenuMirror() {
  model_->removeObserver(this);
  // The actions belong to the QMenu; detach the submenus first so none outlives its action.
  for (Entry& entry : entries_)
    if (entry.submenu) entry.action->setMenu(nullptr);
  entries_.clear();
}

QString MenuMirror::literalText(const std::string& title) {
  QString text = QString::fromStdString(shownText(title));
  text.replace('&', "&&");
  return text;
}

void MenuMirror::tellClosed() {
  if (!std::exchange(toldOpen_, false)) return;
  if (MenuDelegate* delegate = model_->delegate()) delegate->menuDidClose(*model_);
}

void MenuMirror::setModel(MenuRef model) {
  if (model == model_) return;
  // The user opened the old model; the new one shows in its place without being opened.
  tellClosed();
  model_->removeObserver(this);
  model_ = std::move(model);
  model_->addObserver(this);
  menuChanged(*model_);
}

void MenuMirror::menuChanged(Menu&) {
  dirty_ = true;
  if (!menu_->isVisible() || syncQueued_) return;
  // Many changes arrive in one burst (a refresh fills whole submenus): follow them once.
  syncQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        syncQueued_ = false;
        if (dirty_) sync();
      },
      Qt::QueuedConnection);
}

void MenuMirror::sync() {
  dirty_ = false;
  const std::vector<MenuItemRef>& items = model_->itemArray();

  std::unordered_set<const MenuItem*> wanted;
  wanted.reserve(items.size());
  for (const MenuItemRef& item : items) wanted.insert(item.get());
  std::erase_if(entries_, [&](Entry& entry) {
    if (wanted.contains(entry.item.get())) return false;
    if (entry.submenu) entry.action->setMenu(nullptr);
    delete entry.action;
    return true;
  });

  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i < entries_.size() && entries_[i].item == items[i]) {
      update(entries_[i]);
      continue;
    }
    Entry entry;
    auto found = std::find_if(entries_.begin() + static_cast<std::ptrdiff_t>(std::min(i, entries_.size())),
                              entries_.end(), [&](const Entry& e) { return e.item == items[i]; });
    if (found != entries_.end()) {
      entry = std::move(*found);
      entries_.erase(found);
      menu_->removeAction(entry.action);
    } else {
      entry.item = items[i];
      entry.action = new QAction(menu_.get());
      connect(entry.action, &QAction::triggered, this, [this, weak = std::weak_ptr<MenuItem>(items[i])] {
        if (MenuItemRef item = weak.lock(); item && item->action() != MenuAction::none)
          target_.sendAction(item->action(), *item);
      });
    }
    menu_->insertAction(i < entries_.size() ? entries_[i].action : nullptr, entry.action);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), std::move(entry));
    update(entries_[i]);
  }
}

void MenuMirror::update(Entry& entry) {
  const MenuItem& item = *entry.item;
  QAction& action = *entry.action;
  action.setSeparator(item.isSeparatorItem());
  if (item.isSeparatorItem()) return;
  action.setText(literalText(item.title()));
  action.setEnabled(item.isEnabled());
  const QIcon icon = images_.icon(item.image());
  if (icon.cacheKey() != action.icon().cacheKey()) action.setIcon(icon);
  action.setCheckable(item.state() != 0);
  action.setChecked(item.state() != 0);
  if (item.submenu()) {
    if (!entry.submenu || entry.submenu->model() != item.submenu()) {
      auto mirror = std::make_unique<MenuMirror>(item.submenu(), target_, images_);
      action.setMenu(mirror->menu());
      entry.submenu = std::move(mirror);
    }
  } else if (entry.submenu) {
    action.setMenu(nullptr);
    entry.submenu.reset();
  }
}

}  // namespace pricora
