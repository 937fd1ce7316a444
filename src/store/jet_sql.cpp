#include "store/jet_sql.h"

#include <sqlite3.h>

#include <QChar>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/date.h"
#include "platform/text.h"

namespace qv {
namespace {

// ---------------------------------------------------------------------------
// Characters

// Decodes UTF-8; a byte that does not start a valid sequence is taken as the
// Latin-1 character of the same number, so no input is rejected.
std::u32string Decode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = s[i];
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    bool ok = len > 0 && i + std::size_t(len) <= n;
    for (int k = 1; ok && k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (s[i + k] & 0x3F);
    }
    if (!ok) {
      out.push_back(b);
      ++i;
    } else {
      out.push_back(c);
      i += std::size_t(len);
    }
  }
  return out;
}

char32_t Fold(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  return char32_t(QChar::toLower(static_cast<char32_t>(c)));
}

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

// ---------------------------------------------------------------------------
// Patterns

using Item = JetPattern::Item;

// Reads the list of a "[...]" starting after the "[". `pos` ends after the
// "]". False when there is no "]".
bool ParseSet(const std::u32string& p, std::size_t& pos, Item& item) {
  item.kind = Item::Kind::Set;
  if (pos < p.size() && p[pos] == U'!') {
    item.negated = true;
    ++pos;
  }
  const std::size_t close = p.find(U']', pos);
  if (close == std::u32string::npos) return false;
  const std::u32string body = p.substr(pos, close - pos);
  pos = close + 1;
  const bool onlyCommas = body.find_first_not_of(U',') == std::u32string::npos;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char32_t c = body[i];
    if (c == U',' && !onlyCommas) continue;
    if (i + 2 < body.size() && body[i + 1] == U'-' && body[i + 2] != U',') {
      char32_t lo = c, hi = body[i + 2];
      if (lo > hi) std::swap(lo, hi);
      // A range is folded by its ends where both are letters of one case.
      item.ranges.emplace_back(Fold(lo), Fold(hi));
      if (Fold(lo) != lo || Fold(hi) != hi) item.ranges.emplace_back(lo, hi);
      i += 2;
      continue;
    }
    item.ranges.emplace_back(Fold(c), Fold(c));
  }
  return true;
}

bool MatchesOne(const Item& item, char32_t c) {
  switch (item.kind) {
    case Item::Kind::One: return true;
    case Item::Kind::Digit: return IsDigit(c);
    case Item::Kind::Char: return Fold(c) == item.c;
    case Item::Kind::Set: {
      const char32_t f = Fold(c);
      bool listed = false;
      for (const auto& [lo, hi] : item.ranges)
        if ((f >= lo && f <= hi) || (c >= lo && c <= hi)) {
          listed = true;
          break;
        }
      return listed != item.negated;
    }
    case Item::Kind::Any: return false;
  }
  return false;
}

// Matches `count` characters, the character at i being at(i), against the
// pattern's items; "*" backs up to its last start as needed.
template <typename At>
bool MatchItems(const std::vector<Item>& items, std::size_t count, const At& at) {
  std::size_t i = 0, p = 0;
  std::size_t starP = std::string::npos, starI = 0;
  while (i < count) {
    if (p < items.size() && items[p].kind != Item::Kind::Any && MatchesOne(items[p], at(i))) {
      ++i, ++p;
    } else if (p < items.size() && items[p].kind == Item::Kind::Any) {
      starP = p++;
      starI = i;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      i = ++starI;
    } else {
      return false;
    }
  }
  while (p < items.size() && items[p].kind == Item::Kind::Any) ++p;
  return p == items.size();
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// ---------------------------------------------------------------------------
// Date literals

// Reads an unsigned number of 1 to `maxDigits` digits.
bool ReadNumber(std::string_view s, std::size_t& pos, int maxDigits, int& value) {
  const std::size_t start = pos;
  value = 0;
  while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])) &&
         int(pos - start) < maxDigits)
    value = value * 10 + (s[pos++] - '0');
  return pos > start;
}

void SkipBlanks(std::string_view s, std::size_t& pos) {
  while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
}

