#pragma once

#include <string>

namespace exsim::test {

struct HttpResult {
  int status = 0;  // 0 when no reply came: the connection was reset or closed
  std::string body;
};

// One blocking HTTP/1.1 GET on a loopback connection of its own ("http://127.0.0.1:PORT").
HttpResult httpGet(const std::string& baseAddress, const std::string& target);

}  // namespace exsim::test
