#pragma once

#include <string>

namespace pricora {

// Starting a helper at login, by its identifier.
class LoginItems {
 public:
  virtual ~LoginItems() = default;
  // True when the registration now matches enabled.
  virtual bool setEnabled(const std::string& identifier, bool enabled) = 0;
};

}  // namespace pricora
