#include "qt/TrayHost.h"

#include <QCursor>

#include "core/exchanges/NetworkText.h"
#include "qt/ItemWords.h"

#include <algorithm>

namespace pricora {

TrayHost::TrayHost(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images)
    : statusBar_(statusBar), target_(target), images_(images) {
  statusBar_.addObserver(this);
  for (const StatusItemRef& item : statusBar_.items()) statusItemAdded(item);
}

TrayHost::~TrayHost() { statusBar_.removeObserver(this); }

void TrayHost::statusItemAdded(const StatusItemRef& item) {
  auto icon = std::make_unique<Icon>();
  icon->item = item;
  icon->tray = std::make_unique<QSystemTrayIcon>();
  Icon* raw = icon.get();
  connect(icon->tray.get(), &QSystemTrayIcon::activated, this, [raw](QSystemTrayIcon::ActivationReason reason) {
    // The right button opens the context menu by itself; the left one opens the same menu.
    if (reason == QSystemTrayIcon::Trigger && raw->menu) raw->menu->menu()->popup(QCursor::pos());
  });
  icons_.push_back(std::move(icon));
  update(*raw);
}

void TrayHost::statusItemRemoved(const StatusItemRef& item) {
  std::erase_if(icons_, [&](const std::unique_ptr<Icon>& icon) { return icon->item == item; });
}

void TrayHost::statusItemChanged(StatusItem& item) {
  for (auto& icon : icons_)
    if (icon->item.get() == &item) update(*icon);
}

void TrayHost::update(Icon& icon) {
  const StatusItem& item = *icon.item;
  QSystemTrayIcon& tray = *icon.tray;
  if (item.menu() && icon.menu) {
    // Every price brings a new menu; a new QMenu would close the one the user is reading.
    icon.menu->setModel(item.menu());
  } else if (item.menu()) {
    icon.menu = std::make_unique<MenuMirror>(item.menu(), target_, images_);
    tray.setContextMenu(icon.menu->menu());
  } else if (icon.menu) {
    tray.setContextMenu(nullptr);
    icon.menu.reset();
  }
  const ItemWords words = wordsOf(item);
  const QString toolTip = words.pair.isEmpty() ? QString::fromStdString(shownText(item.toolTip()))
                                               : (nameOf(words) + '\n' + detailOf(words)).trimmed();
  tray.setToolTip(toolTip.isEmpty() ? QString() : plainToolTip(toolTip));
  const QIcon image = images_.icon(item.image());
  const Drawn drawn = words.pair.isEmpty()
                          ? Drawn{{}, image.cacheKey(), item.needsAttention()}
                          : Drawn{{shownOf(words), item.subject().colour, item.needsAttention()}, 0, false};
  if (drawn != icon.drawn && (!words.pair.isEmpty() || !image.isNull())) {
    icon.drawn = drawn;
    if (!words.pair.isEmpty())
      tray.setIcon(iconOf(pricePictures(drawn.face)));
    else
      tray.setIcon(drawn.attention ? iconOf(withAttentionDot(picturesOf(image))) : image);
  }
  // A tray icon without a picture shows as an empty slot; wait until there is one.
  tray.setVisible(!tray.icon().isNull());
}

}  // namespace pricora
