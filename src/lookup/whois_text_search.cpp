#include "lookup/whois_text_search.h"

#include <algorithm>
#include <cctype>

#include "platform/settings_store.h"

namespace qv {
namespace {

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
    text.replace(pos, from.size(), to);
  return text;
}

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

std::vector<std::string> ParseWhoisSearchString(std::string_view stored) {
  std::vector<std::string> texts;
  std::size_t start = 0;
  while (start <= stored.size()) {
    std::size_t bar = stored.find('|', start);
    if (bar == std::string_view::npos) bar = stored.size();
    std::string text = ReplaceAll(std::string(stored.substr(start, bar - start)), "{lf}", "\n");
    if (!text.empty()) texts.push_back(std::move(text));
    start = bar + 1;
  }
  return texts;
}

std::string JoinWhoisSearchTexts(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) {
    if (text.empty()) continue;
    if (!joined.empty()) joined += '|';
    joined += ReplaceAll(text, "\n", "{lf}");
  }
  return joined;
}

std::vector<std::string> WhoisSearchTexts() {
  return ParseWhoisSearchString(GetProfileString(kSettingsSection, kWhoisSearchStringKey, ""));
}

void StoreWhoisSearchTexts(const std::vector<std::string>& texts) {
  WriteProfileString(kSettingsSection, kWhoisSearchStringKey, JoinWhoisSearchTexts(texts));
}

bool WhoisTextMatches(std::string_view answer, const std::vector<std::string>& texts) {
  for (const std::string& text : texts)
    if (std::search(answer.begin(), answer.end(), text.begin(), text.end(), SameLetter) != answer.end())
      return true;
  return false;
}

}  // namespace qv
