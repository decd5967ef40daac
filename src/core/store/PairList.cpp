#include "core/store/PairList.h"

#include <algorithm>

#include "core/common/TextOrder.h"

namespace pricora {

namespace {

bool createdBefore(const PairRef& a, const PairRef& b) { return a->creationOrder() < b->creationOrder(); }

// Ascending title, records without a title first, equal titles in creation order.
bool arrangedBefore(const PairRef& a, const PairRef& b) {
  if (a->title().has_value() != b->title().has_value()) return !a->title().has_value();
  if (a->title()) {
    if (const int c = compareText(*a->title(), *b->title()); c != 0) return c < 0;
  }
  return createdBefore(a, b);
}

}  // namespace

std::size_t PairList::KeyHash::operator()(const Key& key) const {
  return std::hash<std::string>()(key.exchange) * 31 + std::hash<std::string>()(key.title);
}

PairList::PairList(EditingContext& context) : context_(context) {
  for (const PairRef& pair : context_.content()) index(pair);
  context_.setObserver(this);
}

PairList::~PairList() { context_.setObserver(nullptr); }

const std::vector<PairRef>& PairList::arrangedObjects() const {
  if (!arrangedValid_) {
    arranged_.clear();
    for (const PairRef& pair : context_.content())
      if (!filter_ || pair->exchange() == filter_) arranged_.push_back(pair);
    std::sort(arranged_.begin(), arranged_.end(), arrangedBefore);
    arrangedValid_ = true;
  }
  return arranged_;
}

std::vector<PairRef> PairList::allArranged() const {
  if (!filter_) return arrangedObjects();
  std::vector<PairRef> all = context_.content();
  std::sort(all.begin(), all.end(), arrangedBefore);
  return all;
}

void PairList::setFilter(std::optional<std::string> exchange) {
  if (exchange == filter_) return;
  filter_ = std::move(exchange);
  arrangedValid_ = false;
}

PairRef PairList::findPair(const std::string& exchange, const std::string& title) const {
  auto found = byKey_.find(Key{exchange, title});
  return found == byKey_.end() || found->second.empty() ? nullptr : found->second.front();
}

PairRef PairList::insertPair(const std::string& exchange, const std::string& title) {
  return context_.insertPair(exchange, title);
}

void PairList::index(const PairRef& pair) {
  // A record lacking either attribute never matches a lookup.
  if (!pair->exchange() || !pair->title()) return;
  Key key{*pair->exchange(), *pair->title()};
  std::vector<PairRef>& list = byKey_[key];
  // Creation order; a record whose key changed may be older than those already listed.
  list.insert(std::upper_bound(list.begin(), list.end(), pair, createdBefore), pair);
  keyOf_.emplace(pair.get(), std::move(key));
}

void PairList::unindex(const Pair* pair) {
  auto key = keyOf_.find(pair);
  if (key == keyOf_.end()) return;
  auto list = byKey_.find(key->second);
  std::erase_if(list->second, [pair](const PairRef& candidate) { return candidate.get() == pair; });
  if (list->second.empty()) byKey_.erase(list);
  keyOf_.erase(key);
}

void PairList::pairInserted(const PairRef& pair) {
  index(pair);
  contentChanged();
}

void PairList::pairDeleted(const PairRef& pair) {
  unindex(pair.get());
  contentChanged();
}

void PairList::pairKeyChanged(const PairRef& pair) {
  unindex(pair.get());
  index(pair);
  contentChanged();
}

void PairList::contentChanged() {
  arrangedValid_ = false;
  if (changed_) changed_();
}

}  // namespace pricora
