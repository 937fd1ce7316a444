// Deciding from a stored whois answer whether the name can be registered.
//
// Each whois server answers a query for an unregistered name with a sentence
// of its own; that sentence (or a set of alternatives) is the server's
// `Token When Free`. The verdict is a short word that the record update stores
// upper-cased in the domain's `Availability` field, and the list reads it back
// through a four-valued code. A second classifier with a fixed phrase list
// serves answers that arrive without any verdict (imported from old list
// files); it ignores the per-server token.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Verdict words, as produced (stored upper-cased).
inline constexpr const char* kVerdictFree = "Free";
inline constexpr const char* kVerdictTaken = "Taken";
inline constexpr const char* kVerdictSetupError = "Setup Error";
inline constexpr const char* kVerdictError = "ERROR";
inline constexpr const char* kVerdictUnknown = "UNKNOWN";

// The sentence an answer without a source carries when no server was known.
inline constexpr std::string_view kNoWhoisServerText =
    "I don't know the whois server for this domain.";
// The two marks of a minimum-lookup answer (only DNS was asked).
inline constexpr std::string_view kMinimumLookupText = "The domain name resolves to an IP Address";
inline constexpr std::string_view kMinimumLookupSource = "[Whois Source: None]";

// Host of the .au registry's availability-check server, named by two of the
// generic phrases.
inline constexpr std::string_view kAuCheckServer = "whois-check.ausregistry.net.au";

// The verdict for a stored answer, given the answering server's token. A
// token-less server has its record written to the store (with its current,
// usually built-in, values) so that it shows up for setting up.
std::string DecideAvailability(std::string_view storedAnswer, std::string_view tokenWhenFree);

// The same decision on an answer that is already clean, with its source and
// whether registration data (a registrar, a creation or expiry date, a name
// server) was read from it; it writes nothing. Used by the parse driver,
// which cleans each answer once.
//
// Beyond the token: many tokens of the built-in tables date from around 2007
// and today's registries word their answers differently. So where the token
// does not match, or the server has none, a line of the clean answer saying
// in today's words that the name is not registered ("Domain not found.",
// "The queried object does not exist", "Status: free", ...) makes the
// verdict "Free"; a token-less server's answer is then also read with the
// generic phrases before it is called "Setup Error". An answer that holds
// registration data is free only by the server's own token.
std::string DecideAvailabilityOfClean(std::string_view source, std::string_view cleanText,
                                      std::string_view tokenWhenFree, bool registrationData);

// True when the answer satisfies the token: alternatives separated by "|",
// blanks around them ignored; a plain alternative found decides true, one
// starting with "~" decides either way (true when its text is absent).
// Case-sensitive.
bool TokenMatches(std::string_view storedAnswer, std::string_view tokenWhenFree);
bool TokenMatchesClean(std::string_view cleanText, std::string_view tokenWhenFree);

// True once a server's record has been written to the store (by a dialog,
// a reset, or a first answer from it).
bool IsServerRecordStored(std::string_view server);

// 0 never looked up (empty), 1 free, 3 error, 2 anything else; no regard to
// case.
int AvailabilityCode(std::string_view availabilityText);

enum class GenericVerdict { Free, Taken, Undecided };

// The fixed phrase list, tested in order on the lower-cased text.
GenericVerdict ClassifyAnswerGeneric(std::string_view answerText);

}  // namespace qv
