#pragma once

#include <string>

#include "model/Menu.h"

namespace pricora {

// Receives the action of a chosen menu item, by the item's selector name.
class MenuActionTarget {
 public:
  virtual void sendAction(const std::string& selector, MenuItem& sender) = 0;

 protected:
  ~MenuActionTarget() = default;
};

}  // namespace pricora
