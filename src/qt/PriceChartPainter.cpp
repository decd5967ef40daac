#include "qt/PriceChartPainter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace pricora {

namespace {

constexpr double kGap = 6;  // between a scale's labels and the plot

QString qs(const std::string& text) { return QString::fromStdString(text); }

// Between two of the palette's colours: the theme's own contrast, weakened.
QColor blend(QColor from, QColor to, double amount) {
  return QColor::fromRgbF(static_cast<float>(from.redF() + (to.redF() - from.redF()) * amount),
                          static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * amount),
                          static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * amount));
}

double widest(const QFontMetricsF& metrics, const std::vector<ChartTick>& ticks) {
  double width = 0;
  for (const ChartTick& tick : ticks) width = std::max(width, metrics.horizontalAdvance(qs(tick.label)));
  return width;
}

// A label in a box of the plot's background, so that lines under it do not cross its letters.
void boxedText(QPainter& painter, QPointF at, const QString& text, const QColor& background, const QColor& ink,
               Qt::Alignment alignment) {
  const QFontMetricsF metrics(painter.font());
  QRectF box(0, 0, metrics.horizontalAdvance(text) + 6, metrics.height() + 2);
  box.moveLeft((alignment & Qt::AlignRight) ? at.x() - box.width() : at.x());
  box.moveTop((alignment & Qt::AlignBottom) ? at.y() - box.height()
              : (alignment & Qt::AlignTop)  ? at.y()
                                            : at.y() - box.height() / 2);
  painter.fillRect(box, background);
  painter.setPen(ink);
  painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

QRectF chartPlotArea(const QRectF& area, const PriceChart& chart, const QFont& font) {
  const QFontMetricsF metrics(font);
  const double left = std::ceil(widest(metrics, chart.priceTicks()) + 2 * kGap);
  const double right =
      chart.valueTicks().empty() ? 2 * kGap : std::ceil(widest(metrics, chart.valueTicks()) + 2 * kGap);
  const double top = std::ceil(metrics.height() * 1.5);
  const double bottom = std::ceil(metrics.height() + 2 * kGap);
  // Whole logical pixels: lines along the edges and the grid stay sharp.
  return QRectF(std::round(area.left() + left), std::round(area.top() + top), std::round(area.width() - left - right),
                std::round(area.height() - top - bottom));
}

void paintPriceChart(QPainter& painter, const QRectF& area, const PriceChart& chart, const QPalette& palette,
                     std::optional<std::size_t> pointed) {
  painter.save();
  const QRectF plot = chartPlotArea(area, chart, painter.font());
  const QColor base = palette.color(QPalette::Base);
  const QColor text = palette.color(QPalette::Text);
  const QColor line = palette.color(QPalette::Highlight);
  const QColor grid = blend(base, text, 0.14);
  const QColor faint = blend(base, text, 0.65);
  const auto xAt = [&](double at) { return plot.left() + at * plot.width(); };
  const auto yAt = [&](double at) { return plot.bottom() - at * plot.height(); };
  const auto onPixel = [](double value) { return std::round(value); };

  painter.fillRect(area, palette.color(QPalette::Window));
  painter.fillRect(plot, base);

  // Gaps first, faintly shaded under everything: no price there, rather than a flat one.
  const auto samples = chart.samples();
  const auto& runs = chart.runs();
  for (std::size_t i = 1; i < runs.size(); ++i) {
    const double from = xAt(chart.x(samples[runs[i - 1].end - 1].time)), to = xAt(chart.x(samples[runs[i].first].time));
    painter.fillRect(QRectF(from, plot.top(), to - from, plot.height()), blend(base, text, 0.05));
  }

  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(grid, 1));
  const QFontMetricsF metrics(painter.font());
  for (const ChartTick& tick : chart.priceTicks()) {
    const double y = onPixel(yAt(tick.at));
    painter.setPen(QPen(grid, 1));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(faint);
    painter.drawText(QRectF(area.left(), y - metrics.height() / 2, plot.left() - area.left() - kGap, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, qs(tick.label));
  }
  for (const ChartTick& tick : chart.valueTicks()) {
    const double y = onPixel(yAt(tick.at));
    painter.setPen(QPen(grid, 1));
    painter.drawLine(QPointF(plot.right(), y), QPointF(plot.right() + kGap / 2, y));
    painter.setPen(faint);
    painter.drawText(
        QRectF(plot.right() + kGap, y - metrics.height() / 2, area.right() - plot.right() - kGap, metrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter, qs(tick.label));
  }
  if (!chart.valueTicks().empty()) {
    const std::string currency = quoteCurrency(chart.pair().title);
    painter.setPen(faint);
    // Over the value scale, clear of its top label, reaching left over the plot when the scale's
    // labels are narrower.
    painter.drawText(QRectF(plot.right() - plot.width() / 3, area.top(), area.right() - plot.right() + plot.width() / 3,
                            plot.top() - area.top() - metrics.height() / 2 - 1),
                     Qt::AlignRight | Qt::AlignBottom,
                     QCoreApplication::translate("PriceChart", "Value") + (currency.empty() ? "" : " " + qs(currency)));
  }
  for (const ChartTick& tick : chart.timeTicks()) {
    const double x = onPixel(xAt(tick.at));
    painter.setPen(QPen(grid, 1));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom() + kGap / 2));
    painter.setPen(faint);
    const double width = metrics.horizontalAdvance(qs(tick.label));
    const double left = std::clamp(x - width / 2, area.left(), area.right() - width);
    painter.drawText(QPointF(left, plot.bottom() + kGap + metrics.ascent()), qs(tick.label));
  }
  painter.setPen(QPen(blend(base, text, 0.35), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot.adjusted(0, 0, -1, -1));

  // The alert levels: dashed under the line, their labels over it; one beyond the scale sits
  // on its edge.
  for (const ChartLevel& level : chart.levels()) {
    const double y = onPixel(yAt(level.at));
    painter.setPen(QPen(blend(base, text, 0.75), 1, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right() - 1, y));
  }
  const auto levelLabels = [&] {
    // At the left end: the newest prices, at the right, are the ones read most.
    for (const ChartLevel& level : chart.levels()) {
      const double y = onPixel(yAt(level.at));
      const QString label = qs(level.label) + (level.beyond ? (level.at > 0.5 ? " ↑" : " ↓") : QString());
      boxedText(painter, QPointF(plot.left() + 4, level.at > 0.5 ? y + 2 : y - 2), label, base, text,
                Qt::AlignLeft | (level.at > 0.5 ? Qt::AlignTop : Qt::AlignBottom));
    }
  };

  if (samples.empty()) {
    painter.setPen(faint);
    painter.drawText(plot, Qt::AlignCenter,
                     QCoreApplication::translate("PriceChart", "No prices recorded in this span"));
  }
  painter.setClipRect(plot.adjusted(-3, -3, 3, 3));
  painter.setRenderHint(QPainter::Antialiasing, true);
  QPen pen(line, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter.setPen(pen);
  // A week holds up to 60,000 prices for a plot some hundred pixels wide: per column of device
  // pixels only the first, lowest, highest and last are drawn, which looks the same. The line is
  // stroked in short pieces: one long zigzag crosses every row of pixels thousands of times, and
  // filling its outline at once costs that many edges on every row.
  const double ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
  constexpr qsizetype kPiece = 16;
  QPolygonF points;
  for (const ChartRun& run : runs) {
    points.clear();
    for (std::size_t i = run.first; i < run.end;) {
      const double column = std::floor(xAt(chart.x(samples[i].time)) * ratio);
      std::size_t low = i, high = i, end = i + 1;
      while (end < run.end && std::floor(xAt(chart.x(samples[end].time)) * ratio) == column) {
        if (samples[end].price < samples[low].price) low = end;
        if (samples[end].price > samples[high].price) high = end;
        ++end;
      }
      for (const std::size_t index : {i, std::min(low, high), std::max(low, high), end - 1}) {
        const QPointF at(xAt(chart.x(samples[index].time)), yAt(chart.y(samples[index].price)));
        if (points.isEmpty() || points.back() != at) points.append(at);
      }
      i = end;
    }
    if (points.size() == 1) {
      painter.setBrush(line);
      painter.drawEllipse(points.front(), 1.5, 1.5);
      painter.setBrush(Qt::NoBrush);
      continue;
    }
    for (qsizetype from = 0; from + 1 < points.size(); from += kPiece)
      painter.drawPolyline(points.constData() + from, static_cast<int>(std::min(kPiece + 1, points.size() - from)));
  }
  painter.setClipping(false);
  painter.setRenderHint(QPainter::Antialiasing, false);
  levelLabels();

  // The high above its point, the low below its own, each kept inside the plot: on the other side
  // of its point where there is no room.
  const auto mark = [&](std::size_t index, bool high) {
    const QPointF at(xAt(chart.x(samples[index].time)), yAt(chart.y(samples[index].price)));
    painter.setPen(QPen(base, 1.5));
    painter.setBrush(text);
    painter.drawEllipse(at, 3.5, 3.5);
    const QString label = (high ? QCoreApplication::translate("PriceChart", "high %1")
                                : QCoreApplication::translate("PriceChart", "low %1"))
                              .arg(qs(chart.price(samples[index].price)));
    const double width = metrics.horizontalAdvance(label) + 6;
    const double left = std::clamp(at.x() - width / 2, plot.left() + 1, plot.right() - width - 1);
    const double above = at.y() - 6 - metrics.height() - 2, below = at.y() + 6;
    const bool roomAbove = above >= plot.top() + 1, roomBelow = below + metrics.height() + 2 <= plot.bottom() - 1;
    const double top = (high ? roomAbove || !roomBelow : !roomBelow && roomAbove) ? above : below;
    painter.setRenderHint(QPainter::Antialiasing, false);
    boxedText(painter, QPointF(left, top), label, base, text, Qt::AlignLeft | Qt::AlignTop);
    painter.setRenderHint(QPainter::Antialiasing, true);
  };
  if (chart.high()) mark(*chart.high(), true);
  if (chart.low() && chart.low() != chart.high()) mark(*chart.low(), false);

  if (pointed && *pointed < samples.size()) {
    const QPointF at(xAt(chart.x(samples[*pointed].time)), yAt(chart.y(samples[*pointed].price)));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(blend(base, text, 0.5), 1));
    painter.drawLine(QPointF(onPixel(at.x()), plot.top()), QPointF(onPixel(at.x()), plot.bottom() - 1));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(base, 2));
    painter.setBrush(line);
    painter.drawEllipse(at, 4.5, 4.5);
  }
  painter.restore();
}

}  // namespace pricora
