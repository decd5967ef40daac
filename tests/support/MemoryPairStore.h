#pragma once

#include <map>
#include <vector>

#include "platform/PairStore.h"

namespace pricora::test {

// A pair store in memory whose saves can be made to fail, all or nothing like the real one.
// The test keeps a pointer to read what was saved and to switch failures on and off.
class MemoryPairStore final : public PairStore {
 public:
  explicit MemoryPairStore(std::vector<StoredPair> initial = {}) {
    for (StoredPair& pair : initial) save({{pair}, {}, {}});
    saves = 0;
  }
  Result<std::vector<StoredPair>> loadAll() override {
    std::vector<StoredPair> all;
    for (const auto& [id, pair] : rows_) all.push_back(pair);
    return all;
  }
  bool isReadOnly() const override { return readOnly; }
  Result<std::vector<std::int64_t>> save(const PairChanges& changes) override {
    ++saves;
    if (failSaves) return Error{"Pricora could not save your changes.", "{sqlite = \"database or disk is full (13)\"}"};
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

  // Rows as saved, by id; a test edits them as another process would.
  const std::map<std::int64_t, StoredPair>& rows() const { return rows_; }
  std::map<std::int64_t, StoredPair>& rows() { return rows_; }
  bool failSaves = false;
  bool readOnly = false;  // saves still work: the application must not ask for them
  int saves = 0;          // attempts, failed ones included

 private:
  std::map<std::int64_t, StoredPair> rows_;
  std::int64_t nextId_ = 1;
};

}  // namespace pricora::test
