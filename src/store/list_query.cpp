#include "store/list_query.h"

#include "store/database_connection.h"
#include "store/domain_list.h"
#include "store/list_loader.h"
#include "store/sql_dates.h"

namespace qv {
namespace {

struct ListState {
  std::string query;
  std::string error;
  std::function<void()> changed;
  std::function<void(bool)> busy;
  std::function<bool()> cancelled;
  ListPoster post;
  std::function<void()> grew;
  std::function<void(bool)> ended;
  bool running = false;
  // The rest of the last run being read, and the number of that run: what a
  // thread of an earlier run hands over is dropped.
  ListLoader loader;
  bool reading = false;
  unsigned run = 0;
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

void StopReading(ListState& state) {
  state.loader.Stop();
  state.reading = false;
  ++state.run;
}

// On the main thread: the reading thread of run `run` ended.
void ReadingEnded(unsigned run, bool ok, const std::string& error) {
  ListState& state = State();
  if (run != state.run || !state.reading) return;
  StopReading(state);
  if (!ok) {
    ShownList().Clear();
    state.error = error;
    NotifyChanged();
  }
  if (state.ended) state.ended(ok);
}

void MoreRowsRead(unsigned run, const NameBatch& batch) {
  ListState& state = State();
  if (run != state.run || !state.reading) return;
  if (!ShownList().Append(batch)) {
    state.loader.Cancel();
    ReadingEnded(run, false, "Error: Creating Recordset\r\nMemory");
    return;
  }
  if (state.grew) state.grew();
}

// Reads the first page of `text` into the shown list on the main thread and
// leaves the rest to the loader's thread. False on failure (`error` says why).
bool ReadFirstPage(ListState& state, DomainDatabase& db, const std::string& text, std::string& error) {
  DomainList& list = ShownList();
  list.Attach(db.list());
  NameBatch firstPage;
  bool done = false;
  if (!state.loader.Begin(db.Path(), text, state.cancelled, firstPage, done)) {
    error = state.loader.ErrorText();
    return false;
  }
  list.Append(firstPage);
  if (done) return true;
  state.reading = true;
  const unsigned run = state.run;
  const ListPoster post = state.post;
  state.loader.Continue(
      [run, post](NameBatch batch) {
        post([run, batch = std::move(batch)] { MoreRowsRead(run, batch); });
      },
      [run, post](bool ok, std::string error) {
        post([run, ok, error = std::move(error)] { ReadingEnded(run, ok, error); });
      });
  return true;
}

}  // namespace

std::string AllDomainsQuery() { return std::string("SELECT * FROM [") + kDomainsTable + "]"; }

const std::string& CurrentListQuery() { return State().query; }

void SetCurrentListQuery(std::string_view sql) { State().query = std::string(sql); }

bool RunListQuery(DomainDatabase& db, std::string_view sql) {
  ListState& state = State();
  if (state.running) return true;
  StopReading(state);
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
  std::string error;
  {
    state.running = true;
    const BusyScope busy(state.busy);
    ok = db.OpenReadOnly(db.list());
    if (!ok) {
      error = db.list().GetLastError();
    } else if (state.post) {
      ok = ReadFirstPage(state, db, text, error);
    } else {
      db.list().SetCancelCheck(state.cancelled);
      ok = list.Load(db.list(), text);
      db.list().SetCancelCheck({});
      if (!ok) error = db.list().GetLastError();
    }
    state.running = false;
  }
  if (!ok) {
    list.Clear();
    state.error = error;
  }
  NotifyChanged();
  return ok;
}

void RefreshShownList(DomainDatabase& db) {
  if (ShownList().IsLoadedFrom(db.list())) RunListQuery(db);
}

const std::string& ListErrorText() { return State().error; }

bool ListStillReading() { return State().reading; }

void CancelListReading() {
  ListState& state = State();
  if (!state.reading) return;
  state.loader.Stop();
  ReadingEnded(state.run, false, "Error: Creating Recordset\r\ninterrupted");
}

void SetListPoster(ListPoster post) {
  StopReading(State());
  State().post = std::move(post);
}

void SetListGrewCallback(std::function<void()> callback) { State().grew = std::move(callback); }

void SetListEndedCallback(std::function<void(bool ok)> callback) { State().ended = std::move(callback); }

void SetListChangedCallback(std::function<void()> callback) { State().changed = std::move(callback); }

void SetListBusyCallback(std::function<void(bool busy)> callback) { State().busy = std::move(callback); }

void SetListCancelCheck(std::function<bool()> cancelled) { State().cancelled = std::move(cancelled); }

}  // namespace qv
