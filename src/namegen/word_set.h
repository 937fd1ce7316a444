// Word sets of the keyword generator: the two word boxes ("at the start",
// "at the end") and the file a set is kept in.
//
// A set file holds one entry a line. An entry ending in "-" is a start word
// ("pet-"), one beginning with "-" an end word ("-web"), any other both
// ("farm"); the hyphens only mark the side. The program writes CR LF and
// reads CR, LF and TAB alike as separators.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The words of the two boxes, each word followed by CR LF.
struct WordBoxes {
  std::string startWords;
  std::string endWords;
  bool operator==(const WordBoxes&) const = default;
};

// Pieces of a text split at CR, LF and TAB; empty pieces are dropped, the
// rest kept as they are.
std::vector<std::string> SplitWordLines(std::string_view text);

// The boxes a set file's text fills: entries trimmed of white space (blank
// ones skipped), sorted to their side, marker hyphens removed.
WordBoxes WordBoxesFromSetText(std::string_view setText);

// The set file text of two boxes: each start word trimmed of "-", ",", ":"
// and white space and written as "word-", then each end word as "-word", CR LF after
// each. A word that trims to nothing is written as a bare marker.
std::string SetTextFromWordBoxes(const WordBoxes& boxes);

// The folder of the set files: "WordList" in the per-user data folder (in
// the program's folder when there is no data folder). Created when missing.
std::filesystem::path WordListFolder();

// "<folder>/<set name>.txt".
std::filesystem::path WordSetFile(const std::filesystem::path& folder, std::string_view setName);

// The text of a set: its file, or, when that is missing, unreadable or
// empty, its shipped list, which is then written to the file. A set without
// a shipped list gives "".
std::string LoadWordSetText(const std::filesystem::path& folder, std::string_view setName);

// Writes the boxes to the set's file, replacing it. False when the file
// cannot be written.
bool SaveWordSet(const std::filesystem::path& folder, std::string_view setName,
                 const WordBoxes& boxes);

}  // namespace qv
