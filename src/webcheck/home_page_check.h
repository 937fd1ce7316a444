// The home page check: fetches "http://www.<name>/" without following a
// redirect and records in the name's record how the site answered: status
// line, size, last-modified date, title and where it redirects to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/date.h"
#include "webcheck/fetch_job.h"

namespace qv {

class DomainDatabase;

// The notification number of home page fetches.
inline constexpr int kHomePageMessage = 1030;
// Bodies read of a home page at most.
inline constexpr std::uint32_t kHomePageMaxBytes = 1u << 20;
// Longest stored texts (the record's field sizes).
inline constexpr std::size_t kHomePageStatusMax = 120;
inline constexpr std::size_t kRedirectUrlMax = 120;
inline constexpr std::size_t kHomePageTitleMax = 175;
// Added to the status when the redirect target does not fit its field.
inline constexpr const char* kRedirectTooLongNote = " (redirect URL too long to store)";

// The job for one name: URL, tag "name:HTTP", message, stop at redirect and
// the body cap.
std::unique_ptr<HttpFetchJob> MakeHomePageJob(const std::string& name);
// "http://www.<name>/".
std::string HomePageUrl(std::string_view name);

// What a check stores. Empty texts are not written (the old value stays).
struct HomePageFields {
  std::string status;
  std::string size;
  std::int64_t bytes = 0;
  Date modified;
  Date checkedAt;
  std::string redirectUrl;
  std::string title;
};

// The page's title: the text after "<title>" (any capitals, attributes
// allowed) up to "</title>", cut to 175 characters and "...".
std::string PageTitle(std::string_view page);
// Computes the fields from the page text, the header text (or the error
// text), the last-modified date and the time of the check.
HomePageFields ComputeHomePageFields(std::string_view page, std::string_view headers,
                                     const Date& lastModified, const Date& checkedAt);
// Loads the name's record, sets the fields, writes it back. False when the
// name is not stored or the write failed.
bool StoreHomePageFields(DomainDatabase& db, const std::string& name, const HomePageFields& fields);
// Applies a finished job: the name from its tag, the texts by its outcome,
// stored with the current time. Returns the name (empty when the tag has
// none); nothing is stored without a database.
std::string ApplyHomePageResult(DomainDatabase* db, const HttpFetchJob& job);

}  // namespace qv
