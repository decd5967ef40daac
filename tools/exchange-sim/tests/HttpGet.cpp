#include "HttpGet.h"

#include <utility>  // before Asio, see HttpServer.cpp

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

namespace exsim::test {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

HttpResult httpGet(const std::string& baseAddress, const std::string& target) {
  asio::io_context io;
  beast::tcp_stream stream(io);
  const auto port = static_cast<unsigned short>(std::stoi(baseAddress.substr(baseAddress.rfind(':') + 1)));
  beast::error_code error;
  stream.socket().connect({asio::ip::make_address_v4("127.0.0.1"), port}, error);
  http::request<http::empty_body> request{http::verb::get, target, 11};
  request.set(http::field::host, "127.0.0.1");
  if (!error) http::write(stream, request, error);
  beast::flat_buffer buffer;
  http::response_parser<http::string_body> parser;
  parser.body_limit(256 * 1024 * 1024);
  if (!error) http::read(stream, buffer, parser, error);
  if (error) return {};
  return {static_cast<int>(parser.get().result_int()), parser.get().body()};
}

}  // namespace exsim::test
