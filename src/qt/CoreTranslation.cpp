#include "qt/CoreTranslation.h"

#include <QCoreApplication>

namespace pricora {

namespace {

// Listed for lupdate: the core asks for them by these keys and comments.
[[maybe_unused]] constexpr const char* kQuitAlertTexts[][2] = {
    QT_TRANSLATE_NOOP3("AppDelegate", "Could not save changes while quitting. Quit anyway?",
                       "Quit without saves error question message"),
    QT_TRANSLATE_NOOP3("AppDelegate", "Quitting now will lose any changes you have made since the last successful save",
                       "Quit without saves error question info"),
    QT_TRANSLATE_NOOP3("AppDelegate", "Quit anyway", "Quit anyway button title"),
    QT_TRANSLATE_NOOP3("AppDelegate", "Cancel", "Cancel button title"),
};

// The sentences of the store's and the history file's errors, as they and the lock write them;
// %1 is the path.
constexpr const char* kStoreErrors[] = {
    QT_TRANSLATE_NOOP("StoreError", "The folder “%1” for Pricora’s data could not be read."),
    QT_TRANSLATE_NOOP("StoreError", "The file “%1” is not a Pricora pair store."),
    QT_TRANSLATE_NOOP("StoreError", "The pair store “%1” is damaged."),
    QT_TRANSLATE_NOOP("StoreError", "The pair store “%1” could not be opened because another program is using it."),
    QT_TRANSLATE_NOOP("StoreError", "The pair store “%1” could not be opened because its folder is read-only."),
    QT_TRANSLATE_NOOP("StoreError", "The pair store “%1” could not be opened because it is read-only."),
    QT_TRANSLATE_NOOP("StoreError", "The pair store “%1” could not be opened because it is a folder."),
    QT_TRANSLATE_NOOP("StoreError", "The pair store “%1” could not be opened because its folder does not exist."),
    QT_TRANSLATE_NOOP("StoreError", "The pair store “%1” could not be opened."),
    QT_TRANSLATE_NOOP("StoreError", "The pair store “%1” was written by a newer version of Pricora."),
    QT_TRANSLATE_NOOP("StoreError", "Pricora could not read the pair store “%1”."),
    QT_TRANSLATE_NOOP("StoreError", "Pricora could not save your changes to “%1”."),
    QT_TRANSLATE_NOOP("StoreError", "The lock file “%1” could not be used."),
    QT_TRANSLATE_NOOP("StoreError", "The file “%1” is not a Pricora history file."),
    QT_TRANSLATE_NOOP("StoreError", "The history file “%1” is damaged."),
    QT_TRANSLATE_NOOP("StoreError", "The history file “%1” could not be opened."),
    QT_TRANSLATE_NOOP("StoreError", "The history file “%1” was written by a newer version of Pricora."),
    QT_TRANSLATE_NOOP("StoreError", "Pricora could not read the history file “%1”."),
    QT_TRANSLATE_NOOP("StoreError", "Pricora could not save the alerts to “%1”."),
    QT_TRANSLATE_NOOP("StoreError", "Pricora could not record the prices in “%1”."),
};

}  // namespace

QString translatedCoreText(const std::string& key, const std::string& comment) {
  return QCoreApplication::translate("AppDelegate", key.c_str(), comment.c_str());
}

Error translatedError(const Error& error) {
  const QString description = QString::fromStdString(error.description);
  for (const char* sentence : kStoreErrors) {
    const QString english = QString::fromUtf8(sentence);
    const qsizetype slot = english.indexOf("%1");
    const QString before = english.left(slot), after = english.mid(slot + 2);
    if (description.size() < before.size() + after.size() || !description.startsWith(before) ||
        !description.endsWith(after))
      continue;
    const QString path = description.mid(before.size(), description.size() - before.size() - after.size());
    return {QCoreApplication::translate("StoreError", sentence).arg(path).toStdString(), error.userInfo};
  }
  return error;
}

}  // namespace pricora
