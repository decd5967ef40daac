#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <vector>

namespace pricora {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop, so that being told to stop
// (logging out, kill, Ctrl+C) goes through the same save as quitting from the menu.
class SignalWatcher final : public QObject {
 public:
  explicit SignalWatcher(std::function<void()> onSignal);
  // Turns the given signals (say SIGUSR1) into calls of onSignal instead; each signal number is
  // watched by one watcher at a time.
  SignalWatcher(std::vector<int> signals, std::function<void()> onSignal);
  ~SignalWatcher() override;

 private:
  std::vector<int> signals_;
  std::function<void()> onSignal_;
  int fds_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace pricora
