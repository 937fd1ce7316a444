#include "whois/normalise.h"

#include <array>
#include <utility>

#include "platform/ascii.h"
#include "platform/settings_store.h"
#include "whois/dac_codes.h"
#include "whois/server_directory.h"

namespace qv {
namespace {

constexpr std::string_view kTrimSet = " \r\n\t%";

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string_view Trim(std::string_view s, std::string_view set) {
  const auto first = s.find_first_not_of(set);
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(set);
  return s.substr(first, last - first + 1);
}

// A run of `n` line feeds after the three replacements "\n\n\n\n\n",
// "\n\n\n\n" and "\n\n\n" -> "\n\n", each made once over the text from left to
// right. Each replacement only ever sees line feeds, so every run of them is
// rewritten on its own and its new length follows from its old one.
std::size_t CompactedRun(std::size_t n) {
  n = 2 * (n / 5) + n % 5;
  n = 2 * (n / 4) + n % 4;
  return 2 * (n / 3) + n % 3;
}

// Appends `text` to `out` with every run of line feeds compacted.
void AppendCompacted(std::string& out, std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto lf = text.find('\n', pos);
    if (lf == std::string_view::npos) {
      out.append(text.substr(pos));
      return;
    }
    out.append(text.substr(pos, lf - pos));
    std::size_t end = lf;
    while (end < text.size() && text[end] == '\n') ++end;
    out.append(CompactedRun(end - lf), '\n');
    pos = end;
  }
}

}  // namespace

std::string ExpandLineEscapes(std::string_view fragment) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kEscapes = {
      {{"{lf}", "\n"}, {"{crlf}", "\r\n"}}};
  std::string out;
  out.reserve(fragment.size());
  std::size_t pos = 0;
  while (pos < fragment.size()) {
    bool matched = false;
    if (fragment[pos] == '{') {
      for (const auto& [escape, replacement] : kEscapes) {
        if (fragment.substr(pos, escape.size()) == escape) {
          out.append(replacement);
          pos += escape.size();
          matched = true;
          break;
        }
      }
    }
    if (!matched) out.push_back(fragment[pos++]);
  }
  return out;
}

std::string WhoisSourceOf(std::string_view text) {
  const auto tag = text.find(kWhoisSourceTag);
  if (tag == std::string_view::npos) return {};
  const std::string_view rest = text.substr(tag + kWhoisSourceTag.size());
  return std::string(rest.substr(0, rest.find_first_of("\r\n]")));
}

namespace {

// True when a line of `text` starts with `label`, without regard to case.
bool HasLineStartingWith(std::string_view text, std::string_view label) {
  for (std::size_t pos = 0; pos < text.size();) {
    if (EqualsNoCase(text.substr(pos, label.size()), label)) return true;
    const auto next = text.find('\n', pos);
    if (next == std::string_view::npos) break;
    pos = next + 1;
  }
  return false;
}

}  // namespace

// A "Remove Left Of" fragment quotes the end of a terms-of-use notice that
// registries used to print above the data. Today's registries print the
// notice after the data, so cutting up to it would throw every field away.
// The data is recognised by what every registry answer of today puts first:
// a "Domain Name:" line, or the ">>> Last update of WHOIS database" line that
// closes the data and opens the notice.
bool LeftCutWouldDropData(std::string_view beforeFragment) {
  return beforeFragment.find(">>> Last update of WHOIS database") != std::string_view::npos ||
         HasLineStartingWith(beforeFragment, "Domain Name:");
}

void NormaliseWhoisWith(std::string& text, std::string_view server,
                        std::string_view removeLeftOf, std::string_view removeRightOf) {
  std::string_view body = text;
  const auto left = body.find(removeLeftOf);
  if (left != std::string_view::npos && !LeftCutWouldDropData(body.substr(0, left)))
    body.remove_prefix(left + removeLeftOf.size());
  if (!removeRightOf.empty()) {
    const auto right = body.find(removeRightOf);
    if (right != std::string_view::npos) body = body.substr(0, right);
  }
  body = Trim(body, kTrimSet);

  std::string footer;
  if (!server.empty() && body.find(kWhoisSourceTag) == std::string_view::npos) {
    footer.append("\n\n").append(kWhoisSourceTag).append(server).append("]");
  }
  std::string out;
  out.reserve(body.size() + footer.size());
  AppendCompacted(out, body);
  // The footer starts with two line feeds that may join a run at the end of
  // the body; the body was trimmed of line feeds, so it cannot.
  AppendCompacted(out, footer);
  text = std::move(out);
}

void NormaliseWhois(std::string& text, std::string_view server) {
  std::string removeLeftOf, removeRightOf;
  if (!server.empty()) {
    const WhoisServerRecord record{std::string(server), true};
    removeLeftOf = ExpandLineEscapes(record.removeLeftOf);
    removeRightOf = ExpandLineEscapes(record.removeRightOf);
  }
  NormaliseWhoisWith(text, server, removeLeftOf, removeRightOf);
}

void ExpandDacAnswer(std::string& text) {
  if (auto expanded = ExpandedDacText(text)) text = std::move(*expanded);
}

std::string CleanWhoisText(std::string_view storedAnswer) {
  std::string text(storedAnswer);
  NormaliseWhois(text, WhoisSourceOf(text));
  if (EqualNoCase(WhoisSourceOf(text), kDacServer) && ExpandNominetDac()) ExpandDacAnswer(text);
  return text;
}

bool ExpandNominetDac() { return GetProfileInt(kSettingsSection, kExpandNominetDacKey, 1) != 0; }

void SetExpandNominetDac(bool on) {
  WriteProfileInt(kSettingsSection, kExpandNominetDacKey, on ? 1 : 0);
}

}  // namespace qv
