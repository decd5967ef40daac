#include "core/exchanges/NumberReading.h"

#include <locale.h>
#include <clocale>
#include <cstdlib>
#include <string>

namespace pricora {

namespace {

bool plainAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80 || c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') return false;
  return !text.empty();
}

locale_t cLocale() {
  // Created once and never freed: a read-only handle to the C library's own "C" locale.
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  return locale;
}

template <typename T, typename Convert>
std::optional<T> read(std::string_view text, Convert convert) {
  if (!plainAscii(text)) return std::nullopt;
  const std::string copy(text);  // the C functions want a terminated string
  char* end = nullptr;
  const T value = convert(copy.c_str(), &end, cLocale());
  if (end != copy.c_str() + copy.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> readDouble(std::string_view text) { return read<double>(text, strtod_l); }
std::optional<float> readFloat(std::string_view text) { return read<float>(text, strtof_l); }

}  // namespace pricora
