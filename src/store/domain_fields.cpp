#include "store/domain_fields.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "platform/ascii.h"
#include "platform/text.h"

namespace qv {
namespace {

constexpr std::array<SchemaField, 62> kSchema = {{
    {"Domain", "text", 68},
    {"Expiry Date", "date", 0},
    {"Registrar Expiry", "date", 0},
    {"Created On", "date", 0},
    {"Last Update", "date", 0},
    {"Last Checked At", "date", 0},
    {"Registrar", "text", 64},
    {"Status", "text", 120},
    {"ID", "text", 64},
    {"Whois Server", "text", 64},
    {"Whois Source", "text", 64},
    {"IP", "text", 64},
    {"NS1", "text", 64},
    {"NS2", "text", 64},
    {"IP Checked At", "date", 0},
    {"NS3", "text", 64},
    {"NS4", "text", 64},
    {"Admin Email", "text", 120},
    {"Tech Email", "text", 120},
    {"Billing Email", "text", 120},
    {"Owner", "text", 64},
    {"Organization", "text", 120},
    {"Address", "text", 255},
    {"Owner Country", "text", 64},
    {"Lock", "byte", 1},
    {"Availability", "text", 64},
    {"Notes", "text", 255},
    {"Notes 2", "text", 255},
    {"Notes-C", "text", 255},
    {"Notes-D", "text", 255},
    {"US Tm Records", "number", 4},
    {"US Tm Checked At", "date", 0},
    {"Home Page Status", "text", 120},
    {"Home Page Modified", "date", 0},
    {"Home Page Size", "text", 64},
    {"Home Page Checked At", "date", 0},
    {"Home Page Bytes", "number", 8},
    {"Redirect URL", "text", 120},
    {"Home Page Title", "text", 180},
    {"Google Links", "number", 4},
    {"Alexa Rank", "number", 4},
    {"Alexa Links", "number", 4},
    {"MSN Links", "number", 4},
    {"Altavista Links", "number", 4},
    {"SitePop Checked At", "date", 0},
    {"Ping Time", "double", 0},
    {"Ping Check Count", "number", 4},
    {"Ping Fail Count", "number", 4},
    {"Ping Checked At", "date", 0},
    {"Edited", "text", 16},
    {"Highlighted", "text", 16},
    {"MultiLookup", "text", 16},
    {"GRP_PERSONALDOMAINS", "byte", 1},
    {"GRP_BIZDOMAINS", "byte", 1},
    {"GRP_COMPDOMAINS", "byte", 1},
    {"GRP_BOOKMARKDOMAINS", "byte", 1},
    {"GRP_KEYWORDDOMAINS", "byte", 1},
    {"GRP_HITRAFFICDOMAINS", "byte", 1},
    {"GRP_LOTRAFFICDOMAINS", "byte", 1},
    {"GRP_HIVALUEDOMAINS", "byte", 1},
    {"GRP_LOWVALUEDOMAINS", "byte", 1},
    {"GRP_DESIREDDOMAINS", "byte", 1},
}};

struct Alias {
  const char* name;
  const char* field;
};
constexpr std::array<Alias, 7> kAliases = {{
    {"Owner Name", "Owner"},
    {"Lookedup", "Last Checked At"},
    {"Registry Expiry", "Expiry Date"},
    {"Notes-A", "Notes"},
    {"Notes-B", "Notes 2"},
    {"Auth Whois", "Whois Server"},
    {"US Tm", "US Tm Records"},
}};

// The declared column types the program writes. Each is chosen so that
// SQLite's type affinity keeps the values as the field type means them (a
// number typed into a text field stays text, and so on).
struct Declared {
  FieldType type;
  const char* name;
};
constexpr std::array<Declared, 8> kDeclared = {{
    {FieldType::Text, "TEXT"},
    {FieldType::Date, "DATETIME"},
    {FieldType::Byte, "TINYINT"},
    {FieldType::Boolean, "BOOLEAN"},
    {FieldType::Currency, "CURRENCY"},
    {FieldType::Double, "DOUBLE"},
    {FieldType::Long, "INTEGER"},
    {FieldType::Memo, "LONGTEXT"},
}};

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool Contains(const std::string& haystack, const char* needle) {
  return haystack.find(needle) != std::string::npos;
}

// The number between parentheses of a declared type such as "TEXT(68)"; 0 when none.
int DeclaredSize(std::string_view declared) {
  const auto open = declared.find('(');
  if (open == std::string_view::npos) return 0;
  return std::atoi(std::string(declared.substr(open + 1)).c_str());
}

FieldType TypeFromDeclaredName(const std::string& upper) {
  const std::string base = upper.substr(0, upper.find('('));
  for (const Declared& d : kDeclared)
    if (base == d.name) return d.type;
  // Columns added by other tools, by the engine's own affinity rules.
  if (Contains(base, "TINYINT") || base == "BYTE") return FieldType::Byte;
  if (Contains(base, "BOOL") || Contains(base, "BIT")) return FieldType::Boolean;
  if (Contains(base, "INT")) return FieldType::Long;
  if (Contains(base, "DATE") || Contains(base, "TIME")) return FieldType::Date;
  if (Contains(base, "CHAR") || Contains(base, "TEXT") || Contains(base, "CLOB"))
    return DeclaredSize(upper) > 0 ? FieldType::Text : FieldType::Memo;
  if (Contains(base, "REAL") || Contains(base, "FLOA") || Contains(base, "DOUB") ||
      Contains(base, "NUMERIC") || Contains(base, "DECIMAL"))
    return FieldType::Double;
  if (Contains(base, "CURRENCY") || Contains(base, "MONEY")) return FieldType::Currency;
  return FieldType::Memo;
}

std::string ShortDateText(const Date& date) {
  if (!date.IsValid()) return "";
  const DateParts p = date.Parts();
  return ToStdString(
      QLocale::system().toString(QDate(p.year, p.month, p.day), QLocale::ShortFormat));
}

}  // namespace

std::span<const SchemaField> DomainSchema() { return kSchema; }

FieldType FieldTypeFromSchemaWord(std::string_view word) {
  static constexpr std::array<std::pair<const char*, FieldType>, 8> kWords = {{
      {"text", FieldType::Text},
      {"date", FieldType::Date},
      {"byte", FieldType::Byte},
      {"yes/no", FieldType::Boolean},
      {"currency", FieldType::Currency},
      {"double", FieldType::Double},
      {"number", FieldType::Long},
      {"memo", FieldType::Memo},
  }};
  for (const auto& [name, type] : kWords)
    if (EqualsNoCase(word, name)) return type;
  return FieldType::Text;
}

int FieldStorageSize(FieldType type, int schemaSize) {
  switch (type) {
    case FieldType::Text: return schemaSize;
    case FieldType::Date: return 8;
    case FieldType::Byte: return 1;
    case FieldType::Boolean: return 1;
    case FieldType::Currency: return 8;
    case FieldType::Double: return 8;
    case FieldType::Long: return 4;
    case FieldType::Memo: return 0;
  }
  return 0;
}

FieldInfo SchemaFieldInfo(const SchemaField& row) {
  const FieldType type = FieldTypeFromSchemaWord(row.schemaType);
  return {row.name, type, FieldStorageSize(type, row.size)};
}

std::string DeclaredColumnType(FieldType type, int size) {
  for (const Declared& d : kDeclared) {
    if (d.type != type) continue;
    if (type == FieldType::Text) return std::string(d.name) + "(" + std::to_string(size) + ")";
    return d.name;
  }
  return "TEXT";
}

FieldInfo FieldInfoFromDeclaredType(std::string name, std::string_view declared) {
  FieldInfo info;
  info.name = std::move(name);
  const std::string upper = Upper(declared);
  info.type = TypeFromDeclaredName(upper);
  info.size = info.type == FieldType::Text ? DeclaredSize(upper) : FieldStorageSize(info.type, 0);
  return info;
}

std::string ColumnDefinition(const FieldInfo& info) {
  std::string def = QuoteName(info.name) + " " + DeclaredColumnType(info.type, info.size);
  if (info.type == FieldType::Text || info.type == FieldType::Memo) def += " COLLATE NOCASE";
  return def;
}

std::string QuoteName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string ResolveFieldAlias(std::string_view name) {
  for (const Alias& a : kAliases)
    if (EqualsNoCase(name, a.name)) return a.field;
  return std::string(name);
}

bool NoCaseLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](char x, char y) { return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y)); });
}

