#include "store/list_query.h"

#include "store/database_connection.h"
#include "store/domain_list.h"
#include "store/sql_dates.h"

namespace qv {
namespace {

struct ListState {
  std::string query;
  std::string error;
  std::function<void()> changed;
  std::function<void(bool)> busy;
  std::function<bool()> cancelled;
  bool running = false;
};

// Tells the busy callback for as long as it lives.
class BusyScope {
 public:
  explicit BusyScope(const std::function<void(bool)>& busy) : busy_(busy) {
    if (busy_) busy_(true);
  }
  ~BusyScope() {
    if (busy_) busy_(false);
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  const std::function<void(bool)>& busy_;
};

ListState& State() {
  static ListState state;
  return state;
}

void NotifyChanged() {
  if (State().changed) State().changed();
}

}  // namespace

std::string AllDomainsQuery() { return std::string("SELECT * FROM [") + kDomainsTable + "]"; }

const std::string& CurrentListQuery() { return State().query; }

void SetCurrentListQuery(std::string_view sql) { State().query = std::string(sql); }

bool RunListQuery(DomainDatabase& db, std::string_view sql) {
  ListState& state = State();
  if (state.running) return true;
  if (!sql.empty()) state.query = std::string(sql);
  const std::string text = ExpandQueryText(state.query.empty() ? AllDomainsQuery() : state.query);
  state.error.clear();
  DomainList& list = ShownList();
  if (!db.HasPath()) {
    list.Clear();
    NotifyChanged();
    return true;
  }
  bool ok = false;
  {
    state.running = true;
    const BusyScope busy(state.busy);
    ok = db.OpenReadOnly(db.list());
    if (ok) {
      db.list().SetCancelCheck(state.cancelled);
      ok = list.Load(db.list(), text);
      db.list().SetCancelCheck({});
    }
    state.running = false;
  }
  if (!ok) {
    list.Clear();
    state.error = db.list().GetLastError();
  }
  NotifyChanged();
  return ok;
}

void RefreshShownList(DomainDatabase& db) {
  if (ShownList().IsLoadedFrom(db.list())) RunListQuery(db);
}

const std::string& ListErrorText() { return State().error; }

void SetListChangedCallback(std::function<void()> callback) { State().changed = std::move(callback); }

void SetListBusyCallback(std::function<void(bool busy)> callback) { State().busy = std::move(callback); }

void SetListCancelCheck(std::function<bool()> cancelled) { State().cancelled = std::move(cancelled); }

}  // namespace qv
