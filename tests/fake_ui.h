// A recording UserInterface for tests: keeps every message, answers questions from presets.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/user_interface.h"

namespace morvela::test {

class FakeUi : public UserInterface {
 public:
  struct Shown {
    MessageKind kind;
    std::string text;
  };
  void ShowMessage(MessageKind kind, const std::string& text) override {
    messages.push_back({kind, text});
  }
  bool AskYesNo(const std::string& text) override {
    messages.push_back({MessageKind::kConfirmation, text});
    return yes_answer;
  }
  int ChooseLanguage() override {
    ++chooser_shown;
    return chooser_answer;
  }
  std::optional<std::string> AskSaveFile(const std::string& folder, const std::string& filter,
                                         const std::string& proposed_name) override {
    save_folder = folder;
    save_filter = filter;
    save_proposed = proposed_name;
    return save_answer;
  }
  void OpenUrl(const std::string& url) override { opened_urls.push_back(url); }

  std::vector<Shown> messages;
  bool yes_answer = true;
  int chooser_answer = 0;
  int chooser_shown = 0;
  std::optional<std::string> save_answer;
  std::string save_folder, save_filter, save_proposed;
  std::vector<std::string> opened_urls;
};

}  // namespace morvela::test
