#include "core/store/EditingContext.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace pricora {

Result<std::unique_ptr<EditingContext>> EditingContext::open(std::unique_ptr<PairStore> store) {
  Result<std::vector<StoredPair>> loaded = store->loadAll();
  if (!loaded) return loaded.error();
  std::unique_ptr<EditingContext> context(new EditingContext(std::move(store)));
  context->records_.reserve(loaded.value().size());
  for (const StoredPair& stored : loaded.value()) context->records_.push_back(context->adopt(stored));
  return context;
}

PairRef EditingContext::adopt(const StoredPair& stored) {
  PairRef pair = makePair();
  pair->id_ = stored.id;
  pair->exchange_ = stored.exchange;
  pair->title_ = stored.title;
  pair->isFavourite_ = stored.isFavourite;
  pair->showInMenubar_ = stored.showInMenubar;
  return pair;
}

Status EditingContext::reloadFromStore() {
  Result<std::vector<StoredPair>> loaded = store_->loadAll();
  if (!loaded) return loaded.error();
  std::unordered_map<std::int64_t, const StoredPair*> unseen;
  for (const StoredPair& stored : loaded.value()) unseen.emplace(stored.id, &stored);

  std::vector<PairRef> before;
  before.swap(records_);
  deleted_.clear();
  for (const PairRef& pair : before) {
    const auto found = pair->id_ == 0 ? unseen.end() : unseen.find(pair->id_);
    if (found == unseen.end()) {
      pair->deleted_ = true;
      if (observer_ != nullptr) observer_->pairDeleted(pair);
      continue;
    }
    const StoredPair& stored = *found->second;
    const bool keyChanged = stored.exchange != pair->exchange_ || stored.title != pair->title_;
    pair->exchange_ = stored.exchange;
    pair->title_ = stored.title;
    pair->isFavourite_ = stored.isFavourite;
    pair->showInMenubar_ = stored.showInMenubar;
    pair->dirty_ = false;
    records_.push_back(pair);
    unseen.erase(found);
    if (keyChanged && observer_ != nullptr) observer_->pairKeyChanged(pair);
  }
  for (const StoredPair& stored : loaded.value()) {
    if (!unseen.contains(stored.id)) continue;
    records_.push_back(adopt(stored));
    if (observer_ != nullptr) observer_->pairInserted(records_.back());
  }
  return {};
}

EditingContext::~EditingContext() {
  // Records may outlive the context (a price item holds its record); they stop reporting here.
  for (const PairRef& pair : records_) pair->context_ = nullptr;
  for (const PairRef& pair : deleted_) pair->context_ = nullptr;
}

PairRef EditingContext::makePair() { return PairRef(new Pair(this, nextSequence_++)); }

PairRef EditingContext::insertPair(std::string exchange, std::string title) {
  PairRef pair = makePair();
  pair->exchange_ = std::move(exchange);
  pair->title_ = std::move(title);
  records_.push_back(pair);
  if (observer_ != nullptr) observer_->pairInserted(pair);
  return pair;
}

void EditingContext::deletePair(PairRef pair) { deletePairs({std::move(pair)}); }

void EditingContext::deletePairs(const std::vector<PairRef>& pairs) {
  std::unordered_set<const Pair*> going;
  for (const PairRef& pair : pairs) going.insert(pair.get());
  std::vector<PairRef> gone;
  std::erase_if(records_, [&](const PairRef& pair) {
    if (!going.contains(pair.get())) return false;
    gone.push_back(pair);
    return true;
  });
  for (const PairRef& pair : gone) {
    pair->deleted_ = true;
    if (pair->id_ != 0) deleted_.push_back(pair);
    if (observer_ != nullptr) observer_->pairDeleted(pair);
  }
}

bool EditingContext::hasChanges() const {
  if (!deleted_.empty()) return true;
  return std::any_of(records_.begin(), records_.end(), [](const PairRef& p) { return p->id_ == 0 || p->dirty_; });
}

bool EditingContext::commitEditing() {
  bool all = true;
  for (Editor* editor : editors_) all = editor->commitEditing() && all;
  return all;
}

void EditingContext::registerEditor(Editor* editor) { editors_.push_back(editor); }

void EditingContext::unregisterEditor(Editor* editor) { std::erase(editors_, editor); }

void EditingContext::recordChanged(Pair& pair, bool keyChanged) {
  if (keyChanged && observer_ != nullptr) observer_->pairKeyChanged(pair.shared_from_this());
}

Status EditingContext::save() {
  PairChanges changes;
  std::vector<Pair*> inserted;
  for (const PairRef& pair : records_) {
    const StoredPair stored{pair->id_, pair->exchange_, pair->title_, pair->isFavourite_, pair->showInMenubar_};
    if (pair->id_ == 0) {
      changes.inserts.push_back(stored);
      inserted.push_back(pair.get());
    } else if (pair->dirty_) {
      changes.updates.push_back(stored);
    }
  }
  for (const PairRef& pair : deleted_) changes.deletes.push_back(pair->id_);
  if (changes.empty()) return {};

  Result<std::vector<std::int64_t>> ids = store_->save(changes);
  if (!ids) return ids.error();
  for (std::size_t i = 0; i < inserted.size() && i < ids.value().size(); ++i) inserted[i]->id_ = ids.value()[i];
  for (const PairRef& pair : records_) pair->dirty_ = false;
  deleted_.clear();
  return {};
}

}  // namespace pricora
