#include "support/AppEnvironment.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace pricora::test {

namespace {

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

std::string AppEnvironment::contents(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

AppEnvironment::AppEnvironment() {
  variables_ = {{"HOME", dir_.file("home")},
                {"XDG_CONFIG_HOME", dir_.file("config")},
                {"XDG_DATA_HOME", dir_.file("data")},
                {"XDG_RUNTIME_DIR", std::nullopt},
                {"DISPLAY", std::nullopt},
                {"WAYLAND_DISPLAY", std::nullopt},
                {"QT_QPA_PLATFORM", std::nullopt},
                {"LANGUAGE", std::nullopt},
                {"LC_ALL", "C.UTF-8"}};
  writeSettings(closedExchanges());
}

std::string AppEnvironment::closedExchanges() {
  // Port 9 (discard) is closed on loopback: every request fails at once, nothing leaves the host.
  std::string text = "[api]\n";
  for (const char* name :
       {"Wex", "Bitfinex", "Kraken", "Bitstamp", "OKCoin", "OKCoinCNY", "Poloniex", "CoinFloor", "GDAX"})
    text += std::string(name) + "=http://127.0.0.1:9\n";
  return text;
}

void AppEnvironment::writeSettings(const std::string& text) const { dir_.write("config/Pricora/Pricora.conf", text); }

AppEnvironment::Ended AppEnvironment::run(const std::vector<std::string>& arguments, const Variables& extra,
                                          int seconds, const std::string& signal) const {
  Variables variables = variables_;
  for (const auto& [name, value] : extra) variables[name] = value;
  std::string command = "env", assignments;
  for (const auto& [name, value] : variables)
    value ? assignments += " " + name + "=" + quoted(*value) : command += " -u " + name;
  command += assignments;
  command += " timeout --preserve-status -k 5 -s " + signal + " " + std::to_string(seconds);
  for (const std::string& argument : arguments) command += " " + quoted(argument);
  const std::string out = dir_.file("stdout"), err = dir_.file("stderr");
  const int status = std::system((command + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
  Ended ended{std::nullopt, contents(out), contents(err)};
  // A program that ended by a signal (ours included) reports 128 and the signal's number.
  if (WIFEXITED(status) && WEXITSTATUS(status) < 128) ended.status = WEXITSTATUS(status);
  return ended;
}

}  // namespace pricora::test
