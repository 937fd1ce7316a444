#include "whois/field_extraction.h"

#include <limits>
#include <optional>
#include <unordered_set>

#include "platform/ascii.h"
#include "platform/settings_store.h"
#include "whois/builtin_tables.h"
#include "whois/field_text.h"
#include "whois/generic_tokens.h"
#include "whois/normalise.h"
#include "whois/server_directory.h"
#include "whois/token_keys.h"
#include "whois/whois_date.h"

namespace qv {
namespace {

using fieldtext::Trim;
using fieldtext::TrimLeft;
constexpr std::size_t npos = std::string_view::npos;

constexpr std::string_view kValueTrim = "- :.";
constexpr std::string_view kRestTrim = "-:. \n\r";
constexpr std::string_view kLineBreaks = "\r\n";
constexpr std::string_view kWhitespace = " \t\r\n";
constexpr std::string_view kHostTrim = "\r\n \t";
constexpr std::string_view kWorkingTrim = "-: \r\n";
constexpr std::string_view kEmailSeparators = "\t \r\n:,#()[]<>";
constexpr std::string_view kNameServerKey = "Name Server Tokens";

// The value that follows a label, given the text after it: the rest of the
// label's line, or when that is empty the next line that is not. A value on
// the text's last line counts even without a line break after it.
std::string_view ValueIn(std::string_view rest) {
  std::string_view value;
  while (!rest.empty()) {
    const std::size_t br = rest.find_first_of(kLineBreaks);
    if (br == npos) return Trim(rest, kValueTrim);
    value = Trim(rest.substr(0, br), kValueTrim);
    if (!value.empty()) break;
    // Only the start matters: the next round reads up to the next break.
    rest = TrimLeft(rest.substr(br + 1), kRestTrim);
  }
  return value;
}

// Where the first blank line after `from` starts (a line feed followed by a
// line feed, with or without a carriage return between); npos when none.
std::size_t BlankLineAt(std::string_view text, std::size_t from) {
  for (std::size_t lf = text.find('\n', from); lf != npos; lf = text.find('\n', lf + 1)) {
    std::size_t next = lf + 1;
    if (next < text.size() && text[next] == '\r') ++next;
    if (next < text.size() && text[next] == '\n') return lf;
  }
  return npos;
}

// Splits a server's stored list into its tokens: "{lf}" becomes a line feed,
// blanks and tabs around a token go, empty tokens are dropped.
std::vector<std::string> ServerTokens(std::string_view list) {
  std::vector<std::string> tokens;
  while (!list.empty()) {
    const std::size_t bar = list.find('|');
    const std::string_view raw = list.substr(0, bar);
    std::string token;
    for (std::size_t pos = 0; pos < raw.size();) {
      const std::size_t at = raw.find("{lf}", pos);
      token.append(raw.substr(pos, at == npos ? npos : at - pos));
      if (at == npos) break;
      token += '\n';
      pos = at + 4;
    }
    const std::string_view trimmed = Trim(token, " \t");
    if (!trimmed.empty()) tokens.emplace_back(trimmed);
    if (bar == npos) break;
    list.remove_prefix(bar + 1);
  }
  return tokens;
}

// A position directive: "$$L n" (line n) or "$$P n" (paragraph n).
struct Directive {
  char kind = 0;
  std::size_t number = 0;
};

std::optional<Directive> DirectiveOf(std::string_view list) {
  if (list.size() <= 3 || list.substr(0, 2) != "$$") return std::nullopt;
  Directive d;
  d.kind = list[2];
  std::string_view digits = TrimLeft(list.substr(3), " \t");
  for (char c : digits) {
    if (c < '0' || c > '9') break;
    // A number beyond any text's line count stays beyond it.
    if (d.number > std::numeric_limits<std::size_t>::max() / 10 - 1) {
      d.number = std::numeric_limits<std::size_t>::max();
      break;
    }
    d.number = d.number * 10 + std::size_t(c - '0');
  }
  return d;
}

// Line n (from 1) of the text; lines end at a line feed, a carriage return
// or the two together. Empty when there is no such line.
std::string_view LineOf(std::string_view text, std::size_t n) {
  std::size_t begin = 0;
  for (std::size_t line = 1; begin <= text.size(); ++line) {
    const std::size_t br = text.find_first_of(kLineBreaks, begin);
    const std::size_t end = br == npos ? text.size() : br;
    if (line == n) return text.substr(begin, end - begin);
    if (br == npos) break;
    begin = br + 1;
    if (text[br] == '\r' && begin < text.size() && text[begin] == '\n') ++begin;
  }
  return {};
}

// Paragraph n (from 1), paragraphs being separated by blank lines.
std::string_view ParagraphOf(std::string_view text, std::size_t n) {
  std::size_t begin = 0;
  for (std::size_t para = 1;; ++para) {
    const std::size_t blank = BlankLineAt(text, begin);
    const std::size_t end = blank == npos ? text.size() : blank;
    if (para == n) return text.substr(begin, end - begin);
    if (blank == npos) return {};
    begin = blank + 1;
    if (text[begin] == '\r') ++begin;
    ++begin;  // the second line feed
  }
}

// What a directive names in the text; the view points into `text`.
std::string_view DirectiveTarget(std::string_view text, const Directive& d) {
  const std::string_view trimmed = Trim(text, kWhitespace);
  if (d.number == 0) return {};
  if (d.kind == 'L') return Trim(LineOf(trimmed, d.number), kWhitespace);
  if (d.kind == 'P') return Trim(ParagraphOf(trimmed, d.number), kWhitespace);
  return {};
}

std::string WithoutCarriageReturns(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

std::string DirectiveValue(std::string_view text, const Directive& d) {
  const std::string_view target = DirectiveTarget(text, d);
  return d.kind == 'P' ? WithoutCarriageReturns(target) : std::string(target);
}

std::string FirstEmailIn(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find_first_of(kEmailSeparators, begin);
    if (end == npos) end = text.size();
    const std::string_view word = text.substr(begin, end - begin);
    if (word.find('@', 1) != npos) return std::string(word);
    begin = end + 1;
  }
  return {};
}

bool IsDottedIpv4(std::string_view s) {
  if (s.size() < 5 || s.size() > 15) return false;
  int dots = 0;
  for (char c : s) {
    if (c == '.') ++dots;
    else if (c < '0' || c > '9') return false;
  }
  return dots == 3;
}

bool IsHost(std::string_view s) {
  return !s.empty() && s.find('.', 1) != npos && !IsDottedIpv4(s);
}

// The name-server search over a shrinking working text. The working text is
// always a tail of the clean text, read as if a line feed stood before it;
// each label's next occurrence is remembered, so a long answer is scanned
// once per label rather than once per name server found.
class NameServerScan {
 public:
  NameServerScan(std::string_view text, const std::string& serverList, std::string_view builtin)
      : text_(text), start_(1), end_(text.size()) {
    directive_ = DirectiveOf(serverList);
    if (!directive_) owned_ = ServerTokens(serverList);
    for (std::string& t : ServerTokens(builtin)) owned_.push_back(std::move(t));
    for (const std::string& t : owned_) labels_.push_back({t});
    for (std::string_view t : GenericTokens(kNameServerKey)) labels_.push_back({t});
  }

