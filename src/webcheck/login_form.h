// The page that posts a registrar's login form from the user's browser: a
// small HTML file holding the form with its variables hidden and a script
// that submits it as soon as the page loads. It holds a password, so it is
// made readable by its owner only and removed once the browser has read it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qv {

inline constexpr const char* kLoginFormTitle = "Logging in...";

// The page: a POST form to `action` with the fields, every text HTML-escaped.
std::string LoginFormHtml(const std::string& action,
                          const std::vector<std::pair<std::string, std::string>>& fields);

// Writes the page to a new file (mode 0600) in the temporary folder and
// returns its path; "" with `error` set when it cannot be written.
std::string WriteLoginFormFile(const std::string& html, std::string* error = nullptr);

// Removes such a file; true when it is gone.
bool RemoveLoginFormFile(const std::string& path);

}  // namespace qv
