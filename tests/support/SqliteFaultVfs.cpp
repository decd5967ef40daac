#include "support/SqliteFaultVfs.h"

#include <cerrno>
#include <cstddef>
#include <stdexcept>

namespace pricora::test {

namespace {

// Ours first, the default VFS's own file object right behind it.
struct FaultFile {
  sqlite3_file base;
  SqliteFaultVfs* owner;
  sqlite3_file* real;
};
constexpr std::size_t kHeader = (sizeof(FaultFile) + 15) / 16 * 16;

sqlite3_file* real(sqlite3_file* file) { return reinterpret_cast<FaultFile*>(file)->real; }
SqliteFaultVfs* owner(sqlite3_file* file) { return reinterpret_cast<FaultFile*>(file)->owner; }
SqliteFaultVfs* self(sqlite3_vfs* vfs) { return static_cast<SqliteFaultVfs*>(vfs->pAppData); }
sqlite3_vfs* base(sqlite3_vfs* vfs) { return self(vfs)->fallback(); }

// The default VFS reports the OS error through errno; keep it in step with the injected failure.
int injected(int code) {
  errno = (code & 0xff) == SQLITE_FULL ? ENOSPC : EIO;
  return code;
}

const sqlite3_io_methods kMethods = {
    3,
    [](sqlite3_file* f) {
      const int rc = real(f)->pMethods->xClose(real(f));
      f->pMethods = nullptr;
      return rc;
    },
    [](sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
      return real(f)->pMethods->xRead(real(f), buffer, amount, offset);
    },
    [](sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
      if (const int code = owner(f)->writeFault().next(); code != SQLITE_OK) return injected(code);
      return real(f)->pMethods->xWrite(real(f), buffer, amount, offset);
    },
    [](sqlite3_file* f, sqlite3_int64 size) { return real(f)->pMethods->xTruncate(real(f), size); },
    [](sqlite3_file* f, int flags) {
      if (const int code = owner(f)->syncFault().next(); code != SQLITE_OK) return injected(code);
      return real(f)->pMethods->xSync(real(f), flags);
    },
    [](sqlite3_file* f, sqlite3_int64* size) { return real(f)->pMethods->xFileSize(real(f), size); },
    [](sqlite3_file* f, int lock) { return real(f)->pMethods->xLock(real(f), lock); },
    [](sqlite3_file* f, int lock) { return real(f)->pMethods->xUnlock(real(f), lock); },
    [](sqlite3_file* f, int* out) { return real(f)->pMethods->xCheckReservedLock(real(f), out); },
    [](sqlite3_file* f, int op, void* arg) { return real(f)->pMethods->xFileControl(real(f), op, arg); },
    [](sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); },
    [](sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); },
    [](sqlite3_file* f, int region, int size, int extend, void volatile** out) {
      return real(f)->pMethods->xShmMap(real(f), region, size, extend, out);
    },
    [](sqlite3_file* f, int offset, int n, int flags) {
      return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
    },
    [](sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); },
    [](sqlite3_file* f, int deleteFlag) { return real(f)->pMethods->xShmUnmap(real(f), deleteFlag); },
    [](sqlite3_file* f, sqlite3_int64 offset, int amount, void** out) {
      return real(f)->pMethods->xFetch(real(f), offset, amount, out);
    },
    [](sqlite3_file* f, sqlite3_int64 offset, void* page) {
      return real(f)->pMethods->xUnfetch(real(f), offset, page);
    },
};

int open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  auto* wrapper = reinterpret_cast<FaultFile*>(file);
  wrapper->owner = self(vfs);
  wrapper->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + kHeader);
  wrapper->real->pMethods = nullptr;
  const int rc = base(vfs)->xOpen(base(vfs), name, wrapper->real, flags, outFlags);
  // SQLite closes a file whose methods are set even when opening it failed; mirror the real one.
  wrapper->base.pMethods = wrapper->real->pMethods != nullptr ? &kMethods : nullptr;
  return rc;
}

}  // namespace

int SqliteFaultVfs::Fault::next() {
  const int armed = code.load();
  if (armed == SQLITE_OK) return SQLITE_OK;
  return passes.fetch_sub(1) > 0 ? SQLITE_OK : armed;
}

void SqliteFaultVfs::arm(Fault& fault, int code, int after) {
  fault.passes = after;
  fault.code = code;
}

void SqliteFaultVfs::clear() {
  writes_.code = SQLITE_OK;
  syncs_.code = SQLITE_OK;
}

SqliteFaultVfs::SqliteFaultVfs(std::string name) : name_(std::move(name)) {
  fallback_ = sqlite3_vfs_find(nullptr);
  if (fallback_ == nullptr) throw std::runtime_error("SQLite has no default VFS");
  // Everything but opening a file is the default VFS's own, which never looks at its argument.
  vfs_ = *fallback_;
  vfs_.pNext = nullptr;
  vfs_.szOsFile = static_cast<int>(kHeader) + fallback_->szOsFile;
  vfs_.zName = name_.c_str();
  vfs_.pAppData = this;
  vfs_.xOpen = open;
  if (sqlite3_vfs_register(&vfs_, 0) != SQLITE_OK) throw std::runtime_error("cannot register " + name_);
}

SqliteFaultVfs::~SqliteFaultVfs() { sqlite3_vfs_unregister(&vfs_); }

}  // namespace pricora::test
