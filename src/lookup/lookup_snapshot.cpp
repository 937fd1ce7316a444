#include "lookup/lookup_snapshot.h"

namespace qv {

void SnapshotList::Take(const DomainRecord& record) {
  const std::string name = record.Domain();
  const auto it = snapshots_.find(name);
  if (it != snapshots_.end())
    it->second = record;
  else
    snapshots_.emplace(name, record);
}

const DomainRecord* SnapshotList::Find(std::string_view name) const {
  const auto it = snapshots_.find(name);
  return it == snapshots_.end() ? nullptr : &it->second;
}

bool SnapshotList::Drop(std::string_view name) {
  const auto it = snapshots_.find(name);
  if (it == snapshots_.end()) return false;
  snapshots_.erase(it);
  return true;
}

void SnapshotList::SetInProgress(std::string_view name, bool inProgress) {
  if (inProgress) {
    inProgress_.emplace(name);
    return;
  }
  const auto it = inProgress_.find(name);
  if (it != inProgress_.end()) inProgress_.erase(it);
}

bool SnapshotList::InProgress(std::string_view name) const {
  return inProgress_.find(name) != inProgress_.end();
}

void SnapshotList::Clear() {
  snapshots_.clear();
  inProgress_.clear();
}

}  // namespace qv
