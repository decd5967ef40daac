// Assembles the application: the Qt platform around the core's AppDelegate.

#include <QApplication>
#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <QSessionManager>
#include <QStandardPaths>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/app/AppDelegate.h"
#include "platform/XdgLoginItems.h"
#include "core/store/StoreOpening.h"
#include "platform/store/SqlitePairStore.h"
#include "qt/CommandLine.h"
#include "qt/CurlJsonFetch.h"
#include "qt/DesktopHost.h"
#include "qt/HeadlessHost.h"
#include "qt/HeadlessRun.h"
#include "qt/ImageCache.h"
#include "qt/QtBundle.h"
#include "qt/QtManageWindow.h"
#include "qt/QtMainQueue.h"
#include "qt/QtSettings.h"
#include "qt/QtUrlOpener.h"
#include "qt/SignalWatcher.h"
#include "qt/StallReport.h"
#include "qt/TrayHost.h"

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

// The store, or none after telling the user why there is none. The application never runs
// without its store.
std::unique_ptr<EditingContext> openStore(AppHost& host) {
  const std::string dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
  auto opened = openPairStore(storeLocation(dataHome), [](const std::string& path) -> Result<std::unique_ptr<PairStore>> {
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

// The quit alert's texts in the user's language when a translation is installed
// (translations/pricora_<language>.qm in the resources folder); English otherwise.
void installTranslation(QCoreApplication& app, QTranslator& translator, const QtBundle& bundle) {
  if (translator.load(QLocale(), "pricora", "_", bundle.resourcesFolder() + "/translations"))
    app.installTranslator(&translator);
}

std::vector<std::string> exchangeNames() {
  std::vector<std::string> names;
  for (Exchange exchange : kAllExchanges) names.emplace_back(displayName(exchange));
  return names;
}

int runHeadless(int argc, char** argv, const CommandLine& options) {
  QCoreApplication app(argc, argv);
  Platform platform(&app);
  QTranslator translator;
  installTranslation(app, translator, platform.bundle);
  HeadlessHost host;
  host.setPrintToStandardError(options.dump == "-");
  const std::unique_ptr<EditingContext> store = openStore(host);
  if (!store) return 1;
  HeadlessManageWindow window;
  AppServices services{platform.queue,    platform.clock,  platform.fetch, platform.statusBar,
                       host,              host,            platform.settings, platform.bundle,
                       host,              platform.loginItems, window};
  AppDelegate delegate(services, *store);
  HeadlessRun run(delegate, platform.statusBar, host, options.refreshes, options.timeout, options.dump);
  SignalWatcher signals([&delegate] { delegate.terminateWithoutAsking(); });
  StallReport stalls(qEnvironmentVariableIsSet("PRICORA_REPORT_STALLS"));
  delegate.applicationDidFinishLaunching();
  return app.exec();
}

int runDesktop(int argc, char** argv) {
  if (!displayAvailable()) {
    std::fprintf(stderr, "pricora: no display to show the tray icon on (DISPLAY and WAYLAND_DISPLAY name none); "
                         "run with --headless to use it without one\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  Platform platform(&app);
  QTranslator translator;
  installTranslation(app, translator, platform.bundle);
  DesktopHost host;
  const std::unique_ptr<EditingContext> store = openStore(host);
  if (!store) return 1;
  QtUrlOpener urlOpener;
  QtManageWindow window(exchangeNames());
  AppServices services{platform.queue,    platform.clock,  platform.fetch, platform.statusBar,
                       host,              host,            platform.settings, platform.bundle,
                       urlOpener,         platform.loginItems, window};
  AppDelegate delegate(services, *store);
  ImageCache images(platform.bundle.resourcesFolder());
  // Most panels are dark; "tray/darkText=true" in the settings suits a light one.
  TrayHost tray(platform.statusBar, delegate, images, platform.settings.boolForKey("tray/darkText"));
  // Logging out must not lose a change: the session's end saves like a quit that cannot ask.
  SignalWatcher signals([&delegate] { delegate.terminateWithoutAsking(); });
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
  if (!parsed.options) {
    std::fprintf(stderr, "pricora: %s\n%s", parsed.error.c_str(), kUsage);
    return 1;
  }
  const CommandLine& options = *parsed.options;
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("Pricora %s\n", PRICORA_VERSION);
    return 0;
  }
  return options.headless ? runHeadless(argc, argv, options) : runDesktop(argc, argv);
}
