#include "store/ErrorDetails.h"

namespace pricora {

Error pathError(std::string description, const std::string& path, ErrorDetails details) {
  details.insert(details.begin(), {"path", path});
  return Error{std::move(description), renderErrorDetails(details)};
}

std::string renderErrorDetails(const ErrorDetails& details) {
  std::string text = "{";
  for (const auto& [key, value] : details) {
    if (text.size() > 1) text += "; ";
    text += key;
    text += " = \"";
    for (const char c : value) {
      if (c == '\n') {
        text += "\\n";
        continue;
      }
      if (c == '"' || c == '\\') text += '\\';
      text += c;
    }
    text += '"';
  }
  return text + "}";
}

}  // namespace pricora
