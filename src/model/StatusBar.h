#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/Image.h"
#include "model/Menu.h"

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

// What a price item stands for, so that a host can name it, tell it from an item of the same
// title on another exchange, and colour it, without reading its text. Empty for the
// application's own item.
struct ItemSubject {
  std::string exchange;       // "Kraken"
  std::string pair;           // "XBT/USD"
  std::optional<Rgb> colour;  // the exchange's colour
  bool empty() const { return exchange.empty() && pair.empty(); }
  friend bool operator==(const ItemSubject&, const ItemSubject&) = default;
};

// How a price moved lately, from the price history: hosts show it in tool tips and text bars,
// never in the item's title.
struct PriceMove {
  double percent = 0;          // the change over the span, signed: +1.5 is up one and a half per cent
  std::string text;            // the same for people, in their locale: "+1.5 % in 24 h"
  std::vector<double> recent;  // prices over the last day, oldest first, for a sparkline
  friend bool operator==(const PriceMove&, const PriceMove&) = default;
};

// A pair's last price from an earlier run, shown until this run's first: hosts show it where
// the item's title has no price yet, marked with its age, and never put it in the title.
struct EarlierPrice {
  std::string price;   // as the item's price line would show it: "10558.8"
  std::string detail;  // for tool tips, with its age: "10,558.8 · 3 h ago"
  friend bool operator==(const EarlierPrice&, const EarlierPrice&) = default;
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
  // A price item's price as the exchange sent it, every digit: "10558.80000"; empty before the
  // first. Changes with the title, which hosts are told of.
  const std::string& priceText() const { return priceText_; }
  void setPriceText(std::string text) { priceText_ = std::move(text); }
  const AttributedTitle& attributedTitle() const { return title_; }
  void setAttributedTitle(AttributedTitle title);
  // Width in points.
  double length() const { return length_; }
  void setLength(double length);
  const ItemSubject& subject() const { return subject_; }
  void setSubject(ItemSubject subject);
  const std::optional<PriceMove>& move() const { return move_; }
  void setMove(std::optional<PriceMove> move);
  const std::optional<EarlierPrice>& earlier() const { return earlier_; }
  void setEarlier(std::optional<EarlierPrice> earlier);
  // What the user owns and its worth, for tool tips, screen readers and text bars, never the
  // title: a price item's holding ("Holding 0.25 XBT: 2,639.70 USD, +1.2 % in 24 h"), the
  // application's item's totals ("Holdings: 2,639.70 USD"). Empty without one.
  const std::string& holding() const { return holding_; }
  void setHolding(std::string holding);
  // Something the user asked to hear of happened (an alert fired): hosts draw the item so that it
  // is noticed, until the user opens its menu.
  bool needsAttention() const { return needsAttention_; }
  void setNeedsAttention(bool value);

 private:
  friend class StatusBar;
  void changed();

  ImageRef image_;
  MenuRef menu_;
  std::string toolTip_;
  std::string priceText_;
  AttributedTitle title_;
  double length_;
  ItemSubject subject_;
  std::optional<PriceMove> move_;
  std::optional<EarlierPrice> earlier_;
  std::string holding_;
  bool needsAttention_ = false;
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

  // Several hosts may follow the bar at once (a tray and a text bar, or one tray taking over from
  // another). Each is told once per change; adding one twice keeps one, and one removed while
  // the others are being told hears nothing more.
  void addObserver(StatusBarObserver* observer);
  void removeObserver(StatusBarObserver* observer);

 private:
  friend class StatusItem;
  template <typename Call>
  void tell(const Call& call);

  std::vector<StatusItemRef> items_;
  std::vector<StatusBarObserver*> observers_;
};

// Measures a status item's text as the desktop will draw it.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  // The width in points of the widest line of title.
  virtual double width(const AttributedTitle& title) const = 0;
};

}  // namespace pricora
