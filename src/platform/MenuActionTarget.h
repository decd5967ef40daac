#pragma once

#include "model/Menu.h"

namespace pricora {

// Carries out the action of a chosen menu item.
class MenuActionTarget {
 public:
  virtual void sendAction(MenuAction action, MenuItem& sender) = 0;

 protected:
  ~MenuActionTarget() = default;
};

}  // namespace pricora
