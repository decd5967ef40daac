#include "sni/DBusTypes.h"

#include <QDBusMetaType>

namespace pricora {

namespace {

// A structure of the fields in this order, each with its own signature.
template <typename... Fields>
QDBusArgument& writtenFields(QDBusArgument& argument, const Fields&... fields) {
  argument.beginStructure();
  (argument << ... << fields);
  argument.endStructure();
  return argument;
}

template <typename... Fields>
const QDBusArgument& readFields(const QDBusArgument& argument, Fields&... fields) {
  argument.beginStructure();
  (argument >> ... >> fields);
  argument.endStructure();
  return argument;
}

}  // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const SniPixmap& pixmap) {
  return writtenFields(argument, pixmap.width, pixmap.height, pixmap.argb);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniPixmap& pixmap) {
  return readFields(argument, pixmap.width, pixmap.height, pixmap.argb);
}

QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& toolTip) {
  return writtenFields(argument, toolTip.iconName, toolTip.pixmaps, toolTip.title, toolTip.text);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& toolTip) {
  return readFields(argument, toolTip.iconName, toolTip.pixmaps, toolTip.title, toolTip.text);
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayout& layout) {
  argument.beginStructure();
  argument << layout.id << layout.properties;
  // The children are variants, each holding a node of the same shape.
  argument.beginArray(QMetaType::fromType<QDBusVariant>());
  for (const DBusMenuLayout& child : layout.children) argument << QDBusVariant(QVariant::fromValue(child));
  argument.endArray();
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayout& layout) {
  argument.beginStructure();
  argument >> layout.id >> layout.properties;
  layout.children.clear();
  argument.beginArray();
  while (!argument.atEnd()) {
    QDBusVariant child;
    argument >> child;
    DBusMenuLayout node;
    child.variant().value<QDBusArgument>() >> node;
    layout.children.push_back(std::move(node));
  }
  argument.endArray();
  argument.endStructure();
  return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuProperties& item) {
  return writtenFields(argument, item.id, item.properties);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuProperties& item) {
  return readFields(argument, item.id, item.properties);
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuRemovedProperties& item) {
  return writtenFields(argument, item.id, item.names);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuRemovedProperties& item) {
  return readFields(argument, item.id, item.names);
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event) {
  return writtenFields(argument, event.id, event.eventId, event.data, event.timestamp);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event) {
  return readFields(argument, event.id, event.eventId, event.data, event.timestamp);
}

QDBusArgument& operator<<(QDBusArgument& argument, const MutterMonitorSpec& identity) {
  return writtenFields(argument, identity.connector, identity.vendor, identity.product, identity.serial);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, MutterMonitorSpec& identity) {
  return readFields(argument, identity.connector, identity.vendor, identity.product, identity.serial);
}

QDBusArgument& operator<<(QDBusArgument& argument, const MutterMode& mode) {
  return writtenFields(argument, mode.id, mode.width, mode.height, mode.refreshRate, mode.preferredScale, mode.scales,
                       mode.properties);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, MutterMode& mode) {
  return readFields(argument, mode.id, mode.width, mode.height, mode.refreshRate, mode.preferredScale, mode.scales,
                    mode.properties);
}

QDBusArgument& operator<<(QDBusArgument& argument, const MutterMonitor& monitor) {
  return writtenFields(argument, monitor.identity, monitor.modes, monitor.properties);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, MutterMonitor& monitor) {
  return readFields(argument, monitor.identity, monitor.modes, monitor.properties);
}

QDBusArgument& operator<<(QDBusArgument& argument, const MutterLogicalMonitor& monitor) {
  return writtenFields(argument, monitor.x, monitor.y, monitor.scale, monitor.transform, monitor.primary,
                       monitor.monitors, monitor.properties);
}

const QDBusArgument& operator>>(const QDBusArgument& argument, MutterLogicalMonitor& monitor) {
  return readFields(argument, monitor.x, monitor.y, monitor.scale, monitor.transform, monitor.primary, monitor.monitors,
                    monitor.properties);
}

void registerTrayDBusTypes() {
  qDBusRegisterMetaType<SniPixmap>();
  qDBusRegisterMetaType<SniPixmaps>();
  qDBusRegisterMetaType<SniToolTip>();
  qDBusRegisterMetaType<DBusMenuLayout>();
  qDBusRegisterMetaType<DBusMenuProperties>();
  qDBusRegisterMetaType<DBusMenuPropertiesList>();
  qDBusRegisterMetaType<DBusMenuRemovedProperties>();
  qDBusRegisterMetaType<DBusMenuRemovedPropertiesList>();
  qDBusRegisterMetaType<DBusMenuEvent>();
  qDBusRegisterMetaType<DBusMenuEventList>();
  qDBusRegisterMetaType<MutterMonitorSpec>();
  qDBusRegisterMetaType<MutterMode>();
  qDBusRegisterMetaType<MutterMonitor>();
  qDBusRegisterMetaType<MutterMonitors>();
  qDBusRegisterMetaType<MutterLogicalMonitor>();
  qDBusRegisterMetaType<MutterLogicalMonitors>();
}

}  // namespace pricora
