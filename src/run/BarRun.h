#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>
#include <string>

#include "core/app/AppDelegate.h"
#include "core/bar/BarLine.h"
#include "model/Menu.h"
#include "model/StatusBar.h"
#include "platform/Clock.h"
#include "platform/LoginItems.h"
#include "qt/HeadlessHost.h"
#include "run/BarOutput.h"

namespace pricora {

// Runs the application for a text bar: writes one line in the bar's format to outputFd whenever
// what the price items show or the refresh state changes, at most one line a turn of the event
// loop and never the same line twice in a row. Once the output is gone (the bar closed its end
// of the pipe) the application quits with status 0 instead of writing into nothing. showChange:
// the items' changes over the last day show as classes, arrows and colours. showHoldings: the
// holdings' totals follow the prices.
class BarRun final : public QObject, public MenuObserver, public StatusBarObserver {
 public:
  BarRun(AppDelegate& delegate, StatusBar& statusBar, const Clock& clock, HeadlessHost& host, BarFormat format,
         int outputFd, bool showChange = true, bool showHoldings = false);
  ~BarRun() override;

  // A refresh at once (SIGUSR1, which the bar's click sends); ignored until the application has
  // started its first one. The click also acknowledges the alerts that fired: their mark goes.
  void refreshNow();

 private:
  void menuChanged(Menu& menu) override;
  void statusItemAdded(const StatusItemRef&) override { schedule(); }
  void statusItemRemoved(const StatusItemRef&) override { schedule(); }
  void statusItemChanged(StatusItem&) override { schedule(); }

  void schedule();
  void writeLine();
  BarState state();
  // Writes what waits for as long as the output takes it; then waits to be writable again.
  void flush();
  // What the output said to a write: go on, wait until it is writable, or end.
  void handle(int written);
  // Stops writing and quits.
  void outputGone();

  AppDelegate& delegate_;
  StatusBar& statusBar_;
  const Clock& clock_;
  HeadlessHost& host_;
  BarFormat format_;
  BarOutput output_;
  bool showChange_;
  bool showHoldings_;
  WallTime started_;
  std::string lastLine_;
  bool scheduled_ = false;
  bool gone_ = false;
  QTimer staleTimer_;
  std::unique_ptr<QSocketNotifier> hangUp_;
  std::unique_ptr<QSocketNotifier> writable_;
};

// Login items belong to the tray application; the bar beside it leaves them as they are.
class LeftAloneLoginItems final : public LoginItems {
 public:
  bool setEnabled(const std::string&, bool) override { return true; }
};

}  // namespace pricora
