#pragma once

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <string>
#include <string_view>

namespace exsim {

// Replies are written member by member so that their order and their types (string, number,
// null) follow the recordings exactly.
class JsonText {
 public:
  JsonText& open() { return step(writer_.StartObject()); }
  JsonText& close() { return step(writer_.EndObject()); }
  JsonText& openArray() { return step(writer_.StartArray()); }
  JsonText& closeArray() { return step(writer_.EndArray()); }
  JsonText& key(std::string_view name) { return step(writer_.Key(name.data(), size(name))); }
  JsonText& string(std::string_view text) { return step(writer_.String(text.data(), size(text))); }
  // A number spelled exactly as given ("8956.999"), rather than as a double would print.
  JsonText& number(std::string_view digits) {
    return step(writer_.RawValue(digits.data(), digits.size(), rapidjson::kNumberType));
  }
  JsonText& number(long long value) { return step(writer_.Int64(value)); }
  JsonText& null() { return step(writer_.Null()); }
  JsonText& value(const rapidjson::Value& value) { return step(value.Accept(writer_)); }

  JsonText& member(std::string_view name, std::string_view text) { return key(name).string(text); }

  std::string text() const { return {buffer_.GetString(), buffer_.GetSize()}; }

 private:
  static rapidjson::SizeType size(std::string_view text) { return static_cast<rapidjson::SizeType>(text.size()); }
  JsonText& step(bool) { return *this; }

  rapidjson::StringBuffer buffer_;
  rapidjson::Writer<rapidjson::StringBuffer> writer_{buffer_};
};

// Parses an embedded recording; recordings are known to be valid JSON.
rapidjson::Document recording(std::string_view name);

}  // namespace exsim
