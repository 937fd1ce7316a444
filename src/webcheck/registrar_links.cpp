#include "webcheck/registrar_links.h"

#include <QByteArray>
#include <QUrl>

#include "platform/ascii.h"
#include "platform/blowfish.h"
#include "platform/settings_store.h"

namespace qv {
namespace {

// The program's own key for the stored passwords (eight characters).
constexpr std::string_view kPasswordKeyText = "Qv7#rG2m";
constexpr std::size_t kPasswordFill = 32;
constexpr char kFill = '~';
// Ends the password inside the filled text; never typed in a password.
constexpr char kEndMark = '\x01';

struct BuiltIn {
  const char* key;
  const char* url;
  const char* method;
  const char* postTemplate;
};

// The management login pages of the registrars the program knows.
constexpr BuiltIn kBuiltIns[] = {
    {"R161-LRMS", "https://joker.com/login", "POST", "t_username={login}{lf}p_password={password}{lf}tool=login"},
    {"JORE-1", "https://joker.com/login", "POST", "t_username={login}{lf}p_password={password}{lf}tool=login"},
    {"Tucows, Inc", "https://manage.opensrs.com/", "POST",
     "reg_domain={domain}{lf}reg_username={login}{lf}reg_password={password}{lf}action=login"},
    {"ws [Default]", "https://www.website.ws/manage/", "POST", "userid={login}{lf}pw={password}"},
};

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
    text.replace(pos, from.size(), to);
}

std::string Fill(std::string text, std::string_view login, std::string_view password, std::string_view domain) {
  // One pass over the text, so a value that holds a placeholder is not
  // replaced again.
  std::string out;
  const std::pair<std::string_view, std::string_view> marks[] = {
      {"{login}", login}, {"{password}", password}, {"{domain}", domain}};
  for (std::size_t pos = 0; pos < text.size();) {
    bool replaced = false;
    for (const auto& [mark, value] : marks)
      if (text.compare(pos, mark.size(), mark) == 0) {
        out += value;
        pos += mark.size();
        replaced = true;
        break;
      }
    if (!replaced) out += text[pos++];
  }
  return out;
}

std::string Encoded(std::string_view value) {
  return QUrl::toPercentEncoding(QByteArray(value.data(), qsizetype(value.size()))).toStdString();
}

std::string Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

std::string RegistrarKey(bool documentOpen, std::string_view domain, std::string_view registrar,
                         const std::function<std::string(std::string_view)>& aliasOf) {
  if (!documentOpen) return kDomainManagerKey;
  if (!registrar.empty()) {
    std::string alias = aliasOf ? aliasOf(registrar) : std::string();
    return alias.empty() ? std::string(registrar) : alias;
  }
  const std::size_t dot = domain.size() > 1 ? domain.find('.', 1) : std::string_view::npos;
  if (dot == std::string_view::npos || dot + 1 >= domain.size()) return kDomainManagerKey;
  return std::string(domain.substr(dot + 1)) + " [Default]";
}

std::string RegistrarSection(std::string_view key) {
  // The program's own sections are never a registrar's: a registrar of such
  // a name would otherwise write its login among the program's settings.
  static constexpr std::string_view kOwnSections[] = {
      "Settings", "Display SQL Queries", "Lookup SQL Queries", "Registrar Alias", "Recent File List",
      "Create Domain Names", "Default List Box", "Domain List", "Invalid IP List", "List Column Widths",
      "TLD List", "Tagged Email List", "Whois Tool Query List", "Whois Tool Server List", "General"};
  std::string section;
  for (std::string_view own : kOwnSections)
    if (EqualsNoCase(own, key)) section = "Registrar ";
  for (char c : key) {
    if (c == '%')
      section += "%25";
    else if (c == '/')
      section += "%2F";
    else if (c == '\\')
      section += "%5C";
    else
      section += c;
  }
  return section;
}

std::optional<RegistrarSettings> BuiltInRegistrar(std::string_view key) {
  for (const BuiltIn& row : kBuiltIns)
    if (EqualsNoCase(row.key, key)) {
      RegistrarSettings s;
      s.manageUrl = row.url;
      s.postData = row.postTemplate;
      ReplaceAll(s.postData, "{lf}", "\r\n");
      s.usePost = EqualsNoCase(row.method, "post");
      return s;
    }
  return std::nullopt;
}

RegistrarSettings LoadRegistrarSettings(std::string_view key) {
  const std::string section = RegistrarSection(key);
  RegistrarSettings s;
  s.usePost = GetProfileInt(section, kUsePostKey, 0) != 0;
  s.manageUrl = GetProfileString(section, kManageUrlKey, "");
  s.postData = GetProfileString(section, kPostDataKey, "");
  s.login = GetProfileString(section, kLoginKey, "");
  s.password = DecipherPassword(GetProfileString(section, kPasswordKey, ""));
  if (s.manageUrl.empty() && s.postData.empty() && s.login.empty())
    if (std::optional<RegistrarSettings> builtIn = BuiltInRegistrar(key)) {
      builtIn->password = s.password;
      return *builtIn;
    }
  return s;
}

void SaveRegistrarSettings(std::string_view key, const RegistrarSettings& s) {
  const std::string section = RegistrarSection(key);
  SettingsBatch::Profile()
      .SetInt(section, kUsePostKey, s.usePost ? 1 : 0)
      .SetString(section, kManageUrlKey, s.manageUrl)
      .SetString(section, kPostDataKey, s.postData)
      .SetString(section, kLoginKey, s.login)
      .SetString(section, kPasswordKey, EncipherPassword(s.password))
      .Commit();
}

std::string EncipherPassword(std::string_view password) {
  if (password.empty()) return {};
  std::string plain(password);
  plain += kEndMark;
  if (plain.size() < kPasswordFill) plain.append(kPasswordFill - plain.size(), kFill);
  const std::optional<std::string> cipher = BlowfishEncipher(kPasswordKeyText, plain);
  if (!cipher) return {};
  return QByteArray::fromStdString(*cipher).toHex().toUpper().toStdString();
}

std::string DecipherPassword(std::string_view stored) {
  if (stored.empty()) return {};
  const QByteArray hex(stored.data(), qsizetype(stored.size()));
  const std::optional<std::string> plain = BlowfishDecipher(kPasswordKeyText, QByteArray::fromHex(hex).toStdString());
  if (!plain) return {};
  const std::size_t end = plain->rfind(kEndMark);
  if (end != std::string::npos) return plain->substr(0, end);
  std::string text = *plain;
  while (!text.empty() && text.back() == kFill) text.pop_back();
  return text;
}

std::string ManagementUrl(const RegistrarSettings& s, std::string_view domain) {
  return Fill(Trimmed(s.manageUrl), Encoded(s.login), Encoded(s.password), Encoded(domain));
}

std::vector<std::pair<std::string, std::string>> ManagementFormFields(const RegistrarSettings& s,
                                                                      std::string_view domain) {
  std::vector<std::pair<std::string, std::string>> fields;
  std::string data = Trimmed(s.postData);
  ReplaceAll(data, "\r\n", "\n");
  std::size_t start = 0;
  while (start <= data.size()) {
    std::size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    const std::string line = Trimmed(std::string_view(data).substr(start, end - start));
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && eq > 0)
      fields.emplace_back(line.substr(0, eq), Fill(line.substr(eq + 1), s.login, s.password, domain));
    start = end + 1;
  }
  return fields;
}

std::string ManagementPostBody(const RegistrarSettings& s, std::string_view domain) {
  std::string body;
  for (const auto& [name, value] : ManagementFormFields(s, domain)) {
    if (!body.empty()) body += '&';
    body += Encoded(name) + "=" + Encoded(value);
  }
  return body;
}

}  // namespace qv
