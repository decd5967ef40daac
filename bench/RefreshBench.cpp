// The whole program under a realistic load: headless, against the simulator at its large scale
// (about 2,800 pairs, each asked for on every refresh), one refresh a second. Prints what a
// refresh costs in CPU time and how much memory the program holds at its peak.
//
//   refresh_bench [REFRESHES]   (default 5)

#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "HeadlessProgram.h"
#include "exchange-sim/Simulator.h"

int main(int argc, char** argv) {
  const int refreshes = argc > 1 ? std::atoi(argv[1]) : 5;
  exsim::Options options;
  options.scale = "large";
  exsim::Simulator simulator(options);
  simulator.start();

  pricora::bench::HeadlessProgram program(simulator.settingsText());
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = program.start({"--refreshes", std::to_string(refreshes), "--timeout", "600"});
  if (pid < 0) return 1;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;

  std::size_t requests = 0;
  for (std::string_view exchange : exsim::kExchangeNames) requests += simulator.requests(exchange).size();
  std::printf("%d refreshes at the large scale: %zu requests answered, exit status %d\n", refreshes, requests,
              WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  std::printf("wall %.2f s (one refresh a second), CPU %.0f ms in all, %.0f ms per refresh (start-up included)\n", wall,
              cpu * 1000, cpu * 1000 / refreshes);
  std::printf("peak resident memory %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
