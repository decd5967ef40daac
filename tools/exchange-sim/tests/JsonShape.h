#pragma once

#include <rapidjson/document.h>
#include <string>
#include <string_view>

namespace exsim::test {

inline rapidjson::Document parsed(std::string_view text) {
  rapidjson::Document document;
  document.Parse(text.data(), text.size());
  return document;
}

// Member names and value types, ignoring values: {"a":["1"],"b":null} -> {a:[s],b:null}.
// Arrays of like elements read as one element, since their lengths are data, not shape.
inline std::string shapeOf(const rapidjson::Value& value) {
  if (value.IsObject()) {
    std::string shape = "{";
    for (const auto& member : value.GetObject())
      shape += std::string(member.name.GetString()) + ":" + shapeOf(member.value) + ",";
    return shape + "}";
  }
  if (value.IsArray()) {
    std::string shape = "[";
    std::string previous;
    for (const auto& element : value.GetArray()) {
      std::string each = shapeOf(element);
      if (each != previous) shape += each + ",";
      previous = std::move(each);
    }
    return shape + "]";
  }
  return value.IsString() ? "s" : value.IsNumber() ? "n" : value.IsNull() ? "null" : "b";
}

}  // namespace exsim::test
