#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <string>

#include "sni/MenuSnapshot.h"

namespace pricora {

// A title as a dbusmenu label: as shownText shows it, with each "_" doubled, since hosts read
// "_" as the mark of an access key; every title shows as typed ("&" and markup are never
// interpreted there).
QString dbusMenuLabel(const std::string& title);

// Calls put(name, value) for each dbusmenu property of a node that differs from the protocol's
// defaults: label, enabled, type, children-display, icon-data, toggle-type and toggle-state; the
// root menu's for id 0. Any thread.
template <typename Put>
void forEachMenuItemProperty(const ItemRecord& item, Put&& put) {
  const QString submenu = QStringLiteral("submenu");
  // The root holds the other menus and is never shown itself.
  if (item.id == 0) return put(QStringLiteral("children-display"), QVariant(submenu));
  if (item.separator) return put(QStringLiteral("type"), QVariant(QStringLiteral("separator")));
  put(QStringLiteral("label"), QVariant(dbusMenuLabel(item.title)));
  if (!item.enabled) put(QStringLiteral("enabled"), QVariant(false));
  if (item.submenu) put(QStringLiteral("children-display"), QVariant(submenu));
  if (!item.iconPng.isEmpty()) put(QStringLiteral("icon-data"), QVariant(item.iconPng));
  // The model knows a check mark only by its state; an item that is off looks like any other.
  if (item.state != 0) {
    put(QStringLiteral("toggle-type"), QVariant(QStringLiteral("checkmark")));
    put(QStringLiteral("toggle-state"), QVariant(item.state));
  }
}

// The same as a map.
QVariantMap menuItemProperties(const ItemRecord& item);

}  // namespace pricora
