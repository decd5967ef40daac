#include "qt/PriceIcon.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <optional>

#include "qt/TrayFont.h"

namespace pricora {

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 96, 128};
constexpr int kPanelSlot = 22;  // the usual slot of a panel's tray icons, in logical pixels

struct Line {
  QString text;
  double weight = 0;
};

// The lines of the title with the weight that starts each of them.
std::vector<Line> linesOf(const AttributedTitle& title) {
  std::vector<Line> lines;
  const QStringList texts = QString::fromStdString(title.text).split('\n');
  std::size_t start = 0;  // in characters; the weights count user-perceived characters, which
                          // equal code points for the titles and prices we draw
  for (const QString& text : texts) {
    double weight = 0;
    for (const WeightRange& range : title.weights)
      if (range.start <= start && start < range.start + range.length) weight = range.weight;
    lines.push_back({text, weight});
    start += static_cast<std::size_t>(text.toUcs4().size()) + 1;
  }
  return lines;
}

QPixmap draw(const std::vector<Line>& lines, int size, bool darkText) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  // The largest font at which every line fits the width and both lines the height.
  const double margin = size >= 32 ? size * 0.04 : 0.5;
  double pixels = size * 0.5;
  std::vector<QFont> fonts;
  for (; pixels > 4; pixels -= 0.5) {
    fonts.clear();
    double widest = 0;
    double height = 0;
    for (const Line& line : lines) {
      QFont font = trayFont(line.weight);
      font.setPixelSize(static_cast<int>(pixels));
      const QFontMetricsF metrics(font);
      widest = std::max(widest, metrics.horizontalAdvance(line.text));
      height += metrics.ascent() + metrics.descent();
      fonts.push_back(font);
    }
    if (widest <= size - 2 * margin && height <= size - 2 * margin) break;
  }

  const QColor fill = darkText ? QColor(0x1a, 0x1a, 0x1a) : QColor(0xf4, 0xf4, 0xf4);
  const QColor rim = darkText ? QColor(255, 255, 255, 170) : QColor(0, 0, 0, 190);
  double total = 0;
  for (const QFont& font : fonts) total += QFontMetricsF(font).ascent() + QFontMetricsF(font).descent();
  double y = (size - total) / 2;
  for (std::size_t i = 0; i < lines.size() && i < fonts.size(); ++i) {
    const QFontMetricsF metrics(fonts[i]);
    QPainterPath path;
    path.addText(QPointF(margin, y + metrics.ascent()), fonts[i], lines[i].text);
    painter.strokePath(path, QPen(rim, std::max(1.0, size / 32.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, fill);
    y += metrics.ascent() + metrics.descent();
  }
  return pixmap;
}

// The text as a path of the given digit height, squeezed sideways to at most width but never to
// less than 0.62 of its natural width (narrow digits still read); none when it cannot fit.
std::optional<QPainterPath> fitted(const QString& text, const QFont& font, double digitHeight, double width) {
  QFont sized = font;
  // Digits stand about 0.73 of the pixel size tall in the usual sans fonts; measure, not guess.
  QPainterPath probe;
  probe.addText(0, 0, font, QStringLiteral("0"));
  const double ratio = probe.boundingRect().height() / font.pixelSize();
  sized.setPixelSize(std::max(1, static_cast<int>(std::lround(digitHeight / ratio))));
  QPainterPath path;
  path.addText(0, 0, sized, text);
  const QRectF box = path.boundingRect();
  const double squeeze = std::min(1.0, width / box.width());
  if (squeeze < 0.62) return std::nullopt;
  return QTransform::fromScale(squeeze, 1.0).map(path);
}

// A slot too small for two lines: only the price (or, before the first price, the title), as
// tall as the slot allows, in the shortest form that still reaches a readable height. The form
// is chosen for a slot of layoutSize pixels and drawn scaled to size, for hosts that shrink
// whatever picture they take to their slot.
QPixmap drawSmall(const std::vector<Line>& lines, int size, bool darkText, int layoutSize) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  const bool priced = lines.size() > 1 && !lines[1].text.isEmpty();
  const QString text = priced ? lines[1].text : lines.front().text;
  if (text.isEmpty()) return pixmap;
  QFont font = trayFont(0.25);
  font.setPixelSize(100);
  const double width = layoutSize - 1.0;
  const double readable = std::round(layoutSize * 0.41);  // 9 px in a 22 px slot
  std::optional<QPainterPath> best;
  double bestHeight = 0;
  for (const QString& form : priced ? compactPrices(text) : QStringList{text}) {
    for (double height = std::floor(layoutSize * 0.7); height >= 4; height -= 1) {
      if (auto path = fitted(form, font, height, width)) {
        if (height > bestHeight) best = path, bestHeight = height;
        break;
      }
    }
    if (bestHeight >= readable) break;
  }
  if (!best) return pixmap;
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const double scale = static_cast<double>(size) / layoutSize;
  *best = QTransform::fromScale(scale, scale).map(*best);
  const QRectF box = best->boundingRect();
  best->translate(QPointF((size - box.width()) / 2, (size - box.height()) / 2) - box.topLeft());
  const QColor fill = darkText ? QColor(0x1a, 0x1a, 0x1a) : QColor(0xf4, 0xf4, 0xf4);
  const QColor rim = darkText ? QColor(255, 255, 255, 170) : QColor(0, 0, 0, 190);
  painter.strokePath(*best, QPen(rim, std::max(1.0, scale), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.fillPath(*best, fill);
  return pixmap;
}

// Shortens a number to the given count of significant digits; trailing zeros dropped.
QString significant(double value, int digits) {
  const int before = std::abs(value) >= 1 ? static_cast<int>(std::floor(std::log10(std::abs(value)))) + 1 : 0;
  int decimals = std::max(0, digits - before);
  if (std::abs(value) < 1 && value != 0)
    decimals = digits - 1 - static_cast<int>(std::floor(std::log10(std::abs(value))));
  QString text = QString::number(value, 'f', decimals);
  if (text.contains('.')) {
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
  }
  return text;
}

}  // namespace

QStringList compactPrices(const QString& price) {
  QStringList forms{price};
  const auto add = [&](const QString& form) {
    if (!form.isEmpty() && form.size() < forms.back().size()) forms.push_back(form);
  };
  bool number = false;
  const double value = price.toDouble(&number);
  if (!number || !std::isfinite(value)) return forms;
  if (const qsizetype e = price.indexOf('e', 0, Qt::CaseInsensitive); e > 0) {
    // Scientific already: fewer mantissa digits.
    const double mantissa = price.left(e).toDouble();
    for (int digits = 3; digits >= 1; --digits) add(significant(mantissa, digits) + price.mid(e));
    return forms;
  }
  const double magnitude = std::abs(value);
  const char* suffix = magnitude >= 1e9 ? "G" : magnitude >= 1e6 ? "M" : magnitude >= 1e3 ? "k" : "";
  const double scale = magnitude >= 1e9 ? 1e9 : magnitude >= 1e6 ? 1e6 : magnitude >= 1e3 ? 1e3 : 1;
  for (int digits = 4; digits >= 2; --digits) {
    QString form = significant(value / scale, digits) + suffix;
    if (form.startsWith("0.")) form.remove(0, 1);  // ".034": the zero says nothing
    add(form);
  }
  return forms;
}

QIcon priceIcon(const AttributedTitle& title, bool darkText, PriceLayout layout) {
  const std::vector<Line> lines = linesOf(title);
  QIcon icon;
  for (int size : kSizes) {
    if (layout == PriceLayout::PriceOnly)
      icon.addPixmap(drawSmall(lines, size, darkText, kPanelSlot));
    else
      icon.addPixmap(size < 32 ? drawSmall(lines, size, darkText, size) : draw(lines, size, darkText));
  }
  return icon;
}

QString plainToolTip(const QString& text) {
  // Qt shows a tool tip as rich text when it looks like markup; escaped text inside a
  // paragraph is always read as rich text, and so always shows literally.
  return "<p style='white-space:pre'>" + text.toHtmlEscaped() + "</p>";
}

}  // namespace pricora
