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

namespace {

void Mark(std::set<std::string, NoCaseLess>& names, std::string_view name, bool on) {
  if (on) {
    names.emplace(name);
    return;
  }
  const auto it = names.find(name);
  if (it != names.end()) names.erase(it);
}

}  // namespace

void SnapshotList::SetInProgress(std::string_view name, bool inProgress) {
  Mark(inProgress_, name, inProgress);
}

bool SnapshotList::InProgress(std::string_view name) const {
  return inProgress_.find(name) != inProgress_.end();
}

void SnapshotList::SetClearPending(std::string_view name, bool pending) {
  Mark(clearPending_, name, pending);
}

bool SnapshotList::ClearPending(std::string_view name) const {
  return clearPending_.find(name) != clearPending_.end();
}

void SnapshotList::Clear() {
  snapshots_.clear();
  inProgress_.clear();
  clearPending_.clear();
}

}  // namespace qv
