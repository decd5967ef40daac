#include "sni/LayoutReply.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>

#include "sni/DBusTypes.h"
#include "sni/MenuItemProperties.h"

namespace pricora {

namespace {

// a{sv}: the node's properties among names, all of them when names is empty.
void writeProperties(QDBusArgument& argument, const ItemRecord* item, const QStringList& names) {
  argument.beginMap(QMetaType::fromType<QString>(), QMetaType::fromType<QDBusVariant>());
  if (item != nullptr) {
    forEachMenuItemProperty(*item, [&](const QString& name, const QVariant& value) {
      if (!names.isEmpty() && !names.contains(name)) return;
      argument.beginMapEntry();
      argument << name << QDBusVariant(value);
      argument.endMapEntry();
    });
  }
  argument.endMap();
}

void writeNode(QDBusArgument& argument, const void* data) {
  const auto& node = *static_cast<const LayoutReplyNode*>(data);
  static const QStringList all;
  argument.beginStructure();
  argument << (node.item ? node.item->id : 0);
  writeProperties(argument, node.item, node.layout ? node.layout->names : all);
  argument.beginArray(QMetaType::fromType<QDBusVariant>());
  if (node.layout != nullptr && node.depth != 0) {
    auto below = node.layout->menus.find(node.item->submenu);
    if (below != node.layout->menus.end()) {
      // The children are variants, each holding a node of the same shape.
      for (const ItemRecord& child : below->second->items)
        argument << QDBusVariant(
            QVariant::fromValue(LayoutReplyNode{node.layout, &child, node.depth < 0 ? -1 : node.depth - 1}));
    }
  }
  argument.endArray();
  argument.endStructure();
}

void writeItemProperties(QDBusArgument& argument, const ItemRecord& item, const QStringList& names) {
  argument.beginStructure();
  argument << item.id;
  writeProperties(argument, &item, names);
  argument.endStructure();
}

// Straight from the layout: a copy of a whole tree's records would double it while it is sent.
void writeSubtreeProperties(QDBusArgument& argument, const LayoutSnapshot& layout, const ItemRecord& node,
                            const QStringList& names) {
  writeItemProperties(argument, node, names);
  if (auto below = layout.menus.find(node.submenu); below != layout.menus.end())
    for (const ItemRecord& child : below->second->items) writeSubtreeProperties(argument, layout, child, names);
}

void writePropertiesReply(QDBusArgument& argument, const void* data) {
  const auto& reply = *static_cast<const PropertiesReply*>(data);
  argument.beginArray(QMetaType::fromType<DBusMenuProperties>());
  if (reply.items != nullptr) {
    for (const ItemRecord& item : *reply.items) writeItemProperties(argument, item, reply.names);
  } else if (reply.layout != nullptr) {
    writeSubtreeProperties(argument, *reply.layout, reply.layout->parent, reply.names);
  }
  argument.endArray();
}

// Replies are only ever written.
void readNothing(const QDBusArgument&, void*) {}

}  // namespace

void registerReplyTypes() {
  registerTrayDBusTypes();
  QDBusMetaType::registerMarshallOperators(QMetaType::fromType<LayoutReplyNode>(), writeNode, readNothing);
  QDBusMetaType::registerMarshallOperators(QMetaType::fromType<PropertiesReply>(), writePropertiesReply, readNothing);
}

}  // namespace pricora
