#include "store/SqliteHistoryFile.h"

#include "platform/HistoryFileWrapper.h"

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>

namespace pricora {

namespace {

constexpr std::int64_t kApplicationId = 0x50724869;  // "PrHi"
constexpr std::int64_t kSchemaVersion = 2;
constexpr std::int64_t kSecondsPerHour = 3600;

constexpr const char* kCreateSchema = R"(
CREATE TABLE Series (
  id INTEGER PRIMARY KEY,
  exchange TEXT NOT NULL,
  title TEXT NOT NULL,
  UNIQUE (exchange, title)
);
CREATE TABLE Hour (
  series INTEGER NOT NULL REFERENCES Series (id),
  hour INTEGER NOT NULL,
  times BLOB NOT NULL,
  prices BLOB NOT NULL,
  texts BLOB NOT NULL,
  PRIMARY KEY (series, hour)
);
CREATE TABLE Alert (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  exchange TEXT NOT NULL,
  title TEXT NOT NULL,
  kind TEXT NOT NULL,
  level REAL NOT NULL,
  window INTEGER NOT NULL DEFAULT 0,
  once INTEGER NOT NULL DEFAULT 0,
  margin REAL NOT NULL DEFAULT 0.5,
  state TEXT NOT NULL DEFAULT 'fresh',
  created INTEGER NOT NULL,
  fired INTEGER
);
CREATE TABLE Holding (
  exchange TEXT NOT NULL,
  title TEXT NOT NULL,
  units INTEGER NOT NULL CHECK (units > 0),
  PRIMARY KEY (exchange, title)
);
PRAGMA application_id = 1349666921;
PRAGMA user_version = 2;
)";
static_assert(kApplicationId == 1349666921 && kSchemaVersion == 2, "kCreateSchema spells both out");

// Each turns the version before it into the next: [0] makes version 1 into 2.
constexpr const char* kUpgrades[] = {
    R"(
CREATE TABLE Holding (
  exchange TEXT NOT NULL,
  title TEXT NOT NULL,
  units INTEGER NOT NULL CHECK (units > 0),
  PRIMARY KEY (exchange, title)
);
PRAGMA user_version = 2;
)",
};
static_assert(std::size(kUpgrades) == kSchemaVersion - 1, "one upgrade for every earlier version");

constexpr std::string_view kKinds[] = {"above", "below", "up", "down"};

std::string kindName(AlertKind kind) { return std::string(kKinds[static_cast<std::size_t>(kind)]); }

std::int64_t toSeconds(WallTime time) {
  return std::chrono::floor<std::chrono::seconds>(time.time_since_epoch()).count();
}
WallTime fromSeconds(std::int64_t seconds) { return WallTime(std::chrono::seconds(seconds)); }

constexpr SqliteFileKind kHistoryFile{"history file", kApplicationId, kSchemaVersion, kCreateSchema,
                                      kUpgrades,      true,           false};

// Little-endian, whatever the machine, so that the file reads the same everywhere.
void putBytes(std::string& out, std::uint64_t value, int count) {
  for (int i = 0; i < count; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}
template <typename T>
T getBytes(std::string_view in, std::size_t at) {
  T value{};
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&value, in.data() + at, sizeof value);
  } else {
    for (std::size_t i = 0; i < sizeof value; ++i) value |= T{static_cast<unsigned char>(in[at + i])} << (8 * i);
  }
  return value;
}

// The stand-in until the file is there.
class AwaitedHistoryFile final : public HistoryFileWrapper {
 public:
  AwaitedHistoryFile(std::string path, SqliteHistoryFileOptions options)
      : HistoryFileWrapper(std::make_unique<NoHistoryFile>(Error{})), path_(std::move(path)), options_(options) {}

  bool changedElsewhere() override {
    if (opened_) return HistoryFileWrapper::changedElsewhere();
    std::error_code ignored;
    if (!std::filesystem::exists(path_, ignored)) return false;
    auto file = SqliteHistoryFile::open(path_, options_);
    if (!file) return false;
    setTarget(std::move(file.value()));
    opened_ = true;
    return true;
  }

 private:
  std::string path_;
  SqliteHistoryFileOptions options_;
  bool opened_ = false;
};

}  // namespace

Result<std::unique_ptr<HistoryFile>> SqliteHistoryFile::openForReading(const std::string& path, Options options) {
  options.readOnly = true;
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored))
    return std::unique_ptr<HistoryFile>(std::make_unique<AwaitedHistoryFile>(path, options));
  auto file = open(path, options);
  if (!file) return file.error();
  return std::unique_ptr<HistoryFile>(std::move(file.value()));
}

