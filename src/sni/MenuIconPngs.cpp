#include "sni/MenuIconPngs.h"

#include <QBuffer>
#include <QPixmap>

#include <algorithm>

namespace pricora {

QByteArray MenuIconPngs::pngOf(const ImageRef& image) {
  if (!image) return {};
  auto found = pngs_.find(image.get());
  if (found != pngs_.end() && found->second.first.lock() == image) return found->second.second;
  // Twice the size in points, as the Qt menus draw it, so it stays sharp at scale 2.
  const QSize size(std::max(1, static_cast<int>(image->width * 2)), std::max(1, static_cast<int>(image->height * 2)));
  const QPixmap pixmap = images_.icon(image).pixmap(image->width > 0 ? size : QSize(32, 32));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  pixmap.save(&buffer, "PNG");
  pngs_[image.get()] = {image, png};
  // Images are shared and long-lived; those of items gone are dropped once they pile up.
  if (pngs_.size() > 2 * liveAfterLastSweep_ + 16) {
    std::erase_if(pngs_, [](const auto& entry) { return entry.second.first.expired(); });
    liveAfterLastSweep_ = pngs_.size();
  }
  return png;
}

}  // namespace pricora
