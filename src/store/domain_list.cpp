#include "store/domain_list.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace qv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Skips blanks, then `word` in any capitals followed by a blank; npos when
// the text does not go on that way.
std::size_t After(std::string_view text, std::size_t pos, std::string_view word) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (text.size() - pos <= word.size()) return std::string_view::npos;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(text[pos + i])) != word[i]) return std::string_view::npos;
  pos += word.size();
  return IsBlank(text[pos]) || word == "*" ? pos : std::string_view::npos;
}

// True when the text holds "ORDER", blanks and "BY" (in any capitals).
bool HasOrderBy(std::string_view sql) {
  std::string upper(sql);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return char(std::toupper(c)); });
  for (std::size_t pos = upper.find("ORDER"); pos != std::string::npos; pos = upper.find("ORDER", pos + 1)) {
    std::size_t by = pos + 5;
    if (by >= upper.size() || !IsBlank(upper[by])) continue;
    while (by < upper.size() && IsBlank(upper[by])) ++by;
    if (upper.compare(by, 2, "BY") == 0) return true;
  }
  return false;
}

}  // namespace

// Only the names are kept, so a "SELECT * FROM ..." is run as
// "SELECT [Domain] FROM ...": the engine then neither reads nor copies the
// other fields of every row, and an order by name comes straight from the
// name index. A query without an order of its own is kept in the order the
// rows are stored, as "SELECT *" gives them. "" when the query has another
// form.
std::string NamesOnlyQuery(std::string_view jetSql) {
  std::size_t pos = After(jetSql, 0, "SELECT");
  if (pos != std::string_view::npos) pos = After(jetSql, pos, "*");
  if (pos == std::string_view::npos || After(jetSql, pos, "FROM") == std::string_view::npos) return {};
  std::string sql = "SELECT [" + std::string(field::kDomain) + "]" + std::string(jetSql.substr(pos));
  if (!HasOrderBy(sql)) {
    while (!sql.empty() && (IsBlank(sql.back()) || sql.back() == ';')) sql.pop_back();
    sql += " ORDER BY rowid";
  }
  return sql;
}

bool OpenListNames(DatabaseConnection& connection, std::string_view jetSql) {
  // The quick form first; anything it does not suit runs as written.
  const std::string namesOnly = NamesOnlyQuery(jetSql);
  const bool quick = !namesOnly.empty() && connection.CreateQuery("", namesOnly) == kDbOk &&
                     connection.OpenRecordset() == kDbOk;
  return quick || (connection.CreateQuery("", jetSql) == kDbOk && connection.OpenRecordset() == kDbOk);
}

bool StepListNames(DatabaseConnection& connection, const std::function<bool(std::string_view name)>& each,
                   bool* done) {
  if (done) *done = false;
  Statement& rows = connection.Recordset();
  const int nameColumn = rows.ColumnIndex(field::kDomain);
  for (;;) {
    const Statement::Step step = rows.Next();
    if (step == Statement::Step::Done) {
      if (done) *done = true;
      return true;
    }
    if (step == Statement::Step::Error) {
      connection.SetError(rows.ErrorCode(), "Error: Creating Recordset\r\n" + rows.ErrorText());
      return false;
    }
    if (!each(nameColumn >= 0 ? rows.ColumnText(nameColumn) : std::string())) return true;
  }
}

bool ForEachListName(DatabaseConnection& connection, std::string_view jetSql,
                     const std::function<bool(std::string_view name)>& each) {
  return OpenListNames(connection, jetSql) && StepListNames(connection, each);
}

bool DomainList::Load(DatabaseConnection& connection, std::string_view jetSql) {
  Clear();
  error_.clear();
  bool tooLarge = false;
  const bool ok = ForEachListName(connection, jetSql, [&](std::string_view name) {
    names_ += name;
    tooLarge = names_.size() > std::numeric_limits<std::uint32_t>::max();
    if (!tooLarge) ends_.push_back(std::uint32_t(names_.size()));
    return !tooLarge;
  });
  if (tooLarge) connection.SetError(kDbNoMemory, "Error: Creating Recordset\r\nMemory");
  if (!ok || tooLarge) {
    error_ = connection.GetLastError();
    Clear();
    return false;
  }
  names_.shrink_to_fit();
  ends_.shrink_to_fit();
  connection_ = &connection;
  path_ = connection.Path();
  return true;
}

void DomainList::Attach(DatabaseConnection& connection) {
  Clear();
  error_.clear();
  connection_ = &connection;
  path_ = connection.Path();
}

bool DomainList::Append(const NameBatch& batch) {
  if (names_.size() + batch.names.size() > std::numeric_limits<std::uint32_t>::max() ||
      ends_.size() + batch.lengths.size() > std::size_t(std::numeric_limits<int>::max()))
    return false;
  std::uint32_t end = std::uint32_t(names_.size());
  for (std::uint32_t length : batch.lengths) ends_.push_back(end += length);
  names_ += batch.names;
  return true;
}

void DomainList::Clear() {
  connection_ = nullptr;
  path_.clear();
  std::string().swap(names_);
  std::vector<std::uint32_t>().swap(ends_);
  ClearCache();
}

void DomainList::ClearCache() {
  for (CachedRow& row : cache_) {
    row.position = -1;
    row.record = DomainRecord();
  }
}

bool DomainList::IsLoadedFrom(const DatabaseConnection& connection) const {
  return connection_ == &connection && connection.IsOpen() && connection.Path() == path_;
}

int DomainList::Count() const {
  if (!connection_ || !IsLoadedFrom(*connection_)) return 0;
  return int(ends_.size());
}

std::string_view DomainList::NameAt(int position) const {
  if (position < 0 || position >= Count()) return {};
  const std::size_t index = std::size_t(position);
  const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
  return std::string_view(names_).substr(begin, ends_[index] - begin);
}

bool DomainList::RecordAt(int position, DomainRecord& record) {
  if (position < 0 || position >= Count()) return false;
  CachedRow& slot = cache_[std::size_t(position) % kCacheSlots];
  if (slot.position == position) {
    record = slot.record;
    return true;
  }
  const std::string_view name = NameAt(position);
  DomainRecord read;
  if (!name.empty() && !connection_->ReadDomainRecord(name, read)) {
    // The row went away since the list was run (or could not be read).
    if (connection_->GetLastErrorCode() != kDbOk) error_ = connection_->GetLastError();
    return false;
  }
  slot.position = position;
  slot.record = read;
  record = std::move(read);
  return true;
}

DomainList& ShownList() {
  static DomainList list;
  return list;
}

DomainList& FilterList() {
  static DomainList list;
  return list;
}

int GetListCount() { return ShownList().Count(); }

bool GetListRecordAt(int position, DomainRecord& record) {
  return ShownList().RecordAt(position, record);
}

std::string GetDomainAt(int position) { return std::string(FilterList().NameAt(position)); }

}  // namespace qv
