#include "ui/background_check.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "i18n/message_ids.h"
#include "i18n/messages.h"
#include "ui/qt_text.h"

namespace morvela {

namespace {

// A check answered within this time shows no dialog at all, so a quick server does not flash
// one on screen.
constexpr int kDialogDelayMs = 400;
// How often an answer waiting for another dialog to close looks again.
constexpr int kRetryMs = 200;

}  // namespace

BackgroundCheck::BackgroundCheck(QWidget* parent, const Messages& messages, BackgroundWork work,
                                 std::function<void()> done)
    : QObject(parent), done_(std::move(done)), modal_at_start_(QApplication::activeModalWidget()) {
  // Above the dialog on top (the settings dialog for "Find a new version"), else the window.
  QWidget* top = QApplication::activeModalWidget();
  dialog_ = new QDialog(top ? top : parent);
  dialog_->setObjectName(QStringLiteral("UpdateCheckDialog"));
  dialog_->setWindowTitle(Q(messages.Msg(msg::kUpdateHint)));
  dialog_->setModal(false);
  auto* layout = new QVBoxLayout(dialog_);
  layout->addWidget(new QLabel(Q(messages.Msg(msg::kPleaseWait)), dialog_));
  progress_line_ = new QLabel(dialog_);
  progress_line_->setObjectName(QStringLiteral("ProgressLine"));
  progress_line_->hide();
  layout->addWidget(progress_line_);
  bar_ = new QProgressBar(dialog_);
  bar_->setRange(0, 0);  // no end known until the worker reports one
  layout->addWidget(bar_);
  cancel_button_ = new QPushButton(Q(messages.Dialogs().cancel), dialog_);
  cancel_button_->setObjectName(QStringLiteral("Cancel"));
  layout->addWidget(cancel_button_, 0, Qt::AlignHCenter);
  connect(cancel_button_, &QPushButton::clicked, this, &BackgroundCheck::Cancel);
  // Closing the dialog by its title bar or Escape cancels too.
  connect(dialog_, &QDialog::rejected, this, &BackgroundCheck::Cancel);
  QTimer::singleShot(kDialogDelayMs, dialog_, [this] {
    if (running_) dialog_->show();
  });

  worker_ = std::thread([this, work = std::move(work)] {
    // Queued to the window thread like the end; reports still queued when the check goes are
    // dropped with it.
    const BackgroundProgress progress = [this](int done, int total, const std::string& text) {
      QMetaObject::invokeMethod(
          this, [this, done, total, text] { ShowProgress(done, total, text); },
          Qt::QueuedConnection);
    };
    work(cancel_, progress);
    worker_ended_ = true;
    // Queued to this object's thread; a check destroyed in the meantime receives nothing.
    QMetaObject::invokeMethod(this, &BackgroundCheck::WorkDone, Qt::QueuedConnection);
  });
}

BackgroundCheck::~BackgroundCheck() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
  if (dialog_) delete dialog_.data();
}

void BackgroundCheck::Cancel() {
  if (!running_) return;
  running_ = false;
  cancel_ = true;
  if (dialog_) dialog_->hide();
  emit Finished();
}

void BackgroundCheck::ShowProgress(int done, int total, const std::string& text) {
  if (!running_) return;
  if (total > 0) {
    bar_->setRange(0, total);
    bar_->setValue(std::clamp(done, 0, total));
  }
  progress_line_->setText(Q(text));
  progress_line_->setVisible(!text.empty());
}

void BackgroundCheck::WorkDone() {
  if (!running_) return;
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != modal_at_start_ && modal != dialog_) {
    QTimer::singleShot(kRetryMs, this, &BackgroundCheck::WorkDone);
    return;
  }
  running_ = false;
  if (dialog_) dialog_->hide();
  done_();
  emit Finished();
}

}  // namespace morvela
