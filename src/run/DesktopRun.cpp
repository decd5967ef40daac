#include "run/DesktopRun.h"

#include <QApplication>
#include <QDBusConnection>
#include <QScreen>
#include <QSessionManager>
#include <QStandardPaths>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qt/DeferredManageWindow.h"
#include "qt/DesktopHost.h"
#include "qt/ImageCache.h"
#include "qt/QtUrlOpener.h"
#include "qt/Translation.h"
#include "run/AlertBus.h"
#include "run/ApplicationBus.h"
#include "run/Assembly.h"
#include "run/SingleInstance.h"
#include "sni/IconFolder.h"
#include "sni/TrayChooser.h"

using namespace pricora;

namespace {

std::vector<std::string> exchangeNames() {
  std::vector<std::string> names;
  for (Exchange exchange : kAllExchanges) names.emplace_back(displayName(exchange));
  return names;
}

// The tray's pictures: the application's icon from the theme folder beside the resources (the build
// tree) or the installed one (share/icons beside share/pricora); the price pictures in a folder of
// this process's in $XDG_RUNTIME_DIR, removed at quit, and at the next start after a crash.
TraySetup traySetup(const QString& resources) {
  TraySetup setup;
  setup.appIconThemePath = applicationIconTheme(resources);
  if (const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation); !runtime.isEmpty()) {
    IconFolder::removeAbandoned(runtime);
    setup.iconRoot = IconFolder::rootIn(runtime, QCoreApplication::applicationPid());
  }
  if (const QScreen* screen = QGuiApplication::primaryScreen()) setup.screenWidth = screen->geometry().width();
  return setup;
}

}  // namespace

extern "C" int pricora_run_desktop(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  Platform platform(&app);
  const Translation translation(app, platform.bundle.resourcesFolder());
  SingleInstance instance(userStore().folder);
  if (instance.heldElsewhere())
    if (const std::optional<int> status = instance.handOverToRunningCopy()) return *status;
  DesktopHost host;
  const std::unique_ptr<EditingContext> store = openUserStore(host);
  if (!store) return 1;
  QtUrlOpener urlOpener;
  DeferredManageWindow window(exchangeNames());
  const OpenedHistory history = openHistoryFile(true);
  DBusNotifier notifier = desktopNotifier(platform.bundle.resourcesFolder());
  Assembly assembly(platform, {host, host, urlOpener, platform.loginItems, window}, *store, {},
                    WatchParts{*history.file, notifier, userLocale(), true, history.problem});
  AppDelegate& delegate = assembly.delegate();
  // A second start on this store asks for the Manage window through the bus.
  ApplicationBus bus([&delegate] { delegate.showManageWindow(); });
  const AlertBus alerts([&delegate](const AlertRecord& alert) { return delegate.priceWatch()->takeAlert(alert); },
                        false);
  ImageCache images(platform.bundle.resourcesFolder());
  TrayChooser tray(
      platform.statusBar, delegate, images, traySetup(platform.bundle.resourcesFolder()), QDBusConnection::sessionBus(),
      [](const QString& name) { return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name); });
  // Logging out must not lose a change: the session's end saves like a quit that cannot ask.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                   [&delegate](QSessionManager&) { delegate.terminateWithoutAsking(); });
  return assembly.run();
}
