#include "qt/SignalWatcher.h"

#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

namespace pricora {

namespace {

// A signal handler can reach nothing but a global: the write end of the watcher's socket pair.
int signalWriteFd = -1;

void forward(int number) {
  const char byte = static_cast<char>(number);
  [[maybe_unused]] const ssize_t ignored = write(signalWriteFd, &byte, 1);
}

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

}  // namespace

SignalWatcher::SignalWatcher(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds_) != 0) return;
  signalWriteFd = fds_[0];
  notifier_ = std::make_unique<QSocketNotifier>(fds_[1], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (read(fds_[1], bytes, sizeof bytes) > 0) {
    }
    onSignal_();
  });
  struct sigaction action{};
  action.sa_handler = forward;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : kSignals) sigaction(number, &action, nullptr);
}

SignalWatcher::~SignalWatcher() {
  for (int number : kSignals) std::signal(number, SIG_DFL);
  signalWriteFd = -1;
  notifier_.reset();
  for (int fd : fds_)
    if (fd >= 0) close(fd);
}

}  // namespace pricora
