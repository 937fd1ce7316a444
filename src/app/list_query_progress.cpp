#include "app/list_query_progress.h"

#include <QApplication>
#include <QProgressDialog>

namespace qv {

bool ListQueryProgress::Cancelled() {
  if (!started_.isValid()) {
    started_.start();
    return false;
  }
  const qint64 now = started_.elapsed();
  if (now < kShowAfterMs || now - lastServed_ < kServeEveryMs) return false;
  // Without a window system (the command line) there is nothing to show.
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  lastServed_ = now;
  if (!window_) {
    window_ = std::make_unique<ProgressWindow>(parent_, QString::fromLatin1(kRunningQueryTitle));
    window_->Dialog()->setRange(0, 0);  // no end known: a moving bar
    window_->Dialog()->setMinimumDuration(0);
  }
  return !window_->Advance(0, 0);
}

void ListQueryProgress::End() {
  window_.reset();
  started_.invalidate();
  lastServed_ = 0;
}

}  // namespace qv
