#include "qt/TrayFont.h"

#include <QFontDatabase>

#include <algorithm>

namespace pricora {

QFont trayFont(double weight) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSizeF(8.0);
  const double scaled = 400.0 + std::clamp(weight, -0.4, 0.4) / 0.4 * 300.0;
  font.setWeight(static_cast<QFont::Weight>(std::clamp(static_cast<int>(scaled), 100, 900)));
  return font;
}

}  // namespace pricora
