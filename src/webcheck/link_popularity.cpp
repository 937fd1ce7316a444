#include "webcheck/link_popularity.h"

#include <array>
#include <limits>

#include "platform/ascii.h"
#include "platform/settings_store.h"
#include "store/database_connection.h"
#include "store/domain_record.h"
#include "whois/field_text.h"

namespace qv {
namespace {

using fieldtext::Find;
using fieldtext::Trim;
using fieldtext::TrimLeft;

constexpr std::string_view kBlanks = " \t\r\n";
constexpr auto npos = std::string_view::npos;

constexpr std::array<SitePopServiceInfo, 4> kServices = {{
    {SitePopService::Alexa, "alexa", "ALEXA", "Alexa", "Site Pop Alexa URL"},
    {SitePopService::Google, "google", "GOOGLELINK", "Google", "Site Pop Google URL"},
    {SitePopService::Msn, "msn", "MSNLINK", "MSN", "Site Pop MSN URL"},
    {SitePopService::Altavista, "altavista", "ALTAVISTALINK", "AltaVista", "Site Pop AltaVista URL"},
}};

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (std::size_t found; (found = Find(text, from, at)) != npos; at = found + from.size()) {
    out.append(text.substr(at, found - at));
    out.append(to);
  }
  out.append(text.substr(at));
  return out;
}

std::string Without(std::string_view text, std::string_view characters) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (characters.find(c) == npos) out += c;
  return out;
}

// The text from `from` up to the first of the end marks; nothing when none
// of them follows.
std::optional<std::string_view> UpTo(std::string_view text, std::size_t from,
                                     std::initializer_list<std::string_view> ends) {
  for (std::string_view end : ends) {
    const std::size_t at = Find(text, end, from);
    if (at != npos) return text.substr(from, at - from);
  }
  return std::nullopt;
}

// The number between `open` and a later `close`, commas removed; nothing
// when the marks are missing or no number stands between them.
std::optional<std::int32_t> CountBetween(std::string_view page, std::string_view open, std::string_view close) {
  const std::size_t at = Find(page, open);
  if (at == npos) return std::nullopt;
  const std::size_t start = at + open.size();
  const std::size_t end = Find(page, close, start);
  if (end == npos) return std::nullopt;
  return LeadingCount(Without(page.substr(start, end - start), ","));
}

std::optional<std::int32_t> AlexaRank(std::string_view page) {
  static constexpr std::string_view kMark = "Traffic Rank for ";
  const std::size_t at = Find(page, kMark);
  if (at == npos) return std::nullopt;
  std::string_view rest = TrimLeft(page.substr(at + kMark.size()), kBlanks);
  if (const std::size_t colon = rest.find(':'); colon != npos) rest = Trim(rest.substr(colon + 1), kBlanks);
  const std::optional<std::string_view> link = UpTo(rest, 0, {"</a>", "</A>"});
  if (!link) return std::nullopt;
  std::string text = Without(HtmlToText(Replaced(*link, "&nbsp;", " ")), "\r\n,#");
  std::string_view number = Trim(text, kBlanks);
  if (const std::size_t colon = number.find(':'); colon != npos) number = Trim(number.substr(colon + 1), kBlanks);
  return LeadingCount(number);
}

// Nothing when the mark or its end is missing (then the page counts 0
// links); a reading that holds no number when the count cannot be read.
std::optional<std::optional<std::int32_t>> AlexaLinks(std::string_view page) {
  static constexpr std::string_view kMark = "Other sites that link to this site:";
  const std::size_t at = Find(page, kMark);
  if (at == npos) return std::nullopt;
  const std::optional<std::string_view> item = UpTo(page, at + kMark.size(), {"</li>", "</LI>"});
  if (!item) return std::nullopt;
  return LeadingCount(Trim(Without(HtmlToText(*item), "\r\n,#"), kBlanks));
}

}  // namespace

std::span<const SitePopServiceInfo> SitePopServices() { return kServices; }

const SitePopServiceInfo& SitePopServiceOf(SitePopService service) {
  for (const SitePopServiceInfo& info : kServices)
    if (info.service == service) return info;
  return kServices.front();
}

std::string NormalisedServiceBase(std::string_view setting) {
  std::string base(Trim(setting, kBlanks));
  if (base.empty()) return base;
  if (base.find("://") == std::string::npos) base = "http://" + base;
  while (base.ends_with('/')) base.pop_back();
  return base;
}

std::string SitePopServiceBase(SitePopService service) {
  return NormalisedServiceBase(GetProfileString(kSettingsSection, SitePopServiceOf(service).settingKey, ""));
}

std::string SitePopUrl(SitePopService service, std::string_view base, std::string_view name) {
  const std::string n(name);
  switch (service) {
    case SitePopService::Alexa: return std::string(base) + "/data/details?url=" + n;
    case SitePopService::Google: return std::string(base) + "/search?q=link:http://www." + n + "&start=0&gl=us";
    case SitePopService::Msn: return std::string(base) + "/results.asp?q=link:" + n;
    case SitePopService::Altavista:
      return std::string(base) + "/web/results?q=link:" + n + "%20-host:" + n + "&kl=XX";
  }
  return {};
}

