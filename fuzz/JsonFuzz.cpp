// The JSON reader on arbitrary text, then every value of what it accepted read back as the
// menus read it. Reading only the top levels of a document must accept exactly what reading all
// of it accepts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/Json.h"

namespace {

void readAll(const pricora::Json& value) {
  (void)value.stringValue();
  value.forEach([](std::string_view, const pricora::Json& child) { readAll(child); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto document = pricora::Json::parse(text);
  const auto outline = pricora::Json::parse(text, 2);
  if (document.has_value() != outline.has_value()) std::abort();
  if (document) {
    readAll(*document);
    readAll(*outline);
    (void)(*document)["a"][0];
  }
  return 0;
}
