#pragma once

#include <map>
#include <memory>

#include "platform/menu/Menu.h"

namespace pricora {

// The menus hosts have open, each delegate told once as its menu opens and once as it closes.
// Hosts send both AboutToShow and "opened" for one opening: a menu opens once until it closes.
class OpenMenus {
 public:
  OpenMenus() = default;
  OpenMenus(const OpenMenus&) = delete;
  OpenMenus& operator=(const OpenMenus&) = delete;
  // A host that goes away without closing its menus must not leave their delegates running.
  ~OpenMenus() { closeAll(); }

  bool isOpen(const Menu* menu) const;
  void open(const MenuRef& menu);
  void close(const MenuRef& menu);
  void closeAll();

 private:
  std::map<const Menu*, std::weak_ptr<Menu>> open_;
};

}  // namespace pricora
