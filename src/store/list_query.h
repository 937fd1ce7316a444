// The current list query: the one SQL text over `Domains` whose rows the main
// list shows. It lives for the whole run; opening another document keeps it
// and runs it on the new file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qv {

class DomainDatabase;

// "SELECT * FROM [Domains]", what an empty current query stands for.
std::string AllDomainsQuery();

// The current list query as set ("" until one is set).
const std::string& CurrentListQuery();
// Replaces the current list query without running it.
void SetCurrentListQuery(std::string_view sql);

// Makes a non-empty `sql` the current list query (an empty one keeps the
// current query, or all names when there is none), turns "%20" into blanks,
// replaces the date placeholders and runs the result as the shown list
// (ShownList() in domain_list.h) on the list connection of `db`, reopened
// read-only. With no document open only the text is kept (true). On failure
// the list is empty, ListErrorText() says why and false comes back. Either
// way the list-changed callback runs afterwards.
//
// While a poster is set (SetListPoster), the run returns as soon as the first
// page of names is read and the rest is read on a thread of its own: the list
// then grows in batches (the list-grew callback after each) until the
// list-ended callback tells how the reading ended. Without a poster the whole
// list is read before the run returns. A new run stops the reading of the
// last one.
bool RunListQuery(DomainDatabase& db, std::string_view sql = {});

// Runs the current list query again, when a list of `db` is being shown;
// used after names were added or the structure changed.
void RefreshShownList(DomainDatabase& db);

// The error text of the last failed run ("" after a run that worked).
const std::string& ListErrorText();

// The list query's rows are still being read (after a run that returned).
bool ListStillReading();
// Stops the reading as the user's Cancel does: the list ends empty, with the
// engine's "interrupted" as the error, and the list-ended callback says false.
void CancelListReading();

// Hands a task to the main thread, to be run there later (a queued call).
// Called from the thread that reads the list. Setting a poster (or none)
// stops a reading under way without a word; the list keeps what it has.
using ListPoster = std::function<void(std::function<void()> task)>;
void SetListPoster(ListPoster post);
// Called on the main thread after more rows were added at the end of the list.
void SetListGrewCallback(std::function<void()> callback);
// Called on the main thread when a list that was still being read ends: true
// with every row read; false when the query failed or was cancelled (the list
// is empty then, ListErrorText() says why, and the list-changed callback ran).
void SetListEndedCallback(std::function<void(bool ok)> callback);

// Called after every run of the list, so that the views can redraw.
void SetListChangedCallback(std::function<void()> callback);
// Called with true before the list query runs and with false after it (the
// window shows a wait cursor meanwhile).
void SetListBusyCallback(std::function<void(bool busy)> callback);
// Asked now and then while the list query runs; true stops it (the run then
// fails with the engine's "interrupted"). A run started while another is
// still running (from an event served by the cancel check) is ignored.
void SetListCancelCheck(std::function<bool()> cancelled);

}  // namespace qv
