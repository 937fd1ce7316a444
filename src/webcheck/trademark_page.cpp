#include "webcheck/trademark_page.h"

#include <QByteArray>
#include <QUrl>
#include <limits>

namespace qv {
namespace {

constexpr std::string_view kNoResultsMark = "Sorry, No results were found for your query";
constexpr std::string_view kOneRecordMark = "Record 1 out of 1";
constexpr std::string_view kRecordsFoundMark = "<B>Records(s) found";
// The first row of a result table.
constexpr std::string_view kFirstRowMark = "<TD>1</TD>";

bool Contains(std::string_view text, std::string_view mark) { return text.find(mark) != std::string_view::npos; }

std::string_view NamePart(std::string_view name) {
  const std::size_t dot = name.size() > 1 ? name.find('.', 1) : std::string_view::npos;
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text that ends `before` once closing markup and blanks are set aside:
// "...<B>1,234</B> " and "...<B>1,234 " both give "1,234".
std::string_view TrailingText(std::string_view before) {
  for (;;) {
    while (!before.empty() && IsSpace(before.back())) before.remove_suffix(1);
    if (before.empty() || before.back() != '>') break;
    const std::size_t open = before.rfind('<');
    if (open == std::string_view::npos) break;
    const std::string_view tag = before.substr(open);
    if (tag.size() < 2 || tag[1] != '/') break;  // an opening tag ends the number's text
    before = before.substr(0, open);
  }
  const std::size_t last = before.rfind('>');
  return last == std::string_view::npos ? before : before.substr(last + 1);
}

std::optional<std::int32_t> LeadingNumber(std::string_view text) {
  std::string digits;
  for (char c : text)
    if (c != ',') digits += c;
  std::size_t at = 0;
  while (at < digits.size() && IsSpace(digits[at])) ++at;
  std::int64_t value = 0;
  const std::size_t first = at;
  for (; at < digits.size() && digits[at] >= '0' && digits[at] <= '9'; ++at) {
    value = value * 10 + (digits[at] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  }
  if (at == first) return std::nullopt;
  return std::int32_t(value);
}

}  // namespace

std::string TrademarkSearchTerm(std::string_view name) {
  std::string term;
  for (char c : NamePart(name)) {
    if (c == '?')
      term += "%3F";
    else
      term += c;
  }
  return term;
}

std::string TessBaseUrl(std::string_view hostSetting) {
  QString text = QString::fromUtf8(hostSetting.data(), qsizetype(hostSetting.size())).trimmed();
  if (text.isEmpty()) return {};
  if (!text.contains(QLatin1String("://"))) text.prepend(QLatin1String("http://"));
  QUrl url(text, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
      !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment() || (url.path() != QLatin1String("/") && !url.path().isEmpty()))
    return {};
  url.setPath(QString());
  return url.toString().toStdString();
}

std::string TessLoginUrl(std::string_view base) { return std::string(base) + kTessLoginPath; }

std::string TessSearchUrl(std::string_view base, std::string_view term, std::string_view state) {
  return std::string(base) + "/bin/gate.exe?p_plural=yes&p_L=" + std::to_string(kTessRecordsPerPage) +
         "&p_s_ALL=" + std::string(term) + "&f=toc&a_default=search&state=" + std::string(state);
}

std::optional<std::string> TessStateToken(std::string_view page) {
  const std::string_view mark = kTessStateMark;
  const std::size_t at = page.find(mark);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view rest = page.substr(at + mark.size());
  std::string token(rest.substr(0, rest.find('"')));
  if (token.empty()) return std::nullopt;
  return token;
}

bool TessSessionExpired(std::string_view page) { return Contains(page, kTessExpiredMark); }

std::optional<std::int32_t> TrademarkRecordCount(std::string_view page) {
  if (Contains(page, kNoResultsMark)) return 0;
  if (Contains(page, kOneRecordMark)) return 1;
  const std::size_t found = page.find(kRecordsFoundMark);
  if (found == std::string_view::npos || !Contains(page, kFirstRowMark)) return std::nullopt;
  return LeadingNumber(TrailingText(page.substr(0, found)));
}

std::string PublicTrademarkSearchUrl(std::string_view name) {
  const std::string_view term = NamePart(name);
  if (term.empty()) return kPublicTrademarkHomeUrl;
  const QByteArray encoded = QUrl::toPercentEncoding(QString::fromUtf8(term.data(), qsizetype(term.size())));
  return std::string(kPublicTrademarkSearchUrl) + "?query=" + encoded.toStdString();
}

}  // namespace qv
