#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/json/Json.h"

namespace pricora {

// The decoded document of one reply, or none when the fetch failed: no connection, a text that
// is not a valid address, a time-out, a body that is not JSON or is too large. The HTTP status
// is deliberately not part of it: an error page whose body is JSON is a document like any other.
using JsonReply = std::optional<Json>;
using JsonCompletion = std::function<void(const JsonReply&)>;

// HTTP GET of one address with the body decoded as JSON.
class JsonFetch {
 public:
  virtual ~JsonFetch() = default;
  // Calls completion exactly once, later, on the main queue; never inside get().
  virtual void get(const std::string& url, JsonCompletion completion) = 0;
};

}  // namespace pricora
