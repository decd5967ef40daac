#include "core/bar/BarLine.h"

#include <cstdio>

#include "core/exchanges/NetworkText.h"

namespace pricora {

namespace {

constexpr const char* kZeroWidthSpace = "\xE2\x80\x8B";
constexpr const char* kItemSeparator = "  ";
constexpr Rgb kStaleGrey{0x80, 0x80, 0x80};

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

// A JSON string literal of valid UTF-8 text.
std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"') {
      out += "\\\"";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
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

// A JSON string literal that every i3blocks reads alike. Version 1.4 (Debian 12's) takes a
// string up to the next quote and decodes no escapes; 1.5 decodes them. Text without quotes and
// backslashes is the same to both, so those two show as their full-width forms.
std::string i3blocksString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"')
      out += "\xEF\xBC\x82";  // U+FF02
    else if (c == '\\')
      out += "\xEF\xBC\xBC";  // U+FF3C
    else
      out += c;
  }
  return out + "\"";
}

std::string hex(Rgb colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
  return text;
}

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
    for (const std::string& line : item.details) tooltip += "\n" + pango(shownText(line));
  }
  const std::string state = jsonString(stateName(view.state));
  return "{\"text\":" + jsonString(text) + ",\"tooltip\":" + jsonString(tooltip) + ",\"class\":" + state +
         ",\"alt\":" + state + "}\n";
}

std::string polybar(const BarView& view) {
  const bool stale = view.state == BarState::stale;
  std::string line;
  for (const BarItem& item : view.items) {
    if (!line.empty()) line += kItemSeparator;
    const std::string title = polybarText(shownText(item.title));
    line += item.colour && !stale ? "%{F" + hex(*item.colour) + "}" + title + "%{F-}" : title;
    if (!item.price.empty()) line += " " + polybarText(shownText(item.price));
  }
  // Old prices are shown greyed rather than in the exchanges' colours.
  if (stale && !line.empty()) line = "%{F" + hex(kStaleGrey) + "}" + line + "%{F-}";
  return line + "\n";
}

std::string i3blocks(const BarView& view) {
  std::string full, shortText;
  std::optional<Rgb> colour;
  bool oneColour = true;
  for (const BarItem& item : view.items) {
    if (!full.empty()) full += kItemSeparator;
    full += itemText(item);
    if (!item.price.empty()) {
      if (!shortText.empty()) shortText += kItemSeparator;
      shortText += shownText(item.price);
    }
    if (&item == &view.items.front())
      colour = item.colour;
    else if (item.colour != colour)
      oneColour = false;
  }
  // A block has one colour: the exchange's when every pair is of one exchange.
  if (view.state == BarState::stale)
    colour = kStaleGrey;
  else if (!oneColour)
    colour.reset();
  std::string line = "{\"full_text\":" + i3blocksString(full) + ",\"short_text\":" + i3blocksString(shortText);
  if (colour) line += ",\"color\":" + i3blocksString(hex(*colour));
  return line + "}\n";
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
