#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pricora {

// Text from an exchange may be anything its reply holds: a price a few megabytes long, control
// characters, markup. These two functions are the one policy for it. Entries keep the text as
// sent up to a length every display can take (boundedText); every output (menus, tool tips,
// labels, bars) shows it through shownText before its own escaping.

// The most bytes a title, headline or detail line keeps: room for any price or time stamp an
// exchange sends, far below what would slow a menu or a bus message down.
inline constexpr std::size_t kMaxTextBytes = 256;

// The text unchanged, byte for byte, when it has at most kMaxTextBytes bytes; else cut to at
// most that many bytes, ending in "…", never inside a character and never between a letter and
// its combining marks (unless one letter's marks fill the whole room).
std::string boundedText(std::string text);

// What a display shows of a text from outside: valid UTF-8 (each invalid byte becomes U+FFFD);
// control characters (C0, DEL, C1), format characters (bidi embeddings, overrides, isolates and
// marks, zero-width characters, ...) and the line and paragraph separators become blanks, so no
// text can turn around or break the text shown after it; and at most kMaxTextBytes bytes as
// boundedText cuts them. Reads no more of a long text than it keeps.
std::string shownText(std::string_view text);

}  // namespace pricora
