#include "whois/availability.h"

#include "platform/ascii.h"
#include "platform/settings_store.h"
#include "whois/field_extraction.h"
#include "whois/field_text.h"
#include "whois/normalise.h"
#include "whois/server_directory.h"

namespace qv {
namespace {

using fieldtext::Contains;

constexpr std::string_view kAlternativeBlanks = " \t";

// Minimum-lookup answers carry no whois text, only what DNS said; they count
// as taken even though their source "None" has no token.
bool IsMinimumLookupAnswer(std::string_view cleanText) {
  return Contains(cleanText, kMinimumLookupText) && Contains(cleanText, kMinimumLookupSource);
}

struct Phrase {
  std::string_view text;
  std::string_view alsoText;  // empty: the row is a single phrase
  GenericVerdict verdict;
};

constexpr GenericVerdict kFree = GenericVerdict::Free;
constexpr GenericVerdict kTaken = GenericVerdict::Taken;

// The phrases of registries old and new, most telling first; the first row
// found decides. Searched in the lower-cased answer with "\r\n" appended.
// The Portuguese "responsável administrativo" stands in four spellings: the
// Latin-1 byte of older answers and the UTF-8 pair of today's, each in the
// small and the capital form (case folding here is ASCII only).
constexpr Phrase kPhrases[] = {
    {"status:         avail", {}, kFree},
    {"no match for ", {}, kFree},
    {"registrant", {}, kTaken},
    {"domain servers", {}, kTaken},
    {"name server..", {}, kTaken},
    {"registrar:", {}, kTaken},
    {"servidores de nombre:", {}, kTaken},
    {"nameservers", "admin contact", kTaken},
    {"domain name:", "organisation:", kTaken},
    {"address:", {}, kTaken},
    {"date-approved:", {}, kTaken},
    {"domain nameservers:", {}, kTaken},
    {"to single out one record, look it up with \"xxx22", {}, kTaken},
    {"\r\nnot available ", kAuCheckServer, kTaken},
    {"description:\r\n      reserved name", {}, kTaken},
    {"voorbehouden van registratie", {}, kTaken},
    {" is active\r\n", {}, kTaken},
    {" is excluded for registration\r\n", {}, kTaken},
    {" is reserved for registration\r\n", {}, kTaken},
    {" is requested\r\n", {}, kTaken},
    {"registrerat", {}, kTaken},
    {"nserver:", {}, kTaken},
    {"nameservers  ", {}, kTaken},
    {"respons\xE1vel administrativo", {}, kTaken},
    {"respons\xC1vel administrativo", {}, kTaken},
    {"respons\xC3\xA1vel administrativo", {}, kTaken},
    {"respons\xC3\x81vel administrativo", {}, kTaken},
    {"nameserver handle..", {}, kTaken},
    {"name servers:", {}, kTaken},
    {"no entries found", {}, kFree},
    {"no match", {}, kFree},
    {"not found", {}, kFree},
    {"# no data found.", {}, kFree},
    {"no existe", {}, kFree},
    {"is not a registered domain", {}, kFree},
    {" is free\r\n", {}, kFree},
    {"nothing found\r\n", {}, kFree},
    {"domain name", " does not exist!", kFree},
    {"your search returns no relevent records", {}, kFree},
    {"\r\navailable ", kAuCheckServer, kFree},
};

// --- Today's "not registered" sentences ---------------------------------
//
// The availability tokens of the built-in tables were written for the answers
// of around 2007, and many registries have changed their wording since. When a
// server's token does not match, an answer still counts as free when one of
// its lines is one of the sentences today's registries print for a name that
// is not registered. Lines are compared without regard to case, after comment
// marks at their start, closing punctuation and runs of blanks are evened out.

// A line that is one of these says the name is not registered.
constexpr std::string_view kFreeLines[] = {
    "status: free",
    "status: available",
    "query_status: 220 available",
    "domain status: no object found",
};

// So does a line that begins with one of these.
constexpr std::string_view kFreeLineStarts[] = {
    "not found",
    "no match",
    "no data found",
    "no entries found",
    "no object found",
    "domain not found",
    "object does not exist",
    "the queried object does not exist",
    "the domain name is not registered",
    "this domain name has not been registered",
    "the requested domain was not found",
    "no information available about domain name",
    "error:101: no entries found",
};

// Lines of the form "<prefix><name><suffix>", the name one word with a dot,
// such as 'domain "example.se" not found' or "example.nl is free".
struct FreeLineShape {
  std::string_view prefix;
  std::string_view suffix;
};
constexpr FreeLineShape kFreeLineShapes[] = {
    {"domain ", " not found"},
    {"domain ", " is available for registration"},
    {"", " is free"},
};

constexpr std::string_view kLineLead = " \t%#>*;";
constexpr std::string_view kLineTail = " \t\r.!";

// The line lower-cased, its lead marks and closing punctuation gone and runs
// of blanks and tabs made one blank, written into `out`.
void EvenLine(std::string_view line, std::string& out) {
  line = fieldtext::TrimRight(fieldtext::TrimLeft(line, kLineLead), kLineTail);
  out.clear();
  for (char c : line) {
    if (c == '\t') c = ' ';
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += LowerAscii(c);
  }
}

bool IsFreeLine(const std::string& line) {
  for (std::string_view whole : kFreeLines)
    if (line == whole) return true;
  for (std::string_view start : kFreeLineStarts)
    if (line.starts_with(start)) return true;
  for (const FreeLineShape& shape : kFreeLineShapes) {
    const std::size_t outer = shape.prefix.size() + shape.suffix.size();
    if (line.size() <= outer || !line.starts_with(shape.prefix) || !line.ends_with(shape.suffix))
      continue;
    const std::string_view name =
        std::string_view(line).substr(shape.prefix.size(), line.size() - outer);
    if (name.find(' ') == std::string_view::npos && name.find('.') != std::string_view::npos)
      return true;
  }
  return false;
}

bool SaysNotRegistered(std::string_view text) {
  // The sentences are short; longer lines are notices.
  constexpr std::size_t kLongestLine = 200;
  std::string line;
  line.reserve(kLongestLine);
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    if (end - begin < kLongestLine) {
      EvenLine(text.substr(begin, end - begin), line);
      if (IsFreeLine(line)) return true;
    }
    begin = end + 1;
  }
  return false;
}

}  // namespace

