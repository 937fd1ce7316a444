// The link popularity check ("Site Pop Check"): four rank and link-count
// services, each fetched as its own HTTP job, whose answer pages are searched
// for fixed text marks and whose numbers go into the name's record.
//
// The services' original hosts no longer answer, so each service's address
// is a setting ("Site Pop Alexa URL", ...), empty until the user sets it; a
// service without one is skipped.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"
#include "webcheck/fetch_job.h"

namespace qv {

class DomainDatabase;

// The notification number of link popularity fetches.
inline constexpr int kLinkPopularityMessage = 1031;
// Bodies read of a service's page at most.
inline constexpr std::uint32_t kLinkPopularityMaxBytes = 1u << 20;

enum class SitePopService { Alexa, Google, Msn, Altavista };

struct SitePopServiceInfo {
  SitePopService service;
  const char* word;         // the queue entry's service word ("name:msn")
  const char* tagKind;      // the job tag's kind ("name:MSNLINK")
  const char* displayName;  // in messages
  const char* settingKey;   // its address, section "Settings"
};

// The four, in the order a check starts them.
std::span<const SitePopServiceInfo> SitePopServices();
const SitePopServiceInfo& SitePopServiceOf(SitePopService service);

// The service's address as the setting holds it, made into a base URL: a
// scheme ("http://") added when it has none, trailing "/" dropped. Empty when
// the setting is empty.
std::string SitePopServiceBase(SitePopService service);
std::string NormalisedServiceBase(std::string_view setting);
// The URL asked for `name` at `base` (the path and query of the service, the
// name put in unencoded).
std::string SitePopUrl(SitePopService service, std::string_view base, std::string_view name);
// The job for one service and name: tag, message and body cap.
std::unique_ptr<HttpFetchJob> MakeSitePopJob(SitePopService service, const std::string& name);

// A queue entry ("name" or "name:word") as its name and the services it asks
// for (all four without a word; none for a word no service has).
struct SitePopRequest {
  std::string name;
  std::vector<SitePopService> services;
};
SitePopRequest ParseSitePopEntry(std::string_view entry);

// The readings of the services' pages. Nothing comes back when the page does
// not carry the marks or the number at the mark cannot be read; counts too
// large for the record's field are held at its largest value.
struct AlexaReading {
  std::int32_t rank = 0;
  std::optional<std::int32_t> links;  // 0 when the page has no link count
};
std::optional<AlexaReading> ReadAlexaPage(std::string_view page);
std::optional<std::int32_t> ReadGooglePage(std::string_view page);
std::optional<std::int32_t> ReadAltavistaPage(std::string_view page);
std::optional<std::int32_t> ReadMsnPage(std::string_view page);

// The leading decimal number of a text (after blanks), or nothing when it
// does not start with a digit; held at the largest 32-bit count.
std::optional<std::int32_t> LeadingCount(std::string_view text);

// Reads the page of the service named by the tag kind and stores what it
// found, with `checkedAt` as `SitePop Checked At`. False when nothing was
// stored (no reading, an unknown kind, a name not stored, a failed write).
bool StoreSitePopPage(DomainDatabase& db, const std::string& name, std::string_view tagKind,
                      std::string_view page, const Date& checkedAt);

}  // namespace qv
