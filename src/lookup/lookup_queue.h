// One queue of pending lookups: an ordered list of entries ("name" or
// "name:qualifier") where adding appends at the end, taking removes the first
// entry, and an entry equal to one already queued, compared without regard to
// case, is refused silently.
//
// Queues can hold a whole document's names, so the duplicate test goes through
// a hash index kept beside the entries instead of a search through them.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>

namespace qv {

class LookupQueue {
 public:
  LookupQueue() = default;
  LookupQueue(const LookupQueue&) = delete;
  LookupQueue& operator=(const LookupQueue&) = delete;

  // False (and nothing added) when an equal entry is queued already.
  bool Add(std::string entry);
  // The first entry; empty when the queue is empty.
  const std::string& Front() const;
  // Removes and returns the first entry; empty when the queue is empty.
  std::string Take();
  bool Contains(std::string_view entry) const;
  void Clear();

  std::size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  // The entry at a 0-based position (for the lookup queue bar).
  const std::string& At(std::size_t position) const { return entries_[position]; }

 private:
  struct NoCaseHash {
    std::size_t operator()(std::string_view text) const;
  };
  struct NoCaseEqual {
    bool operator()(std::string_view a, std::string_view b) const;
  };
  // The index holds views of the entries themselves: a deque never moves its
  // elements when entries are added at the end or taken from the front.
  std::deque<std::string> entries_;
  std::unordered_set<std::string_view, NoCaseHash, NoCaseEqual> index_;
};

}  // namespace qv
