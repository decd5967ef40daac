// The price item's text on arbitrary titles and headlines, and the scientific form on arbitrary
// 32-bit values. The input is the title, a NUL, then the headline; its first four bytes are also
// read as a float.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/menu/PriceFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const pricora::ScientificFormatter formatter;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view title = input.substr(0, split);
  const std::string_view headline = split == std::string_view::npos ? input : input.substr(split + 1);
  (void)pricora::graphemeCount(input);
  (void)pricora::menuBarPriceText(title, headline, formatter);
  if (size >= sizeof(float)) {
    float value;
    std::memcpy(&value, data, sizeof value);
    (void)formatter.format(value);
  }
  return 0;
}
