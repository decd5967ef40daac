#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

#include <functional>
#include <memory>

#include "platform/menu/MenuActionTarget.h"
#include "platform/menu/StatusBar.h"
#include "qt/ImageCache.h"
#include "qt/TrayHost.h"
#include "sni/SniTray.h"

namespace pricora {

struct TraySetup {
  QString appIconThemePath;  // a theme folder with the application's icon; empty: the desktop's
  QString iconRoot;          // a private folder for pictures that hosts read by name; empty: none
  int screenWidth = 1280;    // logical pixels
  // What the host behind a new watcher draws; unset: asked of the process that owns the watcher.
  std::function<HostTraits()> host;
};

// Shows the status bar in whichever tray the desktop has: as StatusNotifierItems while an
// org.kde.StatusNotifierWatcher is on the bus (every item registered again when a new watcher
// takes over, as after a panel restart), else as XEmbed tray icons. A watcher that cannot be given
// the items also leaves them to the XEmbed tray, until another watcher takes over.
class TrayChooser final : public QObject {
 public:
  // bus: where the watcher is looked for; connectItem: opens the items' own connections to it.
  TrayChooser(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, TraySetup setup,
              QDBusConnection bus, BusConnector connectItem);
  ~TrayChooser() override;

  bool showsStatusNotifierItems() const { return sni_ != nullptr; }

 private:
  void useStatusNotifierItems();
  void useXEmbed();

  StatusBar& statusBar_;
  MenuActionTarget& target_;
  ImageCache& images_;
  TraySetup setup_;
  QDBusConnection bus_;
  BusConnector connect_;
  QDBusServiceWatcher watcher_;
  // One at a time: the other is gone before either is made, so no item shows twice.
  std::unique_ptr<SniTray> sni_;
  std::unique_ptr<TrayHost> xembed_;
  unsigned trays_ = 0;  // SniTrays made
};

}  // namespace pricora
