// The in-memory copy of one row of `Domains`. Values are kept by field name
// (without regard to case; the older field names are translated), so fields
// that a user added to the table travel with the record like the built-in
// ones. Group membership is kept as the list of group codes ("*BIZDOMAINS");
// the "GRP_..." fields are read from and written to that list.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"
#include "store/domain_fields.h"

namespace qv {

class DomainRecord {
 public:
  using Values = std::map<std::string, FieldValue, NoCaseLess>;

  DomainRecord() = default;
  explicit DomainRecord(std::string domain) { SetDomain(std::move(domain)); }

  std::string Domain() const { return Text(field::kDomain); }
  void SetDomain(std::string domain) { Set(field::kDomain, std::move(domain)); }

  // The value of a field; null when the record holds none. A "GRP_..." field
  // answers 1 or 0 from the group list.
  FieldValue Get(std::string_view fieldName) const;
  // Sets a field. Setting a "GRP_..." field changes the group list
  // (non-zero: member).
  void Set(std::string_view fieldName, FieldValue value);
  bool Has(std::string_view fieldName) const;
  // The value for a field of the table by its own name (no alias), as a
  // write stores it: a "GRP_..." field answers from the group list. Empty
  // when the record holds no value for the field.
  std::optional<FieldValue> StoredValue(std::string_view tableField) const;
  // Drops every stored value and group; the in-memory members stay.
  void ClearFields() {
    values_.clear();
    groups_.clear();
  }
  void Remove(std::string_view fieldName);

  // Typed reading: the value as text (FieldValueToText; a Text value as is),
  // as a date (null unless the field holds a date), as a whole number (numbers
  // and booleans; 0 otherwise) or as a double.
  std::string Text(std::string_view fieldName) const;
  Date DateValue(std::string_view fieldName) const;
  long long Number(std::string_view fieldName) const;
  double Real(std::string_view fieldName) const;

  void SetText(std::string_view fieldName, std::string text) { Set(fieldName, std::move(text)); }
  void SetDate(std::string_view fieldName, const Date& date) { Set(fieldName, date); }
  void SetLong(std::string_view fieldName, std::int32_t n) { Set(fieldName, n); }
  void SetByte(std::string_view fieldName, std::uint8_t n) { Set(fieldName, n); }
  void SetDouble(std::string_view fieldName, double x) { Set(fieldName, x); }

  bool Locked() const { return Number(field::kLock) != 0; }
  void SetLocked(bool locked) { SetByte(field::kLock, locked ? 1 : 0); }

  // Group codes, each "*" followed by the group's field name less "GRP_".
  const std::vector<std::string>& Groups() const { return groups_; }
  bool IsGroupMember(std::string_view groupCode) const;
  // True when the membership changed.
  bool SetGroupMember(std::string_view groupCode, bool member);

  // Every stored value except the group fields.
  const Values& values() const { return values_; }

  // Not stored as fields: the last whois text and whether a lookup runs.
  std::string whoisText;
  bool lookupInProgress = false;

 private:
  Values values_;
  std::vector<std::string> groups_;
};

// "GRP_NAME" -> "*NAME" and back.
std::string GroupCodeOfField(std::string_view fieldName);
std::string GroupFieldOfCode(std::string_view groupCode);

}  // namespace qv
