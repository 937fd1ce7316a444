// The progress window: a modal window with a title, a bar and a Cancel button,
// shown while a long piece of work runs on the main thread (adding many names,
// preparing table text, exporting). The work calls Advance now and then; that
// also lets the window draw itself and see the Cancel button.
//
//   ProgressWindow progress(parent, "Adding Domain Names");
//   for (...) { if (!progress.Advance(done, total)) break; ... }
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace qv {

class ProgressWindow {
 public:
  ProgressWindow(QWidget* parent, const QString& title);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Moves the bar to done/total (any sizes; total 0 shows an empty bar) and
  // serves the window's events. False once the user has cancelled.
  bool Advance(long long done, long long total);
  bool Cancelled() const;
  // Cancels as the Cancel button does.
  void Cancel();

  QString Title() const;
  QProgressDialog* Dialog() const { return dialog_.get(); }

 private:
  std::unique_ptr<QProgressDialog> dialog_;
};

// Tests watch progress windows through this: it is called on every Advance,
// before the cancel state is read, so it may call Cancel(). Empty: none.
using ProgressObserver = std::function<void(ProgressWindow& window, long long done, long long total)>;
void SetProgressObserverForTests(ProgressObserver observer);

}  // namespace qv
