// The JSON of an RDAP answer as a tree the reader walks.
//
// An answer is read with RapidJSON in place, which is several times faster
// than QJsonDocument. Anything that reader would take differently from
// QJsonDocument (numbers with a fraction or exponent or of 19 digits and
// more, unpaired surrogate escapes, nesting deeper than kJsonFastDepth, a
// byte-order mark, raw control characters, text after a NUL) is read by
// QJsonDocument instead and copied into the tree, so every answer reads as
// QJsonDocument reads it, with its error texts.
#pragma once

#include <rapidjson/document.h>

#include <span>
#include <string>
#include <string_view>

namespace qv {

using JsonValue = rapidjson::Value;

// Deeper answers than this are left to QJsonDocument (which refuses more
// than 1024 levels); real answers nest about 10 deep.
inline constexpr int kJsonFastDepth = 64;

class JsonTree {
 public:
  // Reads `json`; the error text is empty when it held a JSON object, which
  // root() then is.
  std::string Read(std::string_view json);
  const JsonValue& root() const { return doc_; }

 private:
  bool ReadFast(std::string_view json);
  std::string ReadWithQt(std::string_view json);

  std::string text_;  // the answer being read, which strings of the tree point into
  rapidjson::Document doc_;
};

// The value of `key` in an object (the last one, when the key comes twice);
// null when `object` is null or no object or has no such key.
const JsonValue* Member(const JsonValue* object, std::string_view key);
// The element at `index` of an array; null when there is none.
const JsonValue* Element(const JsonValue* array, std::size_t index);
// The elements of an array; none when `array` is null or no array.
std::span<const JsonValue> Elements(const JsonValue* array);
// The text of a string value; empty for anything else.
std::string_view StringOf(const JsonValue* value);

}  // namespace qv
