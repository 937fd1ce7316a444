#include "whois/rdap_json.h"

#include <rapidjson/reader.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cstring>

namespace qv {
namespace {

using rapidjson::SizeType;

// Integers QJsonDocument keeps exactly, as RapidJSON does: fewer than 19 digits.
constexpr std::int64_t kExactIntegerLimit = 1'000'000'000'000'000'000;

constexpr std::size_t kUtf8TailPadding = 4;

// Decoded strings hold UTF-8 as sent, except that an unpaired low surrogate
// escape ("\udc00") comes out as the bytes of a surrogate (ED B0..BF ..),
// which QJsonDocument reads differently.
bool HoldsSurrogate(const char* text, SizeType length) {
  const char* end = text + length;
  for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, 0xED, std::size_t(end - p))));) {
    if (++p < end && static_cast<unsigned char>(*p) >= 0xA0) return true;
  }
  return false;
}

// QJsonDocument drops a byte-order mark at the start of a text it decodes;
// a text holding one anywhere is left to it.
bool HoldsByteOrderMark(const char* text, SizeType length) {
  return std::string_view(text, length).find("\xEF\xBB\xBF") != std::string_view::npos;
}

bool Unusual(const char* text, SizeType length) {
  return HoldsSurrogate(text, length) || HoldsByteOrderMark(text, length);
}

// Builds the tree from the reader's events, refusing what QJsonDocument is to
// read instead.
class TreeBuilder {
 public:
  explicit TreeBuilder(rapidjson::Document& doc) : doc_(doc) {}

  bool Null() { return doc_.Null(); }
  bool Bool(bool b) { return doc_.Bool(b); }
  bool Int(int i) { return doc_.Int(i); }
  bool Uint(unsigned u) { return doc_.Uint(u); }
  bool Int64(std::int64_t i) { return i > -kExactIntegerLimit && doc_.Int64(i); }
  bool Uint64(std::uint64_t u) { return u < std::uint64_t(kExactIntegerLimit) && doc_.Uint64(u); }
  bool Double(double) { return false; }
  bool RawNumber(const char*, SizeType, bool) { return false; }
  bool String(const char* s, SizeType n, bool copy) { return !Unusual(s, n) && doc_.String(s, n, copy); }
  bool Key(const char* s, SizeType n, bool copy) { return !Unusual(s, n) && doc_.Key(s, n, copy); }
  bool StartObject() { return ++depth_ <= kJsonFastDepth && doc_.StartObject(); }
  bool EndObject(SizeType members) { --depth_; return doc_.EndObject(members); }
  bool StartArray() { return ++depth_ <= kJsonFastDepth && doc_.StartArray(); }
  bool EndArray(SizeType elements) { --depth_; return doc_.EndArray(elements); }

 private:
  rapidjson::Document& doc_;
  int depth_ = 0;
};

JsonValue CopyOf(const QJsonValue& v, rapidjson::Document::AllocatorType& a);

JsonValue CopyOf(const QString& s, rapidjson::Document::AllocatorType& a) {
  const QByteArray utf8 = s.toUtf8();
  return JsonValue(utf8.constData(), SizeType(utf8.size()), a);
}

JsonValue CopyOf(const QJsonValue& v, rapidjson::Document::AllocatorType& a) {
  switch (v.type()) {
    case QJsonValue::Bool:
      return JsonValue(v.toBool());
    case QJsonValue::Double:
      return JsonValue(v.toDouble());
    case QJsonValue::String:
      return CopyOf(v.toString(), a);
    case QJsonValue::Array: {
      JsonValue array(rapidjson::kArrayType);
      for (const QJsonValue& e : v.toArray()) array.PushBack(CopyOf(e, a), a);
      return array;
    }
    case QJsonValue::Object: {
      JsonValue object(rapidjson::kObjectType);
      const QJsonObject o = v.toObject();
      for (auto it = o.begin(); it != o.end(); ++it) object.AddMember(CopyOf(it.key(), a), CopyOf(it.value(), a), a);
      return object;
    }
    default:
      return JsonValue();
  }
}

}  // namespace

std::string JsonTree::Read(std::string_view json) {
  if (ReadFast(json)) return {};
  return ReadWithQt(json);
}

bool JsonTree::ReadFast(std::string_view json) {
  text_.assign(json);
  // The reader checks a multi-byte UTF-8 sequence whole before it looks at
  // its bytes, so a sequence cut by the end of the text reads up to three
  // bytes past the last: they must be there (and not continuation bytes).
  text_.append(kUtf8TailPadding, '\0');
  const auto generate = [this, &json](rapidjson::Document& doc) {
    TreeBuilder builder(doc);
    rapidjson::InsituStringStream stream(text_.data());
    rapidjson::Reader reader;
    constexpr unsigned kFlags = rapidjson::kParseInsituFlag | rapidjson::kParseValidateEncodingFlag;
    if (reader.Parse<kFlags>(stream, builder).IsError()) return false;
    // The reader stops at a NUL; QJsonDocument reads on and refuses what follows.
    return stream.Tell() == json.size();
  };
  doc_.Populate(generate);
  return doc_.IsObject();
}

std::string JsonTree::ReadWithQt(std::string_view json) {
  doc_.SetNull();
  QJsonParseError parseError;
  // Read in place: the answer is not copied for the parser.
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), qsizetype(json.size())), &parseError);
  if (parseError.error != QJsonParseError::NoError)
    return "The RDAP answer is not valid JSON: " + parseError.errorString().toStdString() + " at byte " +
           std::to_string(parseError.offset) + ".";
  if (!doc.isObject()) return "The RDAP answer is not a JSON object.";
  static_cast<JsonValue&>(doc_) = CopyOf(QJsonValue(doc.object()), doc_.GetAllocator());
  return {};
}

const JsonValue* Member(const JsonValue* object, std::string_view key) {
  if (!object || !object->IsObject()) return nullptr;
  const JsonValue* found = nullptr;
  for (const auto& m : object->GetObject())
    if (std::string_view(m.name.GetString(), m.name.GetStringLength()) == key) found = &m.value;
  return found;
}

const JsonValue* Element(const JsonValue* array, std::size_t index) {
  if (!array || !array->IsArray() || index >= array->Size()) return nullptr;
  return &(*array)[SizeType(index)];
}

std::span<const JsonValue> Elements(const JsonValue* array) {
  if (!array || !array->IsArray()) return {};
  return {array->Begin(), array->Size()};
}

std::string_view StringOf(const JsonValue* value) {
  if (!value || !value->IsString()) return {};
  return {value->GetString(), value->GetStringLength()};
}

}  // namespace qv
