#include "whois/normalise.h"

namespace qv {

std::string WhoisSourceOf(std::string_view) { return {}; }
void NormaliseWhois(std::string&, std::string_view) {}
void ExpandDacAnswer(std::string&) {}
std::string CleanWhoisText(std::string_view storedAnswer) { return std::string(storedAnswer); }
bool ExpandNominetDac() { return true; }
void SetExpandNominetDac(bool) {}

}  // namespace qv
