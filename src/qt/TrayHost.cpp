#include "qt/TrayHost.h"

#include "core/exchanges/NetworkText.h"
#include "qt/ItemWords.h"

#include <algorithm>

namespace pricora {

TrayHost::TrayHost(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images)
    : statusBar_(statusBar), target_(target), images_(images), trays_([this] { followTray(); }) {
  inTray_ = trays_.available();
  statusBar_.addObserver(this);
  for (const StatusItemRef& item : statusBar_.items()) statusItemAdded(item);
}

TrayHost::~TrayHost() { statusBar_.removeObserver(this); }

void TrayHost::followTray() {
  inTray_ = trays_.available();
  for (auto& icon : icons_) {
    icon->tray.reset();
    icon->drawn.reset();
    update(*icon);
  }
}

void TrayHost::statusItemAdded(const StatusItemRef& item) {
  auto icon = std::make_unique<Icon>();
  icon->item = item;
  Icon* raw = icon.get();
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
  if (item.menu() && icon.menu)
    // Every price brings a new menu; a new QMenu would close the one the user is reading.
    icon.menu->setModel(item.menu());
  else if (item.menu())
    icon.menu = std::make_unique<MenuMirror>(item.menu(), target_, images_);
  else
    icon.menu.reset();
  if (!inTray_) return;

  if (!icon.tray) {
    icon.tray = std::make_unique<XEmbedIcon>([this, raw = &icon](QPoint where, Qt::MouseButton button) {
      if (button == Qt::MiddleButton && showChart_ && !raw->item->subject().empty())
        showChart_(raw->item->subject());
      else if (raw->menu)
        raw->menu->menu()->popup(where);
    });
  }
  XEmbedIcon& tray = *icon.tray;
  const ItemWords words = wordsOf(item);
  const QString toolTip =
      words.pair.isEmpty() ? applicationToolTipOf(item) : (nameOf(words) + '\n' + detailOf(words)).trimmed();
  tray.setToolTip(toolTip.isEmpty() ? QString() : plainToolTip(toolTip));
  tray.setAccessibleName(words.pair.isEmpty() ? QStringLiteral("Pricora") : spokenOf(words));
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
  // An icon without a picture shows as an empty slot; wait until there is one.
  tray.setVisible(!tray.icon().isNull());
}

}  // namespace pricora
