// The domain name filter: a scratch list of names loaded from text files,
// seven tests that pick names out of it, and the list operations on a
// picked set (delete, gather at the top, strip top-level domains).
//
// Tests never regard letter case. A name's "name part" is the text before
// its first "." when that dot is not the first character, else the whole
// name.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class FilterKind {
  StartWords,   // the whole name begins with one of the words
  EndWords,     // the name part ends with one of the words
  MiddleWords,  // one of the words occurs in the name part
  Chars,        // the name part holds one of the field's characters
  LongerThan,   // the whole name is longer than the bound
  ShorterThan,  // the whole name is shorter than the bound
  Tld,          // the name ends with "." + the field (a leading "." is kept)
};

struct NameFilter {
  FilterKind kind = FilterKind::StartWords;
  std::string text;  // words, characters or the top-level domain
  int bound = 0;     // LongerThan, ShorterThan
};

// Called now and then with (names tested, all names); false stops the test
// loop, and the names matched so far are the result.
using FilterProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The words of a word field, split at CR, LF, ";", TAB, "," and blank.
std::vector<std::string> SplitFilterWords(std::string_view field);

std::string_view NamePart(std::string_view name);

// False for a filter that does nothing at all (an empty character list or
// top-level domain field): the selection is then left unchanged.
bool FilterApplies(const NameFilter& filter);

// The rows of `names` the filter matches, in ascending order.
std::vector<std::size_t> MatchingRows(const std::vector<std::string>& names, const NameFilter& filter,
                                      const FilterProgress& progress = {});

// Appends the names of a text (split at CR, LF, TAB, ";" and blank), taken
// in pieces of about 8,192 bytes that never cut a name. `progress` sees the
// bytes done; false stops after the piece in hand.
void AppendNamesFromText(std::vector<std::string>& names, std::string_view text,
                         const FilterProgress& progress = {});

// Removes the rows marked in `selected` (one flag per row), keeping the
// order of the others. Linear.
void DeleteRows(std::vector<std::string>& names, const std::vector<bool>& selected);

// Moves the marked rows to the top, the last marked first (so they end up
// in reverse order of their former places), the rest after them in order.
// Returns how many were moved. Linear.
std::size_t GroupRows(std::vector<std::string>& names, const std::vector<bool>& selected);

// Replaces each name holding a "." by the text before its first ".".
void StripTlds(std::vector<std::string>& names);

}  // namespace qv
