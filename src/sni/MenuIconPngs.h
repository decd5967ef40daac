#pragma once

#include <QByteArray>

#include <cstddef>
#include <map>
#include <memory>
#include <utility>

#include "model/Image.h"
#include "qt/ImageCache.h"

namespace pricora {

// Menu pictures as dbusmenu's "icon-data": PNG, drawn and encoded once for each image while the
// image lives. Main thread only: it draws.
class MenuIconPngs {
 public:
  explicit MenuIconPngs(ImageCache& images) : images_(images) {}

  // Empty for no image.
  QByteArray pngOf(const ImageRef& image);

 private:
  ImageCache& images_;
  std::map<const Image*, std::pair<std::weak_ptr<const Image>, QByteArray>> pngs_;
  std::size_t liveAfterLastSweep_ = 0;
};

}  // namespace pricora
