#include "run/Assembly.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <csignal>

#include "platform/store/SqlitePairStore.h"

namespace pricora {

Platform::Platform(QObject* context)
    : queue(context),
      loginItems(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/autostart",
                 QCoreApplication::applicationFilePath().toStdString()) {}

Assembly::Assembly(Platform& platform, ModeParts parts, EditingContext& store, std::function<void()> refreshSignal)
    : services_{platform.queue,    platform.clock,  platform.fetch, platform.statusBar, parts.textMetrics, parts.host,
                platform.settings, platform.bundle, parts.urlOpener, parts.loginItems,  parts.manageWindow},
      delegate_(services_, store),
      quitSignals_([this] { delegate_.terminateWithoutAsking(); }),
      refreshSignal_({SIGUSR1}, refreshSignal ? std::move(refreshSignal) : [this] { delegate_.refreshIfIdle(); }) {}

int Assembly::run() {
  delegate_.applicationDidFinishLaunching();
  return QCoreApplication::exec();
}

StoreLocation userStore() {
  return storeLocation(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString());
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

}  // namespace pricora
