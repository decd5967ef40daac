#pragma once

#include <vector>

#include "sni/DBusTypes.h"
#include "sni/MenuSnapshot.h"

namespace pricora {

// The replies of GetLayout and GetGroupProperties, made of what was taken of the model. They read
// nothing else, so any thread may make them.
DBusMenuLayout layoutReply(const LayoutSnapshot& layout);
DBusMenuPropertiesList propertiesReply(const std::vector<ItemRecord>& items, const QStringList& names);

}  // namespace pricora
