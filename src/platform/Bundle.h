#pragma once

#include <optional>
#include <string>

namespace pricora {

// The application's installed resources and version.
class Bundle {
 public:
  virtual ~Bundle() = default;
  // The path of resource name.type when the application has it.
  virtual std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const = 0;
  // The version shown to the user, such as "1.0.0".
  virtual std::string shortVersionString() const = 0;
};

}  // namespace pricora
