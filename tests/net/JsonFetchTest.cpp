#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <regex>
#include <set>
#include <thread>

#include "exchange-sim/Simulator.h"
#include "net/CurlJsonFetch.h"
#include "support/RawHttpServer.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;
using test::RawHttpServer;
using Send = RawHttpServer::Send;

// What one fetch came back with: the document's "v" member (or the text of a bare value), or
// none when it failed.
struct Outcome {
  int calls = 0;
  bool insideGet = false;
  std::optional<std::string> value;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& outcome, std::ostream* out) {
  *out << outcome.calls << " call(s)" << (outcome.insideGet ? " inside get, " : ", ") << outcome.value.value_or("none");
}

// Fetches every address at once and runs the event loop until all have completed, or 10 s passed.
std::vector<Outcome> fetchAll(JsonFetch& fetch, const std::vector<std::string>& urls) {
  std::vector<Outcome> outcomes(urls.size());
  QEventLoop loop;
  std::size_t done = 0;
  bool inGet = true;
  for (std::size_t i = 0; i < urls.size(); ++i) {
    fetch.get(urls[i], [&, i](const JsonReply& reply) {
      Outcome& outcome = outcomes[i];
      outcome.insideGet = outcome.insideGet || inGet;
      if (++outcome.calls == 1 && reply)
        outcome.value = reply->kind() == Json::Kind::Object ? (*reply)["v"].stringValue() : reply->stringValue();
      if (++done == urls.size()) loop.quit();
    });
  }
  inGet = false;
  QTimer::singleShot(10s, &loop, &QEventLoop::quit);
  if (done < urls.size()) loop.exec();
  return outcomes;
}

Outcome answer(std::string value) { return {1, false, std::move(value)}; }
const Outcome kFailed{1, false, std::nullopt};

std::string gzipped(const std::string& text) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, text.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// Chunks of JSON blanks until the client hangs up or the server stops.
void endlessChunks(const Send& send) {
  if (!send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n")) return;
  const std::string chunk = "4000\r\n" + std::string(0x4000, ' ') + "\r\n";
  while (send(chunk)) {
  }
}

// A gzip stream of empty stored blocks until the client hangs up: bytes that never decode to one.
void undecodable(const Send& send, std::atomic<std::size_t>& sent) {
  std::string blocks;
  for (int i = 0; i < 0x4000; ++i) blocks += std::string("\x00\x00\x00\xff\xff", 5);
  if (!send("HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nConnection: close\r\n\r\n" +
            std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10)))
    return;
  while (send(blocks)) sent += blocks.size();
}

