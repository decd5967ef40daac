#pragma once

#include <QDBusObjectPath>
#include <QObject>
#include <QPoint>

#include <functional>

#include "sni/DBusTypes.h"

namespace pricora {

// What one tray item shows through org.kde.StatusNotifierItem.
struct SniLook {
  QString id;
  QString title;
  bool needsAttention = false;
  // The icon by name in a theme (hosts that read only names), and as pictures.
  QString iconName;
  QString iconThemePath;
  SniPixmaps pixmaps;
  QString attentionIconName;
  SniPixmaps attentionPixmaps;
  QString accessibleDesc;
  SniToolTip toolTip;
  QString label;  // beside the icon, on hosts that draw labels
  QString labelGuide;
  uint orderingIndex = 0;
};

// One org.kde.StatusNotifierItem object, served through the adaptor generated from
// dbus/org.kde.StatusNotifierItem.xml (register it with QDBusConnection::ExportAdaptors), which
// reads the properties below and relays the signals. Its menu is a com.canonical.dbusmenu object
// at menuPath; hosts show that menu themselves. A host that asks the item to act instead
// (Activate, ContextMenu) gets the popup callback with the screen position; SecondaryActivate (a
// middle click) gets the secondary callback, or the popup one when there is none.
// Without the Ayatana label: mate-panel's notification area puts any label it finds, even an
// empty one, in place of the icon.
class StatusNotifierItem : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Category READ category)
  Q_PROPERTY(QString Id READ id)
  Q_PROPERTY(QString Title READ title)
  Q_PROPERTY(QString Status READ status)
  Q_PROPERTY(int WindowId READ windowId)
  Q_PROPERTY(QString IconName READ iconName)
  Q_PROPERTY(QString IconThemePath READ iconThemePath)
  Q_PROPERTY(pricora::SniPixmaps IconPixmap READ iconPixmap)
  Q_PROPERTY(QString IconAccessibleDesc READ accessibleDesc)
  Q_PROPERTY(QString OverlayIconName READ emptyText)
  Q_PROPERTY(pricora::SniPixmaps OverlayIconPixmap READ noPixmaps)
  Q_PROPERTY(QString AttentionIconName READ attentionIconName)
  Q_PROPERTY(pricora::SniPixmaps AttentionIconPixmap READ attentionPixmaps)
  Q_PROPERTY(QString AttentionAccessibleDesc READ accessibleDesc)
  Q_PROPERTY(QString AttentionMovieName READ emptyText)
  Q_PROPERTY(pricora::SniToolTip ToolTip READ toolTip)
  Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
  Q_PROPERTY(QDBusObjectPath Menu READ menu)

 public:
  StatusNotifierItem(QString menuPath, std::function<void(QPoint)> popup,
                     std::function<void(QPoint)> secondary = nullptr);
  ~StatusNotifierItem() override = default;

  // Shows a new look, announcing only what changed.
  void show(SniLook look);

  // Calls read, once, as soon as a host has read the item (every host reads its Id).
  void whenRead(std::function<void()> read) { read_ = std::move(read); }
  bool wasRead() const { return wasRead_; }

  QString category() const { return QStringLiteral("ApplicationStatus"); }
  QString id() const;
  QString title() const { return look_.title; }
  QString status() const;
  int windowId() const { return 0; }
  QString emptyText() const { return {}; }
  QString iconName() const { return look_.iconName; }
  QString iconThemePath() const { return look_.iconThemePath; }
  SniPixmaps iconPixmap() const { return look_.pixmaps; }
  QString accessibleDesc() const { return look_.accessibleDesc; }
  QString attentionIconName() const { return look_.attentionIconName; }
  SniPixmaps attentionPixmaps() const { return look_.attentionPixmaps; }
  SniPixmaps noPixmaps() const { return {}; }
  SniToolTip toolTip() const { return look_.toolTip; }
  bool itemIsMenu() const { return true; }
  QDBusObjectPath menu() const { return QDBusObjectPath(menuPath_); }

 public Q_SLOTS:
  void Activate(int x, int y);
  void SecondaryActivate(int x, int y);
  void ContextMenu(int x, int y);
  void Scroll(int delta, const QString& orientation);

 Q_SIGNALS:
  void NewTitle();
  void NewIcon();
  void NewAttentionIcon();
  void NewOverlayIcon();
  void NewToolTip();
  void NewStatus(const QString& status);
  void NewIconThemePath(const QString& path);

 protected:
  // For an item that is served through an adaptor of its own.
  struct OwnAdaptor {};
  StatusNotifierItem(QString menuPath, std::function<void(QPoint)> popup, std::function<void(QPoint)> secondary,
                     OwnAdaptor);

  const SniLook& look() const { return look_; }
  virtual void labelChanged() {}

 private:
  QString menuPath_;
  std::function<void(QPoint)> popup_;
  std::function<void(QPoint)> secondary_;
  SniLook look_;
  // Reading a property is const; that it happened is not part of the item's state.
  mutable bool wasRead_ = false;
  mutable std::function<void()> read_;
};

// An item with the Ayatana label beside its icon, for hosts that draw it.
class LabelledStatusNotifierItem final : public StatusNotifierItem {
  Q_OBJECT
  Q_PROPERTY(QString XAyatanaLabel READ label)
  Q_PROPERTY(QString XAyatanaLabelGuide READ labelGuide)
  Q_PROPERTY(uint XAyatanaOrderingIndex READ orderingIndex)

 public:
  LabelledStatusNotifierItem(QString menuPath, std::function<void(QPoint)> popup,
                             std::function<void(QPoint)> secondary = nullptr);

  QString label() const { return look().label; }
  QString labelGuide() const { return look().labelGuide; }
  uint orderingIndex() const { return look().orderingIndex; }

 Q_SIGNALS:
  void XAyatanaNewLabel(const QString& label, const QString& guide);

 private:
  void labelChanged() override { Q_EMIT XAyatanaNewLabel(label(), labelGuide()); }
};

}  // namespace pricora
