#include <gtest/gtest.h>

#include "net/RequestQueue.h"

namespace pricora {
namespace {

std::vector<std::string> drain(RequestQueue& queue) {
  std::vector<std::string> sent;
  while (auto request = queue.next()) sent.push_back(request->url);
  return sent;
}

TEST(RequestQueue, SendsNoMoreThanEachOriginAndAllTogetherMayCarry) {
  RequestQueue queue({2, 4, 7});
  for (int i = 0; i < 5; ++i)
    for (const char* origin : {"a", "b", "c"}) queue.add(origin + std::to_string(i), origin, nullptr);
  // Origins take turns, two each at most.
  EXPECT_EQ(drain(queue), (std::vector<std::string>{"a0", "b0", "c0", "a1", "b1", "c1"}));
  queue.setMultiplexed("a");  // four at once from now on, but only seven in all
  EXPECT_EQ(drain(queue), std::vector<std::string>{"a2"});
  queue.finished("b");
  EXPECT_EQ(drain(queue), std::vector<std::string>{"b2"});
  EXPECT_EQ(queue.waiting(), 15u - 8u);
}

TEST(RequestQueue, ARepeatedWaitingAddressTakesTheEarlierOnesPlaceAndHandsItBack) {
  RequestQueue queue({1, 1, 8});
  std::string log;
  for (const char* url : {"1", "2", "3"}) queue.add(url, "a", [&log, url](const JsonReply&) { log += url; });
  ASSERT_EQ(queue.next()->url, "1");  // sent, so no longer waiting: a new "1" queues behind
  EXPECT_FALSE(queue.add("1", "a", nullptr));
  JsonCompletion earlier = queue.add("3", "a", [&log](const JsonReply&) { log += "new3"; });
  ASSERT_TRUE(earlier);
  earlier(std::nullopt);
  queue.finished("a");
  EXPECT_EQ(drain(queue), std::vector<std::string>{"2"});
  queue.finished("a");
  auto request = queue.next();
  request->completion(std::nullopt);  // the new completion, in the earlier one's place
  EXPECT_EQ(log, "3new3");
  EXPECT_EQ(queue.waiting(), 1u);
}

}  // namespace
}  // namespace pricora
