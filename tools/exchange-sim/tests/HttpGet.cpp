#include "HttpGet.h"

#include <utility>  // before Asio, see HttpServer.cpp
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

namespace exsim::test {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

struct HttpConnection::Impl {
  asio::io_context io;
  beast::tcp_stream stream{io};
  beast::flat_buffer buffer;
  asio::ip::tcp::endpoint endpoint;
  bool connected = false;
};

HttpConnection::HttpConnection(const std::string& baseAddress) : impl_(std::make_unique<Impl>()) {
  const auto port = static_cast<unsigned short>(std::stoi(baseAddress.substr(baseAddress.rfind(':') + 1)));
  impl_->endpoint = {asio::ip::make_address_v4("127.0.0.1"), port};
}

HttpConnection::~HttpConnection() = default;

HttpResult HttpConnection::get(const std::string& target, std::chrono::milliseconds timeout) {
  Impl& c = *impl_;
  http::request<http::empty_body> request{http::verb::get, target, 11};
  request.set(http::field::host, "127.0.0.1");
  http::response_parser<http::string_body> parser;
  parser.body_limit(256 * 1024 * 1024);
  beast::error_code error;

  auto exchange = [&] {
    http::async_write(c.stream, request, [&](beast::error_code writeError, std::size_t) {
      if (writeError) {
        error = writeError;
        return;
      }
      http::async_read(c.stream, c.buffer, parser, [&](beast::error_code readError, std::size_t) { error = readError; });
    });
  };
  c.stream.expires_after(timeout);
  if (c.connected) {
    exchange();
  } else {
    c.stream.async_connect(c.endpoint, [&](beast::error_code connectError) {
      error = connectError;
      c.connected = !connectError;
      if (c.connected) exchange();
    });
  }
  c.io.restart();
  c.io.run();

  HttpResult result;
  if (error) {
    c.connected = false;
    result.failure = error == asio::error::connection_reset ? HttpResult::Failure::Reset
                     : error == beast::error::timeout       ? HttpResult::Failure::TimedOut
                     : error == http::error::end_of_stream || error == asio::error::eof ? HttpResult::Failure::Closed
                                                                                         : HttpResult::Failure::Other;
    return result;
  }
  const auto& response = parser.get();
  result.status = static_cast<int>(response.result_int());
  result.contentType = std::string(response[http::field::content_type]);
  result.body = response.body();
  return result;
}

HttpResult httpGet(const std::string& baseAddress, const std::string& target, std::chrono::milliseconds timeout) {
  return HttpConnection(baseAddress).get(target, timeout);
}

}  // namespace exsim::test
