#include "store/domain_list.h"

#include <limits>

namespace qv {

bool DomainList::Load(DatabaseConnection& connection, std::string_view jetSql) {
  Clear();
  error_.clear();
  if (connection.CreateQuery("", jetSql) != kDbOk || connection.OpenRecordset() != kDbOk) {
    error_ = connection.GetLastError();
    return false;
  }
  Statement& rows = connection.Recordset();
  const int nameColumn = rows.ColumnIndex(field::kDomain);
  for (;;) {
    const Statement::Step step = rows.Next();
    if (step == Statement::Step::Done) break;
    if (step == Statement::Step::Error) {
      connection.SetError(rows.ErrorCode(), "Error: Creating Recordset\r\n" + rows.ErrorText());
      error_ = connection.GetLastError();
      Clear();
      return false;
    }
    if (nameColumn >= 0) names_ += rows.ColumnText(nameColumn);
    if (names_.size() > std::numeric_limits<std::uint32_t>::max()) {
      connection.SetError(kDbNoMemory, "Error: Creating Recordset\r\nMemory");
      error_ = connection.GetLastError();
      Clear();
      return false;
    }
    ends_.push_back(std::uint32_t(names_.size()));
  }
  names_.shrink_to_fit();
  ends_.shrink_to_fit();
  connection_ = &connection;
  path_ = connection.Path();
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
