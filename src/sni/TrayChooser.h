#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

#include <memory>

#include "platform/menu/MenuActionTarget.h"
#include "platform/menu/StatusBar.h"
#include "qt/ImageCache.h"
#include "qt/TrayHost.h"
#include "sni/SniTray.h"

namespace pricora {

// Shows the status bar in whichever tray the desktop has: as StatusNotifierItems while an
// org.kde.StatusNotifierWatcher is on the bus (every item registered again when a new watcher
// takes over, as after a panel restart), else as XEmbed tray icons.
class TrayChooser final : public QObject {
 public:
  // bus: where the watcher is looked for; connectItem: opens the items' own connections to it.
  TrayChooser(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, bool darkText, QDBusConnection bus,
              BusConnector connectItem);
  ~TrayChooser() override;

  bool showsStatusNotifierItems() const { return sni_ != nullptr; }

 private:
  void useStatusNotifierItems();
  void useXEmbed();

  StatusBar& statusBar_;
  MenuActionTarget& target_;
  ImageCache& images_;
  bool darkText_;
  QDBusConnection bus_;
  BusConnector connect_;
  QDBusServiceWatcher watcher_;
  // One at a time: the other is gone before either is made, so no item shows twice.
  std::unique_ptr<SniTray> sni_;
  std::unique_ptr<TrayHost> xembed_;
};

}  // namespace pricora
