// How operations reach the user: message boxes, modal windows, the save dialog, the browser.
// The desktop program implements it with Qt, the command line for a terminal, tests with a
// recording fake.
#pragma once

#include <optional>
#include <string>

namespace morvela {

enum class MessageKind { kError, kWarning, kInformation, kConfirmation };

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // A message box with an OK button (button captions and titles in the user's language).
  virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;
  // The same box with a detail under the text: the reason behind a failure, in the engine's
  // words. By default the detail follows the text after an empty line.
  virtual void ShowDetailedMessage(MessageKind kind, const std::string& text,
                                   const std::string& detail) {
    ShowMessage(kind, detail.empty() ? text : text + "\r\n\r\n" + detail);
  }
  // A confirmation with Yes and No; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // Shows the language chooser modally; the chosen index 1..4, or 0 when closed without one.
  virtual int ChooseLanguage() = 0;
  // The save-file dialog starting in folder with the filter text and the proposed file name;
  // the chosen full path, or nullopt when cancelled.
  virtual std::optional<std::string> AskSaveFile(const std::string& folder,
                                                 const std::string& filter,
                                                 const std::string& proposed_name) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
  // Lets pending window messages run (the exit sequence does this before it ends).
  virtual void ProcessPendingEvents() {}
};

}  // namespace morvela
