#include "qt/PriceIcon.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace pricora {

namespace {

QColor colourOf(std::optional<Rgb> colour) {
  return colour ? QColor(colour->red, colour->green, colour->blue) : QColor(0x8a, 0x8a, 0x8a);
}

// Relative luminance as WCAG 2 defines it.
double luminance(QColor colour) {
  const auto linear = [](double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

QImage blank(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// The desktop's own face, bold and condensed: more digits fit a square slot and they stay sturdy.
QFont badgeFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStretch(QFont::Condensed);
  font.setWeight(QFont::Bold);
  font.setPixelSize(100);
  return font;
}

// The text as a path whose digits stand digitHeight pixels tall, squeezed sideways to at most
// width but never below kLeastSqueeze of its natural width (narrower digits no longer read);
// none when it cannot fit.
constexpr double kLeastSqueeze = 0.62;
std::optional<QPainterPath> fitted(const QString& text, const QFont& font, double digitHeight, double width) {
  // Digits stand about 0.73 of the pixel size tall in the usual sans fonts; measure, not guess.
  QPainterPath probe;
  probe.addText(0, 0, font, QStringLiteral("0"));
  QFont sized = font;
  sized.setPixelSize(
      std::max(1, static_cast<int>(std::lround(digitHeight * font.pixelSize() / probe.boundingRect().height()))));
  QPainterPath path;
  path.addText(0, 0, sized, text);
  const double squeeze = std::min(1.0, width / path.boundingRect().width());
  if (squeeze < kLeastSqueeze) return std::nullopt;
  return QTransform::fromScale(squeeze, 1.0).map(path);
}

struct Fit {
  QString text;
  QPainterPath path;
  double height = 0;
};

// The most precise form of text whose digits reach 0.36 of the slot (8 pixels in 22), each as tall
// as fits up to 0.41 of the slot; the shortest form at whatever height fits when none reaches that.
std::optional<Fit> fitBadge(const QString& text, int size) {
  const QFont font = badgeFont();
  const double width = size - 2 * std::max(1.0, size / 16.0);
  const double least = std::round(size * 0.36);
  const auto tryForm = [&](const QString& form, double from, double to) -> std::optional<Fit> {
    for (double height = from; height >= to; height -= 1)
      if (auto path = fitted(form, font, height, width)) return Fit{form, *path, height};
    return std::nullopt;
  };
  const QStringList forms = compactPrices(text);
  for (const QString& form : forms)
    if (auto chosen = tryForm(form, std::round(size * 0.41), least)) return chosen;
  return tryForm(forms.back(), least - 1, 4);
}

QImage badge(const QString& text, QColor fill, QColor ink, int size) {
  QImage image = blank(size);
  std::optional<Fit> chosen = text.isEmpty() ? std::nullopt : fitBadge(text, size);
  if (!chosen) return image;
  const double height = chosen->height;
  QPainterPath& path = chosen->path;

  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const double padding = std::max(2.0, std::round(height * 0.3));
  // Half a pixel clear at each side: badges side by side in a tray without spacing stay apart.
  const QRectF box(0.5, std::round((size - height) / 2 - padding), size - 1, height + 2 * padding);
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawRoundedRect(box, size * 0.14, size * 0.14);
  // Centred on the digits' height, so a point or a "k" does not lift them.
  path.translate(box.center().x() - path.boundingRect().center().x(), box.center().y() + height / 2);
  painter.fillPath(path, ink);
  return image;
}

QImage mark(QColor fill, int size) {
  QImage image = blank(size);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const double diameter = size * 0.5;
  painter.setPen(QPen(QColor(255, 255, 255, 150), std::max(1.0, size / 24.0)));
  painter.setBrush(fill);
  painter.drawEllipse(QRectF((size - diameter) / 2, (size - diameter) / 2, diameter, diameter));
  return image;
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

BadgeText badgeText(const QString& text, int size) {
  const std::optional<Fit> chosen = text.isEmpty() ? std::nullopt : fitBadge(text, size);
  return chosen ? BadgeText{chosen->text, chosen->height} : BadgeText{};
}

Pictures pricePictures(const PriceFace& face) {
  Pictures pictures;
  const QColor fill = colourOf(face.colour);
  for (int size : kTraySizes)
    pictures.push_back(face.attention ? badge(face.text, inkOn(fill), fill, size)
                                      : badge(face.text, fill, inkOn(fill), size));
  return pictures;
}

Pictures markPictures(std::optional<Rgb> colour) {
  Pictures pictures;
  for (int size : kTraySizes) pictures.push_back(mark(colourOf(colour), size));
  return pictures;
}

Pictures picturesOf(const QIcon& icon) {
  Pictures pictures;
  for (int size : kTraySizes) {
    QImage image = blank(size);
    if (!icon.isNull()) {
      QPainter painter(&image);
      icon.paint(&painter, image.rect());
    }
    pictures.push_back(image);
  }
  return pictures;
}

Pictures withAttentionDot(Pictures pictures) {
  for (QImage& image : pictures) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double diameter = std::max(6.0, image.width() * 0.4);
    painter.setPen(QPen(Qt::white, std::max(1.0, image.width() / 22.0)));
    painter.setBrush(QColor(0xe0, 0x1b, 0x24));
    painter.drawEllipse(QRectF(image.width() - diameter - 0.5, 0.5, diameter, diameter));
  }
  return pictures;
}

QIcon iconOf(const Pictures& pictures) {
  QIcon icon;
  for (const QImage& image : pictures) icon.addPixmap(QPixmap::fromImage(image));
  return icon;
}

QImage sparkline(const std::vector<double>& prices, int size) {
  QImage image = blank(size);
  if (prices.size() < 2) return image;
  const auto [low, high] = std::minmax_element(prices.begin(), prices.end());
  const double span = *high > *low ? *high - *low : 1.0;
  const double margin = size * 0.1;
  QPainterPath line;
  for (std::size_t i = 0; i < prices.size(); ++i) {
    const QPointF point(margin + (size - 2 * margin) * static_cast<double>(i) / static_cast<double>(prices.size() - 1),
                        size - margin - (size - 2 * margin) * (prices[i] - *low) / span);
    if (i == 0)
      line.moveTo(point);
    else
      line.lineTo(point);
  }
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor colour = prices.back() >= prices.front() ? QColor(0x26, 0xa2, 0x69) : QColor(0xe0, 0x1b, 0x24);
  painter.strokePath(line, QPen(colour, std::max(1.5, size / 24.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  return image;
}

QColor inkOn(QColor fill) {
  return contrastRatio(fill, Qt::black) >= contrastRatio(fill, Qt::white) ? QColor(Qt::black) : QColor(Qt::white);
}

double contrastRatio(QColor a, QColor b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QStringList compactPrices(const QString& price) {
  QStringList forms{price};
  const auto add = [&](const QString& form) {
    if (!form.isEmpty() && !forms.contains(form)) forms.push_back(form);
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
  if (magnitude < 1) {
    for (int digits = 4; digits >= 2; --digits) {
      QString form = significant(value, digits);
      if (form.startsWith("0.")) form.remove(0, 1);  // ".034": the zero says nothing
      add(form);
    }
    return forms;
  }
  const qsizetype point = price.indexOf('.');
  for (int decimals = point < 0 ? 0 : static_cast<int>(price.size() - point - 2); decimals >= 0; --decimals)
    add(QString::number(value, 'f', decimals));
  if (magnitude < 1e3) return forms;
  const char* suffix = magnitude >= 1e9 ? "G" : magnitude >= 1e6 ? "M" : "k";
  const double scale = magnitude >= 1e9 ? 1e9 : magnitude >= 1e6 ? 1e6 : 1e3;
  for (int digits = 4; digits >= 2; --digits) add(significant(value / scale, digits) + suffix);
  return forms;
}

QString plainToolTip(const QString& text) {
  // Qt shows a tool tip as rich text when it looks like markup; escaped text inside a
  // paragraph is always read as rich text, and so always shows literally.
  return "<p style='white-space:pre'>" + text.toHtmlEscaped() + "</p>";
}

}  // namespace pricora
