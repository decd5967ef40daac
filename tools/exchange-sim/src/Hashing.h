#pragma once

#include <cstdint>
#include <string_view>

namespace exsim {

// Stable across runs, compilers and platforms (unlike std::hash), so that a seed always yields
// the same prices and the same synthesised pairs.

inline constexpr std::uint64_t mix(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

inline constexpr std::uint64_t hashText(std::string_view text, std::uint64_t salt = 0) {
  std::uint64_t h = 0xcbf29ce484222325ULL ^ mix(salt);
  for (char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001b3ULL;
  }
  return mix(h);
}

inline constexpr std::uint64_t combine(std::uint64_t a, std::uint64_t b) {
  return mix(a ^ mix(b + 0x632be59bd9b4e019ULL));
}

// Uniform in [0, 1).
inline constexpr double unitInterval(std::uint64_t h) { return static_cast<double>(h >> 11) * 0x1.0p-53; }

}  // namespace exsim
