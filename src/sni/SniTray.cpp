#include "sni/SniTray.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <cstdio>
#include <utility>

#include "WatcherProxy.h"

namespace pricora {

namespace {

constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
// For hosts that take one item at a time: the next item waits until the host has read the last
// one and this much more, or at most kLongestPace for a host that is slow to read or never does.
constexpr int kPace = 500;
constexpr int kLongestPace = 2000;

}  // namespace

SniTray::SniTray(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, LookOptions options,
                 const QString& iconRoot, BusConnector connectItem, RegistrationTiming timing)
    : statusBar_(statusBar),
      target_(target),
      images_(images),
      options_(std::move(options)),
      icons_(iconRoot),
      connect_(std::move(connectItem)),
      timing_(timing),
      nextRetry_(timing.firstRetry) {
  pace_.setSingleShot(true);
  connect(&pace_, &QTimer::timeout, this, &SniTray::registerNext);
  retry_.setSingleShot(true);
  connect(&retry_, &QTimer::timeout, this, &SniTray::registerNext);
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
  entry->key = QString::number(entry->index);
  entry->connectionName = QStringLiteral("pricora-tray-%1-%2").arg(reinterpret_cast<quintptr>(this)).arg(entry->index);
  entry->menu = std::make_unique<DBusMenuExporter>(item->menu(), target_, images_);
  Entry* raw = entry.get();
  const auto popup = [this, raw](QPoint where) { popUp(*raw, where); };
  const auto secondary = [this, raw](QPoint where) {
    if (showChart_ && !raw->item->subject().empty())
      showChart_(raw->item->subject());
    else
      popUp(*raw, where);
  };
  if (options_.host.drawsLabels)
    entry->sni = std::make_unique<LabelledStatusNotifierItem>(kMenuPath, popup, secondary);
  else
    entry->sni = std::make_unique<StatusNotifierItem>(kMenuPath, popup, secondary);
  entries_.push_back(std::move(entry));
  followLabelForm();
  update(*raw);
  registerNext();
}

bool SniTray::putOnBus(Entry& entry) {
  QDBusConnection bus = connect_(entry.connectionName);
  entry.onBus = bus.isConnected() && bus.registerObject(kMenuPath, entry.menu.get(), QDBusConnection::ExportAdaptors) &&
                bus.registerObject(kItemPath, entry.sni.get(), QDBusConnection::ExportAdaptors);
  if (entry.onBus) return true;
  const QString problem = bus.lastError().message();
  leaveBus(entry);  // the next try opens a connection anew
  retryAfter(
      QCoreApplication::translate("SniTray", "pricora: cannot show a tray item on the session bus: %1").arg(problem));
  return false;
}

void SniTray::leaveBus(Entry& entry) {
  QDBusConnection bus(entry.connectionName);
  bus.unregisterObject(kItemPath);
  bus.unregisterObject(kMenuPath);
  QDBusConnection::disconnectFromBus(entry.connectionName);
}

void SniTray::retryAfter(const QString& problem) {
  if (!std::exchange(complained_, true))
    std::fprintf(
        stderr, "%s\n",
        qPrintable(
            QCoreApplication::translate("SniTray", "%1; offering it again until the tray takes it").arg(problem)));
  retry_.start(nextRetry_);
  nextRetry_ = std::min(2 * nextRetry_, timing_.longestRetry);
}

void SniTray::statusItemRemoved(const StatusItemRef& item) {
  bool awaited = false;
  std::erase_if(entries_, [&](const std::unique_ptr<Entry>& entry) {
    if (entry->item != item) return false;
    awaited = awaited || (registration_ && entry->connectionName == registeringName_);
    leaveBus(*entry);
    icons_.withdraw(entry->key);
    icons_.withdraw(entry->key + "a");
    return true;
  });
  followLabelForm();
  // Closing its connection drops the watcher's answer with it: nothing else would register the
  // items after it.
  if (!awaited) return;
  delete std::exchange(registration_, nullptr);
  registerNext();
}

void SniTray::statusItemChanged(StatusItem& item) {
  for (auto& entry : entries_)
    if (entry->item.get() == &item) queueUpdate(*entry);
  followLabelForm();  // an item learns what it stands for after it is made
}

void SniTray::queueUpdate(Entry& entry) {
  if (entry.updateQueued) return;
  // A price arrives as text, tool tip and menu one after the other: draw once for all three.
  entry.updateQueued = true;
  QMetaObject::invokeMethod(
      this,
      [this, name = entry.connectionName] {
        if (Entry* queued = entryNamed(name)) update(*queued);
      },
      Qt::QueuedConnection);
}

void SniTray::followLabelForm() {
  std::vector<ItemSubject> subjects;
  for (const auto& entry : entries_)
    if (!entry->item->subject().empty()) subjects.push_back(entry->item->subject());
  const LabelForm form = labelFormFor(subjects, options_);
  if (form == labelForm_) return;
  labelForm_ = form;
  for (auto& entry : entries_) queueUpdate(*entry);
}

void SniTray::update(Entry& entry) {
  entry.updateQueued = false;
  entry.menu->setRoot(entry.item->menu());
  ItemLook look = lookOf(*entry.item, images_, options_, labelForm_, entry.index);
  // Pictures without a theme name get one in the icon folder.
  if (look.sni.iconName.isEmpty()) {
    look.sni.iconName = icons_.publish(entry.key, look.icon);
    if (!look.sni.iconName.isEmpty()) look.sni.iconThemePath = icons_.themePath();
  }
  if (look.attention.empty())
    icons_.withdraw(entry.key + "a");
  else
    look.sni.attentionIconName = icons_.publish(entry.key + "a", look.attention);
  entry.sni->show(std::move(look.sni));
}

void SniTray::popUp(Entry& entry, QPoint where) {
  if (!entry.item->menu()) return;
  if (!entry.popup || entry.popup->model() != entry.item->menu())
    entry.popup = std::make_unique<MenuMirror>(entry.item->menu(), target_, images_);
  entry.popup->menu()->popup(where);
}

void SniTray::registerNext() {
  if (registration_ || pace_.isActive() || retry_.isActive()) return;
  auto next = std::find_if(entries_.begin(), entries_.end(), [](const auto& entry) { return !entry->registered; });
  if (next == entries_.end()) return;
  // One at a time, each after the watcher's answer to the one before: hosts place items in the
  // order they arrive.
  Entry& entry = **next;
  if (!entry.onBus && !putOnBus(entry)) return;
  OrgKdeStatusNotifierWatcherInterface tray(kWatcherService, kWatcherPath, QDBusConnection(entry.connectionName));
  tray.setTimeout(static_cast<int>(timing_.answer.count()));
  auto* watcher = new QDBusPendingCallWatcher(tray.RegisterStatusNotifierItem(kItemPath), this);
  registration_ = watcher;
  registeringName_ = entry.connectionName;
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, name = entry.connectionName](QDBusPendingCallWatcher* done) {
            done->deleteLater();
            registration_ = nullptr;
            Entry* registered = entryNamed(name);
            if (!registered) return registerNext();
            // A watcher that answers late (GNOME Shell busy with a large menu) may well have taken
            // the item: offered again, it says so.
            if (done->isError())
              return retryAfter(QCoreApplication::translate("SniTray", "pricora: the tray did not take an item: %1")
                                    .arg(done->error().message()));
            nextRetry_ = timing_.firstRetry;
            registered->registered = true;
            // Elsewhere the next goes at once: GNOME Shell, busy with a new menu after the first
            // prices, answers an item seconds late.
            if (!options_.host.oneItemAtATime) return registerNext();
            pace_.start(registered->sni->wasRead() ? kPace : kLongestPace);
            registered->sni->whenRead([this] {
              if (pace_.isActive()) pace_.start(kPace);
            });
          });
}

}  // namespace pricora
