// The JSON reader of RDAP answers against QJsonDocument: the same texts are
// refused, and a text both read gives the same tree (strings compared as the
// UTF-8 the reader hands on, numbers as doubles, the last of equal keys).
// Then the whole answer is read as a lookup reads it.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <set>
#include <string>

#include "fuzz_support.h"
#include "whois/rdap_answer.h"
#include "whois/rdap_json.h"

namespace {

bool Same(const qv::JsonValue& tree, const QJsonValue& qt);

// Qt's reader drops a byte-order mark that starts a key after it has
// checked the keys for repeats, so "href" and BOM+"href" leave an object
// holding "href" twice. Such a text is read by Qt (the fast reader refuses
// keys with a byte-order mark) and the tree is Qt's object copied in order.
bool HoldsKeyTwice(const QJsonObject& object) {
  const QStringList keys = object.keys();
  return std::set<QString>(keys.begin(), keys.end()).size() != std::size_t(keys.size());
}

bool SameInOrder(const qv::JsonValue& tree, const QJsonObject& object) {
  if (tree.MemberCount() != static_cast<decltype(tree.MemberCount())>(object.size())) return false;
  auto member = tree.MemberBegin();
  for (auto it = object.begin(); it != object.end(); ++it, ++member)
    if (std::string(member->name.GetString(), member->name.GetStringLength()) != it.key().toStdString() ||
        !Same(member->value, it.value()))
      return false;
  return true;
}

bool Same(const qv::JsonValue& tree, const QJsonValue& qt) {
  switch (qt.type()) {
    case QJsonValue::Null:
      return tree.IsNull();
    case QJsonValue::Bool:
      return tree.IsBool() && tree.GetBool() == qt.toBool();
    case QJsonValue::Double:
      return tree.IsNumber() && tree.GetDouble() == qt.toDouble();
    case QJsonValue::String:
      return qv::StringOf(&tree) == qt.toString().toStdString() && tree.IsString();
    case QJsonValue::Array: {
      const QJsonArray array = qt.toArray();
      if (!tree.IsArray() || tree.Size() != array.size()) return false;
      for (qsizetype i = 0; i < array.size(); ++i)
        if (!Same(*qv::Element(&tree, std::size_t(i)), array.at(i))) return false;
      return true;
    }
    case QJsonValue::Object: {
      const QJsonObject object = qt.toObject();
      if (!tree.IsObject()) return false;
      if (HoldsKeyTwice(object)) return SameInOrder(tree, object);
      std::set<std::string> keys;
      for (const auto& m : tree.GetObject()) keys.emplace(m.name.GetString(), m.name.GetStringLength());
      if (keys.size() != std::size_t(object.size())) return false;
      for (auto it = object.begin(); it != object.end(); ++it) {
        const qv::JsonValue* value = qv::Member(&tree, it.key().toStdString());
        if (!value || !Same(*value, it.value())) return false;
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = qvfuzz::AsText(data, size);
  qv::JsonTree tree;
  const bool read = tree.Read(text).empty();
  const QJsonDocument qt = QJsonDocument::fromJson(QByteArray::fromRawData(text.data(), qsizetype(size)));
  if (read != qt.isObject()) std::abort();
  if (read && !Same(tree.root(), qt.object())) std::abort();
  (void)qv::ReadRdapAnswer(text);
  return 0;
}
