#include "sni/OpenMenus.h"

#include <utility>

namespace pricora {

bool OpenMenus::isOpen(const Menu* menu) const {
  auto found = open_.find(menu);
  return found != open_.end() && !found->second.expired();
}

void OpenMenus::open(const MenuRef& menu) {
  if (!menu || isOpen(menu.get())) return;
  open_[menu.get()] = menu;
  if (MenuDelegate* delegate = menu->delegate()) delegate->menuWillOpen(*menu);
}

void OpenMenus::close(const MenuRef& menu) {
  if (!menu) return;
  auto found = open_.find(menu.get());
  if (found == open_.end()) return;
  open_.erase(found);
  if (MenuDelegate* delegate = menu->delegate()) delegate->menuDidClose(*menu);
}

void OpenMenus::closeAll() {
  for (auto& [address, weak] : std::exchange(open_, {}))
    if (MenuRef menu = weak.lock(); menu && menu->delegate()) menu->delegate()->menuDidClose(*menu);
}

}  // namespace pricora
