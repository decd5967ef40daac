#pragma once

#include <sqlite3.h>

#include <atomic>
#include <string>

namespace pricora::test {

// A SQLite VFS that hands everything to the default VFS but fails writes or syncs on demand, the
// way a full disk or a failing drive does. It is registered under its own name while the object
// lives; a connection opened with that name goes through it. Faults apply to every file the
// connection opens: the database, its log and its journal.
class SqliteFaultVfs {
 public:
  explicit SqliteFaultVfs(std::string name = "pricora-fault");
  ~SqliteFaultVfs();
  SqliteFaultVfs(const SqliteFaultVfs&) = delete;
  SqliteFaultVfs& operator=(const SqliteFaultVfs&) = delete;

  const char* name() const { return name_.c_str(); }
  // From now on the next `after` writes (or syncs) succeed and every one after them fails with
  // code (SQLITE_FULL, SQLITE_IOERR_WRITE, SQLITE_IOERR_FSYNC...) until clear(). A failed call
  // changes nothing on disk.
  void failWrites(int code, int after = 0) { arm(writes_, code, after); }
  void failSyncs(int code, int after = 0) { arm(syncs_, code, after); }
  void clear();

  // Implementation detail for the file methods: the code a write or sync fails with now, or
  // SQLITE_OK to let it through.
  struct Fault {
    std::atomic<int> code{SQLITE_OK};
    std::atomic<int> passes{0};
    int next();
  };
  Fault& writeFault() { return writes_; }
  Fault& syncFault() { return syncs_; }
  sqlite3_vfs* fallback() const { return fallback_; }

 private:
  static void arm(Fault& fault, int code, int after);

  std::string name_;
  sqlite3_vfs* fallback_ = nullptr;
  sqlite3_vfs vfs_{};
  Fault writes_;
  Fault syncs_;
};

}  // namespace pricora::test
