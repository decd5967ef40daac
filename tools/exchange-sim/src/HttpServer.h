#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "Reply.h"

namespace exsim {

// What to do with one request.
struct Outcome {
  enum class Action { Answer, Reset, Hang };
  Action action = Action::Answer;
  Reply reply;
  std::chrono::milliseconds delay{0};  // before answering, without holding up anything else
};

// Called on the server thread for each request, with the index of the listener it came to.
using RequestHandler = std::function<Outcome(std::size_t listener, std::string_view method, const std::string& target)>;

// HTTP/1.1 with keep-alive on 127.0.0.1, one listener per port, all served asynchronously by one
// background thread.
class HttpServer {
 public:
  struct Listener {
    std::string name;  // for error messages
    int port = 0;      // 0 picks a free one
  };

  // Binds every listener or throws std::runtime_error naming the one that failed, leaving none
  // bound; then serves until destroyed.
  HttpServer(const std::vector<Listener>& listeners, RequestHandler handler);
  // Closes listeners and every connection, including those waiting in a delay or a hang.
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // The bound ports, in the order asked.
  const std::vector<int>& ports() const { return ports_; }

 private:
  struct Loop;
  std::unique_ptr<Loop> loop_;
  std::vector<int> ports_;
  std::thread thread_;
};

}  // namespace exsim