std::string DecideAvailabilityOfClean(std::string_view source, std::string_view cleanText,
                                      std::string_view tokenWhenFree, bool registrationData) {
  if (source.empty())
    return Contains(cleanText, kNoWhoisServerText) ? kVerdictError : kVerdictUnknown;
  // Only the server's own token may call an answer free that shows a
  // registration; a sentence or phrase elsewhere in it is a notice ("No match
  // for reserved names list.").
  const bool saysNotRegistered = !registrationData && SaysNotRegistered(cleanText);
  if (!tokenWhenFree.empty()) {
    if (TokenMatchesClean(cleanText, tokenWhenFree)) return kVerdictFree;
    return saysNotRegistered ? kVerdictFree : kVerdictTaken;
  }
  if (IsMinimumLookupAnswer(cleanText)) return kVerdictTaken;
  // A server nobody has set up yet: today's sentences, then the generic
  // phrases, before asking the user for a token.
  if (saysNotRegistered) return kVerdictFree;
  switch (ClassifyAnswerGeneric(cleanText)) {
    case GenericVerdict::Free: return registrationData ? kVerdictTaken : kVerdictFree;
    case GenericVerdict::Taken: return kVerdictTaken;
    case GenericVerdict::Undecided: break;
  }
  return kVerdictSetupError;
}

std::string DecideAvailability(std::string_view storedAnswer, std::string_view tokenWhenFree) {
  WhoisAnswerReader reader(storedAnswer);
  const std::string& source = reader.Source();
  if (tokenWhenFree.empty() && !source.empty() && !IsServerRecordStored(source)) {
    // Loaded for writing and let go at once: the server's section is stored
    // with its current values, so the server can be found and set up. Once
    // stored, writing it again would change nothing that is ever read.
    WhoisServerRecord record(source, false);
  }
  return DecideAvailabilityOfClean(source, reader.CleanText(), tokenWhenFree,
                                   reader.HoldsRegistrationData());
}

bool TokenMatchesClean(std::string_view cleanText, std::string_view tokenWhenFree) {
  std::string_view rest = tokenWhenFree;
  while (true) {
    const std::size_t bar = rest.find('|');
    std::string_view alternative = fieldtext::Trim(rest.substr(0, bar), kAlternativeBlanks);
    if (!alternative.empty() && alternative.front() == '~') {
      // A negated alternative decides either way.
      return !Contains(cleanText, alternative.substr(1));
    }
    if (!alternative.empty() && Contains(cleanText, alternative)) return true;
    if (bar == std::string_view::npos) return false;
    rest.remove_prefix(bar + 1);
  }
}

bool TokenMatches(std::string_view storedAnswer, std::string_view tokenWhenFree) {
  return TokenMatchesClean(CleanWhoisText(storedAnswer), tokenWhenFree);
}

bool IsServerRecordStored(std::string_view server) {
  return HasDirectValue(kCompanyName, kWhoisProduct, DirectorySection(server), "Manually Edited");
}

int AvailabilityCode(std::string_view availabilityText) {
  if (availabilityText.empty()) return 0;
  if (EqualsNoCase(availabilityText, "free")) return 1;
  if (EqualsNoCase(availabilityText, "error")) return 3;
  return 2;
}

GenericVerdict ClassifyAnswerGeneric(std::string_view answerText) {
  std::string text = ToLowerAscii(answerText);
  text += "\r\n";
  for (const Phrase& p : kPhrases) {
    if (!Contains(text, p.text)) continue;
    if (!p.alsoText.empty() && !Contains(text, p.alsoText)) continue;
    return p.verdict;
  }
  return GenericVerdict::Undecided;
}

}  // namespace qv
