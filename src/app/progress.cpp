#include "app/progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace qv {
namespace {

// The bar runs from 0 to this; any amount of work is scaled to it.
constexpr int kBarSteps = 1000;

ProgressObserver& Observer() {
  static ProgressObserver observer;
  return observer;
}

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent, const QString& title)
    : dialog_(std::make_unique<QProgressDialog>(title, QObject::tr("Cancel"), 0, kBarSteps, parent)) {
  dialog_->setWindowTitle(title);
  dialog_->setWindowModality(Qt::ApplicationModal);
  dialog_->setAutoClose(false);
  dialog_->setAutoReset(false);
  // Short work finishes without the window flashing up.
  dialog_->setMinimumDuration(500);
  dialog_->setValue(0);
}

ProgressWindow::~ProgressWindow() {
  if (dialog_) dialog_->close();
}

bool ProgressWindow::Advance(long long done, long long total) {
  int value = 0;
  if (total > 0) {
    if (done < 0) done = 0;
    if (done > total) done = total;
    value = int(double(done) / double(total) * kBarSteps);
  }
  if (value != dialog_->value()) dialog_->setValue(value);
  // Until the window shows (and blocks the others), the user's clicks and keys
  // wait: a command started now would run in the middle of this work.
  QCoreApplication::processEvents(dialog_->isVisible() ? QEventLoop::AllEvents
                                                       : QEventLoop::ExcludeUserInputEvents);
  if (Observer()) Observer()(*this, done, total);
  return !dialog_->wasCanceled();
}

bool ProgressWindow::Cancelled() const { return dialog_->wasCanceled(); }

void ProgressWindow::Cancel() { dialog_->cancel(); }

QString ProgressWindow::Title() const { return dialog_->windowTitle(); }

void SetProgressObserverForTests(ProgressObserver observer) { Observer() = std::move(observer); }

}  // namespace qv
