// The whole program over a long run: headless, against the simulator, one refresh a second,
// with the simulator's faults switched on for the second half of every hundred refreshes
// (errors, resets, junk, throttling, slow, huge and hung replies) and off again. Samples the
// program's resident memory and open descriptors, then prints, past the warm-up and for each
// phase, how fast each grows; a leak shows as a steady slope.
//
//   soak_bench [REFRESHES] [SAMPLE_EVERY]   (defaults 1000 and 20)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchProgram.h"

namespace {

using namespace std::chrono_literals;

constexpr int kFaultPeriod = 100;  // refreshes; faults are on in the second half of each

struct Sample {
  int refresh;
  long residentKiB;
  long descriptors;
  bool faults;
};

long residentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6);
  return -1;
}

long openDescriptors(pid_t pid) {
  std::error_code error;
  std::filesystem::directory_iterator entries("/proc/" + std::to_string(pid) + "/fd", error);
  if (error) return -1;
  return static_cast<long>(std::distance(entries, std::filesystem::directory_iterator()));
}

void switchFaults(exsim::Simulator& simulator, bool on) {
  simulator.clearFaults();
  if (!on) return;
  simulator.addFault({"Wex", "*", "error"});
  simulator.addFault({"Bitfinex", "*", "big", 300'000});
  simulator.addFault({"Kraken", "/0/public/Ticker*", "http500"});
  simulator.addFault({"Bitstamp", "*", "reset"});
  simulator.addFault({"OKCoin", "*", "delay", 1500});
  simulator.addFault({"Poloniex", "*", "nonjson"});
  simulator.addFault({"GDAX", "*", "ratelimit"});
  // One hung request a phase: the program's own time-out has to end it.
  simulator.addFault({"CoinFloor", "*", "hang", 0, 1});
}

// Least-squares slope of value over refresh, per 1,000 refreshes.
template <typename Value>
double slopePerThousand(const std::vector<Sample>& samples, Value value) {
  double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (const Sample& s : samples) {
    const double x = s.refresh, y = static_cast<double>(value(s));
    n += 1, sx += x, sy += y, sxx += x * x, sxy += x * y;
  }
  const double denominator = n * sxx - sx * sx;
  return n < 2 || denominator == 0 ? 0.0 : (n * sxy - sx * sy) / denominator * 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
  const int refreshes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  const int sampleEvery = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  const int warmUp = std::min(kFaultPeriod, refreshes / 4);

  exsim::Simulator simulator;
  simulator.start();
  const std::string timeout = std::to_string(refreshes * 30 + 120);
  pricora::bench::BenchProgram program(simulator, {"--refreshes", std::to_string(refreshes), "--timeout", timeout}, {});
  pricora::test::Subprocess& app = program.process();
  const pid_t pid = app.pid();

  std::printf("%8s %12s %12s %7s\n", "refresh", "VmRSS KiB", "descriptors", "faults");
  std::vector<Sample> samples;
  bool faults = false;
  // A refresh takes a second, or the time-outs of a hung reply at worst.
  for (int refresh = 1;
       refresh <= refreshes && app.waitForError("pricora: refresh " + std::to_string(refresh) + " completed", 120s);
       ++refresh) {
    if (refresh == 1 || refresh % sampleEvery == 0) {
      const Sample sample{refresh, residentKiB(pid), openDescriptors(pid), faults};
      if (sample.residentKiB >= 0 && sample.descriptors >= 0) {  // else the program is quitting
        samples.push_back(sample);
        std::printf("%8d %12ld %12ld %7s\n", refresh, sample.residentKiB, sample.descriptors, faults ? "on" : "off");
        std::fflush(stdout);
      }
    }
    const bool wanted = refresh % kFaultPeriod >= kFaultPeriod / 2;
    if (wanted != faults) switchFaults(simulator, faults = wanted);
  }
  const std::optional<int> status = app.wait(60s);
  if (status != 0) std::fputs(app.errors().c_str(), stderr);

  std::printf("exit status %d after %d refreshes; samples past the warm-up of %d refreshes:\n", status.value_or(-1),
              refreshes, warmUp);
  // Each phase on its own: with faults on more is in flight, so a line through both phases would
  // slope with whichever phase the run happens to end in.
  for (const bool phase : {false, true}) {
    std::vector<Sample> settled;
    std::copy_if(samples.begin(), samples.end(), std::back_inserter(settled),
                 [&](const Sample& s) { return s.refresh >= warmUp && s.faults == phase; });
    if (settled.size() < 2) continue;
    const auto [lowRss, highRss] = std::minmax_element(
        settled.begin(), settled.end(), [](const Sample& a, const Sample& b) { return a.residentKiB < b.residentKiB; });
    const auto [lowFds, highFds] = std::minmax_element(
        settled.begin(), settled.end(), [](const Sample& a, const Sample& b) { return a.descriptors < b.descriptors; });
    std::printf(
        "faults %-3s (%2zu samples): resident memory %ld..%ld KiB, trend %+.0f KiB per 1,000 refreshes; "
        "open descriptors %ld..%ld, trend %+.1f\n",
        phase ? "on" : "off", settled.size(), lowRss->residentKiB, highRss->residentKiB,
        slopePerThousand(settled, [](const Sample& s) { return s.residentKiB; }), lowFds->descriptors,
        highFds->descriptors, slopePerThousand(settled, [](const Sample& s) { return s.descriptors; }));
  }
  return status == 0 ? 0 : 1;
}
