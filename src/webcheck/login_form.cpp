#include "webcheck/login_form.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace qv {
namespace {

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::string LoginFormHtml(const std::string& action,
                          const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string html =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + std::string(kLoginFormTitle) +
      "</title></head>\n<body onload=\"document.forms[0].submit()\">\n"
      "<form method=\"post\" action=\"" + HtmlEscaped(action) +
      "\" enctype=\"application/x-www-form-urlencoded\">\n";
  for (const auto& [name, value] : fields)
    html += "<input type=\"hidden\" name=\"" + HtmlEscaped(name) + "\" value=\"" + HtmlEscaped(value) + "\">\n";
  html += "<noscript><input type=\"submit\" value=\"Log in\"></noscript>\n</form>\n</body></html>\n";
  return html;
}

std::string WriteLoginFormFile(const std::string& html, std::string* error) {
  // QTemporaryFile makes the file with a new name, exclusively and readable
  // by its owner only.
  QTemporaryFile file(QDir::tempPath() + QStringLiteral("/quorvel-login-XXXXXX.html"));
  file.setAutoRemove(false);
  if (!file.open()) {
    if (error) *error = file.errorString().toStdString();
    return {};
  }
  file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  const QByteArray bytes = QByteArray::fromStdString(html);
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    if (error) *error = file.errorString().toStdString();
    file.remove();
    return {};
  }
  file.close();
  return file.fileName().toStdString();
}

bool RemoveLoginFormFile(const std::string& path) {
  const QString name = QString::fromStdString(path);
  return QFile::remove(name) || !QFile::exists(name);
}

}  // namespace qv
