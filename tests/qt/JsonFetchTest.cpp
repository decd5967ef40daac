#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include "exchange-sim/Simulator.h"
#include "qt/QtJsonFetch.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;

// The Qt fetch against the loopback simulator, with limits short enough for a test.
class JsonFetchTest : public ::testing::Test {
 protected:
  JsonFetchTest() { simulator.start(); }

  struct Outcome {
    bool completed = false;
    bool insideGet = false;
    bool reply = false;  // a document arrived
  };

  // Fetches url and runs the event loop until the completion came, or 10 s passed.
  Outcome fetchNow(const std::string& url) {
    Outcome outcome;
    QEventLoop loop;
    bool inGet = true;
    fetch.get(url, [&](const JsonReply& reply) {
      outcome.completed = true;
      outcome.insideGet = inGet;
      outcome.reply = reply.has_value();
      if (reply) document = reply->stringValue() + "|" + (*reply)["last"].stringValue();
      loop.quit();
    });
    inGet = false;
    QTimer::singleShot(10s, &loop, &QEventLoop::quit);
    if (!outcome.completed) loop.exec();
    return outcome;
  }
  std::string url(const char* exchange, const std::string& target) { return simulator.baseAddress(exchange) + target; }

  exsim::Simulator simulator;
  QtJsonFetch fetch{QtJsonFetch::Limits{300ms, 800ms, 1024 * 1024}};
  std::string document;
};

TEST_F(JsonFetchTest, DeliversTheDocumentOfAnyAnswerThatIsJson) {
  Outcome ok = fetchNow(url("Bitstamp", "/api/v2/ticker/btcusd/"));
  ASSERT_TRUE(ok.completed);
  EXPECT_FALSE(ok.insideGet);
  ASSERT_TRUE(ok.reply);
  EXPECT_FALSE(document.ends_with("|"));

  // The status is never looked at: an error page in JSON is a document like any other.
  simulator.setReply("Bitstamp", "/api/v2/ticker/bad/", 500, R"({"last":"7"})");
  ASSERT_TRUE(fetchNow(url("Bitstamp", "/api/v2/ticker/bad/")).reply);
  EXPECT_EQ(document, "|7");
  simulator.setReply("Bitstamp", "/api/v2/ticker/fragment/", 200, R"("just text")");
  ASSERT_TRUE(fetchNow(url("Bitstamp", "/api/v2/ticker/fragment/")).reply);
  EXPECT_EQ(document, "just text|");
}

TEST_F(JsonFetchTest, ReportsNoneForEveryKindOfFailure) {
  simulator.addFault({"Kraken", "/nonjson", "nonjson"});
  simulator.addFault({"Kraken", "/html500", "http500"});
  simulator.addFault({"Kraken", "/reset", "reset"});
  simulator.addFault({"Kraken", "/hang", "hang"});
  simulator.addFault({"Kraken", "/slow", "delay", 2000});  // sends nothing for longer than the idle limit
  simulator.addFault({"Poloniex", "*", "big", 2 * 1024 * 1024});
  const std::string failing[] = {url("Kraken", "/nonjson"),
                                 url("Kraken", "/html500"),
                                 url("Kraken", "/reset"),
                                 url("Kraken", "/hang"),
                                 url("Kraken", "/slow"),
                                 url("Poloniex", "/public?command=returnTicker"),
                                 "http://127.0.0.1:9/closed",
                                 url("Kraken", "/with space"),
                                 url("Kraken", "/bad%zzescape"),
                                 "ftp://127.0.0.1/x",
                                 "not a url"};
  for (const std::string& address : failing) {
    const Outcome outcome = fetchNow(address);
    EXPECT_TRUE(outcome.completed) << address;
    EXPECT_FALSE(outcome.insideGet) << address;
    EXPECT_FALSE(outcome.reply) << address;
  }
  EXPECT_EQ(fetch.pendingCount(), 0u);
}

TEST_F(JsonFetchTest, KeysWithSpecialCharactersStayOnTheirHost) {
  for (const char* key : {"btc?usd", "btc#usd", "@127.0.0.2/x", "..%2f..", "a/../../b"})
    fetchNow(url("Bitfinex", "/v1/pubticker/") + key);
  for (const std::string& target : simulator.requests("Bitfinex")) EXPECT_TRUE(target.starts_with("/")) << target;
  EXPECT_TRUE(simulator.requests("Kraken").empty());
}

TEST_F(JsonFetchTest, AFetchThatGoesAwayCallsNoCompletion) {
  simulator.addFault({"GDAX", "*", "hang"});
  bool called = false;
  {
    QtJsonFetch doomed;
    doomed.get(url("GDAX", "/products"), [&](const JsonReply&) { called = true; });
    // Until the request is under way at the server.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (!simulator.requests("GDAX").empty()) loop.quit();
    });
    poll.start(5ms);
    QTimer::singleShot(10s, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_FALSE(simulator.requests("GDAX").empty());
  }
  EXPECT_FALSE(called);
}

}  // namespace
}  // namespace pricora
