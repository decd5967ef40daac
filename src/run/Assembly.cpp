#include "run/Assembly.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QUrl>

#include <csignal>

#include "store/ReadOnlyPairStore.h"
#include "store/SqliteHistoryFile.h"
#include "store/SqlitePairStore.h"

namespace pricora {

Platform::Platform(QObject* context)
    : queue(context),
      loginItems(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/autostart",
                 QCoreApplication::applicationFilePath().toStdString()) {}

Assembly::Assembly(Platform& platform, ModeParts parts, EditingContext& store, std::function<void()> refreshSignal,
                   std::optional<WatchParts> watch)
    : services_{platform.queue,    platform.clock,  platform.fetch,  platform.statusBar, parts.textMetrics, parts.host,
                platform.settings, platform.bundle, parts.urlOpener, parts.loginItems,   parts.manageWindow},
      delegate_(services_, store, std::move(watch)),
      quitSignals_([this] { delegate_.terminateWithoutAsking(); }),
      refreshSignal_(
          {SIGUSR1}, refreshSignal ? std::move(refreshSignal) : [this] { delegate_.refreshIfIdle(); }) {}

int Assembly::run() {
  delegate_.applicationDidFinishLaunching();
  return QCoreApplication::exec();
}

StoreLocation userStore() {
  return storeLocation(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString());
}

std::vector<PairName> storedPairNames() {
  std::vector<PairName> names;
  if (const auto stored = ReadOnlyPairStore(userStore().file).loadAll())
    for (const StoredPair& pair : stored.value())
      if (pair.exchange && pair.title) names.push_back({*pair.exchange, *pair.title});
  return names;
}

std::string historyFilePath() { return userStore().folder + "/pricora-history.sqlite"; }

OpenedHistory openHistoryFile(bool owner) {
  const std::string path = historyFilePath();
  if (!owner) {
    // A bar may start before the tray has ever run: it reads the file once the tray makes it.
    auto reader = SqliteHistoryFile::openForReading(path);
    if (reader) return {std::move(reader.value()), std::nullopt};
    return {std::make_unique<NoHistoryFile>(reader.error()), std::nullopt};
  }
  auto file = SqliteHistoryFile::open(path);
  if (file) return {std::move(file.value()), std::nullopt};
  // Kept running: what the file holds is still read where it can be, and nothing is written.
  const Error problem = file.error();
  if (auto reader = SqliteHistoryFile::open(path, {.readOnly = true})) return {std::move(reader.value()), problem};
  return {std::make_unique<NoHistoryFile>(problem), problem};
}

std::string userLocale() {
  const QString name = QLocale::system().name();
  return name == "C" || name == "POSIX" ? "en_US" : name.toStdString();
}

std::unique_ptr<EditingContext> openUserStore(AppHost& host) {
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

QString applicationIconTheme(const QString& resources) {
  for (const QString& theme : {resources + "/icons", resources + "/../icons"})
    if (QFileInfo::exists(theme + "/hicolor/scalable/apps/" + kApplicationIcon + ".svg"))
      return QFileInfo(theme).canonicalFilePath();
  return {};
}

// The icon is the application's icon file itself: a program run from its build tree has no icon
// in the desktop's theme.
DBusNotifier desktopNotifier(const QString& resources) {
  const QString theme = applicationIconTheme(resources);
  const QString icon =
      theme.isEmpty() ? QString(kApplicationIcon)
                      : QUrl::fromLocalFile(theme + "/hicolor/scalable/apps/" + kApplicationIcon + ".svg").toString();
  return DBusNotifier(QDBusConnection::sessionBus(), "Pricora", icon, kApplicationIcon);
}

}  // namespace pricora
