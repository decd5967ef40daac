#include "support/FakeHost.h"

#include <algorithm>
#include <filesystem>

namespace pricora::test {

bool FakeHost::presentError(const Error& error) {
  presentedErrors.push_back(error);
  return errorsResolved;
}

std::size_t FakeHost::runModal(const Alert& alert) {
  alerts.push_back(alert);
  if (whileAlertShows) whileAlertShows();
  return alertAnswer;
}

std::string FakeHost::localizedString(const std::string& key, const std::string&) {
  localizedKeys.push_back(key);
  return key;
}

double FakeHost::width(const AttributedTitle& title) const {
  std::size_t longest = 0, current = 0;
  for (char c : title.text) {
    if (c == '\n') {
      longest = std::max(longest, current);
      current = 0;
    } else {
      ++current;
    }
  }
  return 6.0 * static_cast<double>(std::max(longest, current));
}

std::optional<std::string> FakeSettings::stringForKey(const std::string& key) const {
  auto it = values.find(key);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

bool FakeSettings::boolForKey(const std::string& key) const {
  auto it = values.find(key);
  return it != values.end() && it->second == "true";
}

std::optional<std::string> FakeBundle::pathForResource(const std::string& name, const std::string& type) const {
  if (folder.empty()) return std::nullopt;
  const std::string path = folder + "/" + name + "." + type;
  if (!std::filesystem::is_regular_file(path)) return std::nullopt;
  return path;
}

bool FakeLoginItems::setEnabled(const std::string& identifier, bool enabled) {
  calls.push_back(enabled);
  if (fail) return false;
  registered[identifier] = enabled;
  return true;
}

void FakeManageWindow::reloadData() {
  ++reloads;
  rows.clear();
  if (delegate == nullptr) return;
  for (std::size_t i = 0; i < delegate->numberOfRows(); ++i) rows.push_back(delegate->row(i));
}

}  // namespace pricora::test
