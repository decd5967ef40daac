#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/bar/BarView.h"

namespace pricora {

// The text bars `pricora --bar` writes for.
//   waybar:   one JSON object a line for a custom module with "return-type": "json"; text and
//             tool tip in Pango markup.
//   polybar:  one line of text with %{F#rrggbb} colour tags for custom/script with tail = true.
//   i3blocks: one JSON object a line for a block with interval=persist and format=json (a
//             persistent block in plain format takes one line, the full text, per update);
//             quotes and backslashes show as their full-width forms.
enum class BarFormat { waybar, polybar, i3blocks };

std::optional<BarFormat> barFormatNamed(std::string_view name);

// One update for the bar: a single line ending in "\n". The holdings' totals follow the prices
// when the view asks for them; waybar's tool tip lists every holding whenever there are some. Every text from outside
// (titles, prices, detail lines) shows as shownText shows it (valid UTF-8, control characters as blanks, of a bounded
// length), and the format's own markup in it is escaped.
std::string barLine(BarFormat format, const BarView& view);

}  // namespace pricora
