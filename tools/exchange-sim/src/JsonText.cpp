#include "JsonText.h"

#include "EmbeddedData.h"

namespace exsim {

rapidjson::Document recording(std::string_view name) {
  const std::string_view text = embeddedFile(name);
  rapidjson::Document document;
  document.Parse(text.data(), text.size());
  return document;
}

}  // namespace exsim
