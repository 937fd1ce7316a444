#include "lookup/change_log.h"

#include <cstdio>

#include "platform/data_folder.h"
#include "store/domain_record.h"
#include "whois/whois_date.h"

namespace qv {
namespace {

constexpr double kMinutesPerDay = 24.0 * 60.0;

struct DateLine {
  const char* field;
  const char* format;
};
// The comma between the two values is in the first two lines only: that is
// how the log has always read, and readers of old logs may match on it.
constexpr DateLine kDateLines[] = {
    {field::kCreatedOn, "Creation Date Different (Old:%s, New:%s)\r\n"},
    {field::kExpiryDate, "Registry Expiry Date Different (Old:%s, New:%s)\r\n"},
    {field::kRegistrarExpiry, "Registrar Expiry Date Different (Old:%s New:%s)\r\n"},
    {field::kLastUpdate, "Last Updated Date Different (Old:%s New:%s)\r\n"},
};
constexpr DateLine kTextLines[] = {
    {field::kAdminEmail, "Admin Contact Different (Old:%s New:%s)\r\n"},
    {field::kNs1, "NS1 Different (Old:%s New:%s)\r\n"},
    {field::kNs2, "NS2 Different (Old:%s New:%s)\r\n"},
    {field::kStatus, "Status Different (Old:%s New:%s)\r\n"},
};

// printf with two text arguments into a std::string of any length.
std::string Format2(const char* format, const std::string& a, const std::string& b) {
  const int n = std::snprintf(nullptr, 0, format, a.c_str(), b.c_str());
  if (n <= 0) return {};
  std::string out(std::size_t(n) + 1, '\0');
  std::snprintf(out.data(), out.size(), format, a.c_str(), b.c_str());
  out.resize(std::size_t(n));
  return out;
}

}  // namespace

std::vector<AlertItem> AlertList::TakeAll() {
  std::vector<AlertItem> out;
  out.swap(items_);
  return out;
}

Date AlertList::OldestAdded() const {
  return items_.empty() ? Date::Null() : items_.front().added;
}

bool AlertsOverdue(const AlertList& alerts, const Date& now) {
  const Date oldest = alerts.OldestAdded();
  if (!oldest.IsValid() || !now.IsValid()) return false;
  return (now.days() - oldest.days()) * kMinutesPerDay >= kAlertMaxWaitMinutes - 1e-6;
}

std::filesystem::path ChangeLogPath() {
  const std::filesystem::path folder = DataFolder();
  return folder.empty() ? std::filesystem::path(kChangeLogFileName) : folder / kChangeLogFileName;
}

bool AppendToChangeLog(const std::filesystem::path& path, std::string_view entry) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return false;
  const bool written = std::fwrite(entry.data(), 1, entry.size(), file) == entry.size();
  return std::fclose(file) == 0 && written;
}

bool SameWatchedFields(const DomainRecord& oldRecord, const DomainRecord& newRecord) {
  for (const DateLine& line : kDateLines)
    if (!(oldRecord.DateValue(line.field) == newRecord.DateValue(line.field))) return false;
  for (const DateLine& line : kTextLines)
    if (oldRecord.Text(line.field) != newRecord.Text(line.field)) return false;
  return true;
}

std::string ChangeDifferenceText(const DomainRecord& oldRecord, const DomainRecord& newRecord) {
  std::string out;
  for (const DateLine& line : kDateLines) {
    const Date before = oldRecord.DateValue(line.field);
    const Date after = newRecord.DateValue(line.field);
    if (!(before == after)) out += Format2(line.format, DateText(before), DateText(after));
  }
  for (const DateLine& line : kTextLines) {
    const std::string before = oldRecord.Text(line.field);
    const std::string after = newRecord.Text(line.field);
    if (before != after) out += Format2(line.format, before, after);
  }
  return out;
}

std::string ChangeLogEntry(std::string_view name, const Date& lookedUpAt,
                           std::string_view differences) {
  std::string entry = "Domain: ";
  entry += name;
  entry += ", Lookup: ";
  entry += DateTimeText(lookedUpAt);
  entry += "\r\n";
  entry += differences;
  entry += "\r\n";
  return entry;
}

}  // namespace qv