Result<std::unique_ptr<SqliteHistoryFile>> SqliteHistoryFile::open(const std::string& path, Options options) {
  std::unique_ptr<SqliteHistoryFile> file(new SqliteHistoryFile(path, options.readOnly));
  const Result<SqliteFileContents> contents =
      openSqliteFile(file->db_, path, kHistoryFile, options, [&file] { return file->prepareStatements(); });
  if (!contents) return contents.error();
  file->empty_ = contents.value() == SqliteFileContents::blank;
  if (!file->empty_) file->changedElsewhere();  // counts from now on
  return file;
}

SqliteHistoryFile::SqliteHistoryFile(std::string path, bool readOnly) : path_(std::move(path)), readOnly_(readOnly) {}

SqliteHistoryFile::~SqliteHistoryFile() = default;

int SqliteHistoryFile::prepareStatements() {
  return prepareEach(
      db_.get(),
      {
          {&begin_, "BEGIN IMMEDIATE"},
          {&commit_, "COMMIT"},
          {&rollback_, "ROLLBACK"},
          {&dataVersionQuery_, "PRAGMA data_version"},
          {&selectAlerts_,
           "SELECT id, exchange, title, kind, level, window, once != 0, margin, state, created, fired FROM Alert "
           "ORDER BY id"},
          {&insertAlert_,
           "INSERT INTO Alert (exchange, title, kind, level, window, once, margin, state, created, fired) "
           "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)"},
          {&deleteAlert_, "DELETE FROM Alert WHERE id = ?1"},
          {&updateAlert_,
           "UPDATE Alert SET kind = ?3, level = ?4, window = ?5, once = ?6, margin = ?7, state = ?8, fired = ?10 "
           "WHERE id = ?11"},
          {&selectHoldings_, "SELECT exchange, title, units FROM Holding ORDER BY exchange, title"},
          {&upsertHolding_,
           "INSERT INTO Holding (exchange, title, units) VALUES (?1, ?2, ?3) "
           "ON CONFLICT (exchange, title) DO UPDATE SET units = excluded.units"},
          {&deleteHolding_, "DELETE FROM Holding WHERE exchange = ?1 AND title = ?2"},
          {&selectSeries_, "SELECT id FROM Series WHERE exchange = ?1 AND title = ?2"},
          {&insertSeries_, "INSERT INTO Series (exchange, title) VALUES (?1, ?2)"},
          {&selectHour_, "SELECT times, prices, texts FROM Hour WHERE series = ?1 AND hour = ?2"},
          {&upsertHour_,
           "INSERT INTO Hour (series, hour, times, prices, texts) VALUES (?1, ?2, ?3, ?4, ?5) "
           "ON CONFLICT (series, hour) DO UPDATE SET times = excluded.times, prices = excluded.prices, "
           "texts = excluded.texts"},
          {&pruneHours_, "DELETE FROM Hour WHERE hour < ?1"},
          {&readHours_,
           "SELECT hour, times, prices FROM Hour WHERE series = (SELECT id FROM Series WHERE exchange = ?1 AND "
           "title = ?2) AND hour >= ?3 ORDER BY hour"},
      });
}

bool SqliteHistoryFile::changedElsewhere() {
  if (empty_) {
    // A reader that came before the writer made the schema looks again.
    const Result<SqliteFileContents> contents =
        readySqliteFile(db_, path_, kHistoryFile, readOnly_, [this] { return prepareStatements(); });
    if (!contents || contents.value() == SqliteFileContents::blank) return false;
    empty_ = false;
    changedElsewhere();  // counts from now on
    return true;
  }
  SqliteStatement::Run run = dataVersionQuery_.run();
  if (run.step() != SQLITE_ROW) return false;
  const std::int64_t version = run.integer(0);
  return std::exchange(dataVersion_, version) != version;
}

std::optional<ErrorDetails> SqliteHistoryFile::step(SqliteStatement::Run& run, int wanted) {
  if (run.step() == wanted) return std::nullopt;
  return db_.details();
}

template <typename Body>
Status SqliteHistoryFile::transaction(const std::string& failure, Body body) {
  if (readOnly_) return pathError(failure, path_, {{"reason", "the file is open for reading only"}});
  // A rollback that failed after the last failed write would keep this one from beginning.
  if (sqlite3_get_autocommit(db_.get()) == 0) db_.exec("ROLLBACK");
  std::optional<ErrorDetails> details;
  {
    SqliteStatement::Run begin = begin_.run();
    details = step(begin, SQLITE_DONE);
  }
  if (!details) details = body();
  if (!details) {
    SqliteStatement::Run commit = commit_.run();
    details = step(commit, SQLITE_DONE);
  }
  if (!details) return {};
  if (sqlite3_get_autocommit(db_.get()) == 0) db_.exec("ROLLBACK");
  // What was learnt inside the transaction (new series) is gone with it.
  seriesIds_.clear();
  return pathError(failure, path_, std::move(*details));
}

