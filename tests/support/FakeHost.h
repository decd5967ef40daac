#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/AppHost.h"
#include "platform/Bundle.h"
#include "platform/LoginItems.h"
#include "platform/ManageWindow.h"
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
  std::function<void()> whileAlertShows;  // runs inside runModal, as events do during a modal
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

// Login items in memory; registration can be made to fail.
class FakeLoginItems final : public LoginItems {
 public:
  bool setEnabled(const std::string& identifier, bool enabled) override;
  std::map<std::string, bool> registered;
  std::vector<bool> calls;
  bool fail = false;
};

// The management window without a screen: the selected segment is the test's, and the rows are
// read from the delegate at every reload, as the real table does.
class FakeManageWindow final : public ManageWindow {
 public:
  void setDelegate(ManageWindowDelegate* newDelegate) override { delegate = newDelegate; }
  std::optional<std::string> selectedSegmentLabel() const override { return selected; }
  void reloadData() override;
  void makeKeyAndOrderFront() override { ++shown; }
  void setDarkTableAppearance() override { dark = true; }
  void setFloating() override { floating = true; }

  ManageWindowDelegate* delegate = nullptr;
  std::optional<std::string> selected = "Wex";
  std::vector<ManageRow> rows;  // as of the last reload
  int reloads = 0;
  int shown = 0;
  bool dark = false;
  bool floating = false;
};

}  // namespace pricora::test
