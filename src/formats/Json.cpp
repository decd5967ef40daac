#include "formats/Json.h"

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <string_view>
#include <unordered_map>

namespace pricora {

namespace {

bool isDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// RapidJSON checks the raw bytes but decodes a lone low-surrogate escape ("\udc00") into the
// bytes ED B0 80, which are not UTF-8. Raw input never holds ED A0..BF (that is rejected before),
// so any such pair in a decoded text came from an escape that names no character.
bool hasEncodedSurrogate(const char* text, std::size_t length) {
  for (std::size_t i = 0; i + 1 < length; ++i)
    if (static_cast<unsigned char>(text[i]) == 0xED && static_cast<unsigned char>(text[i + 1]) >= 0xA0) return true;
  return false;
}

// A key written twice keeps the position of its first appearance and the value of its last.
void mergeDuplicateKeys(Json::Object& members) {
  if (members.size() < 2) return;
  std::vector<std::size_t> target(members.size());
  bool anyDuplicate = false;
  if (members.size() <= 8) {
    for (std::size_t i = 0; i < members.size(); ++i) {
      target[i] = i;
      for (std::size_t j = 0; j < i; ++j) {
        if (target[j] == j && members[j].key == members[i].key) {
          target[i] = j;
          anyDuplicate = true;
          break;
        }
      }
    }
  } else {
    std::unordered_map<std::string_view, std::size_t> first;
    first.reserve(members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
      auto [it, inserted] = first.try_emplace(members[i].key, i);
      target[i] = it->second;
      anyDuplicate |= !inserted;
    }
  }
  if (!anyDuplicate) return;
  for (std::size_t i = 0; i < members.size(); ++i)
    if (target[i] != i) members[target[i]].value = std::move(members[i].value);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (target[i] != i) continue;
    if (kept != i) members[kept] = std::move(members[i]);
    ++kept;
  }
  members.resize(kept);
}

// RapidJSON refuses numbers that no double can hold (1e400, a 400-digit integer) even when it
// hands numbers over as text. We keep every number as its text anyway, so such numbers are
// swapped for a placeholder of the same length ("0" and blanks) and given back their source
// text when the placeholder is read. Keyed by the offset just past the placeholder's "0".
std::map<std::size_t, std::string> replaceHugeNumbers(std::string& text) {
  std::map<std::size_t, std::string> replaced;
  std::size_t i = 0;
  const auto digit = [&](std::size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"') {
      for (++i; i < text.size() && text[i] != '"'; ++i)
        if (text[i] == '\\') ++i;
      ++i;
      continue;
    }
    if (c != '-' && !digit(i)) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    if (text[i] == '-') ++i;
    std::size_t integerDigits = 0;
    bool leading = true;
    for (; digit(i); ++i) {
      leading = leading && text[i] == '0';
      if (!leading) ++integerDigits;
    }
    if (i < text.size() && text[i] == '.')
      for (++i; digit(i); ++i) {
      }
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
      ++i;
      bool negative = false;
      if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
      for (; digit(i); ++i) exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000L);
      if (negative) exponent = -exponent;
    }
    if (static_cast<long>(integerDigits) + exponent > 300 || integerDigits > 300) {
      replaced.emplace(start + 1, text.substr(start, i - start));
      text[start] = '0';
      std::fill(text.begin() + static_cast<std::ptrdiff_t>(start) + 1, text.begin() + static_cast<std::ptrdiff_t>(i),
                ' ');
    }
    i = std::max(i, start + 1);
  }
  return replaced;
}

}  // namespace

// Builds the tree from RapidJSON's SAX events with an explicit stack, so neither parsing nor a
// failed parse recurses however deep the document. The values of the open containers wait on
// two stacks shared by all levels; a container takes its own once it is closed, in a vector of
// exactly their number, so a document holds no room to grow and each container is allocated once.
class JsonBuilder {
 public:
  JsonBuilder(const rapidjson::MemoryStream& stream, const std::map<std::size_t, std::string>& replaced,
              int filledDepth)
      : stream_(stream), replaced_(replaced), filledDepth_(static_cast<std::size_t>(std::max(filledDepth, 0))) {}

