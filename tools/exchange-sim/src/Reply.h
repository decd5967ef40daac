#pragma once

#include <string>

namespace exsim {

struct Reply {
  int status = 200;
  std::string body;
  std::string contentType = "application/json";
};

// The usual reply for a path no exchange serves.
inline Reply notFound() { return {404, R"({"error":"Not found"})"}; }

}  // namespace exsim
