#include "run/HeadlessRun.h"

#include <cstdio>
#include <fstream>

#include "core/app/RefreshState.h"
#include "formats/MenuDump.h"

namespace pricora {

HeadlessRun::HeadlessRun(AppDelegate& delegate, const StatusBar& statusBar, HeadlessHost& host, int refreshes,
                         double timeout, std::optional<std::string> dumpPath)
    : delegate_(delegate), statusBar_(statusBar), host_(host), wanted_(refreshes), dumpPath_(std::move(dumpPath)) {
  delegate_.state().statusMenu->addObserver(this);
  timeout_.setSingleShot(true);
  timeout_.setTimerType(Qt::PreciseTimer);
  connect(&timeout_, &QTimer::timeout, this, [this] { finish(2); });
  timeout_.start(static_cast<int>(timeout * 1000.0));
}

HeadlessRun::~HeadlessRun() { delegate_.state().statusMenu->removeObserver(this); }

void HeadlessRun::menuChanged(Menu& menu) {
  const bool updated = lastRefreshCompleted(menu);
  if (updated && !wasUpdated_) {
    // Observable from outside: scripts and tests wait for this line.
    std::fprintf(stderr, "pricora: refresh %d completed\n", ++completed_);
    std::fflush(stderr);
    // Let the work already queued for this refresh (hand-offs, late lines) land first.
    if (completed_ == wanted_)
      QMetaObject::invokeMethod(
          this, [this] { finish(0); }, Qt::QueuedConnection);
  }
  wasUpdated_ = updated;
}

void HeadlessRun::finish(int exitStatus) {
  if (finished_) return;
  finished_ = true;
  timeout_.stop();
  if (dumpPath_) {
    const std::string dump = dumpTray(statusBar_, *delegate_.state().statusMenu);
    bool written = false;
    if (*dumpPath_ == "-") {
      written = std::fwrite(dump.data(), 1, dump.size(), stdout) == dump.size() && std::fflush(stdout) == 0;
    } else {
      std::ofstream file(*dumpPath_, std::ios::binary | std::ios::trunc);
      file << dump;
      // The last of it reaches the file only as it closes: a full disk shows there.
      file.close();
      written = !file.fail();
    }
    if (!written) {
      std::fprintf(stderr, "pricora: could not write the dump to %s\n", dumpPath_->c_str());
      exitStatus = 1;
    }
  }
  host_.setExitStatus(exitStatus);
  MenuItem quitItem("Quit Pricora", MenuAction::terminate);
  delegate_.sendAction(MenuAction::terminate, quitItem);
}

}  // namespace pricora