bool ReadDatePart(std::string_view s, std::size_t& pos, DateParts& d) {
  int a = 0, b = 0, c = 0;
  const std::size_t start = pos;
  if (!ReadNumber(s, pos, 4, a) || pos >= s.size()) return false;
  const char sep = s[pos];
  if (sep != '/' && sep != '-') return false;
  ++pos;
  if (!ReadNumber(s, pos, 2, b) || pos >= s.size() || s[pos] != sep) return false;
  ++pos;
  const std::size_t yearStart = pos;
  if (!ReadNumber(s, pos, 4, c)) return false;
  if (pos - start > 0 && yearStart - start >= 5 && sep == '-' && a > 31) {
    d.year = a, d.month = b, d.day = c;  // yyyy-mm-dd
    return true;
  }
  d.month = a, d.day = b, d.year = c;
  if (pos - yearStart <= 2) d.year += c < 30 ? 2000 : 1900;  // Jet's two-digit years
  return true;
}

bool ReadTimePart(std::string_view s, std::size_t& pos, DateParts& d) {
  if (!ReadNumber(s, pos, 2, d.hour) || pos >= s.size() || s[pos] != ':') return false;
  ++pos;
  if (!ReadNumber(s, pos, 2, d.minute)) return false;
  if (pos < s.size() && s[pos] == ':') {
    ++pos;
    if (!ReadNumber(s, pos, 2, d.second)) return false;
  }
  SkipBlanks(s, pos);
  if (pos + 2 <= s.size()) {
    const char m0 = char(std::toupper(static_cast<unsigned char>(s[pos])));
    const char m1 = char(std::toupper(static_cast<unsigned char>(s[pos + 1])));
    if ((m0 == 'A' || m0 == 'P') && m1 == 'M') {
      if (d.hour < 1 || d.hour > 12) return false;
      d.hour = d.hour % 12 + (m0 == 'P' ? 12 : 0);
      pos += 2;
    }
  }
  return d.hour < 24 && d.minute < 60 && d.second < 60;
}

// ---------------------------------------------------------------------------
// Translation

// Jet functions and the names they are registered under. `noArgs`: only the
// call with empty parentheses is Jet's (SQLite has a date() of its own).
struct Rename {
  const char* jet;
  const char* registered;
  bool noArgs;
};
constexpr std::array<Rename, 13> kRenames = {{
    {"now", "jet_now", true},
    {"date", "jet_date", true},
    {"year", "jet_year", false},
    {"month", "jet_month", false},
    {"day", "jet_day", false},
    {"ucase", "upper", false},
    {"lcase", "lower", false},
    {"len", "length", false},
    {"left", "jet_left", false},
    {"right", "jet_right", false},
    {"mid", "jet_mid", false},
    {"isnull", "jet_isnull", false},
    {"nz", "jet_nz", false},
}};

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

// The registered name for a Jet function call at `after` (the text after the
// word), or nullptr when the word is not one or is not called.
const char* RenamedFunction(std::string_view word, std::string_view after) {
  std::size_t pos = 0;
  SkipBlanks(after, pos);
  if (pos >= after.size() || after[pos] != '(') return nullptr;
  ++pos;
  SkipBlanks(after, pos);
  const bool emptyCall = pos < after.size() && after[pos] == ')';
  for (const Rename& r : kRenames) {
    if (word.size() != std::strlen(r.jet)) continue;
    bool same = true;
    for (std::size_t i = 0; i < word.size() && same; ++i)
      same = std::tolower(static_cast<unsigned char>(word[i])) == r.jet[i];
    if (same && (!r.noArgs || emptyCall)) return r.registered;
  }
  return nullptr;
}

// Copies a quoted literal starting at `pos` (the opening quote) into `out` as
// a single-quoted SQL string.
std::size_t CopyString(std::string_view sql, std::size_t pos, std::string& out) {
  const char quote = sql[pos];
  std::string body;
  std::size_t i = pos + 1;
  bool closed = false;
  while (i < sql.size()) {
    if (sql[i] == quote) {
      if (i + 1 < sql.size() && sql[i + 1] == quote) {
        body += quote;
        i += 2;
        continue;
      }
      closed = true;
      ++i;
      break;
    }
    body += sql[i++];
  }
  if (!closed) {  // leave it to SQLite to report
    out.append(sql.substr(pos));
    return sql.size();
  }
  out += '\'';
  for (char c : body) {
    if (c == '\'') out += '\'';
    out += c;
  }
  out += '\'';
  return i;
}

