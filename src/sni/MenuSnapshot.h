#pragma once

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/Menu.h"

namespace pricora {

// One node as hosts are shown it: a copy of what the model said, which any thread may read. The
// node with id 0 is the root menu.
struct ItemRecord {
  int id = 0;
  std::string title;
  QByteArray iconPng;             // empty for none
  const Menu* submenu = nullptr;  // compared, never followed
  int state = 0;
  bool separator = false;
  bool enabled = false;
  friend bool operator==(const ItemRecord&, const ItemRecord&) = default;
};

// One menu's items in order, as they were when it was taken; never changed once made.
struct MenuSnapshot {
  std::vector<ItemRecord> items;
};
using MenuSnapshotRef = std::shared_ptr<const MenuSnapshot>;

// What one GetLayout reply shows: the node asked for and every menu below it that the reply
// reaches, taken on the main thread.
struct LayoutSnapshot {
  ItemRecord parent;  // its submenu is the menu below the node, the root menu for the root
  int depth = -1;     // levels below the node; -1 for all
  QStringList names;  // the properties asked for; empty for all
  std::unordered_map<const Menu*, MenuSnapshotRef> menus;
};
using LayoutSnapshotRef = std::shared_ptr<const LayoutSnapshot>;

}  // namespace pricora
