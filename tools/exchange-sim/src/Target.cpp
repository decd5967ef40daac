#include "Target.h"

namespace exsim {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string decoded(std::string_view text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
      result += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
      i += 2;
    } else {
      result += text[i];
    }
  }
  return result;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

Target Target::parse(std::string_view raw) {
  Target target;
  target.raw = raw;
  const std::size_t mark = raw.find('?');
  target.path = raw.substr(0, mark);
  std::string_view path = target.path;
  if (path.starts_with('/')) path.remove_prefix(1);
  // Segments are split before decoding, so an escaped slash stays inside its segment.
  for (std::string_view segment : split(path, '/')) target.segments.push_back(decoded(segment));
  if (mark != std::string_view::npos) {
    for (std::string_view pair : split(raw.substr(mark + 1), '&')) {
      if (pair.empty()) continue;
      const std::size_t equals = pair.find('=');
      target.query.emplace_back(decoded(pair.substr(0, equals)),
                                equals == std::string_view::npos ? std::string() : decoded(pair.substr(equals + 1)));
    }
  }
  return target;
}

std::optional<std::string> Target::parameter(std::string_view name) const {
  for (const auto& [key, value] : query)
    if (key == name) return value;
  return std::nullopt;
}

bool Target::matches(std::initializer_list<std::string_view> pattern) const {
  if (pattern.size() != segments.size()) return false;
  std::size_t i = 0;
  for (std::string_view expected : pattern) {
    if (expected != "*" && expected != segments[i]) return false;
    ++i;
  }
  return true;
}

}  // namespace exsim
