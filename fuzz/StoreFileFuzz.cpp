// Opening a pair store file of arbitrary bytes. What opens must load, and take a save.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "store/SqlitePairStore.h"
#include "support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const pricora::test::TempDir folder;
  static const std::string path = folder.file("Mintor.storedata");
  // A journal left by the last input would be replayed into this one.
  for (const char* suffix : {"-wal", "-shm", "-journal"}) std::filesystem::remove(path + suffix);
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  auto store = pricora::SqlitePairStore::open(path, {.busyTimeout = std::chrono::milliseconds(0)});
  if (!store || !store.value()->loadAll()) return 0;
  pricora::PairChanges changes;
  changes.inserts.push_back({0, "Kraken", "XBT/USD", true, false});
  (void)store.value()->save(changes);
  return 0;
}
