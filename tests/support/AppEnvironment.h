#pragma once

#include <string>

#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace pricora::test {

// A home of its own for a pricora process started by a test: its settings, store and autostart
// folder live in a temporary folder, no display is visible, and every exchange points at a
// closed loopback port unless the test gives addresses.
class AppEnvironment {
 public:
  AppEnvironment();
  // Replaces the settings file's text (INI, as QSettings writes it).
  void writeSettings(const std::string& text) const;
  const Subprocess::Environment& variables() const { return variables_; }
  std::string configFile() const;
  std::string storeFolder() const;
  const TempDir& dir() const { return dir_; }

  static std::string closedExchanges();

 private:
  TempDir dir_;
  Subprocess::Environment variables_;
};

}  // namespace pricora::test
