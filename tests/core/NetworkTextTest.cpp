#include <gtest/gtest.h>

#include "core/exchanges/NetworkText.h"
#include "core/exchanges/PairEntry.h"

namespace pricora {
namespace {

std::string times(std::size_t count, const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += text;
  return out;
}

TEST(NetworkText, KeepsShortTextsAndCutsLongOnesOnACharacterBoundary) {
  const std::string euro = "\xE2\x82\xAC", ellipsis = "\xE2\x80\xA6", replacement = "\xEF\xBF\xBD";
  const struct {
    std::string text, bounded, shown;
  } cases[] = {
      {"", "", ""},
      {"a\tb\x01\x7F\xC2\x85\xC3\xA9", "a\tb\x01\x7F\xC2\x85\xC3\xA9", "a b   \xC3\xA9"},
      {"\xFF\xED\xA0\x80", "\xFF\xED\xA0\x80", times(4, replacement)},
      {std::string(256, '7'), std::string(256, '7'), std::string(256, '7')},
      {std::string(3'000'000, '7'), std::string(253, '7') + ellipsis, std::string(253, '7') + ellipsis},
      {times(300, euro), times(84, euro) + ellipsis, times(84, euro) + ellipsis},
      {std::string(300, '\n'), std::string(253, '\n') + ellipsis, std::string(253, ' ') + ellipsis},
      {std::string(300, '\xFF'), std::string(253, '\xFF') + ellipsis, times(84, replacement) + ellipsis},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(boundedText(c.text), c.bounded) << c.text.size();
    EXPECT_EQ(shownText(c.text), c.shown) << c.text.size();
  }
  // Entries keep texts of any length as boundedText does.
  PairEntry entry("BTC/USD: " + std::string(3'000'000, '7'));
  entry.addLine("Bid: " + times(1'000'000, euro));
  EXPECT_EQ(entry.headline(), "BTC/USD: " + std::string(244, '7') + ellipsis);
  EXPECT_EQ(entry.lines(), std::vector<std::string>{"Bid: " + times(82, euro) + ellipsis});
}

}  // namespace
}  // namespace pricora
