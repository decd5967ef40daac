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
  return found != open_.end() && !found->second.menu.expired();
}

void OpenMenus::open(const MenuRef& menu) {
  if (!menu) return;
  std::erase_if(open_, [](const auto& entry) { return entry.second.menu.expired(); });
  Opening& opening = open_[menu.get()];
  if (opening.told) return;
  opening = {menu, true};
  heardFromHost();
  if (MenuDelegate* delegate = menu->delegate()) delegate->menuWillOpen(*menu);
}

void OpenMenus::closed(const Opening& opening) {
  if (MenuRef menu = opening.menu.lock(); menu && opening.told && menu->delegate())
    menu->delegate()->menuDidClose(*menu);
}

void OpenMenus::close(const MenuRef& menu) {
  if (!menu) return;
  auto found = open_.find(menu.get());
  if (found == open_.end()) return;
  const Opening opening = found->second;
  open_.erase(found);
  if (open_.empty()) silence_.stop();
  closed(opening);
}

void OpenMenus::closeAll() {
  silence_.stop();
  for (const auto& [address, opening] : std::exchange(open_, {})) closed(opening);
}

void OpenMenus::replace(const MenuRef& replaced, const MenuRef& replacement) {
  if (!replaced || !isOpen(replaced.get())) return;
  const Opening opening = open_[replaced.get()];
  open_.erase(replaced.get());
  if (replacement) open_[replacement.get()] = {replacement, false};
  if (open_.empty()) silence_.stop();
  closed(opening);
}

void OpenMenus::heardFromHost() {
  if (!open_.empty() && !hostsClose_) silence_.start();
}

void OpenMenus::topMenuClosed() {
  hostsClose_ = true;
  silence_.stop();
}

}  // namespace pricora
