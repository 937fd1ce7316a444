// Pulling registration data out of a whois answer without templates.
//
// Each field has a list of labels ("tokens") that servers print in front of
// its value; the value is whatever follows the first label found. A server may
// carry its own list per field in its section of the whois directory (tokens
// joined by "|", "{lf}" standing for a line feed, or one position directive
// "$$L n" / "$$P n" naming line or paragraph n of the clean answer); after it
// come the program's own labels for a few servers (builtin_tables.h), then
// the built-in generic list that serves every server. Everything reads the
// clean text of the stored answer.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"

namespace qv {

// The text after the first occurrence of `token` up to the end of its line,
// trimmed of "- :."; a label alone on its line takes the next non-empty line.
// Empty when the token is empty or absent. Case-sensitive.
std::string ValueAfterToken(std::string_view text, std::string_view token);

// Everything after the first occurrence of `token` up to the next blank line,
// or to the end of the text.
std::string BlockAfterToken(std::string_view text, std::string_view token);

// A server's own token list for a field's settings key; empty when none.
std::string ReadServerTokens(std::string_view server, std::string_view settingsKey);
bool WriteServerTokens(std::string_view server, std::string_view settingsKey,
                       std::string_view text);

// Field extraction by identifier ("EXPIRYDATETOKEN", ...; see token_keys.h).
// Each call cleans the stored answer; the parse driver uses WhoisAnswerReader
// to clean once.
std::string ExtractValue(std::string_view storedAnswer, std::string_view identifier);
std::string ExtractBlock(std::string_view storedAnswer, std::string_view identifier);
// True when the field's value parses as a date; `dateOrder` is read and may
// be learned (see ParseWhoisDate).
bool ExtractDate(std::string_view storedAnswer, std::string_view identifier,
                 std::string& dateOrder, Date& date);
std::string ExtractEmail(std::string_view storedAnswer, std::string_view identifier);
std::vector<std::string> ExtractNameServers(std::string_view storedAnswer);

// The host name in a name-server value ("ns1.example.com 192.0.2.1" gives the
// host); empty when the value holds none. A dotted IPv4 address is no host.
std::string HostFromValue(std::string_view text);

// One answer read for its fields: cleaned once, with the source server's own
// token lists read from the store at most once each. Holds nothing beyond
// the one answer.
class WhoisAnswerReader {
 public:
  explicit WhoisAnswerReader(std::string_view storedAnswer);
  // An answer already cleaned, with its source server (empty: none).
  WhoisAnswerReader(std::string source, std::string_view cleanText);

  const std::string& Source() const { return source_; }
  // The clean text.
  std::string_view CleanText() const { return std::string_view(text_).substr(1); }

  std::string Value(std::string_view identifier);
  std::string Block(std::string_view identifier);
  bool DateValue(std::string_view identifier, std::string& dateOrder, Date& date);
  std::string Email(std::string_view identifier);
  std::vector<std::string> NameServers();
  // True when the answer shows a registration: a registrar, a creation or
  // expiry date (in either day/month order), or a name server.
  bool HoldsRegistrationData();

 private:
  // Takes a value that is not empty; a value it refuses lets the search go on
  // to the next label.
  using Acceptor = std::function<bool(const std::string&)>;
  // The first value a label gives that `accept` takes (any, when it is
  // empty): the server's stored list or directive, then the program's own
  // labels for the server, then the generic list.
  std::string Lookup(std::string_view identifier, bool block, const Acceptor& accept = {});
  const std::string& ServerList(std::string_view settingsKey);

  std::string text_;  // a line feed followed by the clean text
  std::string source_;
  std::map<std::string_view, std::string> serverLists_;
};

}  // namespace qv
