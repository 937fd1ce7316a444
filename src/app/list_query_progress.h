// The cancel window of a long list query. The engine asks Cancelled() every
// thousand steps while the list query runs; after a short while a progress
// window with a Cancel button comes up, its events are served a few times a
// tenth of a second, and a click on Cancel stops the query at the next ask.
//
// Once the first page is shown and the rest of the rows are read on a thread
// of their own, the window (if the reading goes on for that short while) is
// not modal: the list can be used meanwhile, the window counts the names read
// and its Cancel stops the reading.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <memory>

#include "app/progress.h"

class QWidget;

namespace qv {

inline constexpr const char* kRunningQueryTitle = "Running the SQL Query";

class ListQueryProgress {
 public:
  // How long a query runs before the window is made, and how often its
  // events are served after that.
  static constexpr int kShowAfterMs = 150;
  static constexpr int kServeEveryMs = 25;

  explicit ListQueryProgress(QWidget* parent = nullptr) : parent_(parent) {}
  ~ListQueryProgress();
  ListQueryProgress(const ListQueryProgress&) = delete;
  ListQueryProgress& operator=(const ListQueryProgress&) = delete;

  // The cancel check: true once the user has cancelled.
  bool Cancelled();
  // The query has ended: the window goes and the next query starts afresh.
  void End();

  // The rest of the rows are being read: the window that comes up then.
  void BeginReading();
  void ShowRowsRead(int rows);
  void EndReading();
  QProgressDialog* ReadingWindow() const { return reading_; }

 private:
  QWidget* parent_;
  QElapsedTimer started_;
  qint64 lastServed_ = 0;
  std::unique_ptr<ProgressWindow> window_;
  QPointer<QProgressDialog> reading_;
};

}  // namespace qv
