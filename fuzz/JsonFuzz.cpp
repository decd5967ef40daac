// The JSON reader on arbitrary text, then every value of what it accepted read back as the
// menus read it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/json/Json.h"

namespace {

void readAll(const pricora::Json& value) {
  (void)value.stringValue();
  value.forEach([](std::string_view, const pricora::Json& child) { readAll(child); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto document = pricora::Json::parse(text)) {
    readAll(*document);
    (void)(*document)["a"][0];
  }
  return 0;
}
