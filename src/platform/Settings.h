#pragma once

#include <optional>
#include <string>

namespace pricora {

// The user's settings file.
class Settings {
 public:
  virtual ~Settings() = default;
  virtual std::optional<std::string> stringForKey(const std::string& key) const = 0;
  // False when absent.
  virtual bool boolForKey(const std::string& key) const = 0;
  virtual void setBool(const std::string& key, bool value) = 0;
};

}  // namespace pricora
