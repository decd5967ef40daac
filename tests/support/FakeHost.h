#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/AppHost.h"
#include "platform/Bundle.h"
#include "platform/Settings.h"
#include "platform/UrlOpener.h"
#include "platform/menu/StatusBar.h"

namespace pricora::test {

// The application object, recording what the application shows and answering as scripted.
class FakeHost final : public AppHost, public TextMetrics, public UrlOpener {
 public:
  bool presentError(const Error& error) override;
  std::size_t runModal(const Alert& alert) override;
  std::string localizedString(const std::string& key, const std::string& comment) override;
  void log(const std::string& line) override { logLines.push_back(line); }
  void printLine(const std::string& line) override { printedLines.push_back(line); }
  void activateIgnoringOtherApps() override { ++activations; }
  void quit() override { ++quits; }
  // Six points a character of the longest line.
  double width(const AttributedTitle& title) const override;
  void openURL(const std::string& url) override { openedUrls.push_back(url); }

  std::vector<Error> presentedErrors;
  bool errorsResolved = false;
  std::vector<Alert> alerts;
  std::size_t alertAnswer = 0;
  std::vector<std::string> localizedKeys;
  std::vector<std::string> logLines;
  std::vector<std::string> printedLines;
  std::vector<std::string> openedUrls;
  int activations = 0;
  int quits = 0;
};

class FakeSettings final : public Settings {
 public:
  std::optional<std::string> stringForKey(const std::string& key) const override;
  bool boolForKey(const std::string& key) const override;
  void setBool(const std::string& key, bool value) override { values[key] = value ? "true" : "false"; }

  std::map<std::string, std::string> values;
};

// Resources in a folder of the test's choosing.
class FakeBundle final : public Bundle {
 public:
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const override;
  std::string shortVersionString() const override { return version; }

  std::string folder;  // empty: no resources at all
  std::string version = "9.8.7";
};

}  // namespace pricora::test
