#include "lookup/lookup_queue.h"

#include "platform/ascii.h"

namespace qv {

std::size_t LookupQueue::NoCaseHash::operator()(std::string_view text) const {
  // FNV-1a over the lower-case bytes.
  std::size_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(LowerAscii(c));
    hash *= 1099511628211ull;
  }
  return hash;
}

bool LookupQueue::NoCaseEqual::operator()(std::string_view a, std::string_view b) const {
  return EqualsNoCase(a, b);
}

bool LookupQueue::Add(std::string entry) {
  if (index_.contains(entry)) return false;
  entries_.push_back(std::move(entry));
  index_.insert(std::string_view(entries_.back()));
  return true;
}

const std::string& LookupQueue::Front() const {
  static const std::string kEmpty;
  return entries_.empty() ? kEmpty : entries_.front();
}

std::string LookupQueue::Take() {
  if (entries_.empty()) return {};
  index_.erase(std::string_view(entries_.front()));
  std::string entry = std::move(entries_.front());
  entries_.pop_front();
  return entry;
}

bool LookupQueue::Contains(std::string_view entry) const { return index_.contains(entry); }

void LookupQueue::Clear() {
  index_.clear();
  entries_.clear();
}

}  // namespace qv
