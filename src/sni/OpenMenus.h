#pragma once

#include <QTimer>

#include <chrono>
#include <map>
#include <memory>

#include "model/Menu.h"

namespace pricora {

// The menus hosts have open, each delegate told once as a host opens its menu and once as it closes.
// Hosts send both AboutToShow and "opened" for one opening: a menu opens once until it closes.
// A new root in place of an open one is open to hosts too, but nobody opened it: its delegate
// hears of it only once a host opens it (an alert's mark on a price item ends when the user looks,
// not when a new price comes).
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
  // A host opened menu: renews the silence.
  void open(const MenuRef& menu);
  void close(const MenuRef& menu);
  void closeAll();
  // The host shows replacement where it showed replaced (a new root menu): open if that was,
  // without a word to replacement's delegate or to the silence.
  void replace(const MenuRef& replaced, const MenuRef& replacement);

  // A host opened something, or chose or closed an item: the menus it opened are still open.
  void heardFromHost();
  // A host closed the top menu: hosts close what they open, and their menus never lapse.
  void topMenuClosed();

 private:
  struct Opening {
    std::weak_ptr<Menu> menu;
    bool told = false;  // its delegate heard that it opened
  };
  // Tells the delegate of a menu that was told it opened.
  static void closed(const Opening& opening);

  std::map<const Menu*, Opening> open_;
  QTimer silence_;
  bool hostsClose_ = false;
};

}  // namespace pricora
