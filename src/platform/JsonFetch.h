#pragma once

#include <functional>
#include <optional>
#include <string>

#include "formats/Json.h"

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
  // The same, for a reader of the first filledDepth levels only (see Json::parse): deeper
  // containers may arrive empty, which spares a listing's records. A fetch may give it all.
  virtual void getOutline(const std::string& url, int filledDepth, JsonCompletion completion) {
    (void)filledDepth;
    get(url, std::move(completion));
  }
};

}  // namespace pricora
