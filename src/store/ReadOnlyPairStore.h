#pragma once

#include <string>
#include <vector>

#include "platform/PairStore.h"
#include "store/SqlitePairStore.h"

namespace pricora {

// The pair store of another Pricora process, followed from beside it and never written. Every
// load opens the file read-only afresh, so it sees whatever the owner has saved since, the file
// appearing or being given its schema included; between loads no connection stays open. A store
// that does not exist yet reads as no pairs. Neither the file nor its folder is ever created.
// Reading a store in WAL mode needs its -wal and -shm files: SQLite makes them when the owner is
// not running, empty, and the owner's next close removes them.
class ReadOnlyPairStore final : public PairStore {
 public:
  explicit ReadOnlyPairStore(std::string path, SqlitePairStoreOptions options = {});

  Result<std::vector<StoredPair>> loadAll() override;
  // Refuses every change; empty changes succeed, as they write nothing anywhere.
  Result<std::vector<std::int64_t>> save(const PairChanges& changes) override;
  bool isReadOnly() const override { return true; }

 private:
  std::string path_;
  SqlitePairStoreOptions options_;
};

}  // namespace pricora
