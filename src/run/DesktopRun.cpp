#include "run/DesktopRun.h"

#include <QApplication>
#include <QDBusConnection>
#include <QScreen>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/alerts/AlertText.h"
#include "core/alerts/KnownPairs.h"
#include "qt/DeferredManageWindow.h"
#include "qt/DesktopHost.h"
#include "qt/ImageCache.h"
#include "qt/PriceChartWindow.h"
#include "qt/QtUrlOpener.h"
#include "qt/Translation.h"
#include "run/AlertBus.h"
#include "run/ApplicationBus.h"
#include "run/Assembly.h"
#include "run/CommandLine.h"
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

// The pair of --chart as the store spells it, or none after saying why there is none.
std::optional<PairName> storedPair(const std::string& typed, AppHost& host) {
  std::variant<PairName, TextProblem> found = parseTypedPair(typed);
  if (const auto* pair = std::get_if<PairName>(&found)) {
    found = KnownPairs(storedPairNames()).find(*pair, KnownPairs::kNoneSeenForChart);
  }
  if (const auto* problem = std::get_if<TextProblem>(&found)) {
    host.log("pricora: " + problemText(host, *problem));
    return std::nullopt;
  }
  return std::get<PairName>(found);
}

}  // namespace

extern "C" int pricora_run_desktop(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  Platform platform(&app);
  const Translation translation(app, platform.bundle.resourcesFolder());
  DesktopHost host;
  // --chart: a pair of the store, shown by the running copy or by this one once it has started.
  const ParsedCommandLine command = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  std::optional<PairName> chart;
  if (command.options && command.options->chart && !(chart = storedPair(*command.options->chart, host))) return 1;
  SingleInstance instance(userStore().folder);
  if (instance.heldElsewhere())
    if (const std::optional<int> status =
            instance.handOverToRunningCopy(chart ? std::optional(chart->exchange + " " + chart->title) : std::nullopt))
      return *status;
  const std::unique_ptr<EditingContext> store = openUserStore(host);
  if (!store) return 1;
  QtUrlOpener urlOpener;
  DeferredManageWindow window(exchangeNames());
  const OpenedHistory history = openHistoryFile(true);
  DBusNotifier notifier = desktopNotifier(platform.bundle.resourcesFolder());
  Assembly assembly(platform, {host, host, urlOpener, platform.loginItems, window}, *store, {},
                    WatchParts{*history.file, notifier, userLocale(), true, history.problem});
  AppDelegate& delegate = assembly.delegate();
  const LocaleFormat chartFormat(userLocale());
  HistoryFile& holdings = *history.file;
  PriceChartWindows charts(*history.file, platform.clock, chartFormat, host,
                           [&holdings](const PairName& pair) -> std::optional<double> {
                             const Result<std::vector<HoldingRecord>> all = holdings.loadHoldings();
                             if (!all) return std::nullopt;
                             for (const HoldingRecord& holding : all.value())
                               if (holding.pair == pair)
                                 return static_cast<double>(holding.units) / kHoldingUnitsPerCoin;
                             return std::nullopt;
                           });
  window.setShowChart([&charts](const std::string& exchange, const std::string& title) {
    charts.show({exchange, title});
  });
  // A second start on this store asks for the Manage window, or a chart, through the bus.
  ApplicationBus bus({[&delegate] { delegate.showManageWindow(); },
                      [&charts](const std::string& text) {
                        const std::variant<PairName, TextProblem> pair = parseTypedPair(text);
                        if (!std::holds_alternative<PairName>(pair)) return false;
                        charts.show(std::get<PairName>(pair));
                        return true;
                      }});
  const AlertBus alerts([&delegate](const AlertRecord& alert) { return delegate.priceWatch()->takeAlert(alert); },
                        false);
  ImageCache images(platform.bundle.resourcesFolder());
  TrayChooser tray(
      platform.statusBar, delegate, images, traySetup(platform.bundle.resourcesFolder()), QDBusConnection::sessionBus(),
      [](const QString& name) { return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name); });
  tray.setShowChart([&charts](const ItemSubject& subject) { charts.show({subject.exchange, subject.pair}); });
  if (chart) QTimer::singleShot(0, &app, [&charts, &chart] { charts.show(*chart); });
  // Logging out must not lose a change: the session's end saves like a quit that cannot ask.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                   [&delegate](QSessionManager&) { delegate.terminateWithoutAsking(); });
  return assembly.run();
}
