#pragma once

#include <QFont>

namespace pricora {

// The font of the price items: the system font at 8 points, at a weight on the scale where
// regular is 0 and bold is 0.4. The usual desktop fonts (DejaVu Sans, Noto Sans, Cantarell)
// draw their digits at one width, so prices do not jiggle as they change.
QFont trayFont(double weight);

}  // namespace pricora