std::unique_ptr<HttpFetchJob> MakeSitePopJob(SitePopService service, const std::string& name) {
  auto job = std::make_unique<HttpFetchJob>();
  job->tag = name + ":" + SitePopServiceOf(service).tagKind;
  job->message = kLinkPopularityMessage;
  job->maxBytes = kLinkPopularityMaxBytes;
  return job;
}

SitePopRequest ParseSitePopEntry(std::string_view entry) {
  const std::size_t colon = entry.find(':');
  SitePopRequest request{std::string(entry.substr(0, colon)), {}};
  const std::string_view word = colon == npos ? std::string_view("all") : entry.substr(colon + 1);
  for (const SitePopServiceInfo& info : kServices)
    if (EqualsNoCase(word, "all") || EqualsNoCase(word, info.word)) request.services.push_back(info.service);
  return request;
}

std::optional<std::int32_t> LeadingCount(std::string_view text) {
  text = TrimLeft(text, kBlanks);
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t n = 0;
  for (std::size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    n = std::min(kMax, n * 10 + (text[i] - '0'));
  return std::int32_t(n);
}

std::optional<AlexaReading> ReadAlexaPage(std::string_view raw) {
  std::string page = Replaced(raw, "&nbsp;", " ");
  page = Replaced(page, "%2F", "/");
  page = Replaced(page, "%3F", "?");
  const std::optional<std::int32_t> rank = AlexaRank(page);
  if (!rank) return std::nullopt;
  AlexaReading reading{*rank, 0};
  if (const auto links = AlexaLinks(page)) reading.links = *links;
  return reading;
}

std::optional<std::int32_t> ReadGooglePage(std::string_view page) {
  static constexpr std::string_view kAbout = "of about <b>";
  if (const std::size_t at = Find(page, kAbout); at != npos) {
    const std::optional<std::string_view> bold = UpTo(page, at + kAbout.size(), {"</b>"});
    if (!bold) return std::nullopt;
    return LeadingCount(Without(*bold, "\n\r, "));
  }
  const std::size_t linking = Find(page, " linking to");
  if (linking == npos) return std::nullopt;
  std::string_view before = Trim(page.substr(0, linking), kBlanks);
  if (const std::size_t space = before.rfind(' '); space != npos) before = before.substr(space + 1);
  return LeadingCount(Without(Trim(HtmlToText(before), kBlanks), ","));
}

std::optional<std::int32_t> ReadAltavistaPage(std::string_view page) {
  // A mark counts only with a number at it: "AltaVista found no document
  // ..." also starts like the first one.
  for (std::string_view open : {"AltaVista found ", "We found about ", "We found "})
    if (const auto count = CountBetween(page, open, " results")) return count;
  static constexpr std::string_view kOnePage = " page found.";
  if (const std::size_t at = Find(page, kOnePage); at != npos) {
    std::string_view before = page.substr(0, at);
    if (const std::size_t space = before.rfind(' '); space != npos) before = before.substr(space);
    if (const auto count = LeadingCount(Without(before, ","))) return count;
  }
  if (Find(page, "AltaVista found no document matching your query.") != npos) return 0;
  return std::nullopt;
}

std::optional<std::int32_t> ReadMsnPage(std::string_view page) {
  if (Find(page, "We couldn't find any sites containing") != npos ||
      Find(page, "We did not find any results containing") != npos)
    return 0;
  static constexpr std::string_view kPage = "Page 1 of ";
  const std::size_t at = Find(page, kPage);
  if (at == npos) return std::nullopt;
  std::string_view rest = TrimLeft(page.substr(at + kPage.size()), kBlanks);
  rest = Trim(rest.substr(0, rest.find(' ')), kBlanks);
  return LeadingCount(Without(rest, ","));
}

bool StoreSitePopPage(DomainDatabase& db, const std::string& name, std::string_view tagKind,
                      std::string_view page, const Date& checkedAt) {
  DomainRecord record;
  if (EqualsNoCase(tagKind, "ALEXA")) {
    const std::optional<AlexaReading> alexa = ReadAlexaPage(page);
    if (!alexa || !db.ReadRecord(name, record)) return false;
    record.SetLong(field::kAlexaRank, alexa->rank);
    if (alexa->links) record.SetLong(field::kAlexaLinks, *alexa->links);
  } else {
    struct CountService {
      const char* kind;
      const char* field;
      std::optional<std::int32_t> (*read)(std::string_view);
    };
    static constexpr CountService kCountServices[] = {
        {"GOOGLELINK", field::kGoogleLinks, &ReadGooglePage},
        {"MSNLINK", field::kMsnLinks, &ReadMsnPage},
        {"ALTAVISTALINK", field::kAltavistaLinks, &ReadAltavistaPage},
    };
    const CountService* service = nullptr;
    for (const CountService& s : kCountServices)
      if (EqualsNoCase(tagKind, s.kind)) service = &s;
    if (!service) return false;
    const std::optional<std::int32_t> count = service->read(page);
    if (!count || !db.ReadRecord(name, record)) return false;
    record.SetLong(service->field, *count);
  }
  record.SetDate(field::kSitePopCheckedAt, checkedAt);
  return db.WriteRecord(record);
}

}  // namespace qv
