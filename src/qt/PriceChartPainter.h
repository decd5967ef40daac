#pragma once

#include <QPainter>
#include <QPalette>
#include <QRectF>

#include <cstddef>
#include <optional>

#include "core/chart/PriceChart.h"

namespace pricora {

// Where a chart's plot sits inside the rectangle it is painted into, leaving room for the scales.
QRectF chartPlotArea(const QRectF& area, const PriceChart& chart, const QFont& font);

// Paints the chart into area with the palette's roles only, so that it reads in light and dark
// themes alike: the price line broken at gaps, the high and the low with their prices, the alert
// levels as labelled dashed lines, the price scale (left), the holding's value scale (right) when
// there is one, the times (bottom), and the sample under the read-out when one is pointed at.
// Grid lines fall on whole logical pixels, so they stay sharp at scale 1 and 2.
//
// Drawn with QPainter rather than Qt Charts: Qt Charts is under the GPL 3 only, which would bind
// Pricora's licence; a line, a few labels and scales need nothing more than the painter.
void paintPriceChart(QPainter& painter, const QRectF& area, const PriceChart& chart, const QPalette& palette,
                     std::optional<std::size_t> pointed);

}  // namespace pricora
