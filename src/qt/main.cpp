// Assembles the application: the Qt platform around the core's AppDelegate.

#include <QApplication>
#include <QCoreApplication>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/app/AppDelegate.h"
#include "qt/CommandLine.h"
#include "qt/DesktopHost.h"
#include "qt/HeadlessHost.h"
#include "qt/HeadlessRun.h"
#include "qt/ImageCache.h"
#include "qt/QtBundle.h"
#include "qt/QtJsonFetch.h"
#include "qt/QtMainQueue.h"
#include "qt/QtSettings.h"
#include "qt/QtUrlOpener.h"
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

// Everything the application runs on, in the order it must be torn down (last first).
struct Platform {
  explicit Platform(QObject* context) : queue(context) {}
  QtMainQueue queue;
  SystemClock clock;
  QtSettings settings;
  QtBundle bundle;
  StatusBar statusBar;
  QtJsonFetch fetch;
};

int runHeadless(int argc, char** argv, const CommandLine& options) {
  QCoreApplication app(argc, argv);
  Platform platform(&app);
  HeadlessHost host;
  host.setPrintToStandardError(options.dump == "-");
  AppServices services{platform.queue, platform.clock,    platform.fetch,  platform.statusBar, host,
                       host,           platform.settings, platform.bundle, host};
  AppDelegate delegate(services);
  HeadlessRun run(delegate, platform.statusBar, host, options.refreshes, options.timeout, options.dump);
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
  DesktopHost host;
  QtUrlOpener urlOpener;
  AppServices services{platform.queue, platform.clock,    platform.fetch,  platform.statusBar, host,
                       host,           platform.settings, platform.bundle, urlOpener};
  AppDelegate delegate(services);
  ImageCache images(platform.bundle.resourcesFolder());
  TrayHost tray(platform.statusBar, delegate, images);
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
