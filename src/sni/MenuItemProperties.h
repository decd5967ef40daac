#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <string>

#include "sni/MenuSnapshot.h"

namespace pricora {

// A title as a dbusmenu label: hosts read "_" as the mark of an access key, so each is doubled
// and every title shows exactly as typed ("&", tabs and markup are never interpreted there).
QString dbusMenuLabel(const std::string& title);

// All dbusmenu properties of an item that differ from the protocol's defaults: label, enabled,
// type, children-display, icon-data, toggle-type and toggle-state; the root menu's for id 0. Any
// thread.
QVariantMap menuItemProperties(const ItemRecord& item);

// The properties named; all of them when names is empty, as the protocol asks.
QVariantMap onlyNamed(const QVariantMap& properties, const QStringList& names);

}  // namespace pricora
