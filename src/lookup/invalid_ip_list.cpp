#include "lookup/invalid_ip_list.h"

#include <string>

#include "platform/ascii.h"
#include "platform/settings_store.h"

namespace qv {
namespace {

int StoredSize() {
  return ReadDirectInt(kCompanyName, kWhoisProduct, kInvalidIpSection, kInvalidIpSizeKey, 0);
}

}  // namespace

InvalidIpList InvalidIpList::Load() {
  InvalidIpList list;
  const int size = StoredSize();
  for (int i = 1; i <= size; ++i) {
    const std::string entry =
        ReadDirectString(kCompanyName, kWhoisProduct, kInvalidIpSection, std::to_string(i), "");
    if (!entry.empty()) list.entries_.push_back(entry);
  }
  return list;
}

void InvalidIpList::Save() const {
  const int oldSize = StoredSize();
  const int size = int(entries_.size());
  SettingsBatch batch = SettingsBatch::Direct(kCompanyName, kWhoisProduct);
  batch.SetInt(kInvalidIpSection, kInvalidIpSizeKey, size);
  for (int i = 1; i <= size; ++i)
    batch.SetString(kInvalidIpSection, std::to_string(i), entries_[std::size_t(i - 1)]);
  for (int i = size + 1; i <= oldSize; ++i) batch.Remove(kInvalidIpSection, std::to_string(i));
  batch.Commit();
}

bool InvalidIpList::Contains(std::string_view address) const {
  for (const std::string& entry : entries_)
    if (EqualsNoCase(entry, address)) return true;
  return false;
}

bool InvalidIpList::Add(std::string_view address) {
  if (address.empty() || Contains(address)) return false;
  entries_.emplace_back(address);
  return true;
}

void InvalidIpList::SetFromText(std::string_view text) {
  entries_.clear();
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find_first_of(kInvalidIpSeparators, at), text.size());
    Add(text.substr(at, end - at));  // pieces hold no separator, so none needs trimming
    at = end + 1;
  }
}

std::string InvalidIpList::Text() const {
  std::string text;
  for (const std::string& entry : entries_) {
    if (!text.empty()) text += "\r\n";
    text += entry;
  }
  return text;
}

}  // namespace qv
