#include "core/common/TextOrder.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <string>

namespace pricora {

namespace {

bool isAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

int compareBytes(std::string_view a, std::string_view b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Canonical decomposition in UTF-8; text that is not valid UTF-8 is left as it is.
std::string decomposed(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  if (U_FAILURE(status)) return std::string(text);
  const icu::UnicodeString source =
      icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  const icu::UnicodeString result = nfd->normalize(source, status);
  if (U_FAILURE(status)) return std::string(text);
  std::string out;
  result.toUTF8String(out);
  return out;
}

}  // namespace

int compareText(std::string_view a, std::string_view b) {
  if (isAscii(a) && isAscii(b)) return compareBytes(a, b);
  if (const int c = compareBytes(decomposed(a), decomposed(b)); c != 0) return c;
  return compareBytes(a, b);
}

bool hasTitlePrefix(std::string_view title, std::string_view prefix) {
  if (isAscii(title) && isAscii(prefix)) return title.starts_with(prefix);
  const std::string t = decomposed(title);
  const std::string p = decomposed(prefix);
  if (!std::string_view(t).starts_with(p)) return false;
  if (t.size() == p.size()) return true;
  // A combining mark right after the prefix belongs to the prefix's last character.
  int32_t offset = static_cast<int32_t>(p.size());
  UChar32 next = 0;
  U8_NEXT(t.data(), offset, static_cast<int32_t>(t.size()), next);
  return next < 0 || u_getCombiningClass(next) == 0;
}

}  // namespace pricora
