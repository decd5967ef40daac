#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace pricora {

// One stored pair as the file holds it.
struct StoredPair {
  std::int64_t id = 0;  // assigned by the store; 0 before the record was first saved
  std::optional<std::string> exchange;
  std::optional<std::string> title;
  bool isFavourite = false;
  bool showInMenubar = false;
  friend bool operator==(const StoredPair&, const StoredPair&) = default;
};

// Everything one save writes.
struct PairChanges {
  std::vector<StoredPair> inserts;  // their ids are ignored and assigned by the store
  std::vector<StoredPair> updates;  // matched by id
  std::vector<std::int64_t> deletes;
  bool empty() const { return inserts.empty() && updates.empty() && deletes.empty(); }
};

// The file every pair lives in.
class PairStore {
 public:
  virtual ~PairStore() = default;
  // Every stored pair, by id.
  virtual Result<std::vector<StoredPair>> loadAll() = 0;
  // Writes all of changes or, on failure, nothing. On success, the ids given to the inserts, in
  // their order. A save that returned success survives a crash of the process or the machine.
  virtual Result<std::vector<std::int64_t>> save(const PairChanges& changes) = 0;
  // A store only read by this process (another one owns it): save() refuses every change.
  virtual bool isReadOnly() const { return false; }
};

}  // namespace pricora
