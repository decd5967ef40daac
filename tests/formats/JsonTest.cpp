#include <gtest/gtest.h>

#include <string>

#include "formats/Json.h"

namespace pricora {
namespace {

Json parsed(std::string_view text) {
  std::optional<Json> document = Json::parse(text);
  EXPECT_TRUE(document) << text;
  return document ? std::move(*document) : Json();
}

TEST(Json, AccessYieldsNullForAnythingMissingOrOfTheWrongKind) {
  const Json doc = parsed(R"({"result":{"XXBTZUSD":{"c":["560.87711","0.01"]}},"n":5,"s":"x"})");
  EXPECT_EQ(doc["result"]["XXBTZUSD"]["c"][0].stringValue(), "560.87711");
  EXPECT_TRUE(doc["result"]["XXBTZUSD"]["c"][7].isNull());
  EXPECT_TRUE(doc["result"]["nope"]["c"][0].isNull());
  EXPECT_TRUE(doc["n"]["deeper"].isNull());
  EXPECT_TRUE(doc["s"][0].isNull());
  EXPECT_TRUE(doc[-1].isNull());
  EXPECT_TRUE(doc["result"].arrayObject() == nullptr);
  EXPECT_EQ(doc["result"]["XXBTZUSD"]["c"].arrayObject()->size(), 2u);
  // Equality is for strings only.
  EXPECT_TRUE(doc["s"] == "x");
  EXPECT_FALSE(doc["s"] == "X");
  EXPECT_FALSE(doc["n"] == "5");
  EXPECT_FALSE(doc["missing"] == "");
}

// The document as compact text again, strings unquoted: enough to see what holds what.
std::string written(const Json& value) {
  if (value.kind() != Json::Kind::Array && value.kind() != Json::Kind::Object) return value.stringValue();
  std::string text;
  value.forEach([&](std::string_view key, const Json& element) {
    text += (text.empty() ? "" : ",") + (value.kind() == Json::Kind::Object ? std::string(key) + ":" : "") +
            written(element);
  });
  return value.kind() == Json::Kind::Object ? "{" + text + "}" : "[" + text + "]";
}

TEST(Json, ContainersHoldTheirOwnValuesWhereverTheyNest) {
  for (const char* text :
       {R"([[1,2],[],{"a":[3,{"b":4,"c":[]}],"d":5},[6],7])", R"({"a":{"b":[1]},"c":[{},{"d":2}],"e":3})"}) {
    std::string compact = text;
    std::erase(compact, '"');
    EXPECT_EQ(written(parsed(text)), compact);
  }
}

TEST(Json, ValueTextFollowsTheDisplayRules) {
  const Json doc = parsed(
      R"({"s":"9240.58000","t":true,"f":false,"z":null,"o":{},"a":[1],"int":1524393116,"half":0.5,
          "zeros":6000.0,"exp":1.5e3,"EXP":2E+2,"neg":-5.000,"negzero":-0.0,"frac":101.773,"small":1.5e-3,
          "tiny":1e-7,"huge":1e400,"absurd":1e9999999,"wide":123456789012345678901234567890})");
  const std::pair<const char*, const char*> cases[] = {{"s", "9240.58000"},
                                                       {"t", "true"},
                                                       {"f", "false"},
                                                       {"z", ""},
                                                       {"o", ""},
                                                       {"a", ""},
                                                       {"int", "1524393116"},
                                                       {"half", "0.5"},
                                                       {"zeros", "6000"},
                                                       {"exp", "1500"},
                                                       {"EXP", "200"},
                                                       {"neg", "-5"},
                                                       {"negzero", "-0"},
                                                       {"frac", "101.773"},
                                                       {"small", "1.5e-3"},
                                                       {"tiny", "1e-7"},
                                                       {"huge", "1e400"},
                                                       {"absurd", "1e9999999"},
                                                       {"wide", "123456789012345678901234567890"},
                                                       {"missing", ""}};
  for (const auto& [key, text] : cases) EXPECT_EQ(doc[key].stringValue(), text) << key;
}

TEST(Json, IterationKeepsDocumentOrderAndMergesDuplicateKeys) {
  const Json object = parsed(R"({"b":1,"a":2,"b":3,"c":4})");
  std::string seen;
  object.forEach(
      [&](std::string_view key, const Json& value) { seen += std::string(key) + "=" + value.stringValue() + ";"; });
  EXPECT_EQ(seen, "b=3;a=2;c=4;");
  EXPECT_EQ(object["b"].stringValue(), "3");

  std::string big = "{";  // past the size where duplicates are found through a hash
  for (int i = 0; i < 40; ++i) big += "\"k" + std::to_string(i % 20) + "\":" + std::to_string(i) + ",";
  big.back() = '}';
  EXPECT_EQ(parsed(big).objectValue()->size(), 20u);

  std::string elements;
  parsed(R"(["x","y"])").forEach([&](std::string_view index, const Json& value) {
    elements += std::string(index) + ":" + value.stringValue() + ";";
  });
  EXPECT_EQ(elements, "0:x;1:y;");

  int visits = 0;
  parsed("\"text\"").forEach([&](std::string_view, const Json&) { ++visits; });
  EXPECT_EQ(visits, 0);
}

TEST(Json, AcceptsFragmentsAndRejectsWhatIsNotJson) {
  EXPECT_EQ(parsed("\"btcusd\"").stringValue(), "btcusd");
  EXPECT_EQ(parsed(" 42 ").stringValue(), "42");
  EXPECT_EQ(parsed("\xEF\xBB\xBF{\"a\":\"b\"}")["a"].stringValue(), "b");
  EXPECT_EQ(parsed(R"({"e":"\u00e9\ud83d\ude00"})")["e"].stringValue(), "\xC3\xA9\xF0\x9F\x98\x80");
  // Numbers no double can hold still parse, and keep their text.
  const std::string digits400(400, '7');
  const Json huge = parsed("[1e400, \"1e400\", -2E+999, " + digits400 + ", 0.5]");
  std::string texts;
  huge.forEach([&](std::string_view, const Json& value) { texts += value.stringValue() + " "; });
  EXPECT_EQ(texts, "1e400 1e400 -2E+999 " + digits400 + " 0.5 ");
  EXPECT_FALSE(Json::parse("[1e400x]"));

  const char* bad[] = {"",
                       "   ",
                       "<html><body>502 Bad Gateway</body></html>",
                       "{\"a\":1} trailing",
                       "{\"a\":1,}",
                       "[01]",
                       "NaN",
                       "{'a':1}",
                       "{\"a\":\"\xC3\x28\"}",
                       "\"\xFF\"",
                       "{\"a\":\"\xED\xA0\x80\"}",
                       "[1,2",
                       R"(["\udc00"])",
                       R"({"\udfff":1})",
                       R"(["\ud800"])",
                       R"(["\ud83d\u0041"])",
                       R"({"k":"a\udbff"})"};
  for (const char* text : bad) EXPECT_FALSE(Json::parse(text)) << text;
  EXPECT_FALSE(Json::parse(std::string_view("1\0 2", 4)));
}

TEST(Json, AFilledDepthKeepsDeeperContainersEmptyButChecksThem) {
  const std::string listing = R"({"result":{"B":{"fees":[[0,1]]},"A":[1],"B":{"x":{}}},"n":"7","p":[{"id":"x"}]})";
  const Json outline = *Json::parse(listing, 2);
  std::string seen;
  outline["result"].forEach([&](std::string_view key, const Json& pair) {
    seen += std::string(key) + (pair.kind() == Json::Kind::Object ? "{}" : "[]") +
            std::to_string(pair.objectValue() ? pair.objectValue()->size() : pair.arrayObject()->size());
  });
  EXPECT_EQ(seen, "B{}0A[]0");
  EXPECT_EQ(outline["n"].stringValue(), "7");
  EXPECT_EQ(outline["p"][0]["id"].stringValue(), "");
  EXPECT_EQ(Json::parse(listing, 3)->operator[]("p")[0]["id"].stringValue(), "x");
  EXPECT_EQ(Json::parse("[[1]]", 0)->arrayObject()->size(), 0u);
  // What is not kept is still read: bad text anywhere fails the document.
  for (const char* bad : {R"({"r":{"a":{"k":"\udc00"}}})", R"({"r":{"a":{"\udc00":1}}})", R"({"r":{"a":[1,]}})"})
    EXPECT_FALSE(Json::parse(bad, 2)) << bad;
}

TEST(Json, DeepNestingFailsAndDeepTreesAreDestroyedWithoutRecursing) {
  const auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };
  EXPECT_TRUE(Json::parse(nested(Json::kMaxDepth)));
  EXPECT_FALSE(Json::parse(nested(Json::kMaxDepth + 1)));
  EXPECT_FALSE(Json::parse(nested(Json::kMaxDepth + 1), 2));
  EXPECT_FALSE(Json::parse(std::string(1'000'000, '[')));
  // Deeper than any stack would survive if destruction recursed.
  Json root = Json::array();
  for (int i = 0; i < 1'000'000; ++i) {
    Json::Array holder;
    holder.push_back(std::move(root));
    root = Json::array(std::move(holder));
  }
  root = Json();
}

}  // namespace
}  // namespace pricora