Error SqliteHistoryFile::readFailure() {
  return pathError("Pricora could not read the history file " + quotedPath(path_) + ".", path_, db_.details());
}

Result<std::vector<AlertRecord>> SqliteHistoryFile::loadAlerts() {
  std::vector<AlertRecord> alerts;
  if (empty_) return alerts;
  SqliteStatement::Run run = selectAlerts_.run();
  int rc = SQLITE_OK;
  while ((rc = run.step()) == SQLITE_ROW) {
    AlertRecord alert;
    alert.id = run.integer(0);
    alert.pair = {run.text(1).value_or(""), run.text(2).value_or("")};
    const std::string kind = run.text(3).value_or("");
    const auto known = std::find(std::begin(kKinds), std::end(kKinds), kind);
    alert.level = run.real(4);
    if (known == std::end(kKinds) || !std::isfinite(alert.level) || !(alert.level > 0)) continue;
    alert.kind = static_cast<AlertKind>(known - std::begin(kKinds));
    alert.windowSeconds = run.integer(5);
    alert.once = run.integer(6) != 0;
    alert.margin = std::isfinite(run.real(7)) ? run.real(7) : 0.5;
    const std::string phase = run.text(8).value_or("");
    alert.phase = phaseNamed(phase);
    alert.created = fromSeconds(run.integer(9));
    if (!run.isNull(10)) alert.fired = fromSeconds(run.integer(10));
    alerts.push_back(std::move(alert));
  }
  if (rc != SQLITE_DONE) return readFailure();
  return alerts;
}

std::optional<ErrorDetails> SqliteHistoryFile::insertAlert(const AlertRecord& alert) {
  SqliteStatement::Run run = insertAlert_.run();
  run.bind(1, alert.pair.exchange).bind(2, alert.pair.title).bind(3, kindName(alert.kind));
  run.bindReal(4, alert.level).bind(5, alert.windowSeconds).bind(6, std::int64_t{alert.once}).bindReal(7, alert.margin);
  run.bind(8, std::string(phaseName(alert.phase))).bind(9, toSeconds(alert.created));
  if (alert.fired) run.bind(10, toSeconds(*alert.fired));
  return step(run, SQLITE_DONE);
}

Result<std::int64_t> SqliteHistoryFile::addAlert(const AlertRecord& alert) {
  std::int64_t id = 0;
  const Status saved = transaction("Pricora could not save the alerts to " + quotedPath(path_) + ".", [&] {
    std::optional<ErrorDetails> failure = insertAlert(alert);
    id = sqlite3_last_insert_rowid(db_.get());
    return failure;
  });
  if (!saved) return saved.error();
  return id;
}

Result<bool> SqliteHistoryFile::removeAlert(std::int64_t id) {
  bool removed = false;
  const Status saved = transaction("Pricora could not save the alerts to " + quotedPath(path_) + ".", [&] {
    SqliteStatement::Run run = deleteAlert_.run();
    std::optional<ErrorDetails> failure = step(run.bind(1, id), SQLITE_DONE);
    removed = sqlite3_changes(db_.get()) > 0;
    return failure;
  });
  if (!saved) return saved.error();
  return removed;
}

Status SqliteHistoryFile::editAlerts(const std::vector<std::int64_t>& removed, const std::vector<AlertRecord>& added) {
  return transaction("Pricora could not save the alerts to " + quotedPath(path_) + ".",
                     [&]() -> std::optional<ErrorDetails> {
                       for (const std::int64_t id : removed) {
                         SqliteStatement::Run run = deleteAlert_.run();
                         if (auto failure = step(run.bind(1, id), SQLITE_DONE)) return failure;
                       }
                       for (const AlertRecord& alert : added)
                         if (auto failure = insertAlert(alert)) return failure;
                       return std::nullopt;
                     });
}

Status SqliteHistoryFile::updateAlerts(const std::vector<AlertRecord>& alerts) {
  return transaction("Pricora could not save the alerts to " + quotedPath(path_) + ".",
                     [&]() -> std::optional<ErrorDetails> {
                       for (const AlertRecord& alert : alerts) {
                         SqliteStatement::Run run = updateAlert_.run();
                         run.bind(1, alert.pair.exchange).bind(2, alert.pair.title).bind(3, kindName(alert.kind));
                         run.bindReal(4, alert.level)
                             .bind(5, alert.windowSeconds)
                             .bind(6, std::int64_t{alert.once})
                             .bindReal(7, alert.margin);
                         run.bind(8, std::string(phaseName(alert.phase))).bind(11, alert.id);
                         if (alert.fired) run.bind(10, toSeconds(*alert.fired));
                         if (auto failure = step(run, SQLITE_DONE)) return failure;
                       }
                       return std::nullopt;
                     });
}

