#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/store/CleanUp.h"
#include "core/store/PairList.h"
#include "core/store/StoreOpening.h"
#include "support/MemoryPairStore.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

using test::MemoryPairStore;
using test::TempDir;

// A record as stored; nullptr leaves a field out.
StoredPair stored(const char* exchange, const char* title, bool favourite = false) {
  const auto text = [](const char* value) { return value ? std::optional<std::string>(value) : std::nullopt; };
  return {0, text(exchange), text(title), favourite, false};
}

class Store : public ::testing::Test {
 protected:
  void open(std::vector<StoredPair> initial = {}) {
    auto store = std::make_unique<MemoryPairStore>(std::move(initial));
    memory = store.get();
    context = std::move(EditingContext::open(std::move(store)).value());
    list = std::make_unique<PairList>(*context);
  }
  std::vector<std::string> arrangedTitles() const {
    std::vector<std::string> titles;
    for (const PairRef& pair : list->arrangedObjects()) titles.push_back(pair->title().value_or("(none)"));
    return titles;
  }

  MemoryPairStore* memory = nullptr;
  std::unique_ptr<EditingContext> context;
  std::unique_ptr<PairList> list;
};

TEST_F(Store, ChangesStayPendingUntilASaveSucceeds) {
  open({stored("Kraken", "XBT/USD", true)});
  PairRef inserted = list->insertPair("Bitstamp", "BTC/USD");
  EXPECT_FALSE(inserted->isFavourite() || inserted->showInMenubar());
  EXPECT_EQ(list->findPair("Bitstamp", "BTC/USD"), inserted);  // before any save
  list->findPair("Kraken", "XBT/USD")->setShowInMenubar(true);
  memory->failSaves = true;
  EXPECT_FALSE(context->save());
  EXPECT_TRUE(context->hasChanges());
  EXPECT_FALSE(memory->rows().begin()->second.showInMenubar);

  memory->failSaves = false;
  ASSERT_TRUE(context->save());
  EXPECT_FALSE(context->hasChanges());
  EXPECT_TRUE(memory->rows().begin()->second.showInMenubar);
  EXPECT_EQ(std::prev(memory->rows().end())->second, (StoredPair{2, "Bitstamp", "BTC/USD", false, false}));

  context->deletePair(inserted);
  inserted->setIsFavourite(true);  // a deleted record is no longer the store's business
  ASSERT_TRUE(context->save());
  EXPECT_EQ(memory->rows().size(), 1u);
  const int saves = memory->saves;
  EXPECT_TRUE(context->save());
  EXPECT_EQ(memory->saves, saves);  // nothing to write, nothing written
}

TEST_F(Store, ArrangedRecordsFollowTheFilterAndTitleOrderAtOnce) {
  open({stored("Kraken", "XBT/USD"), stored("Kraken", nullptr), stored("Bitstamp", "BTC/USD"),
        stored("Kraken", "ETH/XBT"), stored("Kraken", "BCH/USD"), stored(nullptr, "AAA/USD")});
  EXPECT_EQ(arrangedTitles(),
            (std::vector<std::string>{"(none)", "AAA/USD", "BCH/USD", "BTC/USD", "ETH/XBT", "XBT/USD"}));
  list->setFilter("Kraken");
  EXPECT_EQ(arrangedTitles(), (std::vector<std::string>{"(none)", "BCH/USD", "ETH/XBT", "XBT/USD"}));
  PairRef fresh = list->insertPair("Kraken", "DASH/EUR");
  list->insertPair("kraken", "ZEC/USD");
  EXPECT_EQ(arrangedTitles(), (std::vector<std::string>{"(none)", "BCH/USD", "DASH/EUR", "ETH/XBT", "XBT/USD"}));
  context->deletePair(fresh);
  EXPECT_EQ(arrangedTitles(), (std::vector<std::string>{"(none)", "BCH/USD", "ETH/XBT", "XBT/USD"}));
  list->setFilter(std::nullopt);
  EXPECT_EQ(list->arrangedObjects().size(), 7u);
}

// findPair answers from an index; it must agree with walking the arranged records, including
// which of several equal records it returns.
TEST_F(Store, FindPairAgreesWithAWalkOverTheArrangedRecords) {
  std::mt19937 random(7);
  const char* exchanges[] = {"Kraken", "Bitstamp", "GDAX", "BTC-E"};
  std::vector<StoredPair> initial;
  for (int i = 0; i < 400; ++i)
    initial.push_back(stored(i % 17 == 0 ? nullptr : exchanges[random() % 4],
                             i % 13 == 0 ? nullptr : ("P" + std::to_string(random() % 40)).c_str()));
  open(initial);
  for (int i = 0; i < 50; ++i) list->insertPair(exchanges[random() % 4], "P" + std::to_string(random() % 40));
  for (int i = 0; i < 30; ++i) context->deletePair(context->content()[random() % context->content().size()]);
  for (int i = 0; i < 30; ++i) {
    const PairRef& pair = context->content()[random() % context->content().size()];
    if (i % 2)
      pair->setTitle("P" + std::to_string(random() % 40));
    else
      pair->setExchange(exchanges[random() % 4]);
  }
  list->setFilter("GDAX");

  for (const char* exchange : exchanges) {
    for (int t = 0; t < 40; ++t) {
      const std::string title = "P" + std::to_string(t);
      const std::vector<PairRef> all = list->allArranged();
      const auto walked = std::find_if(all.begin(), all.end(), [&](const PairRef& pair) {
        return pair->exchange() == exchange && pair->title() == title;
      });
      EXPECT_EQ(list->findPair(exchange, title), walked == all.end() ? nullptr : *walked) << exchange << " " << title;
    }
  }
  EXPECT_EQ(list->filter(), "GDAX");
  EXPECT_EQ(list->findPair("Kraken", "NOPE"), nullptr);
}

