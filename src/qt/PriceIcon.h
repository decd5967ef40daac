#pragma once

#include <QIcon>

#include "platform/menu/StatusBar.h"

namespace pricora {

// A price item's picture for the tray: its two lines (title over price) drawn as large as the
// tray's square slot allows, at every common slot size so the tray never scales it blurry.
// Light text with a dark rim reads on the dark panels most desktops use and on light ones too;
// darkText swaps the two for light panels.
QIcon priceIcon(const AttributedTitle& title, bool darkText);

// A tool tip that shows text as it is, never as markup.
QString plainToolTip(const QString& text);

}  // namespace pricora
