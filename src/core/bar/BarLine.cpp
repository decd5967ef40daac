#include "core/bar/BarLine.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "core/exchanges/NetworkText.h"

namespace pricora {

namespace {

constexpr const char* kZeroWidthSpace = "\xE2\x80\x8B";
constexpr const char* kItemSeparator = "  ";
constexpr Rgb kStaleGrey{0x80, 0x80, 0x80};
constexpr Rgb kUpGreen{0x3f, 0xb9, 0x50};
constexpr Rgb kDownRed{0xf8, 0x51, 0x49};
constexpr Rgb kAlertAmber{0xff, 0xb5, 0x2a};
constexpr const char* kUpArrow = "\xE2\x96\xB2";    // U+25B2
constexpr const char* kDownArrow = "\xE2\x96\xBC";  // U+25BC

std::string pango(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

using JsonLine = rapidjson::Writer<rapidjson::StringBuffer>;

// Text goes out as it is, byte for byte, but for quotes, backslashes and control characters,
// which the writer escapes; shownText has left none of the last but the tool tip's line breaks.
void putString(JsonLine& json, std::string_view text) {
  json.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

std::string finished(const rapidjson::StringBuffer& buffer) {
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

// Polybar reads "%{" as the start of a tag, and its unreleased versions read "%%" as one "%";
// a zero-width space after every "%" keeps both from happening in every version.
std::string polybarText(std::string_view text) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == '%') out += kZeroWidthSpace;
  }
  return out;
}

// Text that every i3blocks reads alike in a JSON string. Version 1.4 (Debian 12's) takes a
// string up to the next quote and decodes no escapes; 1.5 decodes them. Text without quotes,
// backslashes and control characters (shownText leaves none) is the same to both, so the writer
// escapes nothing in it, and the first two show as their full-width forms.
std::string i3blocksText(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '"')
      out += "\xEF\xBC\x82";  // U+FF02
    else if (c == '\\')
      out += "\xEF\xBC\xBC";  // U+FF3C
    else
      out += c;
  }
  return out;
}

std::string hex(const Rgb& colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
  return text;
}

// Polybar's tags around text: a colour, or an underline. Built by appending, as GCC 12 takes a
// literal plus a temporary string for an overlapping copy.
std::string polybarTagged(std::string_view open, Rgb colour, std::string_view text, std::string_view close) {
  std::string tagged(open);
  tagged += hex(colour);
  tagged += '}';
  tagged += text;
  tagged += close;
  return tagged;
}

std::string coloured(Rgb colour, std::string_view text) { return polybarTagged("%{F", colour, text, "%{F-}"); }

const char* stateName(BarState state) {
  switch (state) {
    case BarState::updating:
      return "updating";
    case BarState::stale:
      return "stale";
    case BarState::ok:
      break;
  }
  return "ok";
}

// +1 up, -1 down, 0 flat or without a change (or changes not shown).
int direction(const BarView& view, const BarItem& item) {
  if (!view.showChange || !item.move || item.move->percent == 0) return 0;
  return item.move->percent > 0 ? 1 : -1;
}

// The way every item that moved went, when they all agree; 0 otherwise.
int sharedDirection(const BarView& view) {
  int shared = 0;
  for (const BarItem& item : view.items) {
    const int way = direction(view, item);
    if (way == 0) continue;
    if (shared != 0 && way != shared) return 0;
    shared = way;
  }
  return shared;
}

bool anyAttention(const BarView& view) {
  return std::any_of(view.items.begin(), view.items.end(), [](const BarItem& item) { return item.attention; });
}

// Prices of an earlier run read as stale ones do, until this run's replace them.
bool looksStale(const BarView& view) {
  return view.state == BarState::stale ||
         std::any_of(view.items.begin(), view.items.end(), [](const BarItem& item) { return !item.earlier.empty(); });
}

BarState shownState(const BarView& view) { return looksStale(view) ? BarState::stale : view.state; }

// "TITLE PRICE", or the title alone before the first price; valid UTF-8 on one line.
std::string itemText(const BarItem& item) {
  return item.price.empty() ? shownText(item.title) : shownText(item.title) + " " + shownText(item.price);
}

