// The program's entry: reads the command line and starts the run mode it asks for.

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QScreen>
#include <QSessionManager>
#include <QStandardPaths>
#include <QUrl>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/alerts/AlertCommands.h"
#include "platform/store/ReadOnlyPairStore.h"
#include "platform/store/SqliteHistoryFile.h"
#include "qt/DBusNotifier.h"
#include "qt/DeferredManageWindow.h"
#include "qt/DesktopHost.h"
#include "qt/HeadlessHost.h"
#include "qt/ImageCache.h"
#include "qt/QtBundle.h"
#include "qt/QtUrlOpener.h"
#include "qt/Translation.h"
#include "run/ApplicationBus.h"
#include "run/Assembly.h"
#include "run/BarRun.h"
#include "run/CommandLine.h"
#include "run/CommandLineAnswer.h"
#include "run/HeadlessRun.h"
#include "run/SignalWatcher.h"
#include "run/SingleInstance.h"
#include "run/StallReport.h"
#include "sni/IconFolder.h"
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

std::vector<std::string> exchangeNames() {
  std::vector<std::string> names;
  for (Exchange exchange : kAllExchanges) names.emplace_back(displayName(exchange));
  return names;
}

// The icon theme folder that holds the application's icon: the one beside the resources (the
// build tree) or the installed one (share/icons beside share/pricora); empty when neither does.
QString applicationIconTheme(const QString& resources) {
  for (const QString& theme : {resources + "/icons", resources + "/../icons"})
    if (QFileInfo::exists(theme + "/hicolor/scalable/apps/" + kApplicationIcon + ".svg"))
      return QFileInfo(theme).canonicalFilePath();
  return {};
}

// Notifications on the session bus, as the desktop entry's application. Their icon is the
// application's icon file itself: a program run from its build tree has no icon in the
// desktop's theme.
DBusNotifier desktopNotifier(const QString& resources) {
  const QString theme = applicationIconTheme(resources);
  const QString icon =
      theme.isEmpty() ? QString(kApplicationIcon)
                      : QUrl::fromLocalFile(theme + "/hicolor/scalable/apps/" + kApplicationIcon + ".svg").toString();
  return DBusNotifier(QDBusConnection::sessionBus(), "Pricora", icon, kApplicationIcon);
}

int runAlertCommand(int argc, char** argv, const CommandLine& options) {
  QCoreApplication app(argc, argv);
  const Translation translation(app, QtBundle().resourcesFolder());
  HeadlessHost host;
  // Beside the store, which need not exist yet: the folder is made as the store would make it.
  std::error_code ignored;
  std::filesystem::create_directories(userStore().folder, ignored);
  auto file = SqliteHistoryFile::open(historyFilePath());
  if (!file) {
    host.presentError(file.error());
    return 1;
  }
  const LocaleFormat format(userLocale());
  AlertCommands commands(*file.value(), host, format, SystemClock().now());
  if (options.alert) return commands.add(*options.alert);
  if (options.removeAlert) return commands.remove(*options.removeAlert);
  return commands.list();
}

int runHeadless(int argc, char** argv, const CommandLine& options) {
  QCoreApplication app(argc, argv);
  Platform platform(&app);
  const Translation translation(app, platform.bundle.resourcesFolder());
  const SingleInstance instance(userStore().folder);
  if (instance.heldElsewhere()) return instance.refuseHeadless();
  HeadlessHost host;
  host.setPrintToStandardError(options.dump == "-");
  const std::unique_ptr<EditingContext> store = openUserStore(host);
  if (!store) return 1;
  HeadlessManageWindow window;
  const OpenedHistory history = openHistoryFile(true);
  DBusNotifier notifier = desktopNotifier(platform.bundle.resourcesFolder());
  Assembly assembly(platform, {host, host, host, platform.loginItems, window}, *store, {},
                    WatchParts{*history.file, notifier, userLocale(), true, history.problem});
  HeadlessRun run(assembly.delegate(), platform.statusBar, host, options.refreshes, options.timeout, options.dump);
  StallReport stalls(qEnvironmentVariableIsSet("PRICORA_REPORT_STALLS"));
  return assembly.run();
}

int runBar(int argc, char** argv, BarFormat format, bool showChange) {
  QCoreApplication app(argc, argv);
  Platform platform(&app);
  const Translation translation(app, platform.bundle.resourcesFolder());
  HeadlessHost host;
  // Beside the tray application, on its store: read at every refresh, never written.
  auto store = EditingContext::open(std::make_unique<ReadOnlyPairStore>(userStore().file));
  if (!store) {
    host.presentError(store.error());
    return 1;
  }
  HeadlessManageWindow window;
  LeftAloneLoginItems loginItems;
  BarRun* bar = nullptr;
  // The alerts as the tray application keeps them; they show in the bar and notify no one.
  const OpenedHistory history = openHistoryFile(false);
  NoNotifier notifier;
  Assembly assembly(
      platform, {host, host, host, loginItems, window}, *store.value(),
      [&bar] {
        if (bar) bar->refreshNow();
      },
      WatchParts{*history.file, notifier, userLocale(), false, std::nullopt});
  BarRun run(assembly.delegate(), platform.statusBar, platform.clock, host, format, STDOUT_FILENO, showChange);
  bar = &run;
  return assembly.run();
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

int runDesktop(int argc, char** argv) {
  if (!displayAvailable()) return reportNoDisplay(argc, argv);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  Platform platform(&app);
  const Translation translation(app, platform.bundle.resourcesFolder());
  const SingleInstance instance(userStore().folder);
  if (instance.heldElsewhere()) return instance.handOverToRunningCopy();
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
  ImageCache images(platform.bundle.resourcesFolder());
  TrayChooser tray(
      platform.statusBar, delegate, images, traySetup(platform.bundle.resourcesFolder()), QDBusConnection::sessionBus(),
      [](const QString& name) { return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name); });
  // Logging out must not lose a change: the session's end saves like a quit that cannot ask.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                   [&delegate](QSessionManager&) { delegate.terminateWithoutAsking(); });
  return assembly.run();
}

}  // namespace

int main(int argc, char** argv) {
  // A bar's click may come at any moment, before the watcher is there or after it has gone.
  disarmSignals({SIGUSR1});
  QCoreApplication::setApplicationName("Pricora");
  QCoreApplication::setApplicationVersion(PRICORA_VERSION);
  const ParsedCommandLine parsed = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options || parsed.options->help || parsed.options->version) return answerCommandLine(argc, argv, parsed);
  const CommandLine& options = *parsed.options;
  if (options.alert || options.listAlerts || options.removeAlert) return runAlertCommand(argc, argv, options);
  if (options.bar) return runBar(argc, argv, *options.bar, !options.noChange);
  return options.headless ? runHeadless(argc, argv, options) : runDesktop(argc, argv);
}
