#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace exsim::test {

struct HttpResult {
  enum class Failure { None, Reset, Closed, TimedOut, Other };
  Failure failure = Failure::None;  // why no reply came
  int status = 0;
  std::string contentType;
  std::string body;
};

// A blocking HTTP/1.1 client over one kept-alive connection, with a deadline on every request.
class HttpConnection {
 public:
  explicit HttpConnection(const std::string& baseAddress);  // "http://127.0.0.1:PORT"
  ~HttpConnection();
  HttpResult get(const std::string& target, std::chrono::milliseconds timeout = std::chrono::seconds(10));

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// One request on a connection of its own.
HttpResult httpGet(const std::string& baseAddress, const std::string& target,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace exsim::test
