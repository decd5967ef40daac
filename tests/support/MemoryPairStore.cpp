#include "support/MemoryPairStore.h"

namespace pricora::test {

MemoryPairStore::MemoryPairStore(std::vector<StoredPair> initial) {
  for (StoredPair& pair : initial) {
    if (pair.id == 0) pair.id = nextId_;
    nextId_ = std::max(nextId_, pair.id + 1);
    rows_[pair.id] = pair;
  }
}

Result<std::vector<StoredPair>> MemoryPairStore::loadAll() {
  std::vector<StoredPair> all;
  for (const auto& [id, pair] : rows_) all.push_back(pair);
  return all;
}

Result<std::vector<std::int64_t>> MemoryPairStore::save(const PairChanges& changes) {
  ++saves;
  if (failSaves)
    return Error{"Pricora could not save your changes.", "{path = \"memory\"; sqlite = \"database or disk is full (13)\"}"};
  std::vector<std::int64_t> ids;
  for (StoredPair pair : changes.inserts) {
    pair.id = nextId_++;
    rows_[pair.id] = pair;
    ids.push_back(pair.id);
  }
  for (const StoredPair& pair : changes.updates) rows_[pair.id] = pair;
  for (std::int64_t id : changes.deletes) rows_.erase(id);
  return ids;
}

}  // namespace pricora::test
