#include "core/exchanges/PairEntry.h"

namespace pricora {

std::vector<std::string> PairEntry::lines() const {
  std::vector<std::string> lines;
  lines.reserve(lines_->numberOfItems());
  for (const MenuItemRef& item : lines_->itemArray()) lines.push_back(item->title());
  return lines;
}

MenuItemRef PairEntry::makeItem() const {
  auto item = MenuItem::create(headline_);
  item->setSubmenu(lines_);
  return item;
}

}  // namespace pricora