std::string waybar(const BarView& view) {
  std::string text, tooltip;
  for (const BarItem& item : view.items) {
    if (!text.empty()) text += kItemSeparator;
    text += pango(itemText(item));
    if (!tooltip.empty()) tooltip += "\n\n";
    tooltip += pango(shownText(item.headline.empty() ? item.title : item.headline));
    if (!item.earlier.empty()) (tooltip += '\n') += pango(shownText(item.earlier));
    for (const std::string& line : item.details) (tooltip += '\n') += pango(shownText(line));
    if (view.showChange && item.move) (tooltip += '\n') += pango(shownText(item.move->text));
    if (!item.holding.empty()) (tooltip += '\n') += pango(shownText(item.holding));
  }
  if (!view.holdings.empty()) {
    if (view.showHoldings) (text += kItemSeparator) += pango(shownText(view.holdings));
    if (!tooltip.empty()) tooltip += "\n\n";
    tooltip += pango(shownText(view.holdings));
  }
  const char* state = stateName(shownState(view));
  rapidjson::StringBuffer buffer;
  JsonLine json(buffer);
  json.StartObject();
  json.Key("text");
  putString(json, text);
  json.Key("tooltip");
  putString(json, tooltip);
  // Beside the state, the way the prices went and whether an alert fired: a list once there
  // is more than the state, as waybar takes either.
  std::vector<const char*> classes{state};
  if (const int way = sharedDirection(view); way != 0) classes.push_back(way > 0 ? "up" : "down");
  if (anyAttention(view)) classes.push_back("alert");
  json.Key("class");
  if (classes.size() > 1) json.StartArray();
  for (const char* name : classes) json.String(name);
  if (classes.size() > 1) json.EndArray();
  json.Key("alt");
  json.String(state);
  json.EndObject();
  return finished(buffer);
}

std::string polybar(const BarView& view) {
  const bool stale = view.state == BarState::stale;
  std::string line;
  for (const BarItem& item : view.items) {
    if (!line.empty()) line += kItemSeparator;
    const std::string title = polybarText(shownText(item.title));
    std::string shown = item.colour && !stale ? coloured(*item.colour, title) : title;
    if (!item.price.empty()) (shown += ' ') += polybarText(shownText(item.price));
    if (!item.earlier.empty() && !stale) shown = coloured(kStaleGrey, polybarText(itemText(item)));
    if (const int way = direction(view, item); way != 0) {
      const char* arrow = way > 0 ? kUpArrow : kDownArrow;
      shown += stale ? std::string(arrow) : coloured(way > 0 ? kUpGreen : kDownRed, arrow);
    }
    // An item whose alert fired is underlined, which leaves its colours as they are.
    line += item.attention ? polybarTagged("%{u", kAlertAmber, "%{+u}" + shown, "%{-u}") : shown;
  }
  if (view.showHoldings && !view.holdings.empty()) (line += kItemSeparator) += polybarText(shownText(view.holdings));
  // Old prices are shown greyed rather than in the exchanges' colours.
  if (stale && !line.empty()) line = coloured(kStaleGrey, line);
  return line + "\n";
}

std::string i3blocks(const BarView& view) {
  std::string full, shortText;
  bool oneColour = true;
  for (const BarItem& item : view.items) {
    if (!full.empty()) full += kItemSeparator;
    full += itemText(item);
    if (const int way = direction(view, item); way != 0) full += way > 0 ? kUpArrow : kDownArrow;
    if (!item.price.empty()) {
      if (!shortText.empty()) shortText += kItemSeparator;
      shortText += shownText(item.price);
    }
    if (item.colour != view.items.front().colour) oneColour = false;
  }
  if (view.showHoldings && !view.holdings.empty()) (full += kItemSeparator) += shownText(view.holdings);
  // A block has one colour: the way the prices went when they all agree, else the exchange's
  // when every pair is of one exchange.
  const int way = sharedDirection(view);
  std::optional<Rgb> colour;
  if (looksStale(view))
    colour = kStaleGrey;
  else if (way != 0)
    colour = way > 0 ? kUpGreen : kDownRed;
  else if (oneColour && !view.items.empty())
    colour = view.items.front().colour;
  rapidjson::StringBuffer buffer;
  JsonLine json(buffer);
  json.StartObject();
  json.Key("full_text");
  putString(json, i3blocksText(full));
  json.Key("short_text");
  putString(json, i3blocksText(shortText));
  if (colour) {
    json.Key("color");
    putString(json, hex(*colour));
  }
  if (anyAttention(view)) {
    json.Key("urgent");
    json.Bool(true);
  }
  json.EndObject();
  return finished(buffer);
}

}  // namespace

std::optional<BarFormat> barFormatNamed(std::string_view name) {
  if (name == "waybar") return BarFormat::waybar;
  if (name == "polybar") return BarFormat::polybar;
  if (name == "i3blocks") return BarFormat::i3blocks;
  return std::nullopt;
}

std::string barLine(BarFormat format, const BarView& view) {
  switch (format) {
    case BarFormat::polybar:
      return polybar(view);
    case BarFormat::i3blocks:
      return i3blocks(view);
    case BarFormat::waybar:
      break;
  }
  return waybar(view);
}

}  // namespace pricora
