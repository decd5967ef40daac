#pragma once

#include <vector>

#include "model/StatusBar.h"
#include "qt/ImageCache.h"
#include "qt/PriceIcon.h"
#include "qt/QtBundle.h"
#include "sni/StatusNotifierItem.h"
#include "sni/TrayHosts.h"

namespace pricora {

struct LookOptions {
  HostTraits host;
  QString appIconThemePath;  // a theme folder with the application's icon; empty: the desktop's own
  int screenWidth = 1280;    // logical pixels, for how much label fits
};

// How much a price item's label names: the pair ("XBT/USD 10558.8"), its first currency alone
// ("XBT 10558.8"), or nothing ("10558.8"). The price is always written whole.
enum class LabelForm { Pair, Base, PriceOnly };

// The most the labels of items standing for these subjects can name and still all fit the host's
// room on this screen. The first currency alone only where it tells the items of one exchange apart.
LabelForm labelFormFor(const std::vector<ItemSubject>& subjects, const LookOptions& options);

// A look, and the pictures behind it for hosts that read icons by name: the tray names them.
struct ItemLook {
  SniLook sni;
  Pictures icon;
  Pictures attention;  // empty unless the item needs attention
};

// How a status item of the model looks as a StatusNotifierItem. The application's icon is its
// image, also by its theme name. A price item is labelled with its name and price on one line
// where the host draws labels, and its icon is a mark in its exchange's colour; elsewhere its icon
// is the price itself. index is the item's place in creation order.
ItemLook lookOf(const StatusItem& item, ImageCache& images, const LookOptions& options, LabelForm form, uint index);

}  // namespace pricora
