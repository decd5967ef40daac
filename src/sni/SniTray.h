#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "model/StatusBar.h"
#include "platform/MenuActionTarget.h"
#include "qt/ImageCache.h"
#include "qt/MenuMirror.h"
#include "qt/TrayHost.h"
#include "sni/DBusMenuExporter.h"
#include "sni/IconFolder.h"
#include "sni/ItemLook.h"
#include "sni/StatusNotifierItem.h"

class QDBusPendingCallWatcher;

namespace pricora {

// Opens a connection of its own to the session bus under the given connection name.
using BusConnector = std::function<QDBusConnection(const QString& name)>;

// How an item that the watcher did not take is offered again; tests shorten all three.
struct RegistrationTiming {
  std::chrono::milliseconds firstRetry{500};  // doubled at each failure
  std::chrono::milliseconds longestRetry{8000};
  // GNOME Shell, busy with a large menu, answers seconds late: an answer later than this counts
  // as none, and the item is offered again (a watcher that took it says so).
  std::chrono::milliseconds answer{10000};
};

// Shows each status item of the model as a StatusNotifierItem with its menu over dbusmenu,
// registered with the bus's org.kde.StatusNotifierWatcher in creation order, each after the
// watcher's answer to the one before, and on hosts that take one item at a time once the host has
// read it.
//
// Each item has a bus connection of its own ("/StatusNotifierItem" and "/MenuBar" on it), so a
// removed item leaves the bus and every host drops it, as hosts follow names, not objects.
// Pictures are also written to an icon folder under iconRoot, for hosts that read icons by name.
// When an item cannot be put on the bus, or the watcher refuses it or does not answer, the tray
// says why on standard error, once, and offers it again and again, waiting longer each time (the
// items after it wait behind it): while a watcher is there, no other tray would show anything.
class SniTray final : public QObject, public StatusBarObserver {
 public:
  SniTray(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, LookOptions options,
          const QString& iconRoot, BusConnector connectItem, RegistrationTiming timing = {});
  ~SniTray() override;

  // A middle click on a price item (SecondaryActivate) shows its pair's chart through this;
  // without it, or on the application's own item, the click opens the menu.
  void setShowChart(ShowChart showChart) { showChart_ = std::move(showChart); }

  static constexpr const char* kItemPath = "/StatusNotifierItem";
  static constexpr const char* kMenuPath = "/MenuBar";

 private:
  struct Entry {
    StatusItemRef item;
    QString connectionName;
    uint index = 0;
    QString key;  // of its pictures in the icon folder
    std::unique_ptr<DBusMenuExporter> menu;
    std::unique_ptr<StatusNotifierItem> sni;
    std::unique_ptr<MenuMirror> popup;
    bool onBus = false;
    bool registered = false;
    bool updateQueued = false;
  };

  void statusItemAdded(const StatusItemRef& item) override;
  void statusItemRemoved(const StatusItemRef& item) override;
  void statusItemChanged(StatusItem& item) override;
  void update(Entry& entry);
  void queueUpdate(Entry& entry);
  void followLabelForm();
  void popUp(Entry& entry, QPoint where);
  bool putOnBus(Entry& entry);
  // Says why an item is not shown, once, and offers it again later.
  void retryAfter(const QString& problem);
  void registerNext();
  Entry* entryNamed(const QString& connectionName);
  void leaveBus(Entry& entry);

  StatusBar& statusBar_;
  MenuActionTarget& target_;
  ImageCache& images_;
  ShowChart showChart_;
  LookOptions options_;
  IconFolder icons_;
  BusConnector connect_;
  RegistrationTiming timing_;
  LabelForm labelForm_ = LabelForm::Pair;
  std::vector<std::unique_ptr<Entry>> entries_;
  uint created_ = 0;
  QTimer pace_;   // between one item read by the host and the next registered
  QTimer retry_;  // until an item that was not taken is offered again
  std::chrono::milliseconds nextRetry_;
  bool complained_ = false;
  QDBusPendingCallWatcher* registration_ = nullptr;  // the watcher's answer awaited, if any
  QString registeringName_;                          // and whose it is
};

}  // namespace pricora
