// What the record update remembers about names whose whois lookup is under
// way: a full copy of each record as it was just before its fresh lookup
// (at most one per name, names compared without regard to case), against
// which the change log compares the record once the authoritative answer is
// in; and the names whose lookup is running right now.
//
// A fresh lookup clears what it will fill again, but only in memory: the
// stored record keeps its registration data until an answer is applied (a
// failed lookup or a killed process loses nothing). The list remembers which
// names still wait for that first answer.
//
// The lookup engine owns one of these for the open document. It lives on the
// main thread like the queues.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "store/domain_fields.h"
#include "store/domain_record.h"

namespace qv {

class SnapshotList {
 public:
  // Keeps a copy of the record under its name, replacing an older copy.
  void Take(const DomainRecord& record);
  // The copy kept for a name, or nullptr.
  const DomainRecord* Find(std::string_view name) const;
  // True when a copy was kept.
  bool Drop(std::string_view name);
  std::size_t size() const { return snapshots_.size(); }
  bool empty() const { return snapshots_.empty(); }

  // The in-progress mark of a name (not a stored field: it lives here).
  void SetInProgress(std::string_view name, bool inProgress);
  bool InProgress(std::string_view name) const;
  std::size_t InProgressCount() const { return inProgress_.size(); }

  // A fresh lookup of the name has begun and no answer has been applied yet:
  // the first answer starts from a cleared record.
  void SetClearPending(std::string_view name, bool pending);
  bool ClearPending(std::string_view name) const;

  // Forgets everything (another document was opened).
  void Clear();

 private:
  std::map<std::string, DomainRecord, NoCaseLess> snapshots_;
  std::set<std::string, NoCaseLess> inProgress_;
  std::set<std::string, NoCaseLess> clearPending_;
};

}  // namespace qv
