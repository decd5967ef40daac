#pragma once

#include <map>
#include <optional>
#include <string>

namespace pricora {

// The top-level dictionary of a property list file, XML or binary: every key with its value's
// text when the value is a string, and none when it is any other kind. None when the file is
// missing, unreadable, not a property list, or has anything but a dictionary at its top.
using PropertyDictionary = std::map<std::string, std::optional<std::string>>;
std::optional<PropertyDictionary> readPropertyListDictionary(const std::string& path);

}  // namespace pricora
