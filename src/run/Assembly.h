#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/alerts/PriceWatch.h"
#include "core/app/AppDelegate.h"
#include "core/store/EditingContext.h"
#include "core/store/StoreOpening.h"
#include "net/CurlJsonFetch.h"
#include "qt/DBusNotifier.h"
#include "qt/QtBundle.h"
#include "qt/QtMainQueue.h"
#include "qt/QtSettings.h"
#include "run/SignalWatcher.h"
#include "xdg/XdgLoginItems.h"

namespace pricora {

// Everything the application runs on that is the same in every run mode, in the order it must
// be torn down (last first).
struct Platform {
  explicit Platform(QObject* context);
  QtMainQueue queue;
  SystemClock clock;
  QtSettings settings;
  QtBundle bundle;
  XdgLoginItems loginItems;
  StatusBar statusBar;
  CurlJsonFetch fetch;
};

// What a run mode brings of its own: how it shows alerts and text, opens addresses, keeps login
// items and shows the Manage window.
struct ModeParts {
  AppHost& host;
  const TextMetrics& textMetrics;
  UrlOpener& urlOpener;
  LoginItems& loginItems;
  ManageWindow& manageWindow;
};

// The application as every run mode assembles it: its services over the platform and the mode's
// own parts, the delegate over the opened store, and the signals every mode answers: SIGTERM,
// SIGINT and SIGHUP quit through the delegate's quit path (which saves), SIGUSR1 asks for a
// refresh (by default the delegate's refreshIfIdle).
class Assembly {
 public:
  Assembly(Platform& platform, ModeParts parts, EditingContext& store, std::function<void()> refreshSignal = {},
           std::optional<WatchParts> watch = std::nullopt);
  Assembly(const Assembly&) = delete;
  Assembly& operator=(const Assembly&) = delete;

  AppDelegate& delegate() { return delegate_; }
  // Starts the application and runs the event loop until it quits; the process's exit status.
  int run();

 private:
  AppServices services_;
  AppDelegate delegate_;
  SignalWatcher quitSignals_;
  SignalWatcher refreshSignal_;
};

// The user's store: the folder under $XDG_DATA_HOME and the file in it.
StoreLocation userStore();

// The pairs the user's store holds, read beside whoever owns it; none when it cannot be read.
std::vector<PairName> storedPairNames();

// Pricora's own file beside the user's store: the alerts and the price history.
std::string historyFilePath();
struct OpenedHistory {
  std::unique_ptr<HistoryFile> file;
  std::optional<Error> problem;  // why it is not open for writing, to tell the user once
};
// owner: for the process that holds the store, open for writing; when that cannot be, the file
// is opened for reading (or stands in empty) and problem says why. Otherwise for reading alone,
// and a file not made yet stands in empty until it is made, without a problem.
OpenedHistory openHistoryFile(bool owner);
// The user's locale for numbers as ICU names it ("de_DE"); English where the locale is "C".
std::string userLocale();
// The store opened for reading and writing, or none after telling the user (through host) why
// there is none. The application never runs without its store.
std::unique_ptr<EditingContext> openUserStore(AppHost& host);

// The icon theme folder that holds the application's icon: the one beside the resources (the
// build tree) or the installed one (share/icons beside share/pricora); empty when neither does.
QString applicationIconTheme(const QString& resources);
// Notifications on the session bus, as the desktop entry's application.
DBusNotifier desktopNotifier(const QString& resources);

}  // namespace pricora
