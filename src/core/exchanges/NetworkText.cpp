#include "core/exchanges/NetworkText.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace pricora {

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";     // U+2026
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (!isContinuation(text[i + k])) return 0;
  return length;
}

UChar32 codePoint(std::string_view sequence) {
  int32_t i = 0;
  UChar32 c = 0;
  U8_NEXT(sequence.data(), i, static_cast<int32_t>(sequence.size()), c);
  return c;
}

// Characters a display must not show as they are: controls (C0, DEL, C1), which move the caret
// or end lines, and the invisible ones that change how the text around them reads: the bidi
// embeddings, overrides, isolates and marks (U+202A-U+202E, U+2066-U+2069, U+200E, U+200F,
// U+061C), every other format character (zero-width ones, the deprecated shaping switches that
// mirror brackets, tags, ...) and the line and paragraph separators U+2028 and U+2029. A price
// such as "\u202E10599.5" would otherwise turn every text after it around, other exchanges'
// prices included.
bool isHidden(UChar32 c) {
  switch (u_charType(c)) {
    case U_CONTROL_CHAR:
    case U_FORMAT_CHAR:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
      return true;
    default:
      return false;
  }
}

// A character that belongs to the one before it: a combining mark, a joiner, a variation selector.
bool extendsCluster(UChar32 c) {
  switch (u_getIntPropertyValue(c, UCHAR_GRAPHEME_CLUSTER_BREAK)) {
    case U_GCB_EXTEND:
    case U_GCB_ZWJ:
    case U_GCB_SPACING_MARK:
      return true;
    default:
      return false;
  }
}

// The start of the character that holds text[at].
std::size_t characterStart(std::string_view text, std::size_t at) {
  // A character has at most three continuation bytes; text that is not UTF-8 is cut anywhere.
  for (int back = 0; back < 3 && at > 0 && isContinuation(text[at]); ++back) --at;
  return at;
}

}  // namespace

std::string boundedText(std::string text) {
  if (text.size() <= kMaxTextBytes) return text;
  const std::size_t room = kMaxTextBytes - kEllipsis.size();
  std::size_t cut = characterStart(text, room);
  // Marks go with the letter they sit on: back to the start of that letter, unless the letter and
  // its marks fill the whole room, where a cut between two marks is the best there is.
  for (std::size_t start = cut; start > 0;) {
    const std::size_t length = sequenceLength(text, start);
    if (length == 0 || !extendsCluster(codePoint(std::string_view(text).substr(start, length)))) {
      cut = start;
      break;
    }
    start = characterStart(text, start - 1);
  }
  text.resize(cut);
  text += kEllipsis;
  return text;
}

std::string shownText(std::string_view text) {
  std::string out;
  // Every byte read adds at least one: once past the bound, the rest would be cut anyway.
  for (std::size_t i = 0; i < text.size() && out.size() <= kMaxTextBytes;) {
    const std::size_t length = sequenceLength(text, i);
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    const std::string_view sequence = text.substr(i, length);
    if (isHidden(codePoint(sequence)))
      out += ' ';
    else
      out += sequence;
    i += length;
  }
  return boundedText(std::move(out));
}

}  // namespace pricora
