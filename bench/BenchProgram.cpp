#include "BenchProgram.h"

#include <fstream>

namespace pricora::bench {

namespace {

std::vector<std::string> commandLine(const BenchProgram::Options& options, const std::vector<std::string>& arguments) {
  std::vector<std::string> words = {options.binary};
  if (options.headless) words.push_back("--headless");
  words.insert(words.end(), arguments.begin(), arguments.end());
  return words;
}

}  // namespace

BenchProgram::BenchProgram(const exsim::Simulator& simulator, const std::vector<std::string>& arguments,
                           const Options& options)
    : process_(commandLine(options, arguments), prepareHome(simulator, options)) {}

test::Subprocess::Environment BenchProgram::prepareHome(const exsim::Simulator& simulator, const Options& options) {
  home_.write("config/Pricora/Pricora.conf", simulator.settingsText());
  home_.write("resources/Experimental.plist",
              "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>refreshFrequency</key><string>" +
                  std::to_string(options.intervalSeconds) + "</string></dict></plist>");
  test::Subprocess::Environment variables = {{"XDG_CONFIG_HOME", home_.file("config")},
                                             {"XDG_DATA_HOME", home_.file("data")},
                                             {"PRICORA_RESOURCES", home_.file("resources")},
                                             {"HOME", home_.file("home")},
                                             {"DISPLAY", std::nullopt},
                                             {"WAYLAND_DISPLAY", std::nullopt}};
  if (options.reportStalls) variables["PRICORA_REPORT_STALLS"] = "1";
  for (const auto& [name, value] : options.environment) variables[name] = value;
  for (const std::string& alert : options.alerts)
    test::Subprocess({options.binary, "--alert", alert}, variables).wait(std::chrono::seconds(30));
  return variables;
}

double peakMiB(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

}  // namespace pricora::bench
