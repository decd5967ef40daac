#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "model/Image.h"

namespace pricora {

// The pixel sizes tray pictures are drawn at: 16 to 32 pixel slots, and twice 22 and 24 (44, 48)
// and 32 (64) at scale 2, so no host has to scale a picture it shows.
inline constexpr int kTraySizes[] = {16, 22, 24, 32, 44, 48, 64};

using Pictures = std::vector<QImage>;  // one per size of kTraySizes

// What a price item's picture shows: its price as the bar shows it (or, before the first price,
// the pair's first currency) on a rounded badge in its exchange's colour.
struct PriceFace {
  QString text;               // "10558.8", "XBT"
  std::optional<Rgb> colour;  // none: grey, until the item knows its exchange
  bool attention = false;     // the badge's colours swapped, to be noticed
  friend bool operator==(const PriceFace&, const PriceFace&) = default;
};

// The badge at every tray size. The badge brings its own background, so it reads on light and
// dark panels alike; its digits are black or white, whichever stands out more from its colour.
// Each size shows the most precise of compactPrices that stands at a readable height there:
// "10.6k" at 22 pixels, "10600" from 32.
Pictures pricePictures(const PriceFace& face);

// The form of text a badge of that many pixels shows (see pricePictures), and the pixel height
// of its digits.
struct BadgeText {
  QString text;
  double digitHeight = 0;
};
BadgeText badgeText(const QString& text, int size);

// A round mark in the exchange's colour with a thin rim, for hosts that write the price beside it.
Pictures markPictures(std::optional<Rgb> colour);

// The pictures of an icon at every tray size.
Pictures picturesOf(const QIcon& icon);

// The same pictures with a red dot in the top right corner, as notifications mark an icon; for
// pictures without digits, which the dot would hide.
Pictures withAttentionDot(Pictures pictures);

QIcon iconOf(const Pictures& pictures);

// The prices over time as a line, green when the last is above the first, else red.
QImage sparkline(const std::vector<double>& prices, int size);

// Black or white, whichever contrasts more with fill (WCAG 2: at least 4.58 to 1 for any fill).
QColor inkOn(QColor fill);
double contrastRatio(QColor a, QColor b);

// The price as given, then the same with ever fewer digits: fewer decimals down to the integer,
// then fewer significant digits with a unit. "10599.5", "10600", "10.6k", "11k";
// "912.345", "912.34", "912.3", "912"; "0.03412", ".03412", ".0341", ".034"; "1.234e-5",
// "1.23e-5", "1.2e-5", "1e-5". Text that is not a number has no other form.
QStringList compactPrices(const QString& price);

// A tool tip that shows text as it is, never as markup.
QString plainToolTip(const QString& text);

}  // namespace pricora
