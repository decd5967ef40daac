#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace pricora::test {

// An HTTP server on 127.0.0.1 that answers each request target with a script of raw bytes, for
// the replies no well-behaved server sends: endless chunks, lying lengths, trickles, redirects.
// One thread per connection, closed after one reply. Stopped and joined when it goes away.
class RawHttpServer {
 public:
  // Writes one chunk of the reply; false once the client has gone or the server is stopping.
  using Send = std::function<bool(std::string_view)>;
  using Script = std::function<void(const Send& send)>;

  // Targets without a script get a 404 with a JSON body.
  explicit RawHttpServer(std::map<std::string, Script> scripts);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }
  // The head of every request received so far, in arrival order.
  std::vector<std::string> requests() const;

  // A complete reply with a length and Connection: close.
  static std::string reply(int status, std::string_view body, std::string_view extraHeaders = {});

 private:
  void accept();
  void serve(int connection);

  std::map<std::string, Script> scripts_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<int> connections_;
  std::vector<std::thread> threads_;
  std::thread acceptor_;
};

}  // namespace pricora::test
