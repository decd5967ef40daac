#include "support/RawHttpServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace pricora::test {

RawHttpServer::RawHttpServer(std::map<std::string, Script> scripts) : scripts_(std::move(scripts)) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  auto* generic = reinterpret_cast<sockaddr*>(&address);
  if (listener_ < 0 || bind(listener_, generic, length) != 0 || listen(listener_, 64) != 0 ||
      getsockname(listener_, generic, &length) != 0)
    throw std::runtime_error("cannot listen on 127.0.0.1");
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { accept(); });
}

RawHttpServer::~RawHttpServer() {
  stopping_ = true;
  acceptor_.join();
  {
    const std::lock_guard lock(mutex_);
    for (int connection : connections_) shutdown(connection, SHUT_RDWR);
  }
  for (std::thread& thread : threads_) thread.join();
  close(listener_);
}

std::vector<std::string> RawHttpServer::requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

std::string RawHttpServer::reply(int status, std::string_view body, std::string_view extraHeaders) {
  return "HTTP/1.1 " + std::to_string(status) + " Whatever\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n" + std::string(extraHeaders) + "\r\n" + std::string(body);
}

void RawHttpServer::accept() {
  while (!stopping_) {
    pollfd watched{listener_, POLLIN, 0};
    if (poll(&watched, 1, 20) <= 0) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    const std::lock_guard lock(mutex_);
    connections_.push_back(connection);
    threads_.emplace_back([this, connection] { serve(connection); });
  }
}

void RawHttpServer::serve(int connection) {
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && !stopping_) {
    const ssize_t size = recv(connection, buffer, sizeof buffer, 0);
    if (size <= 0) break;
    head.append(buffer, static_cast<std::size_t>(size));
  }
  const std::size_t start = head.find(' ') + 1;
  const std::string target = head.substr(start, head.find(' ', start) - start);
  {
    const std::lock_guard lock(mutex_);
    requests_.push_back(head);
  }
  const Send send = [this, connection](std::string_view bytes) {
    return !stopping_ &&
           ::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  };
  if (const auto script = scripts_.find(target); script != scripts_.end())
    script->second(send);
  else
    send(reply(404, R"({"error":"not found"})"));
  shutdown(connection, SHUT_WR);
  // Until the client closes, so that it reads the whole reply before the connection goes.
  while (!stopping_ && recv(connection, buffer, sizeof buffer, 0) > 0) {
  }
  const std::lock_guard lock(mutex_);
  std::erase(connections_, connection);
  close(connection);
}

}  // namespace pricora::test
