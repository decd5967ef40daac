#include "HttpServer.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <utility>  // before Asio: Boost 1.74's coroutine support uses std::exchange without it

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

namespace exsim {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

std::string_view view(beast::string_view text) { return {text.data(), text.size()}; }

// One client connection, kept alive across requests. It owns itself through the handlers it has
// pending, so it lives exactly as long as there is something to wait for.
class Session : public std::enable_shared_from_this<Session> {
 public:
  Session(tcp::socket socket, std::size_t listener, const RequestHandler& handler)
      : socket_(std::move(socket)), timer_(socket_.get_executor()), listener_(listener), handler_(handler) {}

  void readRequest() {
    parser_.emplace();
    // Kraken takes many pairs in one query, so targets can be long.
    parser_->header_limit(64 * 1024);
    parser_->body_limit(64 * 1024);
    http::async_read(socket_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code error, std::size_t) { self->onRequest(error); });
  }

 private:
  void onRequest(beast::error_code error) {
    if (error) return closeGracefully();
    const auto& request = parser_->get();
    Outcome outcome = handler_(listener_, view(request.method_string()), std::string(view(request.target())));
    if (outcome.action == Outcome::Action::Reset) return abort();
    if (outcome.action == Outcome::Action::Hang) return waitForClose();

    response_ = {};
    response_.version(request.version());
    response_.result(static_cast<unsigned>(outcome.reply.status));
    response_.set(http::field::server, "exchange-sim");
    response_.set(http::field::content_type, outcome.reply.contentType);
    response_.keep_alive(request.keep_alive());
    response_.body() = std::move(outcome.reply.body);
    response_.prepare_payload();
    if (outcome.delay.count() <= 0) return writeResponse();
    timer_.expires_after(outcome.delay);
    timer_.async_wait([self = shared_from_this()](beast::error_code timerError) {
      if (!timerError) self->writeResponse();
    });
  }

  void writeResponse() {
    http::async_write(socket_, response_, [self = shared_from_this()](beast::error_code error, std::size_t) {
      if (error) return;
      if (!self->response_.keep_alive()) return self->closeGracefully();
      self->readRequest();
    });
  }

  // A zero linger turns close() into a reset, as a crashing server or a middlebox does.
  void abort() {
    beast::error_code ignored;
    socket_.set_option(asio::socket_base::linger(true, 0), ignored);
    socket_.close(ignored);
  }

  // Reads and discards until the client gives up, so that its closing is noticed.
  void waitForClose() {
    socket_.async_read_some(asio::buffer(scratch_), [self = shared_from_this()](beast::error_code error, std::size_t) {
      if (error) return self->closeGracefully();
      self->waitForClose();
    });
  }

  void closeGracefully() {
    beast::error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_send, ignored);
  }

  tcp::socket socket_;
  asio::steady_timer timer_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  http::response<http::string_body> response_;
  std::array<char, 4096> scratch_{};
  std::size_t listener_;
  const RequestHandler& handler_;
};

}  // namespace

// Declared in destruction order: acceptors, then the context with every pending handler and so
// every session, then the handler those sessions referred to.
struct HttpServer::Loop {
  explicit Loop(RequestHandler requestHandler) : handler(std::move(requestHandler)) {}

  void accept(std::size_t index) {
    acceptors[index].async_accept([this, index](beast::error_code error, tcp::socket socket) {
      if (error == asio::error::operation_aborted) return;
      if (!error) {
        beast::error_code ignored;
        socket.set_option(tcp::no_delay(true), ignored);
        std::make_shared<Session>(std::move(socket), index, handler)->readRequest();
      }
      accept(index);
    });
  }

  RequestHandler handler;
  asio::io_context io{1};
  std::vector<tcp::acceptor> acceptors;
};

HttpServer::HttpServer(const std::vector<Listener>& listeners, RequestHandler handler)
    : loop_(std::make_unique<Loop>(std::move(handler))) {
  for (const Listener& listener : listeners) {
    tcp::acceptor& acceptor = loop_->acceptors.emplace_back(loop_->io);
    const tcp::endpoint endpoint(asio::ip::make_address_v4("127.0.0.1"), static_cast<unsigned short>(listener.port));
    try {
      acceptor.open(endpoint.protocol());
      acceptor.set_option(asio::socket_base::reuse_address(true));
      acceptor.bind(endpoint);
      acceptor.listen(asio::socket_base::max_listen_connections);
    } catch (const boost::system::system_error& failure) {
      throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(listener.port) + " for " + listener.name +
                               ": " + failure.code().message());
    }
    ports_.push_back(acceptor.local_endpoint().port());
  }
  for (std::size_t i = 0; i < loop_->acceptors.size(); ++i) loop_->accept(i);
  thread_ = std::thread([loop = loop_.get()] { loop->io.run(); });
}

HttpServer::~HttpServer() {
  loop_->io.stop();
  thread_.join();
}

}  // namespace exsim
