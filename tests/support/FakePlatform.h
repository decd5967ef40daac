#pragma once

#include "core/app/AppServices.h"
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

}  // namespace pricora::test