Result<std::vector<HoldingRecord>> SqliteHistoryFile::loadHoldings() {
  std::vector<HoldingRecord> holdings;
  if (empty_) return holdings;
  SqliteStatement::Run run = selectHoldings_.run();
  int rc = SQLITE_OK;
  while ((rc = run.step()) == SQLITE_ROW)
    if (const std::int64_t units = run.integer(2); units > 0)
      holdings.push_back({{run.text(0).value_or(""), run.text(1).value_or("")}, units});
  if (rc != SQLITE_DONE) return readFailure();
  return holdings;
}

Status SqliteHistoryFile::setHolding(const PairName& pair, std::int64_t units) {
  return transaction("Pricora could not save the holdings to " + quotedPath(path_) + ".", [&] {
    SqliteStatement::Run run = units > 0 ? upsertHolding_.run() : deleteHolding_.run();
    run.bind(1, pair.exchange).bind(2, pair.title);
    if (units > 0) run.bind(3, units);
    return step(run, SQLITE_DONE);
  });
}

Result<std::int64_t> SqliteHistoryFile::seriesId(const PairName& pair) {
  if (const auto known = seriesIds_.find(pair); known != seriesIds_.end()) return known->second;
  {
    SqliteStatement::Run run = selectSeries_.run();
    const int rc = run.bind(1, pair.exchange).bind(2, pair.title).step();
    if (rc == SQLITE_ROW) return seriesIds_[pair] = run.integer(0);
    if (rc != SQLITE_DONE) return readFailure();
  }
  SqliteStatement::Run run = insertSeries_.run();
  if (run.bind(1, pair.exchange).bind(2, pair.title).step() != SQLITE_DONE) return readFailure();
  return seriesIds_[pair] = sqlite3_last_insert_rowid(db_.get());
}

std::optional<ErrorDetails> SqliteHistoryFile::writeHour(std::int64_t series, std::int64_t hour,
                                                         const std::string& times, const std::string& prices,
                                                         const std::string& texts) {
  SqliteStatement::Run run = upsertHour_.run();
  run.bind(1, series).bind(2, hour).bindBlob(3, times).bindBlob(4, prices).bindBlob(5, texts);
  return step(run, SQLITE_DONE);
}

std::optional<ErrorDetails> SqliteHistoryFile::appendSample(const SampleToWrite& sample) {
  const Result<std::int64_t> series = seriesId(sample.pair);
  if (!series) return db_.details();
  const std::int64_t seconds = toSeconds(sample.time);
  const std::int64_t hour = seconds / kSecondsPerHour;
  std::string times, prices, texts;
  {
    SqliteStatement::Run run = selectHour_.run();
    const int rc = run.bind(1, series.value()).bind(2, hour).step();
    if (rc == SQLITE_ROW) {
      times = run.blob(0);
      prices = run.blob(1);
      texts = run.blob(2);
    } else if (rc != SQLITE_DONE) {
      return db_.details();
    }
  }
  putBytes(times, static_cast<std::uint64_t>(seconds - hour * kSecondsPerHour), 2);
  putBytes(prices, std::bit_cast<std::uint64_t>(sample.price), 8);
  std::size_t length = std::min<std::size_t>(sample.priceText.size(), 255);
  // Cut between characters: a UTF-8 character goes on with bytes 10xxxxxx.
  while (length > 0 && length < sample.priceText.size() &&
         (static_cast<unsigned char>(sample.priceText[length]) & 0xc0) == 0x80)
    --length;
  texts += static_cast<char>(length);
  texts.append(sample.priceText, 0, length);
  return writeHour(series.value(), hour, times, prices, texts);
}