bool IsGroupFieldName(std::string_view name) {
  return name.size() > kGroupFieldPrefix.size() &&
         EqualsNoCase(name.substr(0, kGroupFieldPrefix.size()), kGroupFieldPrefix);
}

std::string CutToFieldSize(std::string_view text, int size) {
  if (size <= 0 || text.size() <= std::size_t(size)) return std::string(text);
  if (!IsValidUtf8(text)) return std::string(text.substr(0, std::size_t(size)));
  int characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool starts = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (starts && characters++ == size) return std::string(text.substr(0, i));
  }
  return std::string(text);
}

std::string FieldValueToText(const FieldValue& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return ""; }
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(std::int32_t n) const { return std::to_string(n); }
    std::string operator()(std::uint8_t n) const { return std::to_string(int(n)); }
    std::string operator()(bool b) const { return b ? "yes" : "false"; }
    std::string operator()(double x) const {
      // "%lf" writes every digit before the point: size the buffer first.
      const int length = std::snprintf(nullptr, 0, "%lf", x);
      std::string out(std::size_t(length > 0 ? length : 0), '\0');
      std::snprintf(out.data(), out.size() + 1, "%lf", x);
      return out;
    }
    std::string operator()(const Date& d) const { return ShortDateText(d); }
  };
  return std::visit(Visitor{}, value);
}

}  // namespace qv
