#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace pricora {

// A decoded JSON document: null, boolean, number, string, array or object. Objects keep their
// members in document order; a key that appears twice keeps its first position and its last
// value, so lookup and iteration agree. Numbers keep their source text, so nothing an exchange
// sends is rounded on the way to the menu.
//
// Access never fails: a missing member, an index out of range or a value of the wrong kind
// yields the null value, and the null value's text is empty.
//
// Values are move-only (documents can be megabytes) and are destroyed without recursion.
class Json {
 public:
  enum class Kind { Null, Boolean, Number, String, Array, Object };
  struct Member;
  using Array = std::vector<Json>;
  using Object = std::vector<Member>;

  Json() = default;
  Json(Json&&) noexcept = default;
  Json& operator=(Json&&) noexcept = default;
  Json(const Json&) = delete;
  Json& operator=(const Json&) = delete;
  ~Json();

  static Json boolean(bool value);
  static Json number(std::string sourceText);
  static Json string(std::string value);
  static Json array(Array elements = {});
  static Json object(Object members);
  static Json object();

  // Parses UTF-8 JSON text; a bare scalar at top level is a document. None for text that is
  // not JSON, is not valid UTF-8 (also after decoding escapes: a lone surrogate is refused), or
  // nests deeper than kMaxDepth.
  //
  // Containers nested more than filledDepth levels deep (the top-level container is level 1)
  // are checked like the rest but kept empty, of their kind: a reader of a listing's keys need
  // not hold the thousands of records under them.
  static constexpr int kMaxDepth = 512;
  static std::optional<Json> parse(std::string_view text, int filledDepth = kMaxDepth);

  // The null value, for a reference that must point at something.
  static const Json& null();

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool isNull() const { return kind() == Kind::Null; }

  const Json& operator[](std::string_view key) const;
  const Json& operator[](std::size_t index) const;
  const Json& operator[](int index) const { return (*this)[static_cast<std::size_t>(index < 0 ? -1 : index)]; }

  // The text shown for a value: a string unchanged; "true"/"false"; a number as its source text,
  // except that an integral value written with a fraction of zeros or an exponent is written as
  // plain digits (6000.0 -> 6000, 1.5e3 -> 1500); empty for null, arrays and objects.
  std::string stringValue() const;

  // The elements when this is an array, else none.
  const Array* arrayObject() const { return std::get_if<Array>(&value_); }
  const Object* objectValue() const { return std::get_if<Object>(&value_); }

  // True only for a string value equal to text.
  bool operator==(std::string_view text) const;

  // Visits object members as (key, value) in document order, or array elements as
  // (index text, element); nothing for any other kind.
  template <typename Visit>
  void forEach(Visit&& visit) const;

 private:
  struct NumberText {
    std::string text;
  };
  using Value = std::variant<std::monostate, bool, NumberText, std::string, Array, Object>;

  explicit Json(Value value);
  void moveChildrenInto(std::vector<Json>& out);

  Value value_;

  friend class JsonBuilder;
};

struct Json::Member {
  std::string key;
  Json value;
};

// Defined here, where Member is complete: clang needs it complete wherever a body uses Object.
inline Json::Json(Value value) : value_(std::move(value)) {}
inline Json Json::object() { return object(Object{}); }

// The display text of a JSON number given as its source text (see Json::stringValue).
std::string jsonNumberText(std::string_view source);

template <typename Visit>
void Json::forEach(Visit&& visit) const {
  if (const Object* members = objectValue()) {
    for (const Member& member : *members) visit(std::string_view(member.key), member.value);
  } else if (const Array* elements = arrayObject()) {
    for (std::size_t i = 0; i < elements->size(); ++i) {
      const std::string index = std::to_string(i);
      visit(std::string_view(index), (*elements)[i]);
    }
  }
}

}  // namespace pricora
