#include "qt/Translation.h"

#include <QLocale>

namespace pricora {

Translation::Translation(QCoreApplication& app, const QString& resourcesFolder) {
  if (translator_.load(QLocale(), "pricora", "_", resourcesFolder + "/translations"))
    installed_ = app.installTranslator(&translator_);
}

Translation::~Translation() {
  if (installed_) QCoreApplication::removeTranslator(&translator_);
}

}  // namespace pricora
