#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/StatusBar.h"
#include "platform/AppHost.h"
#include "platform/Bundle.h"
#include "platform/LoginItems.h"
#include "platform/ManageWindow.h"
#include "platform/Settings.h"
#include "platform/UrlOpener.h"

namespace pricora::test {

// The application object, recording what the application shows and answering as scripted.
class FakeHost final : public AppHost, public TextMetrics, public UrlOpener {
 public:
  bool presentError(const Error& error) override {
    presentedErrors.push_back(error);
    return errorsResolved;
  }
  std::size_t runModal(const Alert& alert) override {
    alerts.push_back(alert);
    if (whileAlertShows) whileAlertShows();
    return alertAnswer;
  }
  std::string localizedString(const std::string& key, const std::string&) override {
    localizedKeys.push_back(key);
    return key;
  }
  void log(const std::string& line) override { logLines.push_back(line); }
  void printLine(const std::string& line) override { printedLines.push_back(line); }
  void activateIgnoringOtherApps() override { ++activations; }
  void quit() override { ++quits; }
  // Six points a character of the longest line.
  double width(const AttributedTitle& title) const override {
    std::size_t longest = 0, start = 0;
    for (std::size_t end; (end = title.text.find('\n', start)) != std::string::npos; start = end + 1)
      longest = std::max(longest, end - start);
    return 6.0 * static_cast<double>(std::max(longest, title.text.size() - start));
  }
  void openURL(const std::string& url) override { openedUrls.push_back(url); }

  std::vector<Error> presentedErrors;
  bool errorsResolved = false;
  std::vector<Alert> alerts;
  std::size_t alertAnswer = 0;
  std::function<void()> whileAlertShows;  // runs inside runModal, as events do during a modal
  std::vector<std::string> localizedKeys, logLines, printedLines, openedUrls;
  int activations = 0;
  int quits = 0;
};

class FakeSettings final : public Settings {
 public:
  std::optional<std::string> stringForKey(const std::string& key) const override {
    return values.count(key) ? std::optional(values.at(key)) : std::nullopt;
  }
  bool boolForKey(const std::string& key) const override { return stringForKey(key) == "true"; }
  void setBool(const std::string& key, bool value) override { values[key] = value ? "true" : "false"; }

  std::map<std::string, std::string> values;
};

// Resources in a folder of the test's choosing; none at all while it is empty.
class FakeBundle final : public Bundle {
 public:
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const override {
    const std::string path = folder + "/" + name + "." + type;
    return !folder.empty() && std::filesystem::is_regular_file(path) ? std::optional(path) : std::nullopt;
  }
  std::string shortVersionString() const override { return "9.8.7"; }

  std::string folder;
};

// Login items in memory; registration can be made to fail.
class FakeLoginItems final : public LoginItems {
 public:
  bool setEnabled(const std::string& identifier, bool enabled) override {
    if (!fail) registered[identifier] = enabled;
    return !fail;
  }
  std::map<std::string, bool> registered;
  bool fail = false;
};

// The management window without a screen: the selected segment is the test's, and the rows are
// read from the delegate at every reload, as the real table does.
class FakeManageWindow final : public ManageWindow {
 public:
  void setDelegate(ManageWindowDelegate* newDelegate) override { delegate = newDelegate; }
  std::optional<std::string> selectedSegmentLabel() const override { return selected; }
  void reloadData() override {
    ++reloads;
    rows.clear();
    for (std::size_t i = 0; delegate != nullptr && i < delegate->numberOfRows(); ++i) rows.push_back(delegate->row(i));
  }
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
