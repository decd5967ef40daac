#include "net/CurlMultiDriver.h"

#include <new>

namespace pricora {

CurlMultiDriver::CurlMultiDriver(std::function<void()> afterStep)
    : multi_(curl_multi_init()), afterStep_(std::move(afterStep)) {
  if (multi_ == nullptr) throw std::bad_alloc();
  curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &CurlMultiDriver::onSocket);
  curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
  curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &CurlMultiDriver::onTimer);
  curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] { step(CURL_SOCKET_TIMEOUT, 0); });
}

CurlMultiDriver::~CurlMultiDriver() {
  // Closing the pooled connections still reports their sockets, so the watches outlive this.
  curl_multi_cleanup(multi_);
  for (auto& [socket, watch] : watches_) {
    delete watch.read;
    delete watch.write;
  }
}

int CurlMultiDriver::onSocket(CURL*, curl_socket_t socket, int what, void* self, void*) {
  static_cast<CurlMultiDriver*>(self)->watch(socket, what);
  return 0;
}

// libcurl must not be called from inside its own callbacks, so even "now" goes through the timer.
int CurlMultiDriver::onTimer(CURLM*, long milliseconds, void* self) {
  QTimer& timer = static_cast<CurlMultiDriver*>(self)->timer_;
  if (milliseconds < 0)
    timer.stop();
  else
    timer.start(static_cast<int>(milliseconds));
  return 0;
}

void CurlMultiDriver::watch(curl_socket_t socket, int what) {
  if (what == CURL_POLL_REMOVE) {
    const auto found = watches_.find(socket);
    if (found == watches_.end()) return;
    setNotifier(found->second.read, socket, QSocketNotifier::Read, false);
    setNotifier(found->second.write, socket, QSocketNotifier::Write, false);
    watches_.erase(found);
    return;
  }
  Watch& entry = watches_[socket];
  setNotifier(entry.read, socket, QSocketNotifier::Read, what == CURL_POLL_IN || what == CURL_POLL_INOUT);
  setNotifier(entry.write, socket, QSocketNotifier::Write, what == CURL_POLL_OUT || what == CURL_POLL_INOUT);
}

// A notifier may be the one whose signal is running right now, so it is switched off and goes
// later; a new socket with the same number gets notifiers of its own.
void CurlMultiDriver::setNotifier(QSocketNotifier*& notifier, curl_socket_t socket, QSocketNotifier::Type type,
                                  bool wanted) {
  if (!wanted) {
    if (notifier != nullptr) {
      notifier->setEnabled(false);
      notifier->deleteLater();
      notifier = nullptr;
    }
    return;
  }
  if (notifier != nullptr) return;
  notifier = new QSocketNotifier(socket, type, this);
  const int events = type == QSocketNotifier::Read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
  connect(notifier, &QSocketNotifier::activated, this, [this, socket, events] { step(socket, events); });
}

void CurlMultiDriver::step(curl_socket_t socket, int events) {
  int running = 0;
  curl_multi_socket_action(multi_, socket, events, &running);
  afterStep_();
}

}  // namespace pricora
