#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
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
  // watched by one watcher at a time. Going, it gives each signal back what it had before.
  SignalWatcher(std::vector<int> signals, std::function<void()> onSignal);
  ~SignalWatcher() override;

 private:
  std::vector<int> signals_;
  std::vector<struct sigaction> before_;
  std::function<void()> onSignal_;
  int fds_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};

// Makes the signals do nothing from now on, until a watcher takes them (and again once it has
// gone): for signals that must never end the program, however early or late they come. A bar's
// click sends SIGUSR1 whenever the user likes, start-up and shutdown included. The handler does
// nothing; unlike an ignored signal, it does not pass on to programs started from here.
void disarmSignals(const std::vector<int>& signals);

}  // namespace pricora
