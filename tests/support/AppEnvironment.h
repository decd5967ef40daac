#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace pricora::test {

// A home of its own for a program started by a test: its settings, store and autostart folder
// live in a temporary folder, no display is visible, and every exchange points at a closed
// loopback port unless the test gives addresses.
class AppEnvironment {
 public:
  // Variables set on top of the test's own environment; one mapped to none is removed.
  using Variables = std::map<std::string, std::optional<std::string>>;
  struct Ended {
    std::optional<int> status;  // none when it had to be killed
    std::string output, errors;
  };

  AppEnvironment();
  // Replaces the settings file's text (INI, as QSettings writes it).
  void writeSettings(const std::string& text) const;
  // The variables a test passes to a process it drives itself (see Subprocess).
  const Variables& variables() const { return variables_; }
  std::string storeFolder() const { return dir_.file("data/com.apple.toolsQA.CocoaApp_CD"); }
  const TempDir& dir() const { return dir_; }

  // Runs arguments in this home to their end. After `seconds` the program is sent `signal`
  // (and killed five seconds later should it still run).
  Ended run(const std::vector<std::string>& arguments, const Variables& extra = {}, int seconds = 60,
            const std::string& signal = "KILL") const;

  static std::string closedExchanges();
  // A file's bytes; empty when it cannot be read.
  static std::string contents(const std::string& path);

 private:
  TempDir dir_;
  Variables variables_;
};

}  // namespace pricora::test