// ---------------------------------------------------------------------------
// SQL functions

std::string ArgText(sqlite3_value* v) {
  const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
  return t ? std::string(t, std::size_t(sqlite3_value_bytes(v))) : std::string();
}

void LikeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  // The pattern is compiled once per statement and kept with it.
  const auto* kept = static_cast<const JetPattern*>(sqlite3_get_auxdata(ctx, 0));
  std::optional<JetPattern> compiled;
  if (!kept) {
    compiled = JetPattern::Compile(ArgText(argv[0]));
    if (!compiled) {
      sqlite3_result_error(ctx, "Invalid pattern string.", -1);
      return;
    }
    sqlite3_set_auxdata(ctx, 0, new JetPattern(*compiled),
                        [](void* x) { delete static_cast<JetPattern*>(x); });
  }
  const JetPattern& pattern = kept ? *kept : *compiled;
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
  const std::string_view view = text ? std::string_view(text, std::size_t(sqlite3_value_bytes(argv[1]))) : "";
  sqlite3_result_int(ctx, pattern.Matches(view) ? 1 : 0);
}

void ResultText(sqlite3_context* ctx, const std::string& text) {
  sqlite3_result_text(ctx, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

void NowFunction(sqlite3_context* ctx, int, sqlite3_value**) { ResultText(ctx, Date::Now().ToIsoText()); }

void DateFunction(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, Date::Now().DateOnly().ToIsoText());
}

// Year(), Month(), Day() of a stored date; null for anything else.
template <int DateParts::*Part>
void DatePartFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const Date d = Date::FromIsoText(ArgText(argv[0]));
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || !d.IsValid()) {
    sqlite3_result_null(ctx);
    return;
  }
  sqlite3_result_int(ctx, d.Parts().*Part);
}

// Left/Right/Mid count characters (UTF-8), as SQLite's substr() does.
void LeftFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  const std::u32string s = Decode(ArgText(argv[0]));
  const long long n = std::max<long long>(0, sqlite3_value_int64(argv[1]));
  ResultText(ctx, ToStdString(QString::fromUcs4(s.data(), qsizetype(std::min<long long>(n, (long long)s.size())))));
}

void RightFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  const std::u32string s = Decode(ArgText(argv[0]));
  const long long n = std::min<long long>(std::max<long long>(0, sqlite3_value_int64(argv[1])), (long long)s.size());
  ResultText(ctx, ToStdString(QString::fromUcs4(s.data() + (s.size() - std::size_t(n)), qsizetype(n))));
}

void MidFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  const std::u32string s = Decode(ArgText(argv[0]));
  const long long start = sqlite3_value_int64(argv[1]);
  if (start < 1) return sqlite3_result_error(ctx, "Invalid procedure call or argument.", -1);
  long long length = argc > 2 ? sqlite3_value_int64(argv[2]) : (long long)s.size();
  if (length < 0) return sqlite3_result_error(ctx, "Invalid procedure call or argument.", -1);
  const std::size_t from = std::min<std::size_t>(std::size_t(start - 1), s.size());
  length = std::min<long long>(length, (long long)(s.size() - from));
  ResultText(ctx, ToStdString(QString::fromUcs4(s.data() + from, qsizetype(length))));
}

void IsNullFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_result_int(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL ? 1 : 0);
}

void NzFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_NULL) return sqlite3_result_value(ctx, argv[0]);
  if (argc > 1) return sqlite3_result_value(ctx, argv[1]);
  sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
}

struct Registration {
  const char* name;
  int args;
  void (*fn)(sqlite3_context*, int, sqlite3_value**);
  bool deterministic;
};

}  // namespace

// ---------------------------------------------------------------------------

std::optional<JetPattern> JetPattern::Compile(std::string_view pattern) {
  const std::u32string p = Decode(pattern);
  JetPattern out;
  for (std::size_t pos = 0; pos < p.size();) {
    Item item;
    const char32_t c = p[pos++];
    switch (c) {
      case U'*':
        if (!out.items_.empty() && out.items_.back().kind == Item::Kind::Any) continue;
        item.kind = Item::Kind::Any;
        break;
      case U'?': item.kind = Item::Kind::One; break;
      case U'#': item.kind = Item::Kind::Digit; break;
      case U'[':
        if (!ParseSet(p, pos, item)) return std::nullopt;
        if (item.ranges.empty() && !item.negated) continue;  // "[]" stands for nothing
        break;
      default: item.c = Fold(c); break;
    }
    out.items_.push_back(std::move(item));
  }
  return out;
}

