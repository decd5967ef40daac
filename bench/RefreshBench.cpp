// The whole program under load, headless against the simulator, beside curl's own client.
//
//   refresh_bench [--scale large|real] [--refreshes N] [--latency MS] [--interval S] [--binary PATH]
//     The large market (about 2,400 pairs), or the one of the recorded replies: CPU per refresh,
//     wall time and requests per second of the first refresh, peak memory; then `curl --parallel`
//     fetching the same addresses.
//   refresh_bench --alerts [--refreshes N] [--interval S] [--binary PATH]
//     The large market as above, once as it is and once with 20 pairs followed, each with an alert
//     (ten levels, ten moves), so that the history and the alerts' cost per refresh shows.
//   refresh_bench --heavy [--term-after S] [--binary PATH]
//     A 20,000-pair Kraken listing, every Kraken reply 1 s late, a refresh every 5 s: peak memory,
//     how long SIGTERM takes to end the program after S seconds (default 20), and the longest
//     stall of its event loop.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchProgram.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using pricora::bench::peakMiB;
using pricora::test::Subprocess;

struct Settings {
  int refreshes = 5;
  int latency = 0;
  int interval = 2;
  int termAfter = 20;
  bool heavy = false;
  std::string scale = "large";
  bool alerts = false;   // compare without and with followed pairs and alerts
  bool watched = false;  // this run has them
  std::string binary = PRICORA_BINARY;
};

// Twenty pairs the large market always lists: Bitstamp's and OKCoin's fixed ones.
std::vector<std::string> watchedAlerts() {
  std::vector<std::string> alerts;
  for (const char* title : {"BTC/USD", "BTC/EUR", "EUR/USD", "XRP/USD", "XRP/EUR", "XRP/BTC", "LTC/USD", "LTC/EUR",
                            "LTC/BTC", "ETH/USD", "ETH/EUR", "ETH/BTC", "BCH/USD", "BCH/EUR", "BCH/BTC"})
    alerts.push_back(std::string("Bitstamp ") + title + (alerts.size() % 2 == 0 ? " > 1000000" : " +5% 1h"));
  for (const char* title : {"BTC/USD", "LTC/USD", "ETH/USD", "ETC/USD", "BCH/USD"})
    alerts.push_back(std::string("OKCoin ") + title + (alerts.size() % 2 == 0 ? " < 0.0001" : " -5% 1h"));
  return alerts;
}

double seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// User plus system time of a running process, from /proc.
double cpuSeconds(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i)
    if (i >= 14) ticks += std::stod(field);
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::size_t requestCount(const exsim::Simulator& simulator) {
  std::size_t count = 0;
  for (std::string_view exchange : exsim::kExchangeNames) count += simulator.requests(exchange).size();
  return count;
}

// The program for one of the runs below: the interval is the refresh's, SIGTERM stops the heavy run.
pricora::bench::BenchProgram program(const Settings& settings, const exsim::Simulator& simulator, int interval,
                                     bool reportStalls) {
  return {simulator,
          {"--refreshes", std::to_string(settings.heavy ? 0 : settings.refreshes), "--timeout", "600"},
          {interval, reportStalls, settings.binary, settings.watched ? watchedAlerts() : std::vector<std::string>{}}};
}

// curl's command-line client over the same addresses, as one parallel run.
void runCurl(const std::vector<std::string>& urls) {
  pricora::test::TempDir dir;
  std::string config;
  for (const std::string& url : urls) config += "url = \"" + url + "\"\noutput = \"/dev/null\"\n";
  std::string file = dir.write("urls.conf", config);
  std::vector<std::string> words = {"curl",     "--silent", "--no-progress-meter", "--parallel", "--parallel-max", "50",
                                    "--config", file};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0) {
    std::perror("curl");
    return;
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double wall = seconds(Clock::now() - start);
  const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  std::printf("curl --parallel:  CPU %6.0f ms (start included), wall %5.2f s, %6.0f requests/s, peak %5.1f MiB\n",
              cpu * 1000, wall, static_cast<double>(urls.size()) / wall, static_cast<double>(usage.ru_maxrss) / 1024.0);
}

