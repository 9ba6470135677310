// The settings dialog `TfNastavenie` without its toolkit: the five user settings of
// Nastavenie.ini (days ahead of the league tip run, three-way tips, the language, the two
// after-start checks), the program and database versions and "Find a new version". The view
// draws the texts and control values it holds and writes the controls back before OK.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace morvela {

struct Program;

// The four tabs in their order.
enum SettingsTab : int { kTipsTab = 0, kLanguageTab = 1, kUpdateTab = 2, kVersionTab = 3 };
inline constexpr int kSettingsTabCount = 4;
inline constexpr int kMaxDaysAhead = 365;

struct SettingsDialogTexts {
  std::string caption;  // two blanks and "Program setting"
  std::string ok;
  std::string back;
  std::array<std::string, kSettingsTabCount> tabs;
  std::string tipping_for;  // "Tipping a League for" [days] "days ahead"
  std::string days_ahead;
  std::string three_way;
  std::string select_language;
  std::array<std::string, 4> languages;      // English, German, Slovak, Italian
  std::string database_check;                // "Update the results database"
  std::string program_check;                 // "Check for a new version of the program"
  std::array<std::string, 2> check_choices;  // "When the program starts" (0), "Manually" (1)
  std::string version;                       // "Version: 4.8"
  std::string database_version;              // "Database version: 07.03.2011"
  std::string find_new_version;
};

// What the dialog's controls hold.
struct SettingsDialogControls {
  double days = 0;          // the spin field (rounded to a whole number when saved)
  bool three_way = false;   // the check box
  int language_button = 0;  // 0 English .. 3 Italian
  int database_check = 0;   // index in the first list
  int program_check = 0;    // index in the second list
  int tab = kTipsTab;
};

class TfNastavenie {
 public:
  // `app_restart` starts the program's executable anew and ends this run; `find_new_version`
  // asks for an interactive check for a newer program (empty while the program has none).
  TfNastavenie(Program& program, std::function<void()> app_restart,
               std::function<void()> find_new_version);

  // Fills the texts from the message table and the controls from the settings in memory, and
  // shows the first tab.
  void FormShow();

  // OK: writes, in this order, Dni, Dbf, App, Lang and 3tip to the settings file, each one
  // taken over into memory once it is in the file (Lang only into the file: this run keeps its
  // language; left on the running language, the stored index is written back unchanged, so a
  // run with a language given for once does not store it), and closes. When a key cannot be written
  // the rest are not tried, the user is told which file failed and the dialog closes. When the
  // language changed and was written, the restart notice comes in the new language and the program
  // restarts. Out-of-range control values are brought into range (days 0..365, lists 0..1); a
  // language button outside 0..3 keeps the running language.
  void btnUlozClick();
  // Back: closes; the file and memory stay as they were.
  void btnKoniecClick();
  // "Find a new version": the interactive check; without one, "Not available".
  void JvTransparentButton1Click();

  bool IsOpen() const { return open_; }
  const SettingsDialogTexts& Texts() const { return texts_; }
  // In Italian the days row stands further right (its label is longer).
  bool DaysRowShifted() const { return shifted_; }
  SettingsDialogControls& Controls() { return controls_; }
  const SettingsDialogControls& Controls() const { return controls_; }
  // Writes one key to the settings file; true when it is in the file. By default the program's
  // Nastavenie.ini; a test puts a recorder here.
  using KeyWriter = std::function<bool(std::string_view key, int value)>;
  void SetKeyWriter(KeyWriter writer) { write_key_ = std::move(writer); }

  // The key whose writing failed at the last OK; empty after a complete save.
  const std::string& FailedKey() const { return failed_key_; }

 private:
  Program& p_;
  std::function<void()> app_restart_;
  std::function<void()> find_new_version_;
  KeyWriter write_key_;
  SettingsDialogTexts texts_;
  SettingsDialogControls controls_;
  bool shifted_ = false;
  bool open_ = false;
  std::string failed_key_;
};

}  // namespace morvela