  std::vector<std::string> Run() {
    std::vector<std::string> hosts;
    std::size_t lastCut = npos;
    while (true) {
      std::size_t valueEnd = npos;
      const std::string_view value = NextValue(valueEnd);
      if (value.empty()) break;
      lastCut = valueEnd;
      CutAt(valueEnd);
      AddHost(HostFromValue(value), hosts);
    }
    // One host after a label: the rest of the list stands on the lines below.
    if (hosts.size() == 1) FollowingLines(lastCut, hosts);
    return hosts;
  }

 private:
  struct Label {
    std::string_view token;
    std::size_t next = 0;  // a real occurrence at or after a past start
    bool searched = false;
  };

  std::string_view Working() const { return text_.substr(start_, end_ - start_); }

  // The first occurrence of a label in the working text; npos when none.
  std::size_t Find(Label& label) {
    const std::string_view t = label.token;
    if (t.empty()) return npos;
    if (t.front() == '\n' && Working().substr(0, t.size() - 1) == t.substr(1)) return start_ - 1;
    if (!label.searched || (label.next != npos && label.next < start_)) {
      label.next = fieldtext::Find(text_, t, start_);
      label.searched = true;
    }
    if (label.next == npos || label.next + t.size() > end_) return npos;
    return label.next;
  }

