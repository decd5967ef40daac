#pragma once

#include <QObject>
#include <QTimer>

#include <optional>
#include <string>

#include "core/app/AppDelegate.h"
#include "model/Menu.h"
#include "qt/HeadlessHost.h"

namespace pricora {

// Runs the application without a display until it has completed the wanted number of
// refreshes (counted as the last entry turning into "Updated: ...") or the time-out passes,
// then writes the tray as JSON and quits through the application's own quit path.
class HeadlessRun final : public QObject, public MenuObserver {
 public:
  HeadlessRun(AppDelegate& delegate, const StatusBar& statusBar, HeadlessHost& host, int refreshes, double timeout,
              std::optional<std::string> dumpPath);
  ~HeadlessRun() override;

 private:
  void menuChanged(Menu& menu) override;
  void finish(int exitStatus);

  AppDelegate& delegate_;
  const StatusBar& statusBar_;
  HeadlessHost& host_;
  int wanted_;
  std::optional<std::string> dumpPath_;
  QTimer timeout_;
  int completed_ = 0;
  bool wasUpdated_ = false;
  bool finished_ = false;
};

}  // namespace pricora