TEST_F(Store, CleanUpDeletesObsoleteRecordsOneSaveEach) {
  open({stored("BTC-E", "BTC/USD", true), stored("Wex", "BTC/USD"), stored("Kraken", "ASH/SD"),
        stored("Kraken", "ash/sd"), stored("BTC-E", nullptr), stored("GDAX", ""), stored("Poloniex", "OSX/T"),
        stored(nullptr, "NOE/H")});
  int saves = 0;
  cleanUpStoredPairs(*context, [&] {
    ++saves;
    ASSERT_TRUE(context->save());
  });
  EXPECT_EQ(saves, 5);
  std::vector<std::string> left;
  for (const auto& [id, row] : memory->rows())
    left.push_back(row.exchange.value_or("-") + " " + row.title.value_or("-"));
  EXPECT_EQ(left, (std::vector<std::string>{"Wex BTC/USD", "Kraken ash/sd", "BTC-E -"}));
}

TEST_F(Store, EachExchangeKeepsItsNewestRecordsWithoutAChoiceUpToTheLimit) {
  open({stored("Kraken", "A/1"), stored("Kraken", "B/1", true), stored("Kraken", "C/1"), stored("Kraken", nullptr),
        stored("Bitstamp", "A/1"), stored("Bitstamp", "B/1"), stored("Elsewhere", "A/1"), stored("Elsewhere", "B/1"),
        stored("Elsewhere", "C/1")});
  list->findPair("Kraken", "C/1")->setShowInMenubar(true);
  list->insertPair("Kraken", "E/1");
  list->insertPair("Kraken", "F/1");
  boundStoredPairs(*context, 2);  // of the unmarked, titled Kraken records A, E and F, the oldest goes
  EXPECT_EQ(list->findPair("Kraken", "A/1"), nullptr);
  ASSERT_TRUE(context->save());
  EXPECT_EQ(memory->rows().size(), 10u);
}

class Opening : public ::testing::Test {
 protected:
  std::variant<std::unique_ptr<EditingContext>, StoreFailure> openAt(const std::string& dataHome) {
    return openPairStore(storeLocation(dataHome),
                         [this](const std::string& path) -> Result<std::unique_ptr<PairStore>> {
                           openedPath = path;
                           if (openerError) return *openerError;
                           return std::unique_ptr<PairStore>(std::make_unique<MemoryPairStore>());
                         });
  }
  static const StoreFailure& failure(const std::variant<std::unique_ptr<EditingContext>, StoreFailure>& result) {
    return std::get<StoreFailure>(result);
  }

  TempDir dir;
  std::optional<Error> openerError;
  std::string openedPath;
};

TEST_F(Opening, MakesAMissingFolderOrSaysWhatIsInTheWay) {
  const std::string home = dir.file("a/b/c");
  ASSERT_TRUE(std::holds_alternative<std::unique_ptr<EditingContext>>(openAt(home)));
  EXPECT_EQ(openedPath, home + "/com.apple.toolsQA.CocoaApp_CD/Mintor.storedata");

  // A file where the folder belongs: the store cannot be added there either, which is shown.
  dir.write("home/com.apple.toolsQA.CocoaApp_CD", "not a folder");
  openerError = Error{"The pair store could not be opened.", "{path = \"x\"}"};
  auto result = openAt(dir.file("home"));
  EXPECT_EQ(failure(result).error->description, "The pair store could not be opened.");
  EXPECT_EQ(failure(result).diagnostic, "Unresolved error: The pair store could not be opened., {path = \"x\"}");
  // Should the store open all the same, the file in the way still ends the run, without an alert.
  openerError.reset();
  result = openAt(dir.file("home"));
  EXPECT_FALSE(failure(result).error);
  EXPECT_EQ(failure(result).diagnostic,
            "Unsresolved error: Expected a folder to store application data, found a file " +
                dir.file("home/com.apple.toolsQA.CocoaApp_CD") + ".");
  // A folder that cannot be made is reported with what reading it found.
  dir.write("plain", "x");
  for (const auto& [at, reason] : {std::pair{dir.file("plain/deeper"), "Not a directory"},
                                   {std::string("/proc/pricora-cannot-be-here"), "No such file or directory"}}) {
    result = openAt(at);
    ASSERT_TRUE(failure(result).error);
    EXPECT_NE(failure(result).error->userInfo.find(reason), std::string::npos) << at;
    EXPECT_TRUE(failure(result).diagnostic.starts_with("Unresolved error: The folder “")) << at;
  }
}

}  // namespace
}  // namespace pricora
