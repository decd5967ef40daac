#pragma once

#include <string>

#include <utility>
#include <vector>
#include "platform/AppHost.h"

namespace pricora {

// The details behind an Error, in the order they are shown.
using ErrorDetails = std::vector<std::pair<std::string, std::string>>;

// An error about a file: its path comes first among the details.
Error pathError(std::string description, const std::string& path, ErrorDetails details);

// The details as Error::userInfo holds them: {path = "/a/b"; sqlite = "database is locked (5)"}.
// Quotes, backslashes and line breaks in values are escaped, so every value reads back unambiguously.
std::string renderErrorDetails(const ErrorDetails& details);

}  // namespace pricora
