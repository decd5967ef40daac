#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>
#include <optional>
#include <vector>

#include "platform/menu/MenuActionTarget.h"
#include "platform/menu/StatusBar.h"
#include "qt/ImageCache.h"
#include "qt/MenuMirror.h"
#include "qt/PriceIcon.h"

namespace pricora {

// Shows each status item of the model as its own tray icon: its image, or for a price item its
// price drawn as the picture, marked while it needs attention (a red dot on the application's
// icon, a price badge in reversed colours). A left and a right click both open the item's menu.
class TrayHost final : public QObject, public StatusBarObserver {
 public:
  TrayHost(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images);
  ~TrayHost() override;

 private:
  // What a picture shows, so that it is drawn again only when that changes.
  struct Drawn {
    PriceFace face;
    qint64 image = 0;  // the icon's cache key, for the application's own item
    bool attention = false;  // of the application's own item; a price's is in its face
    friend bool operator==(const Drawn&, const Drawn&) = default;
  };
  struct Icon {
    StatusItemRef item;
    std::unique_ptr<QSystemTrayIcon> tray;
    std::unique_ptr<MenuMirror> menu;
    std::optional<Drawn> drawn;
  };

  void statusItemAdded(const StatusItemRef& item) override;
  void statusItemRemoved(const StatusItemRef& item) override;
  void statusItemChanged(StatusItem& item) override;
  void update(Icon& icon);

  StatusBar& statusBar_;
  MenuActionTarget& target_;
  ImageCache& images_;
  std::vector<std::unique_ptr<Icon>> icons_;
};

}  // namespace pricora
