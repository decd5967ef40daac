#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/menu/Image.h"
#include "platform/menu/Menu.h"

namespace pricora {

// A font weight over a range of a status item's title, counted in user-perceived characters.
// Weights use the scale where regular is 0 and bold is 0.4.
struct WeightRange {
  std::size_t start = 0;
  std::size_t length = 0;
  double weight = 0;
  friend bool operator==(const WeightRange&, const WeightRange&) = default;
};

// A status item's text: lines separated by "\n", drawn left-aligned in the system font with
// equal-width digits at 8 points, with the given weights.
struct AttributedTitle {
  std::string text;
  std::vector<WeightRange> weights;
  friend bool operator==(const AttributedTitle&, const AttributedTitle&) = default;
};

class StatusBar;

// One item in the desktop's tray: an icon or a short text, with a tool tip and a menu that opens
// on click.
class StatusItem {
 public:
  explicit StatusItem(double length) : length_(length) {}
  StatusItem(const StatusItem&) = delete;
  StatusItem& operator=(const StatusItem&) = delete;

  const ImageRef& image() const { return image_; }
  void setImage(ImageRef image);
  const MenuRef& menu() const { return menu_; }
  void setMenu(MenuRef menu);
  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(std::string toolTip);
  const AttributedTitle& attributedTitle() const { return title_; }
  void setAttributedTitle(AttributedTitle title);
  // Width in points.
  double length() const { return length_; }
  void setLength(double length);

 private:
  friend class StatusBar;
  void changed();

  ImageRef image_;
  MenuRef menu_;
  std::string toolTip_;
  AttributedTitle title_;
  double length_;
  StatusBar* bar_ = nullptr;
};

using StatusItemRef = std::shared_ptr<StatusItem>;

class StatusBarObserver {
 public:
  virtual void statusItemAdded(const StatusItemRef& item) = 0;
  virtual void statusItemRemoved(const StatusItemRef& item) = 0;
  virtual void statusItemChanged(StatusItem& item) = 0;

 protected:
  ~StatusBarObserver() = default;
};

// The system status bar: the items the application shows in the tray, in creation order.
class StatusBar {
 public:
  StatusBar() = default;
  StatusBar(const StatusBar&) = delete;
  StatusBar& operator=(const StatusBar&) = delete;
  ~StatusBar();

  StatusItemRef statusItemWithLength(double length);
  void removeStatusItem(const StatusItemRef& item);
  const std::vector<StatusItemRef>& items() const { return items_; }

  void setObserver(StatusBarObserver* observer) { observer_ = observer; }

 private:
  friend class StatusItem;

  std::vector<StatusItemRef> items_;
  StatusBarObserver* observer_ = nullptr;
};

// Measures a status item's text as the desktop will draw it.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  // The width in points of the widest line of title.
  virtual double width(const AttributedTitle& title) const = 0;
};

}  // namespace pricora
