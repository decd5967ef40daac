#include "run/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "qt/CoreTranslation.h"
#include "run/ApplicationBus.h"

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

bool SingleInstance::retake() {
  auto acquired = StoreLock::acquire(lockPath(folder_));
  if (auto* holder = std::get_if<LockHolder>(&acquired)) {
    holder_ = *holder;
    return false;
  }
  if (auto* lock = std::get_if<StoreLock>(&acquired)) lock_.emplace(std::move(*lock));
  // A lock that cannot be used at all leaves the start to the store, as at the first try.
  holder_.reset();
  return true;
}

std::optional<int> SingleInstance::handOverToRunningCopy(const std::optional<std::string>& chart) {
  // Lock and bus name change hands at moments of their own: the lock before the store opens (which
  // may show a dialog) and the name after, the name first at quit. Both are looked at again and
  // again, the bus name as soon as it changes hands.
  constexpr int kLookAgainMs = 100;
  const QDeadlineTimer deadline(kHandOverWait);
  ApplicationBusWatch busName;
  bool toldWaiting = false;
  for (;;) {
    const long pid = holder_->pid;
    if (activateRunningCopy(pid, static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)), chart)) {
      say(chart
              ? QCoreApplication::translate("CommandLine", "pricora: already running (pid %1); showing the chart of %2")
                    .arg(pidText(pid), QString::fromStdString(*chart))
              : QCoreApplication::translate("CommandLine",
                                            "pricora: already running (pid %1); showing its Manage window")
                    .arg(pidText(pid)));
      return 0;
    }
    if (retake()) return std::nullopt;
    if (deadline.hasExpired()) break;
    if (!std::exchange(toldWaiting, true))
      say(QCoreApplication::translate("CommandLine", "pricora: waiting for the Pricora that holds the store (pid %1)")
              .arg(pidText(holder_->pid)));
    busName.waitForChange(std::min<qint64>(kLookAgainMs, deadline.remainingTime()));
  }
  say(QCoreApplication::translate(
          "CommandLine", "pricora: already running (pid %1) but not answering; choose Manage from its tray icon's menu")
          .arg(pidText(holder_->pid)));
  return 1;
}

}  // namespace pricora
