#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <string>

#include "platform/menu/Menu.h"

namespace pricora {

// A title as a dbusmenu label: as shownText shows it, with each "_" doubled, since hosts read
// "_" as the mark of an access key; every title shows as typed ("&" and markup are never
// interpreted there).
QString dbusMenuLabel(const std::string& title);

// All dbusmenu properties of an item that differ from the protocol's defaults: label, enabled,
// type, children-display, icon-data (iconPng, when not empty), toggle-type and toggle-state.
QVariantMap menuItemProperties(const MenuItem& item, const QByteArray& iconPng);

}  // namespace pricora
