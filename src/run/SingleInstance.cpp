#include "run/SingleInstance.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

#include "run/ApplicationBus.h"
#include "qt/CoreTranslation.h"

namespace pricora {

namespace {

void say(const QString& line) {
  std::fprintf(stderr, "%s\n", line.toUtf8().constData());
  std::fflush(stderr);
}

QString pidText(long pid) { return pid > 0 ? QString::number(pid) : QStringLiteral("?"); }

}  // namespace

SingleInstance::SingleInstance(const std::string& storeFolder) : folder_(storeFolder) {
  auto acquired = StoreLock::acquire(lockPath(storeFolder));
  if (auto* lock = std::get_if<StoreLock>(&acquired)) {
    lock_.emplace(std::move(*lock));
  } else if (auto* holder = std::get_if<LockHolder>(&acquired)) {
    holder_ = *holder;
  } else {
    const Error error = translatedError(std::get<Error>(acquired));
    say(QCoreApplication::translate("CommandLine", "pricora: %1 %2; a second copy on this store would not be noticed")
            .arg(QString::fromStdString(error.description), QString::fromStdString(error.userInfo)));
  }
}

int SingleInstance::refuseHeadless() const {
  say(QCoreApplication::translate("CommandLine", "pricora: the store in %1 is in use by another Pricora (pid %2)")
          .arg(QString::fromStdString(folder_), pidText(holder_->pid)));
  return 1;
}

int SingleInstance::handOverToRunningCopy() const {
  if (activateRunningCopy(holder_->pid)) {
    say(QCoreApplication::translate("CommandLine", "pricora: already running (pid %1); showing its Manage window")
            .arg(pidText(holder_->pid)));
    return 0;
  }
  say(QCoreApplication::translate(
          "CommandLine", "pricora: already running (pid %1) but not answering; choose Manage from its tray icon's menu")
          .arg(pidText(holder_->pid)));
  return 1;
}

}  // namespace pricora
