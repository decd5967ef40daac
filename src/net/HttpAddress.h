#pragma once

#include <optional>
#include <string>

namespace pricora {

// A checked http or https address and the origin it belongs to.
struct HttpAddress {
  std::string url;     // as it will be sent, normalised by the parser
  std::string origin;  // "scheme://host:port", lower case, with the default port filled in
};

// Parses text strictly: an absolute http or https address with a host, nothing but the
// characters an address may hold (no blanks, no control or non-ASCII bytes) and every '%'
// followed by two hex digits. None for anything else.
std::optional<HttpAddress> parseHttpAddress(const std::string& text);

}  // namespace pricora