  bool Null() { return skipped_ > 0 || add(Json()); }
  bool Bool(bool b) { return skipped_ > 0 || add(Json::boolean(b)); }
  bool RawNumber(const char* text, rapidjson::SizeType length, bool) {
    if (skipped_ > 0) return true;
    if (!replaced_.empty()) {
      if (auto it = replaced_.find(stream_.Tell()); it != replaced_.end()) return add(Json::number(it->second));
    }
    return add(Json::number(std::string(text, length)));
  }
  bool String(const char* text, rapidjson::SizeType length, bool) {
    if (hasEncodedSurrogate(text, length)) return false;
    return skipped_ > 0 || add(Json::string(std::string(text, length)));
  }
  bool Key(const char* text, rapidjson::SizeType length, bool) {
    if (skipped_ == 0) members_.push_back(Json::Member{std::string(text, length), Json()});
    return !hasEncodedSurrogate(text, length);
  }
  bool StartObject() { return open(true); }
  bool StartArray() { return open(false); }
  bool EndObject(rapidjson::SizeType) {
    if (skipped_ > 0) return leaveSkipped();
    Json::Object members(std::make_move_iterator(members_.begin() + static_cast<std::ptrdiff_t>(open_.back().first)),
                         std::make_move_iterator(members_.end()));
    members_.resize(open_.back().first);
    mergeDuplicateKeys(members);
    return close(Json::object(std::move(members)));
  }
  bool EndArray(rapidjson::SizeType) {
    if (skipped_ > 0) return leaveSkipped();
    Json::Array elements(std::make_move_iterator(elements_.begin() + static_cast<std::ptrdiff_t>(open_.back().first)),
                         std::make_move_iterator(elements_.end()));
    elements_.resize(open_.back().first);
    return close(Json::array(std::move(elements)));
  }

  // Numbers arrive as RawNumber because of kParseNumbersAsStringsFlag; these never run.
  bool Int(int) { return false; }
  bool Uint(unsigned) { return false; }
  bool Int64(int64_t) { return false; }
  bool Uint64(uint64_t) { return false; }
  bool Double(double) { return false; }

  std::optional<Json> takeRoot() { return std::move(root_); }

 private:
  // An open container: its kind, and where its values start on their stack.
  struct Frame {
    bool object;
    std::size_t first;
  };

  bool open(bool object) {
    if (open_.size() + skipped_ >= static_cast<std::size_t>(Json::kMaxDepth)) return false;
    if (skipped_ > 0 || open_.size() >= filledDepth_) {
      // Too deep to keep: the first such level stays as an empty container, the rest are counted.
      if (skipped_++ == 0) return add(object ? Json::object() : Json::array());
      return true;
    }
    open_.push_back(Frame{object, object ? members_.size() : elements_.size()});
    return true;
  }
  bool leaveSkipped() {
    --skipped_;
    return true;
  }
  bool close(Json done) {
    open_.pop_back();
    return add(std::move(done));
  }
  // An object's value follows its key, which is on the stack already.
  bool add(Json value) {
    if (open_.empty()) {
      root_ = std::move(value);
    } else if (open_.back().object) {
      members_.back().value = std::move(value);
    } else {
      elements_.push_back(std::move(value));
    }
    return true;
  }

  const rapidjson::MemoryStream& stream_;
  const std::map<std::size_t, std::string>& replaced_;
  const std::size_t filledDepth_;
  std::size_t skipped_ = 0;  // levels open below filledDepth_
  std::vector<Frame> open_;
  std::vector<Json::Member> members_;  // of the open objects, innermost last
  std::vector<Json> elements_;         // of the open arrays, innermost last
  std::optional<Json> root_;
};

Json::~Json() {
  std::vector<Json> pending;
  moveChildrenInto(pending);
  while (!pending.empty()) {
    Json node = std::move(pending.back());
    pending.pop_back();
    node.moveChildrenInto(pending);
  }
}

void Json::moveChildrenInto(std::vector<Json>& out) {
  if (auto* elements = std::get_if<Array>(&value_)) {
    for (Json& element : *elements)
      if (element.kind() == Kind::Array || element.kind() == Kind::Object) out.push_back(std::move(element));
    elements->clear();
  } else if (auto* members = std::get_if<Object>(&value_)) {
    for (Member& member : *members)
      if (member.value.kind() == Kind::Array || member.value.kind() == Kind::Object)
        out.push_back(std::move(member.value));
    members->clear();
  }
}

const Json& Json::null() {
  static const Json value;  // immutable, so sharing it is safe
  return value;
}

Json Json::boolean(bool value) { return Json(Value(value)); }
Json Json::number(std::string sourceText) { return Json(Value(NumberText{std::move(sourceText)})); }
Json Json::string(std::string value) { return Json(Value(std::move(value))); }
Json Json::array(Array elements) { return Json(Value(std::move(elements))); }
Json Json::object(Object members) { return Json(Value(std::move(members))); }

