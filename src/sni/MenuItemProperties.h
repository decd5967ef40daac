#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <string>

#include "platform/menu/Menu.h"

namespace pricora {

// A title as a dbusmenu label: hosts read "_" as the mark of an access key, so each is doubled
// and every title shows exactly as typed ("&", tabs and markup are never interpreted there).
QString dbusMenuLabel(const std::string& title);

// All dbusmenu properties of an item that differ from the protocol's defaults: label, enabled,
// type, children-display, icon-data (iconPng, when not empty), toggle-type and toggle-state.
QVariantMap menuItemProperties(const MenuItem& item, const QByteArray& iconPng);

}  // namespace pricora
