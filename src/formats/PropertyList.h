#pragma once

#include <optional>
#include <string>

namespace pricora {

// The text of the string stored under key in the top-level dictionary of a property list file,
// XML or binary. None when the file is missing, unreadable, larger than a megabyte, not a
// property list, has anything but a dictionary at its top, lacks the key, or holds another kind
// of value under it. Only the wanted key is looked up: keys are never read out of the file,
// since a binary list's key may hold a NUL byte, which the property-list library asserts on.
std::optional<std::string> readPropertyListString(const std::string& path, const std::string& key);

}  // namespace pricora
