#pragma once

#include <string>
#include <vector>

#include "exchange-sim/Simulator.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace pricora::bench {

// `BINARY --headless ARGUMENTS` in a home of its own (a temporary folder), pointed at the
// simulator and refreshing every intervalSeconds, so the user's own settings, pairs and display
// stay out of the measurement. With reportStalls it prints its longest event-loop stall when it
// ends. The binary is the one built beside the benchmarks unless another is named. Alerts given
// ("Bitstamp BTC/USD > 11000") are made with `BINARY --alert` in that home before it starts.
// Without headless it starts as on a desktop, where the environment (a display, a session bus)
// comes from environment.
class BenchProgram {
 public:
  struct Options {
    int intervalSeconds = 1;
    bool reportStalls = false;
    std::string binary = PRICORA_BINARY;
    std::vector<std::string> alerts;
    bool headless = true;
    test::Subprocess::Environment environment;
  };

  BenchProgram(const exsim::Simulator& simulator, const std::vector<std::string>& arguments, const Options& options);

  test::Subprocess& process() { return process_; }

 private:
  test::Subprocess::Environment prepareHome(const exsim::Simulator& simulator, const Options& options);

  test::TempDir home_;
  test::Subprocess process_;  // after home_: it starts once the home is written
};

// The highest resident memory a running process has had so far (VmHWM), in MiB; 0 once it is gone.
double peakMiB(int pid);

}  // namespace pricora::bench