  // The next name-server value and where its first occurrence ends.
  std::string_view NextValue(std::size_t& valueEnd) {
    if (directive_) {
      const std::string_view target = DirectiveTarget(Working(), *directive_);
      if (!target.empty()) {
        valueEnd = std::size_t(target.data() - text_.data()) + target.size();
        return target;
      }
    }
    for (Label& label : labels_) {
      const std::size_t at = Find(label);
      if (at == npos) continue;
      std::size_t after = at + label.token.size();
      after = AfterLongerLabel(after);
      const std::string_view value = ValueIn(text_.substr(after, end_ - after));
      if (value.empty()) continue;
      // The cut goes after the value's first occurrence in the working text.
      valueEnd = fieldtext::Find(text_, value, start_) + value.size();
      return value;
    }
    return {};
  }

  // A label may be the start of a longer one ("Name Servers" of "Name Servers
  // Information:"); when the rest of its line ends in a colon, the values
  // start on the next line.
  std::size_t AfterLongerLabel(std::size_t after) const {
    std::size_t br = text_.find_first_of(kLineBreaks, after);
    if (br == npos || br > end_) return after;
    const std::string_view rest = fieldtext::TrimRight(text_.substr(after, br - after), " \t");
    return !rest.empty() && rest.back() == ':' ? br : after;
  }

  void CutAt(std::size_t at) {
    start_ = at;
    while (start_ < end_ && kWorkingTrim.find(text_[start_]) != npos) ++start_;
    while (end_ > start_ && kWorkingTrim.find(text_[end_ - 1]) != npos) --end_;
  }

  // Hosts are kept once each (a server listed with its IPv4 and its IPv6
  // address is one server), without the dot of an absolute name.
  void AddHost(std::string host, std::vector<std::string>& hosts) {
    while (!host.empty() && host.back() == '.') host.pop_back();
    // Digits and dots alone make a date or an address, never a host name.
    if (host.find_first_not_of("0123456789.") == npos) return;
    if (!seen_.insert(ToLowerAscii(host)).second) return;
    hosts.push_back(std::move(host));
  }

  // The lines after a name-server value that hold a host belong to the same
  // list, up to the next blank line or the next labelled line ("Created: ").
  void FollowingLines(std::size_t pos, std::vector<std::string>& hosts) {
    const std::string_view text = text_.substr(0, end_);
    constexpr std::string_view kLineTrim = " \t-:";
    auto skipTrim = [&] {
      while (pos < text.size() && kLineTrim.find(text[pos]) != npos) ++pos;
    };
    auto atBreak = [&] { return pos < text.size() && (text[pos] == '\r' || text[pos] == '\n'); };
    while (pos < text.size()) {
      skipTrim();
      if (atBreak()) {
        pos = AfterBreak(text, pos);
        skipTrim();
        if (pos >= text.size() || atBreak()) return;
      }
      if (pos >= text.size()) return;
      std::size_t br = text.find_first_of(kLineBreaks, pos);
      if (br == npos) br = text.size();
      const std::string_view line = text.substr(pos, br - pos);
      if (StartsWithLabel(line)) return;
      AddHost(HostFromValue(line), hosts);
      pos = br;
    }
  }

