#include "qt/PriceIcon.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "qt/TrayFont.h"

namespace pricora {

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 96, 128};

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

}  // namespace

QIcon priceIcon(const AttributedTitle& title, bool darkText) {
  const std::vector<Line> lines = linesOf(title);
  QIcon icon;
  for (int size : kSizes) icon.addPixmap(draw(lines, size, darkText));
  return icon;
}

QString plainToolTip(const QString& text) {
  // Qt shows a tool tip as rich text when it looks like markup; escaped text inside a
  // paragraph is always read as rich text, and so always shows literally.
  return "<p style='white-space:pre'>" + text.toHtmlEscaped() + "</p>";
}

}  // namespace pricora
