#include "sni/OpenMenus.h"

#include <utility>

namespace pricora {

OpenMenus::OpenMenus(std::chrono::milliseconds silenceCloses) {
  silence_.setSingleShot(true);
  silence_.setInterval(silenceCloses);
  QObject::connect(&silence_, &QTimer::timeout, &silence_, [this] { closeAll(); });
}

bool OpenMenus::isOpen(const Menu* menu) const {
  auto found = open_.find(menu);
  return found != open_.end() && !found->second.expired();
}

void OpenMenus::open(const MenuRef& menu) {
  if (!menu || isOpen(menu.get())) return;
  std::erase_if(open_, [](const auto& entry) { return entry.second.expired(); });
  open_[menu.get()] = menu;
  heardFromHost();
  if (MenuDelegate* delegate = menu->delegate()) delegate->menuWillOpen(*menu);
}

void OpenMenus::close(const MenuRef& menu) {
  if (!menu) return;
  auto found = open_.find(menu.get());
  if (found == open_.end()) return;
  open_.erase(found);
  if (open_.empty()) silence_.stop();
  if (MenuDelegate* delegate = menu->delegate()) delegate->menuDidClose(*menu);
}

void OpenMenus::closeAll() {
  silence_.stop();
  for (auto& [address, weak] : std::exchange(open_, {}))
    if (MenuRef menu = weak.lock(); menu && menu->delegate()) menu->delegate()->menuDidClose(*menu);
}

void OpenMenus::replace(const MenuRef& replaced, const MenuRef& replacement) {
  if (!replaced || !isOpen(replaced.get())) return;
  close(replaced);
  open(replacement);
}

void OpenMenus::heardFromHost() {
  if (!open_.empty() && !hostsClose_) silence_.start();
}

void OpenMenus::topMenuClosed() {
  hostsClose_ = true;
  silence_.stop();
}

}  // namespace pricora
