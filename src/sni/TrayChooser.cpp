#include "sni/TrayChooser.h"

#include <QDBusConnectionInterface>

namespace pricora {

namespace {

constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";

}  // namespace

TrayChooser::TrayChooser(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, bool darkText,
                         QDBusConnection bus, BusConnector connectItem)
    : statusBar_(statusBar),
      target_(target),
      images_(images),
      darkText_(darkText),
      bus_(std::move(bus)),
      connect_(std::move(connectItem)),
      watcher_(kWatcherService, bus_, QDBusServiceWatcher::WatchForOwnerChange) {
  QObject::connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
                   [this](const QString&, const QString&, const QString& newOwner) {
                     if (newOwner.isEmpty())
                       useXEmbed();
                     else
                       useStatusNotifierItems();
                   });
  if (bus_.isConnected() && bus_.interface() && bus_.interface()->isServiceRegistered(kWatcherService))
    useStatusNotifierItems();
  else
    useXEmbed();
}

TrayChooser::~TrayChooser() {
  sni_.reset();
  xembed_.reset();
}

void TrayChooser::useStatusNotifierItems() {
  xembed_.reset();
  sni_.reset();  // a new watcher knows none of our items: register them all again
  // GNOME Shell's tray draws an item's label beside its icon; the other hosts show icons only.
  const bool labels = bus_.interface() && bus_.interface()->isServiceRegistered("org.gnome.Shell");
  sni_ = std::make_unique<SniTray>(statusBar_, target_, images_, LookOptions{labels, darkText_}, connect_);
}

void TrayChooser::useXEmbed() {
  if (xembed_) return;
  sni_.reset();
  xembed_ = std::make_unique<TrayHost>(statusBar_, target_, images_, darkText_);
}

}  // namespace pricora
