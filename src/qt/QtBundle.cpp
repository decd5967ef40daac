#include "qt/QtBundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace pricora {

QtBundle::QtBundle() {
  const QString configured = qEnvironmentVariable("PRICORA_RESOURCES");
  folder_ = !configured.isEmpty() ? configured
                                  : QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/pricora");
}

std::optional<std::string> QtBundle::pathForResource(const std::string& name, const std::string& type) const {
  const QString path = folder_ + "/" + QString::fromStdString(name) + "." + QString::fromStdString(type);
  if (!QFileInfo(path).isFile()) return std::nullopt;
  return path.toStdString();
}

std::string QtBundle::shortVersionString() const { return PRICORA_VERSION; }

}  // namespace pricora
