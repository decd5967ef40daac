#pragma once

#include <QSettings>

#include "platform/Settings.h"

namespace pricora {

// Settings in $XDG_CONFIG_HOME/Pricora/Pricora.conf (INI; ~/.config when the variable is unset).
class QtSettings final : public Settings {
 public:
  QtSettings();
  explicit QtSettings(const QString& path);
  std::optional<std::string> stringForKey(const std::string& key) const override;
  bool boolForKey(const std::string& key) const override;
  void setBool(const std::string& key, bool value) override;

  static QString defaultPath();

 private:
  mutable QSettings settings_;
};

}  // namespace pricora
