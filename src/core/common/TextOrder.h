#pragma once

#include <string_view>

namespace pricora {

// The order of menu titles and stored pairs: byte order for ASCII texts, a shorter text first
// when it is a prefix of the other. Texts with other characters compare after canonical
// decomposition (so "é" sorts beside "e"), then by their bytes: a total order that is byte
// order wherever both texts are ASCII.
int compareText(std::string_view a, std::string_view b);
inline bool comesAfter(std::string_view a, std::string_view b) { return compareText(a, b) > 0; }

// Whether title begins with prefix: exact bytes for ASCII, else after canonical decomposition
// and only at a character boundary ("e" does not begin "é"). An empty prefix begins anything.
bool hasTitlePrefix(std::string_view title, std::string_view prefix);

}  // namespace pricora