bool JetPattern::Matches(std::string_view text) const {
  // Names are plain ASCII nearly always; their bytes are their characters and
  // need no decoding (a LIKE over a long list asks this once a row).
  if (IsAscii(text))
    return MatchItems(items_, text.size(), [&text](std::size_t i) { return char32_t(text[i]); });
  const std::u32string t = Decode(text);
  return MatchItems(items_, t.size(), [&t](std::size_t i) { return t[i]; });
}

bool JetLike(std::string_view pattern, std::string_view text) {
  const std::optional<JetPattern> compiled = JetPattern::Compile(pattern);
  return compiled && compiled->Matches(text);
}

std::optional<std::string> JetDateLiteralToIso(std::string_view inside) {
  std::size_t pos = 0;
  SkipBlanks(inside, pos);
  DateParts d;
  if (!ReadDatePart(inside, pos, d)) return std::nullopt;
  SkipBlanks(inside, pos);
  if (pos < inside.size() && !ReadTimePart(inside, pos, d)) return std::nullopt;
  SkipBlanks(inside, pos);
  if (pos != inside.size()) return std::nullopt;
  const Date date = Date::FromParts(d);
  if (!date.IsValid()) return std::nullopt;
  return date.ToIsoText();
}

std::string TranslateJetSql(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 16);
  std::size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      i = CopyString(sql, i, out);
    } else if (c == '[') {
      const std::size_t close = sql.find(']', i);
      const std::size_t end = close == std::string_view::npos ? sql.size() : close + 1;
      out.append(sql.substr(i, end - i));
      i = end;
    } else if (c == '#') {
      const std::size_t close = sql.find('#', i + 1);
      std::optional<std::string> iso;
      if (close != std::string_view::npos) iso = JetDateLiteralToIso(sql.substr(i + 1, close - i - 1));
      if (iso) {
        out += '\'' + *iso + '\'';
        i = close + 1;
      } else {
        out += c;
        ++i;
      }
    } else if (c == '&') {
      out += "||";
      ++i;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const std::size_t eol = sql.find('\n', i);
      const std::size_t end = eol == std::string_view::npos ? sql.size() : eol;
      out.append(sql.substr(i, end - i));
      i = end;
    } else if (IsWordStart(c)) {
      std::size_t end = i;
      while (end < sql.size() && IsWordChar(sql[end])) ++end;
      const std::string_view word = sql.substr(i, end - i);
      const char* renamed = RenamedFunction(word, sql.substr(end));
      out.append(renamed ? std::string_view(renamed) : word);
      i = end;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      // A number (maybe "1e5" or "0x1F") is copied whole so its letters are
      // never read as a word.
      std::size_t end = i;
      while (end < sql.size() && (IsWordChar(sql[end]) || sql[end] == '.')) ++end;
      out.append(sql.substr(i, end - i));
      i = end;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

int RegisterJetFunctions(sqlite3* db) {
  static constexpr std::array<Registration, 13> kFunctions = {{
      {"like", 2, &LikeFunction, true},
      {"jet_now", 0, &NowFunction, false},
      {"jet_date", 0, &DateFunction, false},
      {"jet_year", 1, &DatePartFunction<&DateParts::year>, true},
      {"jet_month", 1, &DatePartFunction<&DateParts::month>, true},
      {"jet_day", 1, &DatePartFunction<&DateParts::day>, true},
      {"jet_left", 2, &LeftFunction, true},
      {"jet_right", 2, &RightFunction, true},
      {"jet_mid", 2, &MidFunction, true},
      {"jet_mid", 3, &MidFunction, true},
      {"jet_isnull", 1, &IsNullFunction, true},
      {"jet_nz", 1, &NzFunction, true},
      {"jet_nz", 2, &NzFunction, true},
  }};
  for (const Registration& r : kFunctions) {
    const int flags = SQLITE_UTF8 | (r.deterministic ? SQLITE_DETERMINISTIC : 0);
    const int rc = sqlite3_create_function(db, r.name, r.args, flags, nullptr, r.fn, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

}  // namespace qv
