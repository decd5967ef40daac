#pragma once

#include <QIcon>
#include <QString>

#include <map>
#include <memory>

#include "model/Image.h"

namespace pricora {

// Turns model images into icons: named images from the resources folder (name.svg, else
// name.png), swatches as solid colour. Each image object is converted once.
class ImageCache {
 public:
  explicit ImageCache(QString resourcesFolder) : folder_(std::move(resourcesFolder)) {}
  QIcon icon(const ImageRef& image);

 private:
  QIcon make(const Image& image) const;

  QString folder_;
  std::map<const Image*, std::pair<std::weak_ptr<const Image>, QIcon>> icons_;
};

}  // namespace pricora
