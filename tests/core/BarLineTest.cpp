#include <gtest/gtest.h>

#include "core/bar/BarLine.h"
#include "core/exchanges/NetworkText.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;

const Rgb kBitstamp{0xF0, 0x7F, 0x5A};
const Rgb kKraken{0xDA, 0x40, 0x7A};

BarItem item(std::string title, std::string price, std::optional<Rgb> colour = kBitstamp) {
  std::string headline = price.empty() ? "" : title + ": " + price + "9";
  return {std::move(title), std::move(price), std::move(headline), {"Bid: 1", "Ask: 2"}, colour};
}

TEST(BarLine, WritesEachFormatsLine) {
  const BarView two{{item("XBT/USD", "10599.5", kKraken), item("ETH/EUR", "706.76")}, BarState::ok};
  const BarView mixed{{item("XBT/USD", "10599.5", kKraken), item("ETH/EUR", "", std::nullopt)}, BarState::updating};
  const BarView oneExchange{{item("ETH/EUR", "706.76"), item("BTC/USD", "9000.1")}, BarState::ok};
  const BarView stale{{item("ETH/EUR", "706.76")}, BarState::stale};
  BarItem earlier{"ETH/EUR", "706.76", "", {}, kBitstamp};
  earlier.earlier = "706.76 · 3 h ago";
  const BarView started{{item("XBT/USD", "10599.5", kKraken), earlier}, BarState::updating};
  const struct {
    BarFormat format;
    const BarView& view;
    std::string line;
  } cases[] = {
      {BarFormat::waybar, two,
       R"({"text":"XBT/USD 10599.5  ETH/EUR 706.76","tooltip":"XBT/USD: 10599.59\nBid: 1\nAsk: 2\n\n)"
       R"(ETH/EUR: 706.769\nBid: 1\nAsk: 2","class":"ok","alt":"ok"})"
       "\n"},
      {BarFormat::waybar, mixed,
       R"({"text":"XBT/USD 10599.5  ETH/EUR","tooltip":"XBT/USD: 10599.59\nBid: 1\nAsk: 2\n\nETH/EUR\nBid: 1\nAsk: 2",)"
       R"("class":"updating","alt":"updating"})"
       "\n"},
      {BarFormat::waybar, started,
       R"({"text":"XBT/USD 10599.5  ETH/EUR 706.76","tooltip":"XBT/USD: 10599.59\nBid: 1\nAsk: 2\n\n)"
       R"(ETH/EUR\n706.76 · 3 h ago","class":"stale","alt":"stale"})"
       "\n"},
      {BarFormat::polybar, started, "%{F#da407a}XBT/USD%{F-} 10599.5  %{F#808080}ETH/EUR 706.76%{F-}\n"},
      {BarFormat::i3blocks, started,
       R"({"full_text":"XBT/USD 10599.5  ETH/EUR 706.76","short_text":"10599.5  706.76","color":"#808080"})"
       "\n"},
      {BarFormat::polybar, two, "%{F#da407a}XBT/USD%{F-} 10599.5  %{F#f07f5a}ETH/EUR%{F-} 706.76\n"},
      {BarFormat::polybar, mixed, "%{F#da407a}XBT/USD%{F-} 10599.5  ETH/EUR\n"},
      {BarFormat::polybar, stale, "%{F#808080}ETH/EUR 706.76%{F-}\n"},
      {BarFormat::i3blocks, two,
       R"({"full_text":"XBT/USD 10599.5  ETH/EUR 706.76","short_text":"10599.5  706.76"})"
       "\n"},
      {BarFormat::i3blocks, oneExchange,
       R"({"full_text":"ETH/EUR 706.76  BTC/USD 9000.1","short_text":"706.76  9000.1","color":"#f07f5a"})"
       "\n"},
      {BarFormat::i3blocks, stale,
       R"({"full_text":"ETH/EUR 706.76","short_text":"706.76","color":"#808080"})"
       "\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(barLine(c.format, c.view), c.line);
}

