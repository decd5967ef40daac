#include "FaultReplies.h"

#include <string>

namespace exsim {

Reply serverErrorPage() {
  return {500,
          "<html>\r\n<head><title>500 Internal Server Error</title></head>\r\n<body>\r\n"
          "<center><h1>500 Internal Server Error</h1></center>\r\n</body>\r\n</html>\r\n",
          "text/html"};
}

Reply maintenancePage() {
  return {200,
          "<!DOCTYPE html>\n<html><head><title>Maintenance</title></head>\n"
          "<body><p>We are performing scheduled maintenance. We will be back shortly.</p></body></html>\n",
          "text/html; charset=utf-8"};
}

void padTo(Reply& reply, std::size_t size) {
  std::string& body = reply.body;
  if (body.size() >= size) return;
  const std::size_t close = body.find_last_of('}');
  const std::size_t end = close == std::string::npos ? body.find_last_of(']') : close;
  if (end == std::string::npos) {
    body.append(size - body.size(), ' ');
    return;
  }
  if (close == std::string::npos) {
    body.insert(end, size - body.size(), ' ');
    return;
  }
  const std::size_t previous = body.find_last_not_of(" \t\r\n", end - 1);
  const bool empty = previous != std::string::npos && body[previous] == '{';
  std::string member = std::string(empty ? "" : ",") + "\"padding\":\"\"";
  member.insert(member.size() - 1, size > body.size() + member.size() ? size - body.size() - member.size() : 0, 'x');
  body.insert(end, member);
}

}  // namespace exsim
