#pragma once

#include <QTimer>

#include <chrono>
#include <map>
#include <memory>

#include "platform/menu/Menu.h"

namespace pricora {

// The menus hosts have open, each delegate told once as its menu opens and once as it closes.
// Hosts send both AboutToShow and "opened" for one opening: a menu opens once until it closes.
//
// Some hosts never close the top menu (see LibdbusmenuPolicy): menus count as closed once hosts
// have been silent for the given time, until a host closes the top menu and so shows that it
// closes what it opens.
class OpenMenus {
 public:
  explicit OpenMenus(std::chrono::milliseconds silenceCloses);
  OpenMenus(const OpenMenus&) = delete;
  OpenMenus& operator=(const OpenMenus&) = delete;
  // A host that goes away without closing its menus must not leave their delegates running.
  ~OpenMenus() { closeAll(); }

  bool isOpen(const Menu* menu) const;
  void open(const MenuRef& menu);
  void close(const MenuRef& menu);
  void closeAll();
  // The host shows replacement where it showed replaced (a new root menu): open if that was.
  void replace(const MenuRef& replaced, const MenuRef& replacement);

  // A host called: the menus it opened are still open.
  void heardFromHost();
  // A host closed the top menu: hosts close what they open, and their menus never lapse.
  void topMenuClosed();

 private:
  std::map<const Menu*, std::weak_ptr<Menu>> open_;
  QTimer silence_;
  bool hostsClose_ = false;
};

}  // namespace pricora
