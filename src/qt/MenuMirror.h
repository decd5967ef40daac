#pragma once

#include <QMenu>
#include <QPointer>

#include <memory>
#include <vector>

#include "model/Menu.h"
#include "platform/MenuActionTarget.h"
#include "qt/ImageCache.h"

namespace pricora {

// Shows a model Menu as a QMenu. A hidden menu is brought up to date when it is about to show;
// a shown one follows every change of the model at the next turn of the event loop, keeping
// the actions of unchanged items so that an open submenu stays open. Submenus are mirrored the
// same way, each filled only when first shown.
class MenuMirror final : public QObject, public MenuObserver {
 public:
  MenuMirror(MenuRef model, MenuActionTarget& target, ImageCache& images);
  ~MenuMirror() override;

  QMenu* menu() { return menu_.get(); }
  const MenuRef& model() const { return model_; }
  // Shows another model in the same QMenu: a menu open now stays open and follows it at the
  // next turn of the event loop, as it follows any change. The old model's delegate hears that
  // its menu closed; the new one's hears of an opening only when the menu is shown again.
  void setModel(MenuRef model);

  // Item titles come from the network: shown as shownText shows them, literally, never as
  // mnemonics or shortcut columns.
  static QString literalText(const std::string& title);

 private:
  struct Entry {
    MenuItemRef item;
    QAction* action = nullptr;
    std::unique_ptr<MenuMirror> submenu;
  };

  void menuChanged(Menu& menu) override;
  // Tells the model's delegate that its menu closed, if it was told that it opened.
  void tellClosed();
  void sync();
  void update(Entry& entry);

  MenuRef model_;
  MenuActionTarget& target_;
  ImageCache& images_;
  std::unique_ptr<QMenu> menu_;
  std::vector<Entry> entries_;
  bool dirty_ = true;
  bool syncQueued_ = false;
  bool toldOpen_ = false;  // the model's delegate heard that its menu opened
};

}  // namespace pricora
