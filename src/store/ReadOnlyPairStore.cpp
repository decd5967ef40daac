#include "store/ReadOnlyPairStore.h"

#include <filesystem>

namespace pricora {

ReadOnlyPairStore::ReadOnlyPairStore(std::string path, SqlitePairStoreOptions options)
    : path_(std::move(path)), options_(options) {
  options_.readOnly = true;
}

Result<std::vector<StoredPair>> ReadOnlyPairStore::loadAll() {
  std::error_code ignored;
  if (!std::filesystem::exists(path_, ignored)) return std::vector<StoredPair>{};
  Result<std::unique_ptr<SqlitePairStore>> store = SqlitePairStore::open(path_, options_);
  if (!store) return store.error();
  return store.value()->loadAll();
}

Result<std::vector<std::int64_t>> ReadOnlyPairStore::save(const PairChanges& changes) {
  if (changes.empty()) return std::vector<std::int64_t>{};
  return Error{"Pricora could not save your changes to “" + path_ + "”.",
               renderErrorDetails({{"path", path_}, {"reason", "the store is open for reading only"}})};
}

}  // namespace pricora
