#include "core/store/Pair.h"

#include "core/store/EditingContext.h"

namespace pricora {

void Pair::changed(bool keyChanged) {
  if (deleted_ || context_ == nullptr) return;
  dirty_ = true;
  context_->recordChanged(*this, keyChanged);
}

void Pair::setExchange(std::optional<std::string> exchange) {
  if (exchange == exchange_) return;
  exchange_ = std::move(exchange);
  changed(true);
}

void Pair::setTitle(std::optional<std::string> title) {
  if (title == title_) return;
  title_ = std::move(title);
  changed(true);
}

void Pair::setIsFavourite(bool value) {
  if (value == isFavourite_) return;
  isFavourite_ = value;
  changed(false);
}

void Pair::setShowInMenubar(bool value) {
  if (value == showInMenubar_) return;
  showInMenubar_ = value;
  changed(false);
}

}  // namespace pricora
