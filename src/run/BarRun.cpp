#include "run/BarRun.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <utility>

#include "core/app/RefreshState.h"
#include "core/bar/BarView.h"

namespace pricora {

namespace {

// Prices older than this many refresh intervals are shown as stale.
constexpr double kStaleIntervals = 3.0;

}  // namespace

BarRun::BarRun(AppDelegate& delegate, StatusBar& statusBar, const Clock& clock, HeadlessHost& host, BarFormat format,
               int outputFd, bool showChange)
    : delegate_(delegate),
      statusBar_(statusBar),
      clock_(clock),
      host_(host),
      format_(format),
      outputFd_(outputFd),
      showChange_(showChange),
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
  struct stat info {};
  if (fstat(outputFd_, &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))) {
    // A bar that stops reading (frozen, or paused by its window manager) must not stop the event
    // loop in write(): refreshes, the hang-up watch and SIGTERM all run on it. What the pipe does
    // not take waits, as the rest of one line and the newest line after it.
    if (const int flags = fcntl(outputFd_, F_GETFL); flags >= 0) fcntl(outputFd_, F_SETFL, flags | O_NONBLOCK);
    writable_ = std::make_unique<QSocketNotifier>(outputFd_, QSocketNotifier::Write);
    writable_->setEnabled(false);
    connect(writable_.get(), &QSocketNotifier::activated, this, [this] { flush(); });
    hangUp_ = std::make_unique<QSocketNotifier>(outputFd_, QSocketNotifier::Read);
    connect(hangUp_.get(), &QSocketNotifier::activated, this, [this] {
      pollfd probe{outputFd_, 0, 0};
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
  const auto staleAfter = std::chrono::duration_cast<WallTime::duration>(
      std::chrono::duration<double>(kStaleIntervals * app.refreshFrequency));
  const WallTime staleAt = app.updateDate.value_or(started_) + staleAfter;
  const WallTime now = clock_.now();
  if (now > staleAt) return BarState::stale;
  // Come back when the prices turn stale, should nothing else happen before.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(staleAt - now) + std::chrono::milliseconds(1);
  staleTimer_.start(static_cast<int>(std::min<std::chrono::milliseconds::rep>(wait.count(), 24 * 3600 * 1000)));
  return lastRefreshCompleted(*app.statusMenu) ? BarState::ok : BarState::updating;
}

void BarRun::writeLine() {
  scheduled_ = false;
  if (gone_) return;
  const std::string line = barLine(format_, {barItems(delegate_.priceItems().statusPairs()), state(), showChange_});
  if (line == lastLine_) return;
  lastLine_ = line;
  // A line the bar has begun to take is finished first; of those waiting, only the newest.
  (unsent_.empty() ? unsent_ : next_) = line;
  flush();
}

void BarRun::flush() {
  while (!unsent_.empty()) {
    const ssize_t n = write(outputFd_, unsent_.data(), unsent_.size());
    if (n > 0) {
      unsent_.erase(0, static_cast<std::size_t>(n));
      if (unsent_.empty()) unsent_ = std::exchange(next_, {});
      continue;
    }
    const int error = n == 0 ? EIO : errno;
    if (error == EINTR) continue;
    if (error == EAGAIN || error == EWOULDBLOCK) {
      if (writable_) writable_->setEnabled(true);
      return;
    }
    if (error != EPIPE) {
      host_.log(std::string("pricora: cannot write to the bar: ") + std::strerror(error));
      host_.setExitStatus(1);
    }
    outputGone();
    return;
  }
  if (writable_) writable_->setEnabled(false);
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
