#include "qt/QtSettings.h"

#include <QStandardPaths>

namespace pricora {

QString QtSettings::defaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Pricora/Pricora.conf";
}

QtSettings::QtSettings() : QtSettings(defaultPath()) {}

QtSettings::QtSettings(const QString& path) : settings_(path, QSettings::IniFormat) {}

std::optional<std::string> QtSettings::stringForKey(const std::string& key) const {
  const QVariant value = settings_.value(QString::fromStdString(key));
  if (!value.isValid()) return std::nullopt;
  return value.toString().toStdString();
}

bool QtSettings::boolForKey(const std::string& key) const {
  return settings_.value(QString::fromStdString(key), false).toBool();
}

void QtSettings::setBool(const std::string& key, bool value) {
  settings_.setValue(QString::fromStdString(key), value);
  settings_.sync();
}

}  // namespace pricora
