#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

#include <functional>
#include <memory>

#include "model/StatusBar.h"
#include "platform/MenuActionTarget.h"
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
  RegistrationTiming registration;
};

// Shows the status bar in whichever tray the desktop has: as StatusNotifierItems while an
// org.kde.StatusNotifierWatcher is on the bus (every item registered again when a new watcher
// takes over, as after a panel restart), else as icons in the display's XEmbed tray, which come
// back to StatusNotifierItems as soon as a watcher appears. The choice is made here, from the bus
// as it is now, every time it changes: QSystemTrayIcon, which makes it once per process, is never
// used. A watcher that does not take the items keeps them: they are offered to it again and again,
// as an XEmbed icon would only reach the same watcher through the desktop's XEmbed bridge.
class TrayChooser final : public QObject {
 public:
  // bus: where the watcher is looked for; connectItem: opens the items' own connections to it.
  TrayChooser(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, TraySetup setup, QDBusConnection bus,
              BusConnector connectItem);
  ~TrayChooser() override;

  // Where a middle click on a price item shows its pair's chart, in either tray.
  void setShowChart(ShowChart showChart);

  bool showsStatusNotifierItems() const { return sni_ != nullptr; }
  bool showsXEmbedIcons() const { return xembed_ != nullptr; }

 private:
  void useStatusNotifierItems();
  void useXEmbed();

  StatusBar& statusBar_;
  MenuActionTarget& target_;
  ImageCache& images_;
  TraySetup setup_;
  QDBusConnection bus_;
  BusConnector connect_;
  ShowChart showChart_;
  QDBusServiceWatcher watcher_;
  // One at a time: the other is gone before either is made, so no item shows twice.
  std::unique_ptr<SniTray> sni_;
  std::unique_ptr<TrayHost> xembed_;
  bool saidNoTray_ = false;
};

}  // namespace pricora
