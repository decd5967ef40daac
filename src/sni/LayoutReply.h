#pragma once

#include <QMetaType>
#include <QStringList>

#include <memory>
#include <vector>

#include "sni/MenuSnapshot.h"

namespace pricora {

// The replies of GetLayout and GetGroupProperties, marshalled straight from what was taken of the
// model, with no tree of maps and lists built first. They read nothing else, so any thread may
// marshal them, but what they point at must outlive the marshalling.

// (ia{sv}av): a node of a layout and, to the layout's depth, the nodes below it.
struct LayoutReplyNode {
  const LayoutSnapshot* layout = nullptr;
  const ItemRecord* item = nullptr;
  int depth = 0;
};

// a(ia{sv}): the properties of some nodes, those named or all when names is empty: the nodes of
// items, or without items every node of layout, the node asked for first, each before the nodes
// below it.
struct PropertiesReply {
  std::shared_ptr<const std::vector<ItemRecord>> items;
  LayoutSnapshotRef layout;
  QStringList names;
};

// Makes the replies known to Qt's D-Bus layer; call before answering with them.
void registerReplyTypes();

}  // namespace pricora

Q_DECLARE_METATYPE(pricora::LayoutReplyNode)
Q_DECLARE_METATYPE(pricora::PropertiesReply)
