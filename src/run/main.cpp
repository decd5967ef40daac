// Assembles the application: the Qt platform around the core's AppDelegate.

#include <QApplication>
#include <QCoreApplication>
#include <QSessionManager>
#include <QStandardPaths>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app/AppDelegate.h"
#include "core/store/StoreOpening.h"
#include "platform/store/ReadOnlyPairStore.h"
#include "platform/XdgLoginItems.h"
#include "platform/store/SqlitePairStore.h"
#include "run/ApplicationBus.h"
#include "run/BarRun.h"
#include "run/CommandLine.h"
#include "run/CommandLineAnswer.h"
#include "net/CurlJsonFetch.h"
#include "qt/DesktopHost.h"
#include "qt/HeadlessHost.h"
#include "run/HeadlessRun.h"
#include "qt/ImageCache.h"
#include "qt/QtBundle.h"
#include "qt/QtMainQueue.h"
#include "qt/QtManageWindow.h"
#include "qt/QtSettings.h"
#include "qt/QtUrlOpener.h"
#include "run/SignalWatcher.h"
#include "run/SingleInstance.h"
#include "run/StallReport.h"
#include "qt/Translation.h"
#include "sni/TrayChooser.h"

using namespace pricora;

namespace {

bool unixSocketAnswers(const std::string& path) {
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, path.size());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

// Whether Qt will find a display; without one it would abort instead of saying so.
bool displayAvailable() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return true;
  const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (!wayland.isEmpty()) {
    const QString path = wayland.startsWith('/') ? wayland : qEnvironmentVariable("XDG_RUNTIME_DIR") + "/" + wayland;
    if (unixSocketAnswers(path.toStdString())) return true;
  }
  const QString display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) return false;
  if (!display.startsWith(':')) return true;  // a remote display: let Qt try
  const QString number = display.mid(1).section('.', 0, 0);
  return unixSocketAnswers("/tmp/.X11-unix/X" + number.toStdString());
}

StoreLocation userStore() {
  return storeLocation(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString());
}

// The store, or none after telling the user why there is none. The application never runs
// without its store.
std::unique_ptr<EditingContext> openStore(AppHost& host) {
  auto opened = openPairStore(userStore(), [](const std::string& path) -> Result<std::unique_ptr<PairStore>> {
    auto store = SqlitePairStore::open(path);
    if (!store) return store.error();
    return std::unique_ptr<PairStore>(std::move(store.value()));
  });
  if (auto* failure = std::get_if<StoreFailure>(&opened)) {
    if (failure->error) host.presentError(*failure->error);
    host.log(failure->diagnostic);
    return nullptr;
  }
  return std::move(std::get<std::unique_ptr<EditingContext>>(opened));
}

// Everything the application runs on, in the order it must be torn down (last first).
struct Platform {
  explicit Platform(QObject* context)
      : queue(context),
        loginItems(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/autostart",
                   QCoreApplication::applicationFilePath().toStdString()) {}
  QtMainQueue queue;
  SystemClock clock;
  QtSettings settings;
  QtBundle bundle;
  XdgLoginItems loginItems;
  StatusBar statusBar;
  CurlJsonFetch fetch;
};

// SIGUSR1 asks for a refresh, as a text bar's click does; by default it would end the program.
std::function<void()> refreshOnSignal(AppDelegate& delegate) {
  return [&delegate] { delegate.refreshIfIdle(); };
}

std::vector<std::string> exchangeNames() {
  std::vector<std::string> names;
  for (Exchange exchange : kAllExchanges) names.emplace_back(displayName(exchange));
  return names;
}

