#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/store/EditingContext.h"

namespace pricora {

// Every record, arranged for the management table: restricted to one exchange when a filter is
// set, in ascending title order (records without a title first, equal titles in creation order).
// Inserts and deletes show at once, without a save.
class PairList final : private ContextObserver {
 public:
  explicit PairList(EditingContext& context);
  ~PairList();
  PairList(const PairList&) = delete;
  PairList& operator=(const PairList&) = delete;

  EditingContext& context() { return context_; }
  const std::vector<PairRef>& content() const { return context_.content(); }
  const std::vector<PairRef>& arrangedObjects() const;
  // Every record in the same order, whatever the filter.
  std::vector<PairRef> allArranged() const;

  // None shows every record; an exchange name shows the records whose exchange is exactly it.
  const std::optional<std::string>& filter() const { return filter_; }
  void setFilter(std::optional<std::string> exchange);

  // The first record in title order whose exchange and title equal these exactly, as a walk over
  // every record would find it, without walking: it runs for every ticker of every refresh.
  // The filter is not touched.
  PairRef findPair(const std::string& exchange, const std::string& title) const;
  PairRef insertPair(const std::string& exchange, const std::string& title);

  // Runs at once after every insert, delete and key change of a record; none to stop.
  void setChangeListener(std::function<void()> listener) { changed_ = std::move(listener); }

 private:
  struct Key {
    std::string exchange;
    std::string title;
    friend bool operator==(const Key&, const Key&) = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const;
  };

  void pairInserted(const PairRef& pair) override;
  void pairDeleted(const PairRef& pair) override;
  void pairKeyChanged(const PairRef& pair) override;
  void index(const PairRef& pair);
  void unindex(const Pair* pair);
  void contentChanged();

  EditingContext& context_;
  std::optional<std::string> filter_;
  // Records by (exchange, title), each list in creation order: all share one title, so the
  // first is the one the title order puts first.
  std::unordered_map<Key, std::vector<PairRef>, KeyHash> byKey_;
  std::unordered_map<const Pair*, Key> keyOf_;
  mutable std::vector<PairRef> arranged_;
  mutable bool arrangedValid_ = false;
  std::function<void()> changed_;
};

}  // namespace pricora
