#include "sni/SniTray.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <cstdio>
#include <utility>

namespace pricora {

namespace {

constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";

}  // namespace

SniTray::SniTray(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, LookOptions options,
                 BusConnector connectItem)
    : statusBar_(statusBar), target_(target), images_(images), options_(options), connect_(std::move(connectItem)) {
  registerTrayDBusTypes();
  statusBar_.addObserver(this);
  for (const StatusItemRef& item : statusBar_.items()) statusItemAdded(item);
}

SniTray::~SniTray() {
  statusBar_.removeObserver(this);
  for (auto& entry : entries_) leaveBus(*entry);
}

SniTray::Entry* SniTray::entryNamed(const QString& connectionName) {
  for (auto& entry : entries_)
    if (entry->connectionName == connectionName) return entry.get();
  return nullptr;
}

void SniTray::statusItemAdded(const StatusItemRef& item) {
  auto entry = std::make_unique<Entry>();
  entry->item = item;
  entry->index = created_++;
  entry->connectionName = QStringLiteral("pricora-tray-%1-%2").arg(reinterpret_cast<quintptr>(this)).arg(entry->index);
  entry->menu = std::make_unique<DBusMenuExporter>(item->menu(), target_, images_);
  Entry* raw = entry.get();
  entry->sni = std::make_unique<StatusNotifierItem>(kMenuPath, [this, raw](QPoint where) { popUp(*raw, where); });
  entries_.push_back(std::move(entry));
  update(*raw);

  QDBusConnection bus = connect_(raw->connectionName);
  const auto everything =
      QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals;
  if (!bus.isConnected() || !bus.registerObject(kMenuPath, raw->menu.get(), everything) ||
      !bus.registerObject(kItemPath, raw->sni.get(), everything)) {
    const QString line =
        QCoreApplication::translate("SniTray", "pricora: cannot show a tray item on the session bus: %1");
    std::fprintf(stderr, "%s\n", qPrintable(line.arg(bus.lastError().message())));
    raw->registered = true;  // nothing to register
    return;
  }
  registerNext();
}

void SniTray::leaveBus(Entry& entry) {
  QDBusConnection bus(entry.connectionName);
  bus.unregisterObject(kItemPath);
  bus.unregisterObject(kMenuPath);
  QDBusConnection::disconnectFromBus(entry.connectionName);
}

void SniTray::statusItemRemoved(const StatusItemRef& item) {
  bool awaited = false;
  std::erase_if(entries_, [&](const std::unique_ptr<Entry>& entry) {
    if (entry->item != item) return false;
    awaited = awaited || (registering_ && entry->connectionName == registeringName_);
    leaveBus(*entry);
    return true;
  });
  // Closing its connection drops the watcher's answer with it: nothing else would register the
  // items after it.
  if (!awaited) return;
  delete std::exchange(registration_, nullptr);
  registering_ = false;
  registerNext();
}

void SniTray::statusItemChanged(StatusItem& item) {
  for (auto& entry : entries_) {
    if (entry->item.get() != &item || entry->updateQueued) continue;
    // A price arrives as text, tool tip and menu one after the other: draw once for all three.
    entry->updateQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this, name = entry->connectionName] {
          if (Entry* queued = entryNamed(name)) update(*queued);
        },
        Qt::QueuedConnection);
  }
}

void SniTray::update(Entry& entry) {
  entry.updateQueued = false;
  entry.menu->setRoot(entry.item->menu());
  entry.sni->show(lookOf(*entry.item, images_, options_, entry.index));
}

void SniTray::popUp(Entry& entry, QPoint where) {
  if (!entry.item->menu()) return;
  if (!entry.popup || entry.popup->model() != entry.item->menu())
    entry.popup = std::make_unique<MenuMirror>(entry.item->menu(), target_, images_);
  entry.popup->menu()->popup(where);
}

void SniTray::registerNext() {
  if (registering_) return;
  auto next = std::find_if(entries_.begin(), entries_.end(), [](const auto& entry) { return !entry->registered; });
  if (next == entries_.end()) return;
  // One at a time, each after the watcher's answer to the one before: hosts place items in the
  // order they arrive.
  registering_ = true;
  Entry& entry = **next;
  QDBusMessage call = QDBusMessage::createMethodCall(kWatcherService, kWatcherPath, kWatcherService,
                                                     QStringLiteral("RegisterStatusNotifierItem"));
  call << QString(kItemPath);
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection(entry.connectionName).asyncCall(call), this);
  registration_ = watcher;
  registeringName_ = entry.connectionName;
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, name = entry.connectionName](QDBusPendingCallWatcher* done) {
            done->deleteLater();
            registration_ = nullptr;
            registering_ = false;
            if (done->isError())
              std::fprintf(stderr, "%s\n",
                           qPrintable(QCoreApplication::translate("SniTray",
                                                                  "pricora: the tray did not take an item: %1")
                                          .arg(done->error().message())));
            if (Entry* registered = entryNamed(name)) registered->registered = true;
            registerNext();
          });
}

}  // namespace pricora
