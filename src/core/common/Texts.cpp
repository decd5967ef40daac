#include "core/common/Texts.h"

#include <vector>

namespace pricora {

namespace {

std::string substituted(const std::string& text, const std::vector<std::string_view>& values) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t slot = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : values.size();
    if (text[i] == '%' && slot < values.size() && slot < 9) {
      out += values[slot];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string localizedText(AppHost& host, const char* english, std::initializer_list<std::string_view> arguments) {
  return substituted(host.localizedString(english, ""), arguments);
}

std::string localizedText(AppHost& host, const char* english, const std::vector<std::string>& arguments) {
  return substituted(host.localizedString(english, ""), {arguments.begin(), arguments.end()});
}

}  // namespace pricora
