#include "support/AppEnvironment.h"

namespace pricora::test {

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
  for (const char* name : {"Wex", "Bitfinex", "Kraken", "Bitstamp", "OKCoin", "OKCoinCNY", "Poloniex", "CoinFloor", "GDAX"})
    text += std::string(name) + "=http://127.0.0.1:9\n";
  return text;
}

void AppEnvironment::writeSettings(const std::string& text) const { dir_.write("config/Pricora/Pricora.conf", text); }

std::string AppEnvironment::configFile() const { return dir_.file("config/Pricora/Pricora.conf"); }

std::string AppEnvironment::storeFolder() const { return dir_.file("data/com.apple.toolsQA.CocoaApp_CD"); }

}  // namespace pricora::test
