#include "app/view/cell_text.h"

#include <QLocale>
#include <array>
#include <cstdio>

#include "app/view/display_modes.h"
#include "app/view/view_settings.h"
#include "platform/ascii.h"
#include "platform/text.h"
#include "store/domain_fields.h"
#include "whois/whois_date.h"

namespace qv {
namespace {

constexpr std::string_view kMarkColor1 = "<#!1>";
constexpr std::string_view kMarkColor2 = "<#!2>";
constexpr std::string_view kMarkGrey = "<#808080>";

bool Same(std::string_view a, std::string_view b) { return EqualsNoCase(a, b); }

bool IsYes(std::string_view text) { return Same(text, "yes"); }

std::string Printf(const char* format, long long n) {
  char buf[48];
  std::snprintf(buf, sizeof buf, format, n);
  return buf;
}

// A stored date as the list shows it: "" when the record holds none, "-" for
// one in 1970 or before, else the date in the user's short form.
std::string ShownDate(const Date& date) { return date.IsValid() ? DateText(date) : std::string(); }

std::string ExpiryText(const DomainRecord& record, const char* fieldName, const CellTextContext& context) {
  const Date date = record.DateValue(fieldName);
  std::string text = ShownDate(date);
  if (text.empty() || text == "-") return text;
  const Date now = context.now.IsValid() ? context.now : Date::Now();
  if (date.days() < now.AddDays(context.expiryHighlightDays).days()) text.insert(0, kMarkColor1);
  return text;
}

// "Whois server", "Authoritative Whois" and "Auth Whois" all name `Whois Server`.
std::string FieldOfName(std::string_view name) {
  if (Same(name, "whois server") || Same(name, "authoritative whois")) return field::kWhoisServer;
  return ResolveFieldAlias(name);
}

bool IsEmailColumn(std::string_view column) {
  const std::size_t at = ToLowerAscii(column).find("email");
  return at != std::string::npos && at > 0;
}

// An address of the row's own domain or one of the user's tagged addresses is
// shown plain; any other is marked.
std::string TagEmail(std::string text, std::string_view domain, const CellTextContext& context) {
  if (text.empty()) return text;
  const std::size_t at = text.find('@');
  if (at != std::string::npos && Same(std::string_view(text).substr(at + 1), domain)) return text;
  for (const std::string& tagged : context.taggedEmails)
    if (Same(tagged, text)) return text;
  return std::string(kMarkColor2) + text;
}

std::string LinkCount(const DomainRecord& record, const char* fieldName, bool grouped) {
  // A service that gave no value (not asked, or not configured) shows "-",
  // never 0.
  if (!record.DateValue(field::kSitePopCheckedAt).IsValid() ||
      std::holds_alternative<std::monostate>(record.Get(fieldName)))
    return "-";
  const long long n = record.Number(fieldName);
  if (!grouped) return Printf("%lld", n);
  QLocale locale = QLocale::system();
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return ToStdString(locale.toString(n));
}

std::string PingText(const DomainRecord& record) {
  const double ms = record.Real(field::kPingTime);
  if (ms > 0) return Printf("%lld ms", static_cast<long long>(ms));
  const long long fails = record.Number(field::kPingFailCount);
  if (fails > 0 && fails == record.Number(field::kPingCheckCount)) return std::string(kMarkColor1) + "Failed";
  return {};
}

std::string HomePageSizeText(const DomainRecord& record) {
  const std::string size = record.Text(field::kHomePageSize);
  // The check stores "5000 bytes"; a bare number is shown with its unit.
  if (!size.empty()) return size.ends_with(" bytes") ? size : size + " bytes";
  if (!record.Has(field::kHomePageBytes)) return {};
  return Printf("%lld bytes", record.Number(field::kHomePageBytes));
}

std::string TrademarkText(const DomainRecord& record) {
  if (!record.DateValue(field::kUsTmCheckedAt).IsValid()) return "?";
  const long long n = record.Number(field::kUsTmRecords);
  if (n > 1) return Printf("%lld Records", n);
  if (n == 1) return "1 Record";
  return "-";
}

}  // namespace

CellTextContext CellTextContext::FromSettings() {
  CellTextContext context;
  context.expiryHighlightDays = ExpiryHighlightDays();
  context.highlightImportant = HighlightImportantDomains();
  context.taggedEmails = TaggedEmailList();
  context.registrarAlias = [](std::string_view registrar) { return GetRegistrarAlias(registrar); };
  return context;
}

bool IsWebCheckColumn(std::string_view column) {
  static constexpr std::array<std::string_view, 15> kColumns = {
      "Ping Time", "Home Page Status", "Home Page Size", "Google Links", "MSN Links",
      "Altavista Links", "Alexa Links", "Alexa Rank", "US Tm", "US Tm Records",
      "Home Page Modified", "Home Page Checked At", "SitePop Checked At", "Ping Checked At",
      "US Tm Checked At"};
  for (std::string_view name : kColumns)
    if (Same(name, column)) return true;
  return false;
}

std::string WebCheckText(const DomainRecord& record, std::string_view column) {
  if (Same(column, "Ping Time")) return PingText(record);
  if (Same(column, "Home Page Status")) {
    const std::string status = record.Text(field::kHomePageStatus);
    return status.substr(0, status.find("\r\n"));
  }
  if (Same(column, "Home Page Size")) return HomePageSizeText(record);
  if (Same(column, "Alexa Rank")) return LinkCount(record, field::kAlexaRank, true);
  for (const char* links : {field::kGoogleLinks, field::kMsnLinks, field::kAltavistaLinks, field::kAlexaLinks})
    if (Same(column, links)) return LinkCount(record, links, false);
  if (Same(column, "US Tm") || Same(column, "US Tm Records")) return TrademarkText(record);
  if (IsWebCheckColumn(column)) return ShownDate(record.DateValue(column));
  return {};
}

std::string RecordFieldText(const DomainRecord& record, std::string_view name,
                            const CellTextContext& context) {
  if (IsWebCheckColumn(name)) return {};
  if (Same(name, "domain")) {
    std::string text = record.Domain();
    if (IsYes(record.Text(field::kHighlighted))) text.insert(0, kMarkColor2);
    return text;
  }
  if (Same(name, "expiry date") || Same(name, "registry expiry"))
    return ExpiryText(record, field::kExpiryDate, context);
  if (Same(name, "registrar expiry")) return ExpiryText(record, field::kRegistrarExpiry, context);
  for (std::string_view dateName : {"created on", "last update", "lookedup on", "lookedup", "ip checked at"})
    if (Same(name, dateName))
      return ShownDate(record.DateValue(Same(name, "lookedup on") ? field::kLastCheckedAt : FieldOfName(name)));
  if (Same(name, "edited")) return IsYes(record.Text(field::kEdited)) ? "YES" : "NO";
  if (Same(name, "lock")) return record.Locked() ? "YES" : "NO";
  if (Same(name, "highlighted")) return IsYes(record.Text(field::kHighlighted)) ? "yes" : "no";
  if (Same(name, "multilookup")) return IsYes(record.Text(field::kMultiLookup)) ? "yes" : "no";
  return record.Text(FieldOfName(name));
}

std::string CellText(const DomainRecord& record, int row, std::string_view column,
                     const CellTextContext& context) {
  if (column.empty() || row < 0) return {};
  if (column == "#") {
    std::string text = record.Locked() ? std::string(kMarkGrey) + Printf("[%lld]", row + 1LL)
                                       : Printf("%lld", row + 1LL);
    if (IsYes(record.Text(field::kEdited))) text += " ~";
    return text;
  }
  std::string text = RecordFieldText(record, column, context);
  // Every field the row holds came with the record, so a field it lacks is
  // empty in the table too; the web-check columns format their own values.
  if (text.empty() && IsWebCheckColumn(column)) text = WebCheckText(record, column);
  if (IsEmailColumn(column)) text = TagEmail(std::move(text), record.Domain(), context);
  if (Same(column, "registrar") && context.registrarAlias && !text.empty()) {
    std::string alias = context.registrarAlias(text);
    if (!alias.empty()) text = std::move(alias);
  }
  if ((Same(column, "status") || Same(column, "availability")) && Same(text, "free"))
    text.insert(0, kMarkColor1);
  if (Same(column, "domain") && context.highlightImportant && record.IsGroupMember(kImportantGroupCode))
    text.insert(0, kMarkColor1);
  return text;
}

QString GetCellText(const DomainRecord& record, int row, const QString& column,
                    const CellTextContext& context) {
  return ToQString(CellText(record, row, ToStdString(column), context));
}

QStringList ColumnsOfMode(int mode) {
  QStringList names;
  for (const ListColumn& column : ModeColumns(mode)) names << column.name;
  return names;
}

}  // namespace qv
