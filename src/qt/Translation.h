#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

namespace pricora {

// The program's texts in the user's language while the object lives: translations/pricora_<language>.qm
// from the resources folder, chosen by the locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG). English
// when none matches. The status menu's own texts are never translated: the program reads its
// "Updated: " entry back, and scripts read the headless dump.
class Translation {
 public:
  Translation(QCoreApplication& app, const QString& resourcesFolder);
  ~Translation();
  Translation(const Translation&) = delete;
  Translation& operator=(const Translation&) = delete;

 private:
  QTranslator translator_;
  bool installed_ = false;
};

}  // namespace pricora
