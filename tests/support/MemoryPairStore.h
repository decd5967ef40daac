#pragma once

#include <map>
#include <vector>

#include "platform/store/PairStore.h"

namespace pricora::test {

// A pair store in memory whose saves can be made to fail, all or nothing like the real one.
// The test keeps a pointer to read what was saved and to switch failures on and off.
class MemoryPairStore final : public PairStore {
 public:
  explicit MemoryPairStore(std::vector<StoredPair> initial = {});
  Result<std::vector<StoredPair>> loadAll() override;
  Result<std::vector<std::int64_t>> save(const PairChanges& changes) override;
  bool isReadOnly() const override { return readOnly; }

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