// One blank every 50 ms, forever: never idle, never done.
void trickle(const Send& send) {
  if (!send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\n[\r\n")) return;
  while (send("1\r\n \r\n")) std::this_thread::sleep_for(50ms);
}

class JsonFetchTest : public ::testing::Test {
 protected:
  JsonFetchTest() { simulator.start(); }
  std::string sim(const char* exchange, const std::string& target) { return simulator.baseAddress(exchange) + target; }

  exsim::Simulator simulator;
  CurlJsonFetch fetch{{400ms, 60s, 1024 * 1024, {}}};  // only the idle time-out ends a silent request
};

TEST_F(JsonFetchTest, AnyReplyWithAStatusIsAnAnswerAndEveryOtherEndIsNone) {
  for (int status : {200, 400, 404, 418, 429, 500, 503})
    simulator.setReply("Bitfinex", "/s/" + std::to_string(status), status,
                       R"({"v":")" + std::to_string(status) + "\"}");
  simulator.setReply("Bitfinex", "/fragment", 200, R"("just text")");
  simulator.setReply("Bitfinex", "/large", 200, R"({"v":"large","pad":")" + std::string(600'000, 'x') + "\"}");
  simulator.addFault({"Kraken", "/reset", "reset"});
  simulator.addFault({"Kraken", "/hang", "hang"});
  simulator.addFault({"Kraken", "/html500", "http500"});
  simulator.addFault({"Kraken", "/big", "big", 2 * 1024 * 1024});
  const std::string flood = "X-Flood: " + std::string(1000, 'x') + "\r\n";
  std::string floodHeaders;
  for (int i = 0; i < 300; ++i) floodHeaders += flood;
  const std::string gzipHeader = "Content-Encoding: gzip\r\n";
  std::atomic<std::size_t> undecodableSent = 0;
  RawHttpServer raw({
      {"/undecodable", [&](const Send& send) { undecodable(send, undecodableSent); }},
      {"/moved", [](const Send& send) { send(RawHttpServer::reply(302, "", "Location: /target\r\n")); }},
      {"/target", [](const Send& send) { send(RawHttpServer::reply(200, R"({"v":"moved"})")); }},
      {"/loop", [](const Send& send) { send(RawHttpServer::reply(301, "", "Location: /loop\r\n")); }},
      {"/nowhere", [](const Send& send) { send(RawHttpServer::reply(302, R"({"v":"302"})")); }},
      {"/chunked", endlessChunks},
      {"/headers", [&](const Send& send) { send(RawHttpServer::reply(200, R"({"v":1})", floodHeaders)); }},
      {"/gzip", [&](const Send& send) { send(RawHttpServer::reply(200, gzipped(R"({"v":"unzipped"})"), gzipHeader)); }},
      {"/bomb",
       [&](const Send& send) {
         send(RawHttpServer::reply(200, gzipped("[" + std::string(2 * 1024 * 1024, ' ') + "]"), gzipHeader));
       }},
  });
  // Leaving the origin is refused before the other host hears of it.
  RawHttpServer elsewhere({});
  RawHttpServer crossing({{"/away", [&](const Send& send) {
                             send(RawHttpServer::reply(302, "", "Location: " + elsewhere.address() + "/x\r\n"));
                           }}});

  const std::vector<std::pair<std::string, Outcome>> cases = {
      {sim("Bitfinex", "/s/200"), answer("200")},
      {sim("Bitfinex", "/s/400"), answer("400")},
      {sim("Bitfinex", "/s/404"), answer("404")},
      {sim("Bitfinex", "/s/418"), answer("418")},
      {sim("Bitfinex", "/s/429"), answer("429")},
      {sim("Bitfinex", "/s/500"), answer("500")},
      {sim("Bitfinex", "/s/503"), answer("503")},
      {sim("Bitfinex", "/fragment"), answer("just text")},
      {sim("Bitfinex", "/large"), answer("large")},  // parsed off the event loop
      {raw.address() + "/moved", answer("moved")},
      {raw.address() + "/nowhere", answer("302")},
      {raw.address() + "/gzip", answer("unzipped")},
      {sim("Kraken", "/reset"), kFailed},
      {sim("Kraken", "/hang"), kFailed},  // idle
      {sim("Kraken", "/html500"), kFailed},
      {sim("Kraken", "/big"), kFailed},       // over the cap by its length
      {raw.address() + "/chunked", kFailed},  // over the cap as it arrives
      {raw.address() + "/bomb", kFailed},     // over the cap once unzipped
      {raw.address() + "/undecodable", kFailed},
      {raw.address() + "/headers", kFailed},
      {raw.address() + "/loop", kFailed},
      {crossing.address() + "/away", kFailed},
      {"http://127.0.0.1:9/closed", kFailed},
      {sim("Kraken", "/with space"), kFailed},
      {sim("Kraken", "/bad%zzescape"), kFailed},
      {sim("Kraken", "/caf\xc3\xa9"), kFailed},
      {"ftp://127.0.0.1/x", kFailed},
      {"file:///etc/passwd", kFailed},
      {"http:///no-host", kFailed},
      {"not a url", kFailed},
  };
  std::vector<std::string> urls;
  for (const auto& [url, expected] : cases) urls.push_back(url);
  const std::vector<Outcome> outcomes = fetchAll(fetch, urls);
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(outcomes[i], cases[i].second) << cases[i].first << " gave " << outcomes[i].value.value_or("none");
  EXPECT_TRUE(elsewhere.requests().empty());
  EXPECT_EQ(fetch.pendingCount(), 0u);
  // The 1 MiB cap, plus what the loopback's buffers held, not what the idle time-out would allow.
  EXPECT_LT(undecodableSent, 24u << 20);
}

