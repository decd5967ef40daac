#include "net/HttpAddress.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string_view>

namespace pricora {

namespace {

// The characters RFC 3986 allows anywhere in an address; '%' is checked separately.
bool allowedCharacter(unsigned char c) {
  static constexpr std::string_view kPunctuation = "-._~:/?#[]@!$&'()*+,;=";
  return std::isalnum(c) != 0 || kPunctuation.find(static_cast<char>(c)) != std::string_view::npos;
}

bool wellFormed(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '%') {
      if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
          !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
        return false;
      i += 2;
    } else if (!allowedCharacter(c)) {
      return false;
    }
  }
  return !text.empty();
}

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

std::optional<std::string> part(CURLU* url, CURLUPart which, unsigned flags = 0) {
  char* text = nullptr;
  if (curl_url_get(url, which, &text, flags) != CURLUE_OK || text == nullptr) return std::nullopt;
  std::string copy(text);
  curl_free(text);
  return copy;
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

std::optional<HttpAddress> parseHttpAddress(const std::string& text) {
  if (!wellFormed(text)) return std::nullopt;
  const std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) return std::nullopt;
  const auto scheme = part(url.get(), CURLUPART_SCHEME);
  const auto host = part(url.get(), CURLUPART_HOST);
  const auto port = part(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  auto whole = part(url.get(), CURLUPART_URL);
  if (!scheme || !host || host->empty() || !port || !whole) return std::nullopt;
  const std::string kind = lowered(*scheme);
  if (kind != "http" && kind != "https") return std::nullopt;
  return HttpAddress{std::move(*whole), kind + "://" + lowered(*host) + ":" + *port};
}

}  // namespace pricora
