// Turning a stored whois answer into the clean text the parsers read.
//
// A stored answer is the server's raw text followed by a source footer
// "\n[Whois Source: host]". Cleaning recovers the host from the footer, cuts
// the operator's notices away with the server's two cleanup fragments, trims
// and compacts blank lines, puts the footer back when the cut took it, and
// spells out the one-line answer of the .uk domain availability checker (DAC).
// The stored answer itself is never changed.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The footer the lookup worker appends: kWhoisSourceTag + host + "]".
inline constexpr std::string_view kWhoisSourceTag = "[Whois Source: ";
// Host of the .uk registry's domain availability checker.
inline constexpr std::string_view kDacServer = "dac.nic.uk";
// Setting (section "Settings", int, default 1): expand DAC answers.
inline constexpr const char* kExpandNominetDacKey = "Expand Nominet DAC";

// The host named by the first source footer; empty when there is none.
std::string WhoisSourceOf(std::string_view text);

// Cuts, trims and compacts `text` in place with the fragments of `server`
// (none when `server` is empty) and puts the source footer back when needed.
void NormaliseWhois(std::string& text, std::string_view server);
// The same with the cleanup fragments given (already expanded) instead of
// read from the server's record.
void NormaliseWhoisWith(std::string& text, std::string_view server,
                        std::string_view removeLeftOf, std::string_view removeRightOf);
// A cleanup fragment as stored, with "{lf}" and "{crlf}" turned into line ends.
std::string ExpandLineEscapes(std::string_view fragment);

// Rewrites a DAC answer (one comma-separated line) as labelled lines; any
// other text is left unchanged.
void ExpandDacAnswer(std::string& text);

// What every parser reads: the stored answer normalised for its source, and
// expanded when it came from the DAC and the setting asks for it.
// True when text ahead of a "Remove Left Of" fragment holds registration data,
// so the fragment ends a notice that follows the data and nothing is cut.
bool LeftCutWouldDropData(std::string_view beforeFragment);

std::string CleanWhoisText(std::string_view storedAnswer);

// The `Expand Nominet DAC` setting.
bool ExpandNominetDac();
void SetExpandNominetDac(bool on);

}  // namespace qv