namespace {

std::optional<Json> parseWith(std::string_view text, const std::map<std::size_t, std::string>& replaced,
                              int filledDepth, rapidjson::ParseErrorCode& error) {
  constexpr unsigned kFlags =
      rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag | rapidjson::kParseNumbersAsStringsFlag;
  rapidjson::MemoryStream stream(text.data(), text.size());
  rapidjson::Reader reader;
  JsonBuilder builder(stream, replaced, filledDepth);
  const rapidjson::ParseResult result = reader.Parse<kFlags>(stream, builder);
  error = result.Code();
  if (result.IsError()) return std::nullopt;
  return builder.takeRoot();
}

}  // namespace

std::optional<Json> Json::parse(std::string_view text, int filledDepth) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  // RapidJSON reads a NUL byte as the end of input; a raw NUL is never valid JSON anyway.
  if (std::memchr(text.data(), '\0', text.size()) != nullptr) return std::nullopt;
  rapidjson::ParseErrorCode error = rapidjson::kParseErrorNone;
  std::optional<Json> document = parseWith(text, {}, filledDepth, error);
  if (document || error != rapidjson::kParseErrorNumberTooBig) return document;
  std::string copy(text);
  const std::map<std::size_t, std::string> replaced = replaceHugeNumbers(copy);
  return parseWith(copy, replaced, filledDepth, error);
}

const Json& Json::operator[](std::string_view key) const {
  if (const Object* members = objectValue()) {
    for (const Member& member : *members)
      if (member.key == key) return member.value;
  }
  return null();
}

const Json& Json::operator[](std::size_t index) const {
  if (const Array* elements = arrayObject(); elements && index < elements->size()) return (*elements)[index];
  return null();
}

bool Json::operator==(std::string_view text) const {
  const auto* s = std::get_if<std::string>(&value_);
  return s != nullptr && *s == text;
}

std::string Json::stringValue() const {
  switch (kind()) {
    case Kind::String:
      return std::get<std::string>(value_);
    case Kind::Boolean:
      return std::get<bool>(value_) ? "true" : "false";
    case Kind::Number:
      return jsonNumberText(std::get<NumberText>(value_).text);
    default:
      return {};
  }
}

std::string jsonNumberText(std::string_view source) {
  // JSON grammar: -?int(.frac)?([eE][+-]?exp)?
  std::string_view rest = source;
  const bool negative = rest.starts_with('-');
  if (negative) rest.remove_prefix(1);
  const std::size_t e = rest.find_first_of("eE");
  std::string_view mantissa = rest.substr(0, e);
  std::string_view exponentText = e == std::string_view::npos ? std::string_view() : rest.substr(e + 1);
  const std::size_t point = mantissa.find('.');
  if (point == std::string_view::npos && e == std::string_view::npos) return std::string(source);

  const std::string_view intDigits = mantissa.substr(0, point);
  const std::string_view fracDigits = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
  bool exponentNegative = false;
  if (!exponentText.empty() && (exponentText[0] == '+' || exponentText[0] == '-')) {
    exponentNegative = exponentText[0] == '-';
    exponentText.remove_prefix(1);
  }
  while (exponentText.size() > 1 && exponentText[0] == '0') exponentText.remove_prefix(1);
  if (!isDigits(intDigits) || (point != std::string_view::npos && !isDigits(fracDigits)) ||
      (e != std::string_view::npos && !isDigits(exponentText)) || exponentText.size() > 6)
    return std::string(source);  // not a number we can reason about, or an absurd exponent

  long exponent = exponentText.empty() ? 0 : std::stol(std::string(exponentText));
  if (exponentNegative) exponent = -exponent;

  std::string digits = std::string(intDigits) + std::string(fracDigits);
  long scale = exponent - static_cast<long>(fracDigits.size());  // value = digits * 10^scale
  const std::size_t firstNonZero = digits.find_first_not_of('0');
  if (firstNonZero == std::string::npos) return negative ? "-0" : "0";
  digits.erase(0, firstNonZero);
  while (scale < 0 && digits.back() == '0') {
    digits.pop_back();
    ++scale;
  }
  if (scale < 0) return std::string(source);  // a fraction: the exchange's own text
  // Beyond the largest double the value is not finite for anyone reading it; keep the source.
  if (digits.size() + static_cast<std::size_t>(scale) > 309) return std::string(source);
  digits.append(static_cast<std::size_t>(scale), '0');
  return negative ? "-" + digits : digits;
}

}  // namespace pricora
