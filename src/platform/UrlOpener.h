#pragma once

#include <string>

namespace pricora {

// Opens an address with the desktop's default handler; whether that worked is not reported.
class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  virtual void openURL(const std::string& url) = 0;
};

}  // namespace pricora
