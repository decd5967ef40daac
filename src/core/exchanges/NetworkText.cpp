#include "core/exchanges/NetworkText.h"

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

bool isControl(std::string_view sequence) {
  const auto lead = static_cast<unsigned char>(sequence[0]);
  if (sequence.size() == 1) return lead < 0x20 || lead == 0x7F;
  // U+0080 to U+009F
  return sequence.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;
}

}  // namespace

std::string boundedText(std::string text) {
  if (text.size() <= kMaxTextBytes) return text;
  std::size_t cut = kMaxTextBytes - kEllipsis.size();
  // A character has at most three continuation bytes; text that is not UTF-8 is cut anywhere.
  for (int back = 0; back < 3 && cut > 0 && isContinuation(text[cut]); ++back) --cut;
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
    if (isControl(sequence))
      out += ' ';
    else
      out += sequence;
    i += length;
  }
  return boundedText(std::move(out));
}

}  // namespace pricora
