#include "webcheck/home_page_check.h"

#include "platform/ascii.h"
#include "store/database_connection.h"
#include "store/domain_fields.h"
#include "store/domain_record.h"

namespace qv {
namespace {

std::string FirstLine(std::string_view text) {
  return std::string(text.substr(0, text.find_first_of("\r\n")));
}

// The text after "Location:" up to the line's end, in whichever of the two
// texts is the only non-empty one.
std::string RedirectTarget(std::string_view page, std::string_view headers) {
  if (page.empty() == headers.empty()) return {};
  const std::string_view text = page.empty() ? headers : page;
  // Header names are matched without regard to case.
  std::string lowered(text);
  for (char& c : lowered) c = LowerAscii(c);
  const std::size_t at = lowered.find("location:");
  if (at == std::string::npos) return {};
  const std::string_view rest = text.substr(at + 9);
  return std::string(rest.substr(0, rest.find_first_of("\r\n")));
}

}  // namespace

std::string HomePageUrl(std::string_view name) { return "http://www." + std::string(name) + "/"; }

std::unique_ptr<HttpFetchJob> MakeHomePageJob(const std::string& name) {
  auto job = std::make_unique<HttpFetchJob>();
  job->tag = name + ":HTTP";
  job->message = kHomePageMessage;
  job->stopAtRedirect = true;
  job->maxBytes = kHomePageMaxBytes;
  return job;
}

std::string PageTitle(std::string_view page) {
  // Markup is lower-cased so that "<TITLE>" is found; the text between the
  // tags stays as written.
  std::string marked(page);
  int depth = 0;
  for (char& c : marked) {
    if (c == '<') ++depth;
    else if (c == '>' && depth > 0) --depth;
    else if (depth > 0) c = LowerAscii(c);
  }
  std::size_t open = 0;
  for (;; ++open) {
    open = marked.find("<title", open);
    if (open == std::string::npos) return {};
    const char next = open + 6 < marked.size() ? marked[open + 6] : '\0';
    if (next == '>' || next == ' ' || next == '\t' || next == '\r' || next == '\n') break;
  }
  const std::size_t start = marked.find('>', open);
  if (start == std::string::npos) return {};
  const std::size_t end = marked.find("</title>", start + 1);
  std::string title = marked.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
  // Counted in characters, so a UTF-8 title is never cut inside one.
  std::string cut = CutToFieldSize(title, int(kHomePageTitleMax));
  if (cut.size() < title.size()) cut += "...";
  return cut;
}

HomePageFields ComputeHomePageFields(std::string_view page, std::string_view headers,
                                     const Date& lastModified, const Date& checkedAt) {
  HomePageFields f;
  f.redirectUrl = RedirectTarget(page, headers);
  if (!page.empty()) f.title = PageTitle(page);
  f.bytes = std::int64_t(page.size());
  f.size = std::to_string(f.bytes) + " bytes";
  f.status = FirstLine(headers);
  f.status = CutToFieldSize(f.status, int(kHomePageStatusMax));
  if (f.redirectUrl.size() > kRedirectUrlMax) {
    // A target cut to fit would be a broken address: none is stored, and the
    // status says why.
    f.redirectUrl.clear();
    const std::string note = kRedirectTooLongNote;
    f.status = CutToFieldSize(f.status, int(kHomePageStatusMax - note.size()));
    f.status += note;
  }
  f.modified = lastModified;
  f.checkedAt = checkedAt;
  return f;
}

bool StoreHomePageFields(DomainDatabase& db, const std::string& name, const HomePageFields& f) {
  DomainRecord record;
  if (!db.ReadRecord(name, record)) return false;
  record.SetDate(field::kHomePageCheckedAt, f.checkedAt);
  if (!f.status.empty()) record.SetText(field::kHomePageStatus, f.status);
  if (!f.size.empty()) record.SetText(field::kHomePageSize, f.size);
  record.SetLong(field::kHomePageBytes, std::int32_t(f.bytes));
  record.SetDate(field::kHomePageModified, f.modified);
  if (!f.redirectUrl.empty()) record.SetText(field::kRedirectUrl, f.redirectUrl);
  if (!f.title.empty()) record.SetText(field::kHomePageTitle, f.title);
  return db.WriteRecord(record);
}

std::string ApplyHomePageResult(DomainDatabase* db, const HttpFetchJob& job) {
  const std::string name = job.tag.substr(0, job.tag.find(':'));
  if (name.empty() || !db) return name;
  const bool ok = !job.Failed();
  const std::string_view page = ok ? std::string_view(job.body) : std::string_view();
  const std::string_view headers =
      ok || !job.responseHeaders.empty() ? std::string_view(job.responseHeaders) : std::string_view(job.errorText);
  StoreHomePageFields(*db, name, ComputeHomePageFields(page, headers, job.lastModified, Date::Now()));
  return name;
}

}  // namespace qv
