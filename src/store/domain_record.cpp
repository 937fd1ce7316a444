#include "store/domain_record.h"

#include <algorithm>
#include <cctype>

namespace qv {
namespace {

long long AsNumber(const FieldValue& value) {
  if (const auto* n = std::get_if<std::int32_t>(&value)) return *n;
  if (const auto* b = std::get_if<std::uint8_t>(&value)) return *b;
  if (const auto* f = std::get_if<bool>(&value)) return *f ? 1 : 0;
  if (const auto* d = std::get_if<double>(&value)) return static_cast<long long>(*d);
  return 0;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Group codes compared without regard to case, with or without their "*".
bool SameGroup(std::string_view a, std::string_view b) {
  if (!a.empty() && a.front() == '*') a.remove_prefix(1);
  if (!b.empty() && b.front() == '*') b.remove_prefix(1);
  return EqualsNoCase(a, b);
}

}  // namespace

std::string GroupCodeOfField(std::string_view fieldName) {
  if (!IsGroupFieldName(fieldName)) return "";
  return "*" + std::string(fieldName.substr(kGroupFieldPrefix.size()));
}

std::string GroupFieldOfCode(std::string_view groupCode) {
  if (!groupCode.empty() && groupCode.front() == '*') groupCode.remove_prefix(1);
  return std::string(kGroupFieldPrefix) + std::string(groupCode);
}

FieldValue DomainRecord::Get(std::string_view fieldName) const {
  const std::string name = ResolveFieldAlias(fieldName);
  if (IsGroupFieldName(name)) return std::uint8_t(IsGroupMember(GroupCodeOfField(name)) ? 1 : 0);
  const auto it = values_.find(name);
  return it == values_.end() ? FieldValue{} : it->second;
}

void DomainRecord::Set(std::string_view fieldName, FieldValue value) {
  std::string name = ResolveFieldAlias(fieldName);
  if (IsGroupFieldName(name)) {
    SetGroupMember(GroupCodeOfField(name), AsNumber(value) != 0);
    return;
  }
  const auto it = values_.find(name);
  if (it != values_.end())
    it->second = std::move(value);
  else
    values_.emplace(std::move(name), std::move(value));
}

bool DomainRecord::Has(std::string_view fieldName) const {
  const std::string name = ResolveFieldAlias(fieldName);
  return IsGroupFieldName(name) || values_.find(name) != values_.end();
}

std::optional<FieldValue> DomainRecord::StoredValue(std::string_view tableField) const {
  if (IsGroupFieldName(tableField))
    return std::uint8_t(IsGroupMember(GroupCodeOfField(tableField)) ? 1 : 0);
  const auto it = values_.find(tableField);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void DomainRecord::Remove(std::string_view fieldName) {
  const auto it = values_.find(ResolveFieldAlias(fieldName));
  if (it != values_.end()) values_.erase(it);
}

std::string DomainRecord::Text(std::string_view fieldName) const {
  return FieldValueToText(Get(fieldName));
}

Date DomainRecord::DateValue(std::string_view fieldName) const {
  const FieldValue value = Get(fieldName);
  if (const auto* d = std::get_if<Date>(&value)) return *d;
  return Date::Null();
}

long long DomainRecord::Number(std::string_view fieldName) const {
  return AsNumber(Get(fieldName));
}

double DomainRecord::Real(std::string_view fieldName) const {
  const FieldValue value = Get(fieldName);
  if (const auto* d = std::get_if<double>(&value)) return *d;
  return double(AsNumber(value));
}

bool DomainRecord::IsGroupMember(std::string_view groupCode) const {
  return std::any_of(groups_.begin(), groups_.end(),
                     [&](const std::string& g) { return SameGroup(g, groupCode); });
}

bool DomainRecord::SetGroupMember(std::string_view groupCode, bool member) {
  if (groupCode.empty() || groupCode == "*") return false;
  const auto it = std::find_if(groups_.begin(), groups_.end(),
                               [&](const std::string& g) { return SameGroup(g, groupCode); });
  const bool isMember = it != groups_.end();
  if (isMember == member) return false;
  if (member) {
    std::string code = groupCode.front() == '*' ? std::string(groupCode) : "*" + std::string(groupCode);
    groups_.push_back(UpperAscii(code));
  } else {
    groups_.erase(it);
  }
  return true;
}

}  // namespace qv