int runHeadless(int argc, char** argv, const CommandLine& options) {
  QCoreApplication app(argc, argv);
  Platform platform(&app);
  const Translation translation(app, platform.bundle.resourcesFolder());
  const SingleInstance instance(userStore().folder);
  if (instance.heldElsewhere()) return instance.refuseHeadless();
  HeadlessHost host;
  host.setPrintToStandardError(options.dump == "-");
  const std::unique_ptr<EditingContext> store = openStore(host);
  if (!store) return 1;
  HeadlessManageWindow window;
  AppServices services{platform.queue,    platform.clock,  platform.fetch, platform.statusBar,  host,  host,
                       platform.settings, platform.bundle, host,           platform.loginItems, window};
  AppDelegate delegate(services, *store);
  HeadlessRun run(delegate, platform.statusBar, host, options.refreshes, options.timeout, options.dump);
  SignalWatcher signals([&delegate] { delegate.terminateWithoutAsking(); });
  SignalWatcher refresh({SIGUSR1}, refreshOnSignal(delegate));
  StallReport stalls(qEnvironmentVariableIsSet("PRICORA_REPORT_STALLS"));
  delegate.applicationDidFinishLaunching();
  return app.exec();
}

int runBar(int argc, char** argv, BarFormat format) {
  QCoreApplication app(argc, argv);
  Platform platform(&app);
  HeadlessHost host;
  // Beside the tray application, on its store: read at every refresh, never written.
  const std::string dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
  auto store = EditingContext::open(std::make_unique<ReadOnlyPairStore>(storeLocation(dataHome).file));
  if (!store) {
    host.presentError(store.error());
    return 1;
  }
  HeadlessManageWindow window;
  LeftAloneLoginItems loginItems;
  AppServices services{platform.queue,    platform.clock,  platform.fetch, platform.statusBar, host,  host,
                       platform.settings, platform.bundle, host,           loginItems,         window};
  AppDelegate delegate(services, *store.value());
  BarRun run(delegate, platform.statusBar, platform.clock, host, format, STDOUT_FILENO);
  SignalWatcher signals([&delegate] { delegate.terminateWithoutAsking(); });
  SignalWatcher refresh({SIGUSR1}, [&run] { run.refreshNow(); });
  delegate.applicationDidFinishLaunching();
  return app.exec();
}

int runDesktop(int argc, char** argv) {
  if (!displayAvailable()) return reportNoDisplay(argc, argv);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  Platform platform(&app);
  const Translation translation(app, platform.bundle.resourcesFolder());
  const SingleInstance instance(userStore().folder);
  if (instance.heldElsewhere()) return instance.handOverToRunningCopy();
  DesktopHost host;
  const std::unique_ptr<EditingContext> store = openStore(host);
  if (!store) return 1;
  QtUrlOpener urlOpener;
  QtManageWindow window(exchangeNames());
  AppServices services{platform.queue,    platform.clock,  platform.fetch, platform.statusBar,  host,  host,
                       platform.settings, platform.bundle, urlOpener,      platform.loginItems, window};
  AppDelegate delegate(services, *store);
  // A second start on this store asks for the Manage window through the bus.
  ApplicationBus bus([&delegate] { delegate.showManageWindow(); });
  ImageCache images(platform.bundle.resourcesFolder());
  // Most panels are dark; "tray/darkText=true" in the settings suits a light one.
  TrayChooser tray(platform.statusBar, delegate, images, platform.settings.boolForKey("tray/darkText"),
                   QDBusConnection::sessionBus(), [](const QString& name) {
                     return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
                   });
  // Logging out must not lose a change: the session's end saves like a quit that cannot ask.
  SignalWatcher signals([&delegate] { delegate.terminateWithoutAsking(); });
  SignalWatcher refresh({SIGUSR1}, refreshOnSignal(delegate));
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                   [&delegate](QSessionManager&) { delegate.terminateWithoutAsking(); });
  delegate.applicationDidFinishLaunching();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName("Pricora");
  QCoreApplication::setApplicationVersion(PRICORA_VERSION);
  const ParsedCommandLine parsed = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options || parsed.options->help || parsed.options->version) return answerCommandLine(argc, argv, parsed);
  const CommandLine& options = *parsed.options;
  if (options.bar) return runBar(argc, argv, *options.bar);
  return options.headless ? runHeadless(argc, argv, options) : runDesktop(argc, argv);
}
