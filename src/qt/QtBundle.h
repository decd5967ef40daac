#pragma once

#include <QString>

#include "platform/Bundle.h"

namespace pricora {

// The application's icon in the desktop's icon theme, as the package installs it.
inline constexpr const char* kApplicationIcon = "example.pricora.Pricora";

// The resources folder: $PRICORA_RESOURCES when set, else share/pricora beside the program's
// bin folder, which is where both the build tree and an installation put them.
class QtBundle final : public Bundle {
 public:
  QtBundle();
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const override;
  std::string shortVersionString() const override;
  const QString& resourcesFolder() const { return folder_; }

 private:
  QString folder_;
};

}  // namespace pricora
