#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace pricora {

// The records the tray protocols carry, with their wire signatures.

// (iiay): one picture, ARGB32 with each pixel in network byte order.
struct SniPixmap {
  int width = 0;
  int height = 0;
  QByteArray argb;
};
using SniPixmaps = QList<SniPixmap>;

// (sa(iiay)ss): icon name, icon pictures, title, text.
struct SniToolTip {
  QString iconName;
  SniPixmaps pixmaps;
  QString title;
  QString text;
};

// (ia{sv}av): one menu node and, as variants, the nodes below it.
struct DBusMenuLayout {
  int id = 0;
  QVariantMap properties;
  QList<DBusMenuLayout> children;
};

// (ia{sv}) and (ias): changed and dropped properties of one menu node.
struct DBusMenuProperties {
  int id = 0;
  QVariantMap properties;
};
using DBusMenuPropertiesList = QList<DBusMenuProperties>;

struct DBusMenuRemovedProperties {
  int id = 0;
  QStringList names;
};
using DBusMenuRemovedPropertiesList = QList<DBusMenuRemovedProperties>;

// (isvu): one event of EventGroup.
struct DBusMenuEvent {
  int id = 0;
  QString eventId;
  QDBusVariant data;
  uint timestamp = 0;
};
using DBusMenuEventList = QList<DBusMenuEvent>;

// GNOME's compositor's display layout. (ssss): a monitor's connector, vendor, product, serial.
struct MutterMonitorSpec {
  QString connector, vendor, product, serial;
};

// (siiddada{sv}): one mode of a monitor; its properties say whether it is "is-current".
struct MutterMode {
  QString id;
  int width = 0;
  int height = 0;
  double refreshRate = 0;
  double preferredScale = 0;
  QList<double> scales;
  QVariantMap properties;
};

// ((ssss)a(siiddada{sv})a{sv}): one monitor and its modes.
struct MutterMonitor {
  MutterMonitorSpec identity;
  QList<MutterMode> modes;
  QVariantMap properties;
};
using MutterMonitors = QList<MutterMonitor>;

// (iiduba(ssss)a{sv}): one area of the desktop and the monitors that show it.
struct MutterLogicalMonitor {
  int x = 0;
  int y = 0;
  double scale = 1;
  uint transform = 0;
  bool primary = false;
  QList<MutterMonitorSpec> monitors;
  QVariantMap properties;
};
using MutterLogicalMonitors = QList<MutterLogicalMonitor>;

QDBusArgument& operator<<(QDBusArgument& argument, const SniPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& toolTip);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& toolTip);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayout& layout);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayout& layout);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuProperties& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuRemovedProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuRemovedProperties& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event);
QDBusArgument& operator<<(QDBusArgument& argument, const MutterMonitorSpec& identity);
const QDBusArgument& operator>>(const QDBusArgument& argument, MutterMonitorSpec& identity);
QDBusArgument& operator<<(QDBusArgument& argument, const MutterMode& mode);
const QDBusArgument& operator>>(const QDBusArgument& argument, MutterMode& mode);
QDBusArgument& operator<<(QDBusArgument& argument, const MutterMonitor& monitor);
const QDBusArgument& operator>>(const QDBusArgument& argument, MutterMonitor& monitor);
QDBusArgument& operator<<(QDBusArgument& argument, const MutterLogicalMonitor& monitor);
const QDBusArgument& operator>>(const QDBusArgument& argument, MutterLogicalMonitor& monitor);

// Makes the records above known to Qt's D-Bus layer; call before exporting or reading them.
void registerTrayDBusTypes();

}  // namespace pricora

Q_DECLARE_METATYPE(pricora::SniPixmap)
Q_DECLARE_METATYPE(pricora::SniPixmaps)
Q_DECLARE_METATYPE(pricora::SniToolTip)
Q_DECLARE_METATYPE(pricora::DBusMenuLayout)
Q_DECLARE_METATYPE(pricora::DBusMenuProperties)
Q_DECLARE_METATYPE(pricora::DBusMenuPropertiesList)
Q_DECLARE_METATYPE(pricora::DBusMenuRemovedProperties)
Q_DECLARE_METATYPE(pricora::DBusMenuRemovedPropertiesList)
Q_DECLARE_METATYPE(pricora::DBusMenuEvent)
Q_DECLARE_METATYPE(pricora::DBusMenuEventList)
Q_DECLARE_METATYPE(pricora::MutterMonitorSpec)
Q_DECLARE_METATYPE(pricora::MutterMode)
Q_DECLARE_METATYPE(pricora::MutterMonitor)
Q_DECLARE_METATYPE(pricora::MutterMonitors)
Q_DECLARE_METATYPE(pricora::MutterLogicalMonitor)
Q_DECLARE_METATYPE(pricora::MutterLogicalMonitors)
