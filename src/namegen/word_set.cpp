#include "namegen/word_set.h"

#include <QCoreApplication>
#include <fstream>
#include <iterator>
#include <sstream>

#include "namegen/builtin_word_lists.h"
#include "platform/data_folder.h"

namespace qv {
namespace {

constexpr std::string_view kLineSeparators = "\r\n\t";
constexpr std::string_view kBlanks = " \t\r\n\v\f";
// What saving trims from a word: the side markers and separators, and the
// white space loading trims (or a word edged with a form feed would lose a
// layer at each save and load).
constexpr std::string_view kWordMarks = "- ,:\t\v\f";

std::string_view Trim(std::string_view s, std::string_view chars) {
  const std::size_t first = s.find_first_not_of(chars);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(chars) - first + 1);
}

void AddWord(std::string& box, std::string_view word) { box.append(word).append("\r\n"); }

bool ReadWhole(const std::filesystem::path& file, std::string& text) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

bool WriteWhole(const std::filesystem::path& file, std::string_view text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(text.data(), std::streamsize(text.size()));
  out.close();
  return bool(out);
}

}  // namespace

std::vector<std::string> SplitWordLines(std::string_view text) {
  std::vector<std::string> pieces;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of(kLineSeparators, pos);
    if (end == std::string_view::npos) end = text.size();
    if (end > pos) pieces.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return pieces;
}

WordBoxes WordBoxesFromSetText(std::string_view setText) {
  WordBoxes boxes;
  for (const std::string& piece : SplitWordLines(setText)) {
    const std::string_view entry = Trim(piece, kBlanks);
    if (entry.empty()) continue;
    const std::string_view word = Trim(entry, "-");
    const bool start = entry.back() == '-';
    const bool end = entry.front() == '-';
    if (start || !end) AddWord(boxes.startWords, word);
    if (end || !start) AddWord(boxes.endWords, word);
  }
  return boxes;
}

std::string SetTextFromWordBoxes(const WordBoxes& boxes) {
  std::string text;
  for (const std::string& piece : SplitWordLines(boxes.startWords))
    text.append(Trim(piece, kWordMarks)).append("-\r\n");
  for (const std::string& piece : SplitWordLines(boxes.endWords))
    text.append("-").append(Trim(piece, kWordMarks)).append("\r\n");
  return text;
}

std::filesystem::path WordListFolder() {
  std::filesystem::path base = DataFolder();
  if (base.empty()) base = QCoreApplication::applicationDirPath().toStdString();
  const std::filesystem::path folder = base / "WordList";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return folder;
}

std::filesystem::path WordSetFile(const std::filesystem::path& folder, std::string_view setName) {
  return folder / (std::string(setName) + ".txt");
}

std::string LoadWordSetText(const std::filesystem::path& folder, std::string_view setName) {
  const std::filesystem::path file = WordSetFile(folder, setName);
  std::string text;
  if (ReadWhole(file, text) && !text.empty()) return text;
  const std::optional<std::string> builtin = BuiltinWordList(setName);
  if (!builtin) return {};
  // The shipped list becomes the set's file, so the user edits a copy of it.
  WriteWhole(file, *builtin);
  if (ReadWhole(file, text) && !text.empty()) return text;
  return *builtin;
}

bool SaveWordSet(const std::filesystem::path& folder, std::string_view setName,
                 const WordBoxes& boxes) {
  return WriteWhole(WordSetFile(folder, setName), SetTextFromWordBoxes(boxes));
}

}  // namespace qv
