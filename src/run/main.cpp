// The program's entry: reads the command line and starts the run mode it asks for.

#include <QCoreApplication>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/alerts/AlertCommands.h"
#include "core/alerts/HoldingCommands.h"
#include "qt/HeadlessHost.h"
#include "qt/Translation.h"
#include "run/AlertBus.h"
#include "run/Assembly.h"
#include "run/BarRun.h"
#include "run/CommandLine.h"
#include "run/CommandLineAnswer.h"
#include "run/DesktopPart.h"
#include "run/HeadlessRun.h"
#include "run/SignalWatcher.h"
#include "run/SingleInstance.h"
#include "run/StallReport.h"
#include "store/ReadOnlyPairStore.h"
#include "store/SqliteHistoryFile.h"

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

int runAlertCommand(int argc, char** argv, const CommandLine& options) {
  QCoreApplication app(argc, argv);
  const Translation translation(app, QtBundle().resourcesFolder());
  HeadlessHost host;
  // Beside the store, which need not exist yet: the folder is made as the store would make it.
  std::error_code ignored;
  std::filesystem::create_directories(userStore().folder, ignored);
  // Taken and let go at once when no Pricora holds it; the holder's pid otherwise.
  std::variant<StoreLock, LockHolder, Error> lock = StoreLock::acquire(SingleInstance::lockPath(userStore().folder));
  if (std::holds_alternative<StoreLock>(lock)) lock = Error{};
  auto file = SqliteHistoryFile::open(historyFilePath());
  if (!file) {
    host.presentError(file.error());
    return 1;
  }
  const LocaleFormat format(userLocale());
  // Alerts and holdings are of the store's pairs.
  const KnownPairs pairs(storedPairNames());
  // Holdings go into the file alone. A running Pricora reads them at its next refresh, which
  // SIGUSR1 starts at once, as a bar's click does.
  if (options.hold) {
    const int status = HoldingCommands({*file.value(), host, format, pairs, SystemClock().now()}).hold(*options.hold);
    if (const auto* holder = std::get_if<LockHolder>(&std::as_const(lock)); holder && status == 0)
      kill(static_cast<pid_t>(holder->pid), SIGUSR1);
    return status;
  }
  if (options.listHoldings) return HoldingCommands({*file.value(), host, format, pairs, SystemClock().now()}).list();
  // A Pricora on this store takes a new alert itself; without one, or when it cannot be reached,
  // the alert goes into the file, where a Pricora that starts finds it.
  NoAlertHandOff nobody;
  std::optional<RunningCopyAlerts> running;
  if (const auto* holder = std::get_if<LockHolder>(&std::as_const(lock))) running.emplace(holder->pid);
  AlertCommands commands({*file.value(), host, format, pairs, running ? static_cast<AlertHandOff&>(*running) : nobody,
                          SystemClock().now()});
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
  const AlertBus alerts(
      [&assembly](const AlertRecord& alert) { return assembly.delegate().priceWatch()->takeAlert(alert); }, true);
  StallReport stalls(qEnvironmentVariableIsSet("PRICORA_REPORT_STALLS"));
  return assembly.run();
}

int runBar(int argc, char** argv, BarFormat format, bool showChange, bool showHoldings) {
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
  BarRun run(assembly.delegate(), platform.statusBar, platform.clock, host, format, STDOUT_FILENO, showChange,
             showHoldings);
  bar = &run;
  return assembly.run();
}

int runDesktop(int argc, char** argv) {
  if (!displayAvailable()) return reportNoDisplay(argc, argv);
  return runDesktopPart(argc, argv);
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
  if (options.alert || options.listAlerts || options.removeAlert || options.hold || options.listHoldings)
    return runAlertCommand(argc, argv, options);
  if (options.bar) return runBar(argc, argv, *options.bar, !options.noChange, options.barHoldings);
  return options.headless ? runHeadless(argc, argv, options) : runDesktop(argc, argv);
}
