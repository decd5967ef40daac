#include "qt/TrayHost.h"

#include <QCursor>

#include "core/exchanges/NetworkText.h"
#include "qt/PriceIcon.h"

#include <algorithm>

namespace pricora {

TrayHost::TrayHost(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, bool darkText)
    : statusBar_(statusBar), target_(target), images_(images), darkText_(darkText) {
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
  // A price item in a small slot shows only its price: before its first price, its tool tip
  // names the pair.
  const std::string toolTip = item.toolTip().empty()
                                  ? item.attributedTitle().text.substr(0, item.attributedTitle().text.find('\n'))
                                  : item.toolTip();
  tray.setToolTip(toolTip.empty() ? QString() : plainToolTip(QString::fromStdString(shownText(toolTip))));
  if (item.image()) {
    const QIcon image = images_.icon(item.image());
    if (image.cacheKey() != tray.icon().cacheKey()) tray.setIcon(image);
  } else if (!item.attributedTitle().text.empty() && item.attributedTitle() != icon.drawn) {
    // A price item: its text is its picture, drawn again only when the text changes.
    icon.drawn = item.attributedTitle();
    tray.setIcon(priceIcon(icon.drawn, darkText_));
  }
  // A tray icon without a picture shows as an empty slot; wait until there is one.
  tray.setVisible(!tray.icon().isNull());
}

}  // namespace pricora
