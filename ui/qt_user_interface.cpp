#include "ui/qt_user_interface.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <iostream>

#include "core/error.h"
#include "i18n/messages.h"
#include "ui/language_dialog.h"
#include "ui/placement.h"

namespace morvela {

namespace {

QString Text(const std::string& s) {
  // The message table ends its lines with CR LF; a box wants plain line feeds.
  return QString::fromStdString(s).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::kError:
      return QMessageBox::Critical;
    case MessageKind::kWarning:
      return QMessageBox::Warning;
    case MessageKind::kInformation:
      return QMessageBox::Information;
    case MessageKind::kConfirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

const std::string& TitleOf(MessageKind kind, const DialogTexts& d) {
  switch (kind) {
    case MessageKind::kError:
      return d.error_title;
    case MessageKind::kWarning:
      return d.warning_title;
    case MessageKind::kInformation:
      return d.information_title;
    case MessageKind::kConfirmation:
      return d.confirmation_title;
  }
  return d.information_title;
}

const DialogTexts& Dialogs(const Messages* messages) {
  static const Messages english;
  return (messages ? *messages : english).Dialogs();
}

}  // namespace

QWidget* QtUserInterface::Parent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return parent_;
}

void QtUserInterface::ShowMessage(MessageKind kind, const std::string& text) {
  ShowDetailedMessage(kind, text, "");
}

void QtUserInterface::ShowDetailedMessage(MessageKind kind, const std::string& text,
                                          const std::string& detail) {
  const std::string& title = TitleOf(kind, Dialogs(messages_));
  if (!interactive_) {
    std::cerr << title << ": " << Text(text).replace('\n', ' ').toStdString() << "\n";
    if (!detail.empty()) std::cerr << "  " << detail << "\n";
    return;
  }
  const std::unique_ptr<QMessageBox> box = MakeMessageBox(messages_, kind, text, detail, Parent());
  KeepInsideScreenOnShow(*box);
  box->exec();
}

bool QtUserInterface::AskYesNo(const std::string& text) {
  const DialogTexts& d = Dialogs(messages_);
  if (!interactive_) {
    std::cerr << d.confirmation_title << ": " << Text(text).replace('\n', ' ').toStdString()
              << " -> " << d.no << "\n";
    return false;
  }
  const std::unique_ptr<QMessageBox> box = MakeQuestionBox(messages_, text, Parent());
  KeepInsideScreenOnShow(*box);
  box->exec();
  return box->clickedButton() == box->defaultButton();
}

int QtUserInterface::ChooseLanguage() {
  if (!interactive_) return 0;
  LanguageDialog dialog(Parent());
  return dialog.Choose();
}

std::optional<std::string> QtUserInterface::AskSaveFile(const std::string& folder,
                                                        const std::string& filter,
                                                        const std::string& proposed_name) {
  if (!interactive_) return std::nullopt;
  const QString extension = QString::fromStdString(proposed_name).section('.', -1);
  const QString name_filter =
      QString::fromStdString(filter) + QStringLiteral(" (*.") + extension + QStringLiteral(")");
  const QString path = QFileDialog::getSaveFileName(
      Parent(), QString(), QString::fromStdString(folder + proposed_name), name_filter);
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

void QtUserInterface::OpenUrl(const std::string& url) {
  if (!interactive_) {
    std::cout << url << "\n";
    return;
  }
  QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtUserInterface::ProcessPendingEvents() {
  QCoreApplication::processEvents();
}

std::unique_ptr<QMessageBox> MakeMessageBox(const Messages* messages, MessageKind kind,
                                            const std::string& text, const std::string& detail,
                                            QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(IconOf(kind),
                                           QString::fromStdString(TitleOf(kind, Dialogs(messages))),
                                           Text(text), QMessageBox::Ok, parent);
  if (!detail.empty()) box->setInformativeText(QString::fromStdString(detail));
  return box;
}

std::unique_ptr<QMessageBox> MakeQuestionBox(const Messages* messages, const std::string& text,
                                             QWidget* parent) {
  const DialogTexts& d = Dialogs(messages);
  auto box = std::make_unique<QMessageBox>(QMessageBox::Question,
                                           QString::fromStdString(d.confirmation_title), Text(text),
                                           QMessageBox::NoButton, parent);
  QPushButton* yes = box->addButton(QString::fromStdString(d.yes), QMessageBox::YesRole);
  QPushButton* no = box->addButton(QString::fromStdString(d.no), QMessageBox::NoRole);
  box->setDefaultButton(yes);
  box->setEscapeButton(no);
  return box;
}

void ShowWindow(QDialog& window, bool modal) {
  KeepInsideScreenOnShow(window);
  if (modal) {
    window.exec();
  } else {
    window.show();
  }
}

void Guarded(UserInterface& ui, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const Error& e) {
    // The program's general error report: the failure's text, and its reason under it.
    ui.ShowDetailedMessage(MessageKind::kError, e.what(), e.Reason());
  } catch (const std::exception& e) {
    ui.ShowMessage(MessageKind::kError, e.what());
  }
}

}  // namespace morvela
