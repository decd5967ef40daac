#include <gtest/gtest.h>

#include "core/exchanges/PairEntry.h"

namespace pricora {
namespace {

std::string times(std::size_t count, const std::string& text) {
  std::string out;
  while (count-- > 0) out += text;
  return out;
}

// Invalid UTF-8 and C0 controls in bar lines: see BarLineTest.
TEST(NetworkText, KeepsShortTextsAndCutsLongOnesOnACharacterBoundary) {
  const std::string euro = "\xE2\x82\xAC", ellipsis = "\xE2\x80\xA6";
  const struct {
    std::string text, bounded, shown;
  } cases[] = {
      {"a\tb\x7F\xC2\x85", "a\tb\x7F\xC2\x85", "a b  "},
      {std::string(256, '7'), std::string(256, '7'), std::string(256, '7')},
      {std::string(3'000'000, '\n'), std::string(253, '\n') + ellipsis, std::string(253, ' ') + ellipsis},
      {times(300, euro), times(84, euro) + ellipsis, times(84, euro) + ellipsis},
      {std::string(300, '\xFF'), std::string(253, '\xFF') + ellipsis, times(84, "\xEF\xBF\xBD") + ellipsis},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(boundedText(c.text), c.bounded) << c.text.size();
    EXPECT_EQ(shownText(c.text), c.shown) << c.text.size();
  }
  PairEntry entry("BTC/USD: " + std::string(3'000'000, '7'));
  entry.addLine("Bid: " + times(1'000'000, euro));
  EXPECT_EQ(entry.headline(), "BTC/USD: " + std::string(244, '7') + ellipsis);
  EXPECT_EQ(entry.lines(), std::vector<std::string>{"Bid: " + times(82, euro) + ellipsis});
}

}  // namespace
}  // namespace pricora
