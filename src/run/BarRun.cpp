#include "run/BarRun.h"

#include <QCoreApplication>

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <utility>

#include "core/app/RefreshState.h"
#include "core/bar/BarView.h"

namespace pricora {

BarRun::BarRun(AppDelegate& delegate, StatusBar& statusBar, const Clock& clock, HeadlessHost& host, BarFormat format,
               int outputFd, bool showChange, bool showHoldings)
    : delegate_(delegate),
      statusBar_(statusBar),
      clock_(clock),
      host_(host),
      format_(format),
      output_(outputFd),
      showChange_(showChange),
      showHoldings_(showHoldings),
      started_(clock.now()) {
  // A closed pipe must come back as an error from write(), not end the process by a signal.
  std::signal(SIGPIPE, SIG_IGN);
  // The run ends when the bar goes away or a signal says so; both are how a bar stops it.
  host_.setExitStatus(0);
  host_.setPrintToStandardError(true);
  delegate_.state().statusMenu->addObserver(this);
  statusBar_.addObserver(this);
  staleTimer_.setSingleShot(true);
  staleTimer_.setTimerType(Qt::PreciseTimer);
  connect(&staleTimer_, &QTimer::timeout, this, [this] { schedule(); });

  // A bar that quits closes its end of the pipe. Waiting for the next write to notice could take
  // a whole refresh interval, so the pipe's error state is watched as well. Only pipes and
  // sockets report it; a terminal or a file would report mere readability.
  if (output_.isChannel()) {
    // A bar that stops reading (frozen, or paused by its window manager) must not stop the event
    // loop in write(): refreshes, the hang-up watch and SIGTERM all run on it. What the pipe does
    // not take waits, as the rest of one line and the newest line after it.
    writable_ = std::make_unique<QSocketNotifier>(outputFd, QSocketNotifier::Write);
    writable_->setEnabled(false);
    connect(writable_.get(), &QSocketNotifier::activated, this, [this] { flush(); });
    hangUp_ = std::make_unique<QSocketNotifier>(outputFd, QSocketNotifier::Read);
    connect(hangUp_.get(), &QSocketNotifier::activated, this, [this, outputFd] {
      pollfd probe{outputFd, 0, 0};
      if (poll(&probe, 1, 0) == 1 && (probe.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
        outputGone();
      else
        hangUp_->setEnabled(false);  // readable but open: a socket someone writes into
    });
  }
}

BarRun::~BarRun() {
  delegate_.state().statusMenu->removeObserver(this);
  statusBar_.removeObserver(this);
}

void BarRun::refreshNow() {
  if (gone_) return;
  for (const StatusPair& pair : delegate_.priceItems().statusPairs()) pair.item->setNeedsAttention(false);
  delegate_.refreshIfIdle();
}

void BarRun::menuChanged(Menu&) { schedule(); }

void BarRun::schedule() {
  if (scheduled_ || gone_) return;
  scheduled_ = true;
  // A refresh changes many items in a row; one line for all of them.
  QMetaObject::invokeMethod(
      this, [this] { writeLine(); }, Qt::QueuedConnection);
}

BarState BarRun::state() {
  const AppState& app = delegate_.state();
  const WallTime stale = staleAt(app.updateDate, started_, app.refreshFrequency);
  const WallTime now = clock_.now();
  if (now > stale) return BarState::stale;
  // Come back when the prices turn stale, should nothing else happen before.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(stale - now) + std::chrono::milliseconds(1);
  staleTimer_.start(static_cast<int>(std::min<std::chrono::milliseconds::rep>(wait.count(), 24 * 3600 * 1000)));
  return lastRefreshCompleted(*app.statusMenu) ? BarState::ok : BarState::updating;
}

void BarRun::writeLine() {
  scheduled_ = false;
  if (gone_) return;
  const StatusItemRef& application = delegate_.state().statusItem;
  const std::string line = barLine(format_, {barItems(delegate_.priceItems().statusPairs()), state(), showChange_,
                                             application ? application->holding() : std::string(), showHoldings_});
  if (line == lastLine_) return;
  lastLine_ = line;
  handle(output_.offer(line));
}

void BarRun::flush() { handle(output_.flush()); }

void BarRun::handle(int written) {
  if (written == 0 || written == EAGAIN) {
    if (writable_) writable_->setEnabled(written == EAGAIN);
    return;
  }
  if (written != EPIPE) {
    host_.log(QCoreApplication::translate("BarRun", "pricora: cannot write to the bar: %1")
                  .arg(QString::fromLocal8Bit(std::strerror(written)))
                  .toStdString());
    host_.setExitStatus(1);
  }
  outputGone();
}

void BarRun::outputGone() {
  if (gone_) return;
  gone_ = true;
  staleTimer_.stop();
  if (hangUp_) hangUp_->setEnabled(false);
  if (writable_) writable_->setEnabled(false);
  delegate_.terminateWithoutAsking();
}

}  // namespace pricora