Status SqliteHistoryFile::restampSamples(WallTime since, std::chrono::seconds by) {
  const std::int64_t from = toSeconds(since);
  // The rows that hold a price to move, and those the moved prices land in.
  const std::int64_t firstHour = std::min(from, from + by.count()) / kSecondsPerHour;
  struct Stored {
    std::int64_t time;
    std::string price;  // its 8 bytes
    std::string text;   // its length byte and bytes
  };
  return transaction(
      "Pricora could not record the prices in " + quotedPath(path_) + ".", [&]() -> std::optional<ErrorDetails> {
        SqliteStatement select, remove;
        if (select.prepare(db_.get(), "SELECT series, hour, times, prices, texts FROM Hour WHERE hour >= ?1") !=
                SQLITE_OK ||
            remove.prepare(db_.get(), "DELETE FROM Hour WHERE hour >= ?1") != SQLITE_OK)
          return db_.details();
        std::map<std::pair<std::int64_t, std::int64_t>, std::vector<Stored>> rows;
        {
          SqliteStatement::Run run = select.run();
          run.bind(1, firstHour);
          int rc = SQLITE_OK;
          while ((rc = run.step()) == SQLITE_ROW) {
            const std::int64_t series = run.integer(0), start = run.integer(1) * kSecondsPerHour;
            const std::string_view times = run.blob(2), prices = run.blob(3), texts = run.blob(4);
            const std::size_t count = std::min(times.size() / 2, prices.size() / 8);
            for (std::size_t i = 0, at = 0; i < count; ++i) {
              std::int64_t time = start + getBytes<std::uint16_t>(times, 2 * i);
              if (time >= from) time += by.count();
              const std::size_t length = at < texts.size() ? static_cast<unsigned char>(texts[at]) : 0;
              std::string text(texts.substr(std::min(at, texts.size()), length + 1));
              if (text.empty()) text.push_back('\0');
              at += length + 1;
              rows[{series, time / kSecondsPerHour}].push_back(
                  {time, std::string(prices.substr(8 * i, 8)), std::move(text)});
            }
          }
          if (rc != SQLITE_DONE) return db_.details();
        }
        {
          SqliteStatement::Run run = remove.run();
          if (auto failure = step(run.bind(1, firstHour), SQLITE_DONE)) return failure;
        }
        for (auto& [key, samples] : rows) {
          std::stable_sort(samples.begin(), samples.end(),
                           [](const Stored& a, const Stored& b) { return a.time < b.time; });
          std::string times, prices, texts;
          for (const Stored& sample : samples) {
            putBytes(times, static_cast<std::uint64_t>(sample.time - key.second * kSecondsPerHour), 2);
            prices.append(sample.price);
            texts += sample.text;
          }
          if (auto failure = writeHour(key.first, key.second, times, prices, texts)) return failure;
        }
        return std::nullopt;
      });
}

Status SqliteHistoryFile::recordSamples(const std::vector<SampleToWrite>& samples, WallTime keepSince) {
  const std::int64_t firstKept = toSeconds(keepSince) / kSecondsPerHour;
  if (samples.empty() && firstKept <= prunedBefore_) return {};
  const bool prune = firstKept > prunedBefore_;
  const Status recorded = transaction("Pricora could not record the prices in " + quotedPath(path_) + ".",
                                      [&]() -> std::optional<ErrorDetails> {
                                        for (const SampleToWrite& sample : samples)
                                          if (auto failure = appendSample(sample)) return failure;
                                        // Whole hours go, once an hour: a scan of a few thousand rows.
                                        if (!prune) return std::nullopt;
                                        SqliteStatement::Run run = pruneHours_.run();
                                        return step(run.bind(1, firstKept), SQLITE_DONE);
                                      });
  // Only a committed pruning counts: a rolled-back one is tried again with the next prices.
  if (recorded && prune) prunedBefore_ = firstKept;
  return recorded;
}

Result<std::vector<PriceSample>> SqliteHistoryFile::samples(const PairName& pair, WallTime since) {
  std::vector<PriceSample> out;
  if (empty_) return out;
  const std::int64_t from = toSeconds(since);
  SqliteStatement::Run run = readHours_.run();
  run.bind(1, pair.exchange).bind(2, pair.title).bind(3, from / kSecondsPerHour);
  int rc = SQLITE_OK;
  while ((rc = run.step()) == SQLITE_ROW) {
    const std::int64_t start = run.integer(0) * kSecondsPerHour;
    const std::string_view times = run.blob(1);
    const std::string_view prices = run.blob(2);
    const std::size_t count = std::min(times.size() / 2, prices.size() / 8);
    if (out.capacity() < out.size() + count) out.reserve(2 * (out.size() + count));
    for (std::size_t i = 0; i < count; ++i) {
      const std::int64_t seconds = start + getBytes<std::uint16_t>(times, 2 * i);
      if (seconds >= from)
        out.push_back({fromSeconds(seconds), std::bit_cast<double>(getBytes<std::uint64_t>(prices, 8 * i))});
    }
  }
  if (rc != SQLITE_DONE) return readFailure();
  return out;
}

}  // namespace pricora