TEST_F(JsonFetchTest, AnOutlineKeepsDeeperContainersEmptyOnAndOffTheEventLoop) {
  simulator.setReply("Bitfinex", "/small", 200, R"({"v":{"deep":{"x":1}}})");
  simulator.setReply("Bitfinex", "/large", 200, R"({"v":{"deep":{"x":")" + std::string(600'000, 'x') + "\"}}}");
  QEventLoop loop;
  std::vector<std::string> shapes;
  for (const char* target : {"/small", "/large"}) {
    fetch.getOutline(sim("Bitfinex", target), 2, [&](const JsonReply& reply) {
      const Json& deep = reply ? (*reply)["v"]["deep"] : Json::null();
      shapes.push_back(deep.objectValue() ? std::to_string(deep.objectValue()->size()) + " members" : "none");
      if (shapes.size() == 2) loop.quit();
    });
  }
  QTimer::singleShot(10s, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(shapes, (std::vector<std::string>{"0 members", "0 members"}));
}

TEST_F(JsonFetchTest, KeysWithSpecialCharactersStayOnTheirHost) {
  std::vector<std::string> urls;
  for (const char* key : {"btc?usd", "btc#usd", "@127.0.0.2/x", "..%2f..", "a/../../b"})
    urls.push_back(sim("Bitfinex", "/v1/pubticker/") + key);
  fetchAll(fetch, urls);
  for (const std::string& target : simulator.requests("Bitfinex")) EXPECT_TRUE(target.starts_with("/")) << target;
  EXPECT_TRUE(simulator.requests("Kraken").empty());
}

// Three hostile replies beside thirty ordinary ones on one host fail themselves only.
TEST_F(JsonFetchTest, AHostileReplyFailsItsOwnRequestOnly) {
  std::map<std::string, RawHttpServer::Script> scripts = {
      {"/bomb0", endlessChunks}, {"/bomb1", endlessChunks}, {"/bomb2", endlessChunks}};
  std::vector<std::string> targets = {"/bomb0", "/bomb1", "/bomb2"};
  for (int i = 0; i < 30; ++i) {
    const std::string value = std::to_string(i);
    scripts["/ok" + value] = [value](const Send& send) {
      send(RawHttpServer::reply(200, R"({"v":")" + value + "\"}"));
    };
    targets.push_back("/ok" + value);
  }
  RawHttpServer raw(scripts);
  std::vector<std::string> urls;
  for (const std::string& target : targets) urls.push_back(raw.address() + target);
  const std::vector<Outcome> outcomes = fetchAll(fetch, urls);
  for (std::size_t i = 0; i < outcomes.size(); ++i)
    EXPECT_EQ(outcomes[i], i < 3 ? kFailed : answer(std::to_string(i - 3))) << targets[i];
}

// A reply that never stops trickling is ended by the deadline. Eighteen replies of 500 ms each on
// one host go six at a time, 1.5 s in all: each is answered within its one-second deadline
// because the clock starts when it is sent.
TEST_F(JsonFetchTest, TheDeadlineEndsATrickleAndRunsFromSendingNotFromQueueing) {
  CurlJsonFetch strict{{20s, 1000ms, 1024 * 1024, {}}};
  RawHttpServer raw({{"/trickle", trickle}});
  simulator.addFault({"GDAX", "/slow/*", "delay", 500});
  std::vector<std::string> urls = {raw.address() + "/trickle"};
  for (int i = 0; i < 18; ++i) {
    simulator.setReply("GDAX", "/slow/" + std::to_string(i), 200, R"({"v":"ok"})");
    urls.push_back(sim("GDAX", "/slow/" + std::to_string(i)));
  }
  const std::vector<Outcome> outcomes = fetchAll(strict, urls);
  EXPECT_EQ(outcomes[0], kFailed);
  for (std::size_t i = 1; i < outcomes.size(); ++i) EXPECT_EQ(outcomes[i], answer("ok")) << urls[i];
}

TEST_F(JsonFetchTest, AbandonedRequestsNeverCallBack) {
  simulator.addFault({"GDAX", "*", "hang"});
  bool called = false;
  {
    CurlJsonFetch doomed;
    // Six in flight, the rest waiting.
    for (int i = 0; i < 10; ++i)
      doomed.get(sim("GDAX", "/products/" + std::to_string(i)), [&](const JsonReply&) { called = true; });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (simulator.requests("GDAX").size() == 6) loop.quit();
    });
    poll.start(5ms);
    QTimer::singleShot(10s, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(simulator.requests("GDAX").size(), 6u);
  }
  // A completion that destroys the fetch is the last one called.
  auto owned = std::make_unique<CurlJsonFetch>();
  int calls = 0;
  for (int i = 0; i < 3; ++i)
    owned->get("not a url", [&](const JsonReply&) {
      ++calls;
      owned.reset();
    });
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  EXPECT_FALSE(called);
  EXPECT_EQ(calls, 1);
}

