#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <curl/curl.h>

#include <functional>
#include <unordered_map>

namespace pricora {

// A libcurl multi handle run by Qt's event loop: one QSocketNotifier per direction libcurl waits
// for on a socket and one timer for the whole handle, no thread. After every step it has let
// libcurl take, it calls afterStep, from the event loop and never from inside libcurl.
class CurlMultiDriver final : public QObject {
 public:
  explicit CurlMultiDriver(std::function<void()> afterStep);
  // Cleans the multi handle up; every easy handle must have been removed from it before.
  ~CurlMultiDriver() override;

  CURLM* handle() const { return multi_; }

 private:
  struct Watch {
    QSocketNotifier* read = nullptr;
    QSocketNotifier* write = nullptr;
  };

  static int onSocket(CURL*, curl_socket_t socket, int what, void* self, void*);
  static int onTimer(CURLM*, long milliseconds, void* self);
  void watch(curl_socket_t socket, int what);
  void step(curl_socket_t socket, int events);
  void setNotifier(QSocketNotifier*& notifier, curl_socket_t socket, QSocketNotifier::Type type, bool wanted);

  // libcurl's global set-up is counted, so each driver holds one for as long as it lives.
  struct GlobalInit {
    GlobalInit() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~GlobalInit() { curl_global_cleanup(); }
  };

  GlobalInit global_;
  CURLM* multi_;
  std::function<void()> afterStep_;
  std::unordered_map<curl_socket_t, Watch> watches_;
  QTimer timer_;
};

}  // namespace pricora