  // A first word that ends in a colon starts another field; the source
  // footer ends the answer.
  static bool StartsWithLabel(std::string_view line) {
    if (line.starts_with(kWhoisSourceTag)) return true;
    const std::string_view word = line.substr(0, line.find_first_of(" \t"));
    return word.size() > 1 && word.back() == ':';
  }

  static std::size_t AfterBreak(std::string_view text, std::size_t pos) {
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') return pos + 2;
    return pos + 1;
  }

  std::string_view text_;
  std::size_t start_;
  std::size_t end_;
  std::optional<Directive> directive_;
  std::vector<std::string> owned_;
  std::vector<Label> labels_;
  std::unordered_set<std::string> seen_;  // hosts found, lower-cased
};

// "Expires on: 2023-05-02" read through the label "Expires": the "on" is the
// end of the label, not part of the date.
std::string_view WithoutLeadingOn(std::string_view value) {
  if (value.size() > 2 && (value[0] == 'o' || value[0] == 'O') &&
      (value[1] == 'n' || value[1] == 'N') && (value[2] == ':' || value[2] == ' ' || value[2] == '\t'))
    return Trim(value.substr(2), " :\t");
  return value;
}

}  // namespace

std::string ValueAfterToken(std::string_view text, std::string_view token) {
  if (token.empty()) return {};
  const std::size_t at = fieldtext::Find(text, token);
  if (at == npos) return {};
  return std::string(ValueIn(text.substr(at + token.size())));
}

std::string BlockAfterToken(std::string_view text, std::string_view token) {
  if (token.empty()) return {};
  const std::size_t at = fieldtext::Find(text, token);
  if (at == npos) return {};
  const std::size_t begin = at + token.size();
  const std::size_t blank = BlankLineAt(text, begin);
  return std::string(text.substr(begin, blank == npos ? npos : blank - begin));
}

std::string ReadServerTokens(std::string_view server, std::string_view settingsKey) {
  if (server.empty() || settingsKey.empty()) return {};
  return ReadDirectString(kCompanyName, kWhoisProduct, DirectorySection(server), settingsKey, "");
}

bool WriteServerTokens(std::string_view server, std::string_view settingsKey,
                       std::string_view text) {
  if (server.empty() || settingsKey.empty()) return false;
  return WriteDirectString(kCompanyName, kWhoisProduct, DirectorySection(server), settingsKey,
                           text);
}

std::string HostFromValue(std::string_view text) {
  std::string_view rest = Trim(text, kHostTrim);
  while (true) {
    const std::size_t blank = rest.find_first_of(" \t");
    if (blank == npos) return IsHost(rest) ? std::string(rest) : std::string();
    const std::string_view left = Trim(rest.substr(0, blank), kHostTrim);
    if (IsHost(left)) return std::string(left);
    rest = Trim(rest.substr(blank + 1), kHostTrim);
  }
}

// --- WhoisAnswerReader ------------------------------------------------------

WhoisAnswerReader::WhoisAnswerReader(std::string_view storedAnswer)
    : WhoisAnswerReader(WhoisSourceOf(storedAnswer), CleanWhoisText(storedAnswer)) {}

WhoisAnswerReader::WhoisAnswerReader(std::string source, std::string_view cleanText)
    : source_(std::move(source)) {
  text_.reserve(cleanText.size() + 1);
  text_ += '\n';
  text_ += cleanText;
}

const std::string& WhoisAnswerReader::ServerList(std::string_view settingsKey) {
  auto it = serverLists_.find(settingsKey);
  if (it == serverLists_.end()) {
    const std::string stored = ReadServerTokens(source_, settingsKey);
    it = serverLists_.emplace(settingsKey, std::string(Trim(stored, kWhitespace))).first;
  }
  return it->second;
}

std::string WhoisAnswerReader::Lookup(std::string_view identifier, bool block,
                                      const Acceptor& accept) {
  const std::string_view key = TokenKeyOf(identifier);
  if (key.empty()) return {};
  auto taken = [&](std::string value) {
    return !value.empty() && (!accept || accept(value)) ? value : std::string();
  };
  auto after = [&](std::string_view token) {
    return taken(block ? BlockAfterToken(text_, token) : ValueAfterToken(text_, token));
  };
  const std::string& list = ServerList(key);
  if (const auto directive = DirectiveOf(list)) {
    std::string value = taken(DirectiveValue(CleanText(), *directive));
    if (!value.empty()) return value;
  } else {
    for (const std::string& token : ServerTokens(list)) {
      std::string value = after(token);
      if (!value.empty()) return value;
    }
  }
  // The program's own labels for this server, then those of every server.
  for (const std::string& token : ServerTokens(BuiltinServerTokens(source_, key))) {
    std::string value = after(token);
    if (!value.empty()) return value;
  }
  for (std::string_view token : GenericTokens(key)) {
    std::string value = after(token);
    if (!value.empty()) return value;
  }
  return {};
}

std::string WhoisAnswerReader::Value(std::string_view identifier) {
  return Lookup(identifier, false);
}

std::string WhoisAnswerReader::Block(std::string_view identifier) {
  return Lookup(identifier, true);
}

// A date field's value is the first one that reads as a date: an answer may
// carry a label with nothing after it ("Registrar Registration Expiration
// Date:" left empty), which takes the next line, before the label that holds
// the date. The order a date teaches is kept only from the date read.
bool WhoisAnswerReader::DateValue(std::string_view identifier, std::string& dateOrder,
                                  Date& date) {
  std::string learned;
  const std::string value = Lookup(identifier, false, [&](const std::string& text) {
    learned = dateOrder;
    return ParseWhoisDate(WithoutLeadingOn(text), learned, date);
  });
  if (value.empty()) {
    date = Date::Null();
    return false;
  }
  dateOrder = learned;
  return true;
}

std::string WhoisAnswerReader::Email(std::string_view identifier) {
  std::string email = FirstEmailIn(Value(identifier));
  if (email.empty()) email = FirstEmailIn(Block(identifier));
  return email;
}

std::vector<std::string> WhoisAnswerReader::NameServers() {
  return NameServerScan(text_, ServerList(kNameServerKey),
                        BuiltinServerTokens(source_, kNameServerKey))
      .Run();
}

bool WhoisAnswerReader::HoldsRegistrationData() {
  if (!Value("REGISTRARNAMETOKEN").empty()) return true;
  for (const char* identifier : {"CREATEDDATETOKEN", "EXPIRYDATETOKEN"}) {
    for (const char* order : {"", "ddmm"}) {
      std::string dateOrder = order;
      Date date;
      if (DateValue(identifier, dateOrder, date)) return true;
    }
  }
  return !NameServers().empty();
}

// --- One-call forms ---------------------------------------------------------

std::string ExtractValue(std::string_view storedAnswer, std::string_view identifier) {
  return WhoisAnswerReader(storedAnswer).Value(identifier);
}

std::string ExtractBlock(std::string_view storedAnswer, std::string_view identifier) {
  return WhoisAnswerReader(storedAnswer).Block(identifier);
}

bool ExtractDate(std::string_view storedAnswer, std::string_view identifier,
                 std::string& dateOrder, Date& date) {
  return WhoisAnswerReader(storedAnswer).DateValue(identifier, dateOrder, date);
}

std::string ExtractEmail(std::string_view storedAnswer, std::string_view identifier) {
  return WhoisAnswerReader(storedAnswer).Email(identifier);
}

std::vector<std::string> ExtractNameServers(std::string_view storedAnswer) {
  return WhoisAnswerReader(storedAnswer).NameServers();
}

}  // namespace qv