int market(const Settings& settings) {
  exsim::Options options;
  options.scale = settings.scale;
  exsim::Simulator simulator(options);
  if (settings.latency > 0)
    for (std::string_view exchange : exsim::kExchangeNames)
      simulator.addFault({std::string(exchange), "*", "delay", settings.latency});
  simulator.start();

  pricora::bench::BenchProgram run = program(settings, simulator, settings.interval, false);
  Subprocess& app = run.process();
  std::optional<Clock::time_point> firstRequest;
  Clock::time_point firstDone;
  double cpuFirst = 0, cpuLast = 0, peak = 0;
  std::size_t firstRequests = 0;
  for (int done = 1; done <= settings.refreshes;) {
    if (!firstRequest && requestCount(simulator) > 0) firstRequest = Clock::now();
    if (!app.waitForError("refresh " + std::to_string(done) + " completed", firstRequest ? 20ms : 1ms)) {
      if (access(("/proc/" + std::to_string(app.pid())).c_str(), F_OK) != 0) break;  // gone: it failed
      continue;
    }
    cpuLast = cpuSeconds(app.pid());
    peak = std::max(peak, peakMiB(app.pid()));
    if (done == 1) {
      firstDone = Clock::now();
      cpuFirst = cpuLast;
      firstRequests = requestCount(simulator);
    }
    ++done;
  }
  const std::optional<int> status = app.wait(60s);
  if (status != 0 || !firstRequest) {
    std::fprintf(stderr, "pricora failed (%d):\n%s", status.value_or(-1), app.errors().c_str());
    return 1;
  }
  std::vector<std::string> urls;
  for (std::string_view exchange : exsim::kExchangeNames) {
    const std::vector<std::string> targets = simulator.requests(exchange);
    for (const std::string& target : std::set<std::string>(targets.begin(), targets.end()))
      urls.push_back(simulator.baseAddress(exchange) + target);
  }
  const double wall = seconds(firstDone - *firstRequest);
  std::printf("%s market, %d ms latency, %zu addresses per refresh, %d refreshes %d s apart%s\n",
              settings.scale.c_str(), settings.latency, urls.size(), settings.refreshes, settings.interval,
              settings.watched ? ", 20 pairs followed with 20 alerts" : "");
  std::printf("pricora first:    CPU %6.0f ms (start included), wall %5.2f s, %6.0f requests/s, peak %5.1f MiB\n",
              cpuFirst * 1000, wall, static_cast<double>(firstRequests) / wall, peak);
  if (settings.refreshes > 1)
    std::printf("pricora later:    CPU %6.0f ms per refresh\n", (cpuLast - cpuFirst) * 1000 / (settings.refreshes - 1));
  simulator.clearRequests();
  if (!settings.alerts) runCurl(urls);
  return 0;
}

int heavyListing(const Settings& settings) {
  exsim::Options options;
  options.scale = "heavy";
  exsim::Simulator simulator(options);
  simulator.addFault({"Kraken", "*", "delay", 1000});
  simulator.start();

  pricora::bench::BenchProgram run = program(settings, simulator, 5, true);
  Subprocess& app = run.process();
  const Clock::time_point start = Clock::now();
  double peak = 0;
  while (Clock::now() - start < std::chrono::seconds(settings.termAfter) && !app.waitForError("\x01", 100ms))
    peak = std::max(peak, peakMiB(app.pid()));
  const Clock::time_point term = Clock::now();
  app.signal(SIGTERM);
  const std::optional<int> status = app.wait(60s);
  const double exit = seconds(Clock::now() - term);
  std::size_t tickers = 0;
  for (const std::string& target : simulator.requests("Kraken")) tickers += target.find("Ticker") != std::string::npos;
  const std::size_t stall = app.errors().find("longest event-loop stall");
  std::printf("heavy listing: 20,000 Kraken pairs, 1 s per Kraken reply, a refresh every 5 s, SIGTERM after %d s\n",
              settings.termAfter);
  std::printf("pricora: %zu Kraken tickers asked, peak %.1f MiB, SIGTERM to exit %.0f ms (status %d), %s\n", tickers,
              peak, exit * 1000, status.value_or(-1),
              stall == std::string::npos ? "no stall report"
                                         : app.errors().substr(stall, app.errors().find('\n', stall) - stall).c_str());
  // A headless run stopped before its goal exits with 2; anything else means it did not end cleanly.
  return status == 2 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    auto number = [&] { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
    if (option == "--refreshes")
      settings.refreshes = std::max(1, number());
    else if (option == "--latency")
      settings.latency = number();
    else if (option == "--interval")
      settings.interval = std::max(1, number());
    else if (option == "--term-after")
      settings.termAfter = number();
    else if (option == "--scale" && i + 1 < argc)
      settings.scale = argv[++i];
    else if (option == "--heavy")
      settings.heavy = true;
    else if (option == "--alerts")
      settings.alerts = true;
    else if (option == "--binary" && i + 1 < argc)
      settings.binary = argv[++i];
    else {
      std::fprintf(
          stderr,
          "usage: refresh_bench [--alerts] [--scale large|real] [--refreshes N] [--latency MS] [--interval S]\n"
          "                     [--binary PATH]\n"
          "       refresh_bench --heavy [--term-after S] [--binary PATH]\n");
      return 1;
    }
  }
  if (settings.heavy) return heavyListing(settings);
  if (!settings.alerts) return market(settings);
  Settings watched = settings;
  watched.watched = true;
  return market(settings) | market(watched);
}
