#pragma once

#include <QIcon>

#include "platform/menu/StatusBar.h"

namespace pricora {

// A price item's picture for the tray, at every common slot size so the tray never scales it
// blurry: from 32 pixels on its two lines (title over price) as large as the square slot allows;
// in smaller slots, where two lines cannot be read, the price alone (the title is in the tool
// tip), in the first of compactPrices that reaches a readable height.
// Light text with a dark rim reads on the dark panels most desktops use and on light ones too;
// darkText swaps the two for light panels.
//
// PriceOnly draws the small-slot form at every size, chosen for a 22 px slot: for hosts whose
// slots are small whatever pixel sizes they ask for (StatusNotifierItem hosts take the largest
// picture and shrink it, and double their sizes at scale 2).
enum class PriceLayout { BySlot, PriceOnly };
QIcon priceIcon(const AttributedTitle& title, bool darkText, PriceLayout layout = PriceLayout::BySlot);

// The price as given, then shorter forms of it, each shorter than the one before:
// "10599.5", "10.6k", "11k"; "912.345", "912.3", "912"; "1.234e-5", "1.23e-5", "1.2e-5", "1e-5".
// Text that is not a number has no shorter form.
QStringList compactPrices(const QString& price);

// A tool tip that shows text as it is, never as markup.
QString plainToolTip(const QString& text);

}  // namespace pricora
