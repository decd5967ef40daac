#include "model/Image.h"

#include <cstdio>

namespace pricora {

std::string Image::describe() const {
  if (kind == Kind::Named) return name;
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.red, colour.green, colour.blue);
  return std::string("swatch ") + text;
}

ImageRef namedImage(std::string name) {
  return std::make_shared<const Image>(Image{Image::Kind::Named, std::move(name), {}, 0, 0});
}

ImageRef swatchImage(Rgb colour, double width, double height) {
  return std::make_shared<const Image>(Image{Image::Kind::Swatch, {}, colour, width, height});
}

}  // namespace pricora
