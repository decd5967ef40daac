#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>
#include <vector>

#include "platform/menu/MenuActionTarget.h"
#include "platform/menu/StatusBar.h"
#include "qt/ImageCache.h"
#include "qt/MenuMirror.h"

namespace pricora {

// Shows each status item of the model as its own tray icon: its image, or for a price item its
// text drawn as the picture. A left and a right click both open the item's menu.
class TrayHost final : public QObject, public StatusBarObserver {
 public:
  // darkText: draw price items for a light panel.
  TrayHost(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images, bool darkText);
  ~TrayHost() override;

 private:
  struct Icon {
    StatusItemRef item;
    std::unique_ptr<QSystemTrayIcon> tray;
    std::unique_ptr<MenuMirror> menu;
    AttributedTitle drawn;
  };

  void statusItemAdded(const StatusItemRef& item) override;
  void statusItemRemoved(const StatusItemRef& item) override;
  void statusItemChanged(StatusItem& item) override;
  void update(Icon& icon);

  StatusBar& statusBar_;
  MenuActionTarget& target_;
  ImageCache& images_;
  bool darkText_;
  std::vector<std::unique_ptr<Icon>> icons_;
};

}  // namespace pricora
