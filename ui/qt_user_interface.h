// How the desktop program reaches the user: Qt message boxes with the button captions and
// titles of the chosen language, the language chooser, the save dialog and the browser.
#pragma once

#include <QMessageBox>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/user_interface.h"

class QDialog;
class QPushButton;
class QWidget;

namespace morvela {

class Messages;

class QtUserInterface : public UserInterface {
 public:
  // The message table whose dialog texts the boxes use (English until it is set).
  void SetMessages(const Messages* messages) { messages_ = messages; }
  // The window the boxes and dialogs belong to.
  void SetParentWindow(QWidget* parent) { parent_ = parent; }
  // Without interaction (the screenshot run) nothing waits for the user: messages go to
  // stderr, questions are answered No, the save dialog counts as cancelled, no browser opens.
  void SetInteractive(bool interactive) { interactive_ = interactive; }

  void ShowMessage(MessageKind kind, const std::string& text) override;
  // The detail is the box's informative text, under the message.
  void ShowDetailedMessage(MessageKind kind, const std::string& text,
                           const std::string& detail) override;
  bool AskYesNo(const std::string& text) override;
  int ChooseLanguage() override;
  std::optional<std::string> AskSaveFile(const std::string& folder, const std::string& filter,
                                         const std::string& proposed_name) override;
  void OpenUrl(const std::string& url) override;
  void ProcessPendingEvents() override;

 private:
  QWidget* Parent() const;

  const Messages* messages_ = nullptr;
  QWidget* parent_ = nullptr;
  bool interactive_ = true;
};

// The boxes ShowDetailedMessage and AskYesNo run, built but not yet run, so that the gallery
// draws exactly what the user meets. Texts of the message table (CR LF line ends) as they are;
// `messages` null means English. The question's Yes button is its default button.
std::unique_ptr<QMessageBox> MakeMessageBox(const Messages* messages, MessageKind kind,
                                            const std::string& text, const std::string& detail,
                                            QWidget* parent);
std::unique_ptr<QMessageBox> MakeQuestionBox(const Messages* messages, const std::string& text,
                                             QWidget* parent);

// Runs an event handler. An error that leaves it — a failing database statement above all —
// reaches the user as the general error report, an error box with the error's text, and the
// program goes on. Every handler of the desktop program's windows runs through here, so that no
// error unwinds through the toolkit's own frames.
void Guarded(UserInterface& ui, const std::function<void()>& handler);

// Shows a window: modally, returning when it closes (the interactive program), or left open
// (a screenshot run, which must never wait for the user).
void ShowWindow(QDialog& window, bool modal);

}  // namespace morvela
