#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/StatusBar.h"
#include "platform/MenuActionTarget.h"
#include "qt/ImageCache.h"
#include "qt/MenuMirror.h"
#include "qt/PriceIcon.h"
#include "qt/XEmbedIcon.h"

namespace pricora {

// Shows the chart of a price item's pair.
using ShowChart = std::function<void(const ItemSubject&)>;

// Shows each status item of the model as its own icon in the display's XEmbed tray: its image, or
// for a price item its price drawn as the picture, marked while it needs attention (a red dot on
// the application's icon, a price badge in reversed colours). A left and a right click both open
// the item's menu; a middle click on a price item shows its pair's chart, where one is set. The icons follow the tray:
// when a tray starts (a panel restarted) they go into it; without one there is nothing to show.
class TrayHost final : public QObject, public StatusBarObserver {
 public:
  TrayHost(StatusBar& statusBar, MenuActionTarget& target, ImageCache& images);
  ~TrayHost() override;

  void setShowChart(ShowChart showChart) { showChart_ = std::move(showChart); }

  // Whether the icons are in a tray: false without an XEmbed tray on the display.
  bool showsIcons() const { return inTray_; }

 private:
  // What a picture shows, so that it is drawn again only when that changes.
  struct Drawn {
    PriceFace face;
    qint64 image = 0;        // the icon's cache key, for the application's own item
    bool attention = false;  // of the application's own item; a price's is in its face
    friend bool operator==(const Drawn&, const Drawn&) = default;
  };
  struct Icon {
    StatusItemRef item;
    std::unique_ptr<XEmbedIcon> tray;  // none while there is no tray
    std::unique_ptr<MenuMirror> menu;
    std::optional<Drawn> drawn;
  };

  void statusItemAdded(const StatusItemRef& item) override;
  void statusItemRemoved(const StatusItemRef& item) override;
  void statusItemChanged(StatusItem& item) override;
  void update(Icon& icon);
  // Puts every icon into the tray there is now, anew: a tray that starts knows none of them.
  void followTray();

  StatusBar& statusBar_;
  MenuActionTarget& target_;
  ImageCache& images_;
  ShowChart showChart_;
  std::vector<std::unique_ptr<Icon>> icons_;
  XEmbedTrays trays_;
  bool inTray_ = false;
};

}  // namespace pricora
