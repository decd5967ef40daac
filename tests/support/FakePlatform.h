#pragma once

#include "core/app/AppServices.h"
#include "support/FakeHost.h"
#include "support/ManualMainQueue.h"
#include "support/ScriptedFetch.h"

namespace pricora::test {

// Every platform service as a fake, wired together the way the program wires the real ones.
struct FakePlatform {
  ManualMainQueue queue;
  ScriptedFetch fetch;
  StatusBar statusBar;
  FakeHost host;
  FakeSettings settings;
  FakeBundle bundle;
  AppServices services{queue, queue, fetch, statusBar, host, host, settings, bundle, host};
};

}  // namespace pricora::test
