#include "core/exchanges/PairEntry.h"

#include <algorithm>
#include <cmath>

#include "core/exchanges/NumberReading.h"

namespace pricora {

std::optional<double> priceNumber(std::string_view text) {
  const std::optional<double> price = readDouble(text);
  if (!price || !std::isfinite(*price) || *price <= 0) return std::nullopt;
  return price;
}

PairEntry::PairEntry(const std::string& displayTitle, const std::string& price)
    : headline_(boundedText(displayTitle + ": " + price)),
      priceStart_(std::min(displayTitle.size() + 2, headline_.size())),
      price_(priceNumber(price)) {}

void PairEntry::setBidAndAsk(std::string_view bid, std::string_view ask) {
  bid_ = priceNumber(bid);
  ask_ = priceNumber(ask);
}

std::vector<std::string> PairEntry::lines() const {
  std::vector<std::string> lines;
  lines.reserve(lines_->numberOfItems());
  for (const MenuItemRef& item : lines_->itemArray()) lines.push_back(item->title());
  return lines;
}

MenuItemRef PairEntry::makeItem() const {
  auto item = MenuItem::create(headline_);
  item->setValue(price_);
  item->setSubmenu(lines_);
  return item;
}

}  // namespace pricora