TEST_F(JsonFetchTest, GoesThroughTheUsersProxyNamingItselfExceptWhereToldNotTo) {
  RawHttpServer proxy(
      {{"http://prices.invalid/x", [](const Send& send) { send(RawHttpServer::reply(200, R"({"v":"proxied"})")); }}});
  setenv("http_proxy", proxy.address().c_str(), 1);
  setenv("no_proxy", "127.0.0.1", 1);
  simulator.setReply("Wex", "/direct", 200, R"({"v":"direct"})");
  const std::vector<Outcome> outcomes = fetchAll(fetch, {"http://prices.invalid/x", sim("Wex", "/direct")});
  unsetenv("http_proxy");
  unsetenv("no_proxy");
  EXPECT_EQ(outcomes, (std::vector<Outcome>{answer("proxied"), answer("direct")}));
  ASSERT_EQ(proxy.requests().size(), 1u);
  EXPECT_NE(proxy.requests()[0].find("\r\nUser-Agent: Pricora/" PRICORA_VERSION "\r\n"), std::string::npos);
}

int freePort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

// nghttpd serves over TLS with a certificate made here, trusted only through the fetch's CA
// file; its log shows every request arriving over one connection.
TEST_F(JsonFetchTest, HttpsOverHttp2MultiplexesAndAnswersAsHttp1Does) {
  test::TempDir dir;
  const std::string key = dir.file("key.pem"), certificate = dir.file("cert.pem");
  test::Subprocess openssl({OPENSSL_PROGRAM, "req", "-x509", "-newkey", "ec", "-pkeyopt",
                            "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", key, "-out", certificate, "-days", "1",
                            "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
  ASSERT_EQ(openssl.wait(30s), 0) << openssl.errors();
  std::vector<std::string> targets;
  for (int i = 0; i < 20; ++i) {
    const std::string name = "/t" + std::to_string(i) + ".json", body = R"({"v":")" + std::to_string(i * i) + "\"}";
    dir.write("docs" + name, body);
    simulator.setReply("OKCoin", name, 200, body);
    targets.push_back(name);
  }
  const std::string port = std::to_string(freePort());
  test::Subprocess server({NGHTTPD_PROGRAM, "-a", "127.0.0.1", "-v", "-d", dir.file("docs"), port, key, certificate});
  ASSERT_TRUE(server.readLine(10s)) << "nghttpd did not start: " << server.errors();  // it listens
  std::vector<std::string> h2, h1;
  for (const std::string& target : targets) {
    h2.push_back("https://127.0.0.1:" + port + target);
    h1.push_back(sim("OKCoin", target));
  }
  CurlJsonFetch secure{{2s, 10s, 1024 * 1024, certificate}};
  ASSERT_EQ(fetchAll(secure, {h2[0]})[0], answer("0"));  // the connection, now known to multiplex

  const std::vector<Outcome> overHttp2 = fetchAll(secure, h2);
  EXPECT_EQ(overHttp2, fetchAll(fetch, h1));
  EXPECT_EQ(overHttp2[19], answer("361"));
  CurlJsonFetch untrusting{{2s, 10s, 1024 * 1024, {}}};
  EXPECT_EQ(fetchAll(untrusting, {h2[1]})[0], kFailed);  // the system's certificates do not know ours

  server.signal(SIGTERM);
  server.wait(5s);
  // Twenty requests handed over at once travelled as streams of one connection, where HTTP/1.1
  // would have opened six.
  std::set<std::string> connections, streams;
  const std::regex received(R"(^\[id=(\d+)\].*recv HEADERS frame.*stream_id=(\d+))");
  std::istringstream log(server.output());
  for (std::string line; std::getline(log, line);) {
    if (std::smatch match; std::regex_search(line, match, received)) {
      connections.insert(match[1]);
      streams.insert(match[2]);
    }
  }
  EXPECT_EQ(streams.size(), 21u);
  EXPECT_EQ(connections.size(), 1u) << server.output();
}

}  // namespace
}  // namespace pricora
