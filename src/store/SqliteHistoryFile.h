#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/HistoryFile.h"
#include "store/ErrorDetails.h"
#include "store/SqliteConnection.h"
#include "store/SqliteFileOpening.h"
#include "store/SqliteStatement.h"

namespace pricora {

// Opened read-only (for a process beside the one that writes), the file must exist, is never
// given the schema, and every write refuses.
using SqliteHistoryFileOptions = SqliteFileOptions;

// The history file is a SQLite 3 database of Pricora's own, beside the pair store (never inside
// it), in WAL mode with every commit synced:
//
//   PRAGMA application_id = 1349666921;  -- 0x50724869, "PrHi": a Pricora history file
//   PRAGMA user_version = 2;             -- 1 had no Holding; opening it for writing adds one
//   CREATE TABLE Series (                  -- a pair whose prices are kept
//     id INTEGER PRIMARY KEY,
//     exchange TEXT NOT NULL,
//     title TEXT NOT NULL,
//     UNIQUE (exchange, title)
//   );
//   CREATE TABLE Hour (                    -- one pair's prices of one hour, oldest first
//     series INTEGER NOT NULL REFERENCES Series (id),
//     hour INTEGER NOT NULL,               -- seconds since 1970 (UTC) divided by 3600
//     times BLOB NOT NULL,                 -- each price's second in the hour: 2 bytes, little-endian
//     prices BLOB NOT NULL,                -- each price's number: an IEEE 754 double, little-endian
//     texts BLOB NOT NULL,                 -- each price as the exchange sent it: 1 byte of length, UTF-8
//     PRIMARY KEY (series, hour)
//   );
//   CREATE TABLE Alert (
//     id INTEGER PRIMARY KEY AUTOINCREMENT, -- never given twice
//     exchange TEXT NOT NULL,
//     title TEXT NOT NULL,
//     kind TEXT NOT NULL,                  -- 'above', 'below', 'up' or 'down'
//     level REAL NOT NULL,                 -- the price; per cent for 'up' and 'down'
//     window INTEGER NOT NULL DEFAULT 0,   -- seconds, for 'up' and 'down'
//     once INTEGER NOT NULL DEFAULT 0,     -- 1: fires once, then stays spent
//     margin REAL NOT NULL DEFAULT 0.5,    -- per cent to move back past the level before firing again
//     state TEXT NOT NULL DEFAULT 'fresh', -- 'fresh', 'armed', 'waiting' or 'spent'
//     created INTEGER NOT NULL,            -- seconds since 1970
//     fired INTEGER                        -- seconds since 1970: the last firing
//   );
//   CREATE TABLE Holding (                 -- what the user owns of a pair's first currency
//     exchange TEXT NOT NULL,
//     title TEXT NOT NULL,
//     units INTEGER NOT NULL CHECK (units > 0), -- hundred-millionths: 25000000 is 0.25
//     PRIMARY KEY (exchange, title)
//   );
//
// An hour's prices share one row, so a week of 20 pairs is a few thousand rows and reads in a
// few milliseconds. Texts longer than 255 bytes keep as many whole characters as fit. Rows an
// outside tool wrote with an unknown kind or a level that is not a finite number above 0 are
// passed over. The file and its log are its owner's alone (mode 0600): they say what the user
// owns.
class SqliteHistoryFile final : public HistoryFile {
 public:
  using Options = SqliteHistoryFileOptions;

  // Opens the file at path; a missing or empty file becomes a new history file (its folder must
  // exist). A file that is not a history file, is damaged or has a newer schema is refused
  // without a byte of it being written.
  static Result<std::unique_ptr<SqliteHistoryFile>> open(const std::string& path, Options options = {});
  // For a reader that may start before the writer has made the file: stands in empty while the
  // file is missing, and reads it from the first changedElsewhere() that finds it there (which
  // answers true). A file that is there is opened as open() opens it for reading.
  static Result<std::unique_ptr<HistoryFile>> openForReading(const std::string& path, Options options = {});
  ~SqliteHistoryFile() override;
  SqliteHistoryFile(const SqliteHistoryFile&) = delete;
  SqliteHistoryFile& operator=(const SqliteHistoryFile&) = delete;

  bool isReadOnly() const override { return readOnly_; }
  bool changedElsewhere() override;
  Result<std::vector<AlertRecord>> loadAlerts() override;
  Result<std::int64_t> addAlert(const AlertRecord& alert) override;
  Result<bool> removeAlert(std::int64_t id) override;
  Status editAlerts(const std::vector<std::int64_t>& removed, const std::vector<AlertRecord>& added) override;
  Status updateAlerts(const std::vector<AlertRecord>& alerts) override;
  Result<std::vector<HoldingRecord>> loadHoldings() override;
  Status setHolding(const PairName& pair, std::int64_t units) override;
  Status recordSamples(const std::vector<SampleToWrite>& samples, WallTime keepSince) override;
  Result<std::vector<PriceSample>> samples(const PairName& pair, WallTime since) override;
  Status restampSamples(WallTime since, std::chrono::seconds by) override;

 private:
  SqliteHistoryFile(std::string path, bool readOnly);
  int prepareStatements();
  // Runs body inside one transaction; body returns the details of its failure, if any.
  template <typename Body>
  Status transaction(const std::string& failure, Body body);
  std::optional<ErrorDetails> step(SqliteStatement::Run& run, int wanted);
  std::optional<ErrorDetails> insertAlert(const AlertRecord& alert);
  std::optional<ErrorDetails> appendSample(const SampleToWrite& sample);
  std::optional<ErrorDetails> writeHour(std::int64_t series, std::int64_t hour, const std::string& times,
                                        const std::string& prices, const std::string& texts);
  Result<std::int64_t> seriesId(const PairName& pair);
  Error readFailure();

  std::string path_;
  bool readOnly_;
  bool empty_ = false;  // read-only and without the schema yet: nothing stored
  std::int64_t dataVersion_ = 0;
  std::int64_t prunedBefore_ = 0;  // hours before this one are gone
  std::map<PairName, std::int64_t> seriesIds_;
  SqliteConnection db_;  // before the statements: they must be finalized first
  SqliteStatement begin_, commit_, rollback_, dataVersionQuery_;
  SqliteStatement selectAlerts_, insertAlert_, deleteAlert_, updateAlert_;
  SqliteStatement selectHoldings_, upsertHolding_, deleteHolding_;
  SqliteStatement selectSeries_, insertSeries_, selectHour_, upsertHour_, pruneHours_, readHours_;
};

}  // namespace pricora
