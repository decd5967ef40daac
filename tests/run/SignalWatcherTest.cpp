#include <gtest/gtest.h>

#include <QTest>

#include <csignal>

#include "run/SignalWatcher.h"

namespace pricora {
namespace {

// A bar's click (SIGUSR1) may come before the watcher is made and after it has gone: it must
// never end the program, and while the watcher lives it reaches the event loop.
TEST(SignalWatcher, ADisarmedSignalReachesTheWatcherAndIsHarmlessBeforeAndAfter) {
  disarmSignals({SIGUSR1});
  std::raise(SIGUSR1);
  int calls = 0;
  {
    SignalWatcher watcher({SIGUSR1}, [&calls] { ++calls; });
    std::raise(SIGUSR1);
    EXPECT_TRUE(QTest::qWaitFor([&calls] { return calls == 1; }));
  }
  std::raise(SIGUSR1);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace pricora
