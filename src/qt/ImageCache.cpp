#include "qt/ImageCache.h"

#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

namespace pricora {

QIcon ImageCache::icon(const ImageRef& image) {
  if (!image) return {};
  auto found = icons_.find(image.get());
  if (found != icons_.end() && found->second.first.lock() == image) return found->second.second;
  // Forget icons of images that are gone, so an address reused by a new image is not mistaken.
  std::erase_if(icons_, [](const auto& entry) { return entry.second.first.expired(); });
  QIcon made = make(*image);
  icons_[image.get()] = {image, made};
  return made;
}

QIcon ImageCache::make(const Image& image) const {
  if (image.kind == Image::Kind::Named) {
    for (const char* type : {".svg", ".png"}) {
      const QString path = folder_ + "/" + QString::fromStdString(image.name) + type;
      if (QFileInfo(path).isFile()) return QIcon(path);
    }
    return {};
  }
  // Drawn at twice its size in points so it stays sharp on high-resolution screens.
  const int width = static_cast<int>(image.width * 2);
  const int height = static_cast<int>(image.height * 2);
  QPixmap pixmap(width, height);
  pixmap.fill(QColor(image.colour.red, image.colour.green, image.colour.blue));
  pixmap.setDevicePixelRatio(2.0);
  return QIcon(pixmap);
}

}  // namespace pricora