TEST(BarView, PricesTurnStaleThreeRefreshIntervalsAfterTheLastRefreshOrTheStart) {
  const WallTime start{};
  EXPECT_EQ((staleAt(std::nullopt, start, 60) - start) / 1ms, 180'000);
  EXPECT_EQ((staleAt(start + 10s, start, 2.5) - start) / 1ms, 17'500);
}

// Titles and detail lines come from the exchanges: whatever they hold shows as typed, on one
// line, in valid UTF-8, and never as the bar's own markup.
TEST(BarLine, EscapesWhatComesFromOutside) {
  const std::string hostile = "<b>A&B</b> 'x' \"y\" %{F#f00}\\z\x01\n\xC3\xA9\xFF\xED\xA0\x80";
  BarItem shown{hostile, "1%", "", {"a\tb"}, std::nullopt};
  const BarView view{{shown}, BarState::ok};
  const struct {
    BarFormat format;
    std::string line;
  } cases[] = {
      {BarFormat::waybar,
       R"({"text":"&lt;b&gt;A&amp;B&lt;/b&gt; &apos;x&apos; &quot;y&quot; %{F#f00}\\z  é���� 1%",)"
       R"("tooltip":"&lt;b&gt;A&amp;B&lt;/b&gt; &apos;x&apos; &quot;y&quot; %{F#f00}\\z  é����\na b",)"
       R"("class":"ok","alt":"ok"})"
       "\n"},
      {BarFormat::polybar, "<b>A&B</b> 'x' \"y\" %\u200B{F#f00}\\z  é���� 1%\u200B\n"},
      {BarFormat::i3blocks, R"({"full_text":"<b>A&B</b> 'x' ＂y＂ %{F#f00}＼z  é���� 1%","short_text":"1%"})"
                            "\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(barLine(c.format, view), c.line);
  EXPECT_EQ(barFormatNamed("Waybar"), std::nullopt);
}

TEST(BarLine, ShowsWhichWayThePricesWentAndAlertsThatFiredUnlessToldNotTo) {
  BarItem up = item("XBT/USD", "10599.5", kKraken), down = item("ETH/EUR", "706.76");
  up.move = PriceMove{1.5, "+1.5 % in 24 h", {}};
  down.move = PriceMove{-0.25, "−0.25 % in 3 h", {}};
  down.attention = true;
  const BarView rising{{up}, BarState::ok};
  const BarView both{{up, down}, BarState::ok};
  const BarView plain{{up, down}, BarState::ok, false};
  const struct {
    BarFormat format;
    const BarView& view;
    std::string line;
  } cases[] = {
      {BarFormat::waybar, rising,
       R"({"text":"XBT/USD 10599.5","tooltip":"XBT/USD: 10599.59\nBid: 1\nAsk: 2\n+1.5 % in 24 h",)"
       R"("class":["ok","up"],"alt":"ok"})"
       "\n"},
      {BarFormat::waybar, plain,
       R"({"text":"XBT/USD 10599.5  ETH/EUR 706.76","tooltip":"XBT/USD: 10599.59\nBid: 1\nAsk: 2\n\n)"
       R"(ETH/EUR: 706.769\nBid: 1\nAsk: 2","class":["ok","alert"],"alt":"ok"})"
       "\n"},
      {BarFormat::polybar, both,
       "%{F#da407a}XBT/USD%{F-} 10599.5%{F#3fb950}▲%{F-}  "
       "%{u#ffb52a}%{+u}%{F#f07f5a}ETH/EUR%{F-} 706.76%{F#f85149}▼%{F-}%{-u}\n"},
      {BarFormat::i3blocks, rising,
       R"({"full_text":"XBT/USD 10599.5▲","short_text":"10599.5","color":"#3fb950"})"
       "\n"},
      {BarFormat::i3blocks, both,
       R"({"full_text":"XBT/USD 10599.5▲  ETH/EUR 706.76▼","short_text":"10599.5  706.76","urgent":true})"
       "\n"},
      {BarFormat::i3blocks, plain,
       R"({"full_text":"XBT/USD 10599.5  ETH/EUR 706.76","short_text":"10599.5  706.76","urgent":true})"
       "\n"},
  };
  for (const auto& [format, view, line] : cases) EXPECT_EQ(barLine(format, view), line);
}

std::string times(std::size_t count, const std::string& text) {
  std::string out;
  while (count-- > 0) out += text;
  return out;
}

// Every display shows text from outside as shownText does; entries keep it as boundedText does.
TEST(NetworkText, KeepsShortTextsAndCutsLongOnesOnACharacterBoundary) {
  const std::string euros = times(300, "€"), cut = times(84, "€") + "…";
  EXPECT_EQ(boundedText("a\tb\x7F\xC2\x85"), "a\tb\x7F\xC2\x85");
  EXPECT_EQ(shownText("a\tb\x7F\xC2\x85"), "a b  ");
  EXPECT_EQ(shownText(std::string(256, '7')), std::string(256, '7'));
  EXPECT_EQ(boundedText(euros), cut);
  EXPECT_EQ(shownText(euros), cut);
  EXPECT_EQ(shownText(std::string(3'000'000, '\xFF')), times(84, "\xEF\xBF\xBD") + "…");
  PairEntry entry("BTC/USD", std::string(3'000'000, '7'));
  entry.addLine("Bid: " + euros);
  EXPECT_EQ(entry.headline(), "BTC/USD: " + std::string(244, '7') + "…");
  EXPECT_EQ(entry.priceText(), std::string(244, '7') + "…");
  EXPECT_EQ(entry.price(), std::nullopt);  // too large to be a price
  const PairEntry plain("XBT/USD", "10558.80");
  EXPECT_EQ(plain.priceText(), "10558.80");
  EXPECT_EQ(plain.price(), 10558.8);
  EXPECT_EQ(plain.makeItem()->copy()->value(), 10558.8);
  EXPECT_EQ(entry.lines(), std::vector<std::string>{"Bid: " + times(82, "€") + "…"});
}

}  // namespace
}  // namespace pricora
