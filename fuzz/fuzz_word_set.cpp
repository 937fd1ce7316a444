// A word set file as the keyword dialog loads it into its two boxes, saves
// the boxes back and loads them again (what OK does), and the names made of
// the first words with a keyword.
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "namegen/keyword_names.h"
#include "namegen/word_set.h"

namespace {

// The words a box holds, as the generator takes them.
std::vector<std::string> Words(const std::string& box) { return qv::SplitWordLines(box); }

void CheckBox(const std::string& box) {
  if (!box.empty() && (box.size() < 2 || box.compare(box.size() - 2, 2, "\r\n") != 0)) std::abort();
  for (const std::string& word : Words(box))
    if (word.find_first_of("\r\n\t") != std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const qv::WordBoxes loaded = qv::WordBoxesFromSetText(qvfuzz::AsText(data, size));
  CheckBox(loaded.startWords);
  CheckBox(loaded.endWords);
  // Saved and loaded once, the boxes are in their stored form: saving and
  // loading them again changes no word.
  const qv::WordBoxes stored = qv::WordBoxesFromSetText(qv::SetTextFromWordBoxes(loaded));
  const qv::WordBoxes again = qv::WordBoxesFromSetText(qv::SetTextFromWordBoxes(stored));
  if (Words(again.startWords) != Words(stored.startWords) || Words(again.endWords) != Words(stored.endWords))
    std::abort();
  // Names from a few of the words (a whole set of a big file would make
  // millions).
  std::vector<std::string> start = Words(stored.startWords), end = Words(stored.endWords);
  start.resize(std::min<std::size_t>(start.size(), 8));
  end.resize(std::min<std::size_t>(end.size(), 8));
  const qv::KeywordOptions options{true, false, false, false};
  const qv::KeywordNames made = qv::GenerateKeywordNames("shop", start, end, options, {"com", "co.uk"});
  for (const std::string& name : made.names)
    if (name.size() < 5 || name.find_first_of("\r\n\t") != std::string::npos) std::abort();
  return 0;
}
