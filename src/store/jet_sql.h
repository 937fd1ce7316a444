// Users write their queries in the Jet dialect: names in brackets, "Like"
// patterns with "*" and "?", dates between "#" signs, strings in single or
// double quotes. SQLite reads most of that as it is; what differs is handled
// here, in two ways:
//
//  - TranslateJetSql rewrites the text outside string literals and bracketed
//    names: "#mm/dd/yyyy#" (optionally with a time) becomes the ISO text the
//    dates are stored as, a double-quoted string becomes a single-quoted one,
//    "&" (Jet's text concatenation) becomes "||", and the Jet functions Now(),
//    Date(), Year(), Month(), Day(), UCase(), LCase(), Len(), Left(), Right(),
//    Mid(), IsNull() and Nz() are mapped to functions registered for them.
//  - RegisterJetFunctions replaces SQLite's like() (which runs every LIKE and
//    NOT LIKE) with Jet's pattern rules, and registers the functions above.
#pragma once

#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace qv {

std::string TranslateJetSql(std::string_view jetSql);

// The text between the "#" signs of a Jet date literal ("12/31/2026",
// "1/2/27", "2026-12-31", each optionally followed by "hh:mm[:ss]" and
// "AM"/"PM") as "YYYY-MM-DD HH:MM:SS"; nothing when it is not a date.
std::optional<std::string> JetDateLiteralToIso(std::string_view inside);

// A compiled Jet "Like" pattern. Rules: "*" any run of characters, "?" any
// one character, "#" one digit, "[abc]" one of the listed characters,
// "[a-c]" one in the range, "[!...]" one not listed; inside brackets "*", "?"
// and "#" stand for themselves, a "-" first or last is a plain "-", and commas
// separate the listed items ("[0,1,2]" lists three digits; "[,]" lists the
// comma). Letters match without regard to case.
class JetPattern {
 public:
  // One step of the pattern; every kind but Any matches one character.
  struct Item {
    enum class Kind { Any, One, Digit, Char, Set } kind = Kind::Char;
    char32_t c = 0;  // Char: the character, case folded
    bool negated = false;  // Set: "[!...]"
    std::vector<std::pair<char32_t, char32_t>> ranges;  // Set: inclusive, case folded
  };

  // Nothing for a pattern with a "[" that is never closed.
  static std::optional<JetPattern> Compile(std::string_view pattern);
  bool Matches(std::string_view text) const;

 private:
  std::vector<Item> items_;
};

bool JetLike(std::string_view pattern, std::string_view text);

// Registers like() and the Jet functions on a connection. SQLITE_OK or the
// engine's error code.
int RegisterJetFunctions(sqlite3* db);

}  // namespace qv
