// Registrar management links: for a domain, the registrar's management page
// with the user's login, kept per registrar in a settings section of its own
// (the registrar key). The page is reached either by an address holding
// {login}, {password} and {domain}, or by posting form variables that hold
// them. The password is stored enciphered.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {

inline constexpr const char* kDomainManagerKey = "Domain Manager";
inline constexpr const char* kUsePostKey = "Use Post";
inline constexpr const char* kManageUrlKey = "Manage URL";
inline constexpr const char* kPostDataKey = "Post Data";
inline constexpr const char* kLoginKey = "Login";
inline constexpr const char* kPasswordKey = "Password";

struct RegistrarSettings {
  bool usePost = false;
  std::string manageUrl;
  std::string postData;  // one "name=value" a line (CR LF between lines)
  std::string login;
  std::string password;  // in clear in memory
  bool operator==(const RegistrarSettings&) const = default;
};

// The registrar key of a domain: the registrar's alias (`aliasOf`, the
// registrar itself when it has none) when the registrar is known; "%s
// [Default]" with the text after the domain's first dot when it is not;
// "Domain Manager" when no document is open or the domain has no dot after
// its first character.
std::string RegistrarKey(bool documentOpen, std::string_view domain, std::string_view registrar,
                         const std::function<std::string(std::string_view)>& aliasOf);

// The settings section of a key. A registrar's name may hold characters that
// the settings store reads as a path ("/", "\\"): they are written as "%2F"
// and "%5C" ("%" itself as "%25"), so every key has one flat section. A key
// named as one of the program's own sections goes to "Registrar " and the key.
std::string RegistrarSection(std::string_view key);

// The built-in settings of the four known keys (compared without regard to
// case), with the post data lines joined by CR LF; nothing for other keys.
std::optional<RegistrarSettings> BuiltInRegistrar(std::string_view key);

// The stored settings of a key; when it has no address, post data and login,
// the built-in settings of the key, if any.
RegistrarSettings LoadRegistrarSettings(std::string_view key);
void SaveRegistrarSettings(std::string_view key, const RegistrarSettings& settings);

// The password as stored: filled with "~" to 32 characters after an end
// mark (so a password's own trailing "~" stays), enciphered with Blowfish
// and written in hexadecimal. "" for an empty password.
std::string EncipherPassword(std::string_view password);
// The password back; "" when the text cannot be deciphered. A text stored
// without the end mark has its trailing "~" removed.
std::string DecipherPassword(std::string_view stored);

// The management address with the placeholders replaced by the values,
// each percent-encoded.
std::string ManagementUrl(const RegistrarSettings& settings, std::string_view domain);
// The form variables of the post data, in order, with the placeholders
// replaced by the values as they are (the browser encodes them when it
// posts). Blank lines and lines without "=" are left out.
std::vector<std::pair<std::string, std::string>> ManagementFormFields(const RegistrarSettings& settings,
                                                                      std::string_view domain);
// The same variables as a form-encoded request body ("a=1&b=2").
std::string ManagementPostBody(const RegistrarSettings& settings, std::string_view domain);

}  // namespace qv
