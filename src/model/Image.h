#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace pricora {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// What an image shows. Images are shared and compared by identity: the status menu recognises an
// exchange's favourites by carrying that exchange's very swatch object.
struct Image {
  enum class Kind { Named, Swatch };
  Kind kind = Kind::Named;
  std::string name;  // a resource name, for Kind::Named
  Rgb colour;        // for Kind::Swatch
  double width = 0;  // points
  double height = 0;

  // "iconSmall" for a named image, "swatch #RRGGBB" for a swatch.
  std::string describe() const;
};

using ImageRef = std::shared_ptr<const Image>;

ImageRef namedImage(std::string name);
ImageRef swatchImage(Rgb colour, double width, double height);

}  // namespace pricora
