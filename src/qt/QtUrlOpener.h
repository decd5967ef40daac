#pragma once

#include "platform/UrlOpener.h"

namespace pricora {

// Opens addresses with the desktop's default handler (xdg-open and friends).
class QtUrlOpener final : public UrlOpener {
 public:
  void openURL(const std::string& url) override;
};

}  // namespace pricora
