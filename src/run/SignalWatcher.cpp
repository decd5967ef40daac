#include "run/SignalWatcher.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace pricora {

namespace {

// A signal handler can reach nothing but a global: for each signal number, the write end of
// the socket pair of the watcher that watches it.
constexpr int kHighestSignal = 64;
volatile std::sig_atomic_t signalWriteFds[kHighestSignal + 1];

void forward(int number) {
  // The code the signal interrupted may be about to read errno.
  const int saved = errno;
  const char byte = static_cast<char>(number);
  [[maybe_unused]] const ssize_t ignored = write(signalWriteFds[number], &byte, 1);
  errno = saved;
}

void doNothing(int) {}

struct sigaction handledBy(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return action;
}

}  // namespace

void disarmSignals(const std::vector<int>& signals) {
  const struct sigaction action = handledBy(doNothing);
  for (int number : signals) sigaction(number, &action, nullptr);
}

SignalWatcher::SignalWatcher(std::function<void()> onSignal)
    : SignalWatcher({SIGTERM, SIGINT, SIGHUP}, std::move(onSignal)) {}

SignalWatcher::SignalWatcher(std::vector<int> signals, std::function<void()> onSignal)
    : signals_(std::move(signals)), onSignal_(std::move(onSignal)) {
  std::erase_if(signals_, [](int number) { return number <= 0 || number > kHighestSignal; });
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds_) != 0) return;
  for (int number : signals_) signalWriteFds[number] = fds_[0];
  notifier_ = std::make_unique<QSocketNotifier>(fds_[1], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (read(fds_[1], bytes, sizeof bytes) > 0) {
    }
    onSignal_();
  });
  const struct sigaction action = handledBy(forward);
  before_.resize(signals_.size());
  for (std::size_t i = 0; i < signals_.size(); ++i) sigaction(signals_[i], &action, &before_[i]);
}

SignalWatcher::~SignalWatcher() {
  for (std::size_t i = 0; i < before_.size(); ++i) {
    sigaction(signals_[i], &before_[i], nullptr);
    signalWriteFds[signals_[i]] = -1;
  }
  notifier_.reset();
  for (int fd : fds_)
    if (fd >= 0) close(fd);
}

}  // namespace pricora
