#include "sni/TrayChooser.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>

#include <cstdio>
#include <utility>

namespace pricora {

TrayChooser::TrayChooser(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, TraySetup setup,
                         QDBusConnection bus, BusConnector connectItem)
    : statusBar_(statusBar),
      target_(target),
      images_(images),
      setup_(std::move(setup)),
      bus_(std::move(bus)),
      connect_(std::move(connectItem)),
      watcher_(kWatcherService, bus_, QDBusServiceWatcher::WatchForOwnerChange, this) {
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

void TrayChooser::setShowChart(ShowChart showChart) {
  showChart_ = std::move(showChart);
  if (sni_) sni_->setShowChart(showChart_);
  if (xembed_) xembed_->setShowChart(showChart_);
}

void TrayChooser::useStatusNotifierItems() {
  xembed_.reset();
  sni_.reset();  // a new watcher knows none of our items: register them all again
  const HostTraits host = setup_.host ? setup_.host() : hostTraits(watcherProcessNames(bus_));
  // A host that fits labels to its bar measures them on the shell's screen, where it knows it.
  int screenWidth = setup_.screenWidth;
  if (host.labelRoom > 0)
    if (const std::optional<int> shellWidth = shellScreenWidth(bus_)) screenWidth = *shellWidth;
  sni_ =
      std::make_unique<SniTray>(statusBar_, target_, images_, LookOptions{host, setup_.appIconThemePath, screenWidth},
                                setup_.iconRoot, connect_, setup_.registration);
  sni_->setShowChart(showChart_);
}

void TrayChooser::useXEmbed() {
  if (xembed_) return;
  sni_.reset();
  xembed_ = std::make_unique<TrayHost>(statusBar_, target_, images_);
  xembed_->setShowChart(showChart_);
  // Between a panel's end and its return there is often neither: worth a word only the first time.
  if (!xembed_->showsIcons() && !std::exchange(saidNoTray_, true))
    std::fprintf(stderr, "%s\n",
                 qPrintable(QCoreApplication::translate(
                     "TrayChooser",
                     "pricora: no tray to show the icons in yet (no StatusNotifierWatcher on the session "
                     "bus, no XEmbed tray on the display); they will show when one starts")));
}

}  // namespace pricora
