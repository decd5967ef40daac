#include "sni/LayoutReply.h"

#include "sni/MenuItemProperties.h"

namespace pricora {

namespace {

DBusMenuLayout nodeOf(const LayoutSnapshot& layout, const ItemRecord& item, const Menu* below, int depth) {
  DBusMenuLayout node;
  node.id = item.id;
  node.properties = onlyNamed(menuItemProperties(item), layout.names);
  auto found = depth == 0 ? layout.menus.end() : layout.menus.find(below);
  if (found == layout.menus.end()) return node;
  node.children.reserve(static_cast<qsizetype>(found->second->items.size()));
  for (const ItemRecord& child : found->second->items)
    node.children.push_back(nodeOf(layout, child, child.submenu, depth < 0 ? depth : depth - 1));
  return node;
}

}  // namespace

DBusMenuLayout layoutReply(const LayoutSnapshot& layout) {
  return nodeOf(layout, layout.parent, layout.menu, layout.depth);
}

DBusMenuPropertiesList propertiesReply(const std::vector<ItemRecord>& items, const QStringList& names) {
  DBusMenuPropertiesList reply;
  reply.reserve(static_cast<qsizetype>(items.size()));
  for (const ItemRecord& item : items) reply.push_back({item.id, onlyNamed(menuItemProperties(item), names)});
  return reply;
}

}  // namespace pricora
