#pragma once

#include <gtest/gtest.h>

#include "core/app/AppDelegate.h"
#include "core/common/AppServices.h"
#include "core/store/EditingContext.h"
#include "support/FakeHost.h"
#include "support/ManualMainQueue.h"
#include "support/MemoryPairStore.h"
#include "support/ScriptedFetch.h"

namespace pricora::test {

// Every platform service as a fake, wired together the way the program wires the real ones.
struct FakePlatform {
  // stored: the records the store starts with.
  explicit FakePlatform(std::vector<StoredPair> stored = {}) {
    auto memory = std::make_unique<MemoryPairStore>(std::move(stored));
    store = memory.get();
    context = std::move(EditingContext::open(std::move(memory)).value());
  }

  ManualMainQueue queue;
  ScriptedFetch fetch;
  StatusBar statusBar;
  FakeHost host;
  FakeSettings settings;
  FakeBundle bundle;
  FakeLoginItems loginItems;
  FakeManageWindow manageWindow;
  AppServices services{queue, queue, fetch, statusBar, host, host, settings, bundle, host, loginItems, manageWindow};
  MemoryPairStore* store = nullptr;  // owned by the context
  std::unique_ptr<EditingContext> context;
};

// The application on the fake platform, a quarter second after launch: its menus are built and
// its first refresh has asked for its replies.
class LaunchedApp : public ::testing::Test {
 protected:
  explicit LaunchedApp(std::vector<StoredPair> stored = {}) : platform(std::move(stored)) {
    delegate.applicationDidFinishLaunching();
    platform.queue.advance(Seconds(0.25));
  }
  // Hands off the pair's entry: a bid line, the last price and the lines given.
  void handOff(Exchange exchange, const std::string& title, const std::string& price = "1",
               const std::vector<std::string>& more = {}) {
    const PairEntryRef entry = makeEntry(title, price, {{"Bid: ", "1"}, {"Last: ", price}});
    for (const std::string& line : more) entry->addLine(line);
    delegate.statusMenu().pairHandOff(exchange, title, entry);
  }
  PairRef record(const std::string& exchange, const std::string& title) {
    return delegate.pairList().findPair(exchange, title);
  }

  FakePlatform platform;
  AppDelegate delegate{platform.services, *platform.context};
};

}  // namespace pricora::test
