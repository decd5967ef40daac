#include "SyntheticCodes.h"

#include <set>

#include "Hashing.h"

namespace exsim {

std::vector<std::string> syntheticCodes(std::size_t count, const std::function<bool(std::string_view)>& taken) {
  // No leading X or Z: Kraken reads those as its own prefixes of old asset names.
  constexpr std::string_view kFirst = "BCDFGHJKLMNPRSTVW";
  constexpr std::string_view kConsonants = "BCDFGHJKLMNPRSTVWXZ";
  constexpr std::string_view kVowels = "AEIOU";
  std::vector<std::string> codes;
  std::set<std::string, std::less<>> seen;
  for (std::uint64_t i = 0; codes.size() < count; ++i) {
    std::uint64_t h = mix(i ^ 0x5ca1ab1eULL);
    auto pick = [&h](std::string_view letters) {
      const char letter = letters[h % letters.size()];
      h /= letters.size();
      return letter;
    };
    std::string code{pick(kFirst), pick(kVowels), pick(kConsonants)};
    if (h % 3 == 0) code += pick(h % 2 ? kVowels : kConsonants);
    if (taken(code) || !seen.insert(code).second) continue;
    codes.push_back(code);
  }
  return codes;
}

}  // namespace exsim
