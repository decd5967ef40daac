#pragma once

#include <optional>

#include "platform/menu/StatusBar.h"
#include "qt/ImageCache.h"
#include "sni/StatusNotifierItem.h"

namespace pricora {

struct LookOptions {
  bool hostShowsLabels = false;  // the host draws XAyatanaLabel beside the icon
  bool darkText = false;         // pictures with text are drawn for a light panel
};

// How a status item of the model looks as a StatusNotifierItem. The application's icon is its
// image. A price item is labelled with its title and price on one line; its icon is a small
// mark in its exchange's colour where the host draws labels, else the price itself, drawn as
// large as the slot allows. index is the item's place in creation order.
SniLook lookOf(const StatusItem& item, ImageCache& images, LookOptions options, uint index);

}  // namespace pricora
