#include "sni/ItemLook.h"

#include <QImage>
#include <QPainter>
#include <QtEndian>

#include "core/exchanges/NetworkText.h"
#include "qt/PriceIcon.h"

namespace pricora {

namespace {

// The sizes hosts ask for: 16 to 32 pixel slots, and twice 22 to 32 at scale 2.
constexpr int kSizes[] = {16, 22, 24, 32, 48, 64};

SniPixmap pixmapOf(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  SniPixmap pixmap{image.width(), image.height(), {}};
  pixmap.argb.resize(static_cast<qsizetype>(image.width()) * image.height() * 4);
  uchar* out = reinterpret_cast<uchar*>(pixmap.argb.data());
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x, out += 4) qToBigEndian(line[x], out);
  }
  return pixmap;
}

SniPixmaps pixmapsOf(const QIcon& icon) {
  SniPixmaps pixmaps;
  if (icon.isNull()) return pixmaps;
  for (int size : kSizes) {
    QImage image = icon.pixmap(QSize(size, size)).toImage();
    image.setDevicePixelRatio(1.0);
    if (image.width() > size || image.height() > size)
      image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    pixmaps.push_back(pixmapOf(image));
  }
  return pixmaps;
}

// A round mark in the exchange's colour with a thin rim, so it shows on light and dark panels;
// grey until the item knows its exchange.
SniPixmaps markOf(std::optional<Rgb> accent) {
  const QColor fill = accent ? QColor(accent->red, accent->green, accent->blue) : QColor(0x8a, 0x8a, 0x8a);
  SniPixmaps pixmaps;
  for (int size : kSizes) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double diameter = size * 0.5;
    const QRectF circle((size - diameter) / 2, (size - diameter) / 2, diameter, diameter);
    painter.setPen(QPen(QColor(255, 255, 255, 150), std::max(1.0, size / 24.0)));
    painter.setBrush(fill);
    painter.drawEllipse(circle);
    painter.end();
    pixmaps.push_back(pixmapOf(image));
  }
  return pixmaps;
}

}  // namespace

SniLook lookOf(const StatusItem& item, ImageCache& images, LookOptions options, uint index) {
  SniLook look;
  look.orderingIndex = index;
  const QString toolTip = QString::fromStdString(shownText(item.toolTip()));
  if (item.image() || item.attributedTitle().text.empty()) {
    look.id = "pricora";
    look.title = "Pricora";
    look.pixmaps = pixmapsOf(images.icon(item.image()));
    look.toolTip.title = toolTip.isEmpty() ? look.title : toolTip;
    return look;
  }
  const QStringList lines = QString::fromStdString(item.attributedTitle().text).split('\n');
  const QString title = lines.front();
  const QString price = lines.size() > 1 ? lines.mid(1).join(' ') : QString();
  look.id = "pricora-" + title;
  look.title = title;
  look.label = price.isEmpty() ? title : title + ' ' + price;
  // Hosts keep the width of the guide, so prices of different lengths do not shift the panel.
  look.labelGuide = title + ' ' + QString(static_cast<qsizetype>(title.toUcs4().size()), '0');
  look.pixmaps = options.hostShowsLabels
                     ? markOf(item.subject().colour)
                     : pixmapsOf(priceIcon(item.attributedTitle(), options.darkText, PriceLayout::PriceOnly));
  look.toolTip.title = toolTip.isEmpty() ? title : toolTip;
  return look;
}

}  // namespace pricora
