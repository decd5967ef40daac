#include "formats/PropertyList.h"

#include <plist/plist.h>

#include <fstream>
#include <iterator>
#include <memory>

namespace pricora {

namespace {

// A settings resource is a few hundred bytes; anything far larger is not one of ours.
constexpr std::streamsize kMaxFileSize = 1 << 20;

struct PlistFree {
  void operator()(plist_t node) const { plist_free(node); }
};

}  // namespace

std::optional<std::string> readPropertyListString(const std::string& path, const std::string& key) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  // Read in pieces: a buffer of the largest size allowed would cost a megabyte for every
  // few-hundred-byte file.
  std::string data;
  char piece[16384];
  while (file.read(piece, sizeof piece) || file.gcount() > 0) {
    data.append(piece, static_cast<std::size_t>(file.gcount()));
    if (data.size() > static_cast<std::size_t>(kMaxFileSize)) return std::nullopt;
  }
  if (file.bad() || data.empty()) return std::nullopt;

  plist_t raw = nullptr;
  plist_from_memory(data.data(), static_cast<uint32_t>(data.size()), &raw);
  std::unique_ptr<void, PlistFree> root(raw);
  if (!root || plist_get_node_type(root.get()) != PLIST_DICT) return std::nullopt;
  const plist_t value = plist_dict_get_item(root.get(), key.c_str());
  if (value == nullptr || plist_get_node_type(value) != PLIST_STRING) return std::nullopt;
  uint64_t length = 0;
  const char* chars = plist_get_string_ptr(value, &length);
  return chars ? std::string(chars, length) : std::string();
}

}  // namespace pricora
