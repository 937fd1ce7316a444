#include "app/list_query_progress.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

#include "store/list_query.h"

namespace qv {

ListQueryProgress::~ListQueryProgress() { delete reading_.data(); }

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

void ListQueryProgress::BeginReading() {
  EndReading();
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  reading_ = new QProgressDialog(QObject::tr("Reading the list..."), QObject::tr("Cancel"), 0, 0, parent_);
  reading_->setWindowTitle(QString::fromLatin1(kRunningQueryTitle));
  reading_->setWindowModality(Qt::NonModal);
  reading_->setAutoClose(false);
  reading_->setAutoReset(false);
  // Shown when the reading is still going on by then.
  QTimer::singleShot(kShowAfterMs, reading_.data(), [window = reading_.data()] { window->show(); });
  QObject::connect(reading_, &QProgressDialog::canceled, [] { CancelListReading(); });
}

void ListQueryProgress::ShowRowsRead(int rows) {
  if (reading_) reading_->setLabelText(QObject::tr("%1 names read").arg(rows));
}

void ListQueryProgress::EndReading() {
  // Cancel may be what ended the reading: the window goes once its click is over.
  if (!reading_) return;
  reading_->hide();
  reading_->deleteLater();
  reading_ = nullptr;
}

}  // namespace qv
