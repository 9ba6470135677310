// An update check's or a fetch's network requests on a worker thread while the window goes on:
// a small dialog ("Please wait ..." with a Cancel button, and the worker's progress where it
// reports any) stands meanwhile, and the answer is handed to the window thread. Cancel sets the
// flag the HTTP client watches, so the worker ends within about a tenth of a second.
#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "ui/background_work.h"

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace morvela {

class Messages;

class BackgroundCheck : public QObject {
  Q_OBJECT

 public:
  // Runs `work` on a worker thread with the cancel flag. Once it has returned, unless cancelled
  // first, `done` runs on the window thread, and only when no dialog has opened above the one
  // that was on top at the start, so that its messages never nest inside another dialog's loop.
  BackgroundCheck(QWidget* parent, const Messages& messages, BackgroundWork work,
                  std::function<void()> done);
  // Cancels a check still running and waits for the worker (a tenth of a second at most).
  ~BackgroundCheck() override;
  BackgroundCheck(const BackgroundCheck&) = delete;
  BackgroundCheck& operator=(const BackgroundCheck&) = delete;

  // Ends the check: the dialog goes, the running request is abandoned, `done` never runs.
  void Cancel();
  // True until `done` has run or the check was cancelled.
  bool Running() const { return running_; }
  // The progress dialog, shown a moment after the start unless the answer came first.
  QDialog* Dialog() const { return dialog_; }
  QPushButton* CancelButton() const { return cancel_button_; }
  // The line of the worker's latest progress report (empty before the first).
  QLabel* ProgressLine() const { return progress_line_; }
  // True once the worker has returned (after a cancel, within a tenth of a second).
  bool WorkerEnded() const { return worker_ended_; }

 signals:
  // The check is over: `done` has run, or it was cancelled.
  void Finished();

 private:
  void WorkDone();
  void ShowProgress(int done, int total, const std::string& text);

  std::atomic<bool> cancel_{false};
  std::atomic<bool> worker_ended_{false};
  bool running_ = true;
  std::function<void()> done_;
  QPointer<QWidget> modal_at_start_;
  QPointer<QDialog> dialog_;
  QPushButton* cancel_button_ = nullptr;
  QLabel* progress_line_ = nullptr;
  QProgressBar* bar_ = nullptr;
  std::thread worker_;
};

}  // namespace morvela
