// The settings dialog model: what it shows, the save in its order, Back, the language change
// with its restart, values out of range and a settings file that cannot be written.
#include "program/settings_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/cipher.h"
#include "fake_ui.h"
#include "program/program.h"
#include "test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

class SettingsDialogTest : public ::testing::Test {
 protected:
  // A program running in `language` whose settings file holds `stored` (and memory the same).
  TfNastavenie& Open(int language, const Settings& stored = Settings{}) {
    program_ = std::make_unique<Program>(ui_, wait_);
    program_->folder = dir_.Folder();
    program_->messages.NastavJazyk(language);
    program_->settings = stored;
    program_->db_date = EncipherText("07.03.2011");
    EXPECT_TRUE(WriteSettings(program_->SettingsPath(), stored));
    dialog_ = std::make_unique<TfNastavenie>(
        *program_, [this] { ++restarts_; }, nullptr);
    dialog_->FormShow();
    return *dialog_;
  }

  test::TempDir dir_;
  test::FakeUi ui_;
  NullWaitIndicator wait_;
  std::unique_ptr<Program> program_;
  std::unique_ptr<TfNastavenie> dialog_;
  int restarts_ = 0;
};

TEST_F(SettingsDialogTest, FormShowFillsTextsAndControlsInTheRunningLanguage) {
  Settings stored;
  stored.Dni = 7;
  stored.Tip3 = false;
  stored.Dbf = 1;
  stored.App = 0;
  stored.Lang = kSlovak;
  TfNastavenie& d = Open(kSlovak, stored);
  const SettingsDialogTexts& t = d.Texts();
  EXPECT_EQ(t.caption, "  Nastavenie programu");
  EXPECT_EQ(t.tabs[0], "Tipy");
  EXPECT_EQ(t.tabs[2], "Aktualizácia");
  EXPECT_EQ(t.back, "Späť");
  EXPECT_EQ(t.languages[3], "Talianský");
  EXPECT_EQ(t.check_choices[1], "Manuálne");
  EXPECT_EQ(t.version, "Verzia programu: 4.8");
  EXPECT_EQ(t.database_version, "Verzia databázy: 07.03.2011");
  EXPECT_FALSE(d.DaysRowShifted());
  const SettingsDialogControls& c = d.Controls();
  EXPECT_EQ(c.days, 7);
  EXPECT_FALSE(c.three_way);
  EXPECT_EQ(c.database_check, 1);
  EXPECT_EQ(c.program_check, 0);
  EXPECT_EQ(c.language_button, 2);
  EXPECT_EQ(c.tab, kTipsTab);
  EXPECT_TRUE(d.IsOpen());

  // Italian moves the days row; a database date that is not cipher text shows "false".
  Open(kItalian);
  program_->db_date = "07.03.2011";
  dialog_->FormShow();
  EXPECT_TRUE(dialog_->DaysRowShifted());
  EXPECT_EQ(dialog_->Texts().caption, "  Impostazioni programma");
  EXPECT_EQ(dialog_->Texts().database_version, "Versione database: false");
}

TEST_F(SettingsDialogTest, SaveWritesFileAndMemoryAndRestartsOnlyOnANewLanguage) {
  struct Case {
    int running;
    int button;
    const char* notice;  // empty: no notice, no restart
  };
  const Case cases[] = {
      {kEnglish, 0, ""},
      {kEnglish, 1, "Für die Änderung der Sprache ist es nötig das Programm neu zu starten !"},
      {kGerman, 0, "To change the language you need to restart the program !"},
      {kItalian, 2, "Pre zmenu jazyka je nutné reštartovať program !"},
      {kSlovak, 2, ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.running * 10 + k.button);
    ui_.messages.clear();
    restarts_ = 0;
    Settings stored;
    stored.Lang = k.running;
    TfNastavenie& d = Open(k.running, stored);
    d.Controls().days = 30;
    d.Controls().three_way = false;
    d.Controls().database_check = 1;
    d.Controls().program_check = 1;
    d.Controls().language_button = k.button;
    d.btnUlozClick();
    EXPECT_FALSE(d.IsOpen());

    Settings expected;
    expected.Dni = 30;
    expected.Tip3 = false;
    expected.Dbf = 1;
    expected.App = 1;
    expected.Lang = k.button + 1;
    EXPECT_EQ(ReadSettings(program_->SettingsPath()), expected);
    // Memory takes over everything but the language, which stays this run's.
    expected.Lang = k.running;
    EXPECT_EQ(program_->settings, expected);
    EXPECT_EQ(program_->messages.Language(), k.running);

    if (std::string(k.notice).empty()) {
      EXPECT_TRUE(ui_.messages.empty());
      EXPECT_EQ(restarts_, 0);
    } else {
      ASSERT_EQ(ui_.messages.size(), 1u);
      EXPECT_EQ(ui_.messages[0].kind, MessageKind::kInformation);
      EXPECT_EQ(ui_.messages[0].text, k.notice);
      EXPECT_EQ(restarts_, 1);
    }
  }
}

TEST_F(SettingsDialogTest, ARunInAnotherLanguageForOnceDoesNotStoreIt) {
  // Stored English, this run German (--lang de); the user only changes the days.
  Settings stored;
  stored.Lang = kEnglish;
  TfNastavenie& d = Open(kGerman, stored);
  EXPECT_EQ(d.Controls().language_button, 1);
  d.Controls().days = 3;
  d.btnUlozClick();
  EXPECT_EQ(ReadSettings(program_->SettingsPath()).Lang, kEnglish);
  EXPECT_EQ(ReadSettings(program_->SettingsPath()).Dni, 3);
  EXPECT_EQ(restarts_, 0);
  // Never chosen (the chooser was closed): saving stores the running language.
  stored.Lang = 0;
  Open(kEnglish, stored).btnUlozClick();
  EXPECT_EQ(ReadSettings(program_->SettingsPath()).Lang, kEnglish);
  EXPECT_EQ(restarts_, 0);
}

TEST_F(SettingsDialogTest, BackLeavesFileAndMemoryAsTheyWere) {
  Settings stored;
  stored.Dni = 9;
  stored.Lang = kEnglish;
  TfNastavenie& d = Open(kEnglish, stored);
  const std::string before = test::ReadBytes(program_->SettingsPath());
  d.Controls() = {100, false, 1, 1, 1, kVersionTab};
  d.btnKoniecClick();
  EXPECT_FALSE(d.IsOpen());
  EXPECT_EQ(test::ReadBytes(program_->SettingsPath()), before);
  EXPECT_EQ(program_->settings, stored);
  EXPECT_EQ(restarts_, 0);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(SettingsDialogTest, WritesInOrderAndStopsAtTheFirstKeyThatFails) {
  // fail_at: the key whose write fails ("" none); memory then holds the keys before it only.
  struct Case {
    const char* fail_at;
    size_t tried;  // keys written or tried
    int dni, dbf, app;
    bool tip3;
    int restarts;
  };
  const Case cases[] = {
      {"", 5, 40, 1, 1, false, 1},    {"Dni", 1, 21, 0, 0, true, 0},  {"App", 3, 40, 1, 0, true, 0},
      {"Lang", 4, 40, 1, 1, true, 0}, {"3tip", 5, 40, 1, 1, true, 1},
  };
  const std::vector<std::string> all = {"Dni=40", "Dbf=1", "App=1", "Lang=4", "3tip=0"};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.fail_at);
    ui_.messages.clear();
    restarts_ = 0;
    TfNastavenie& d = Open(kEnglish);
    std::vector<std::string> written;
    d.SetKeyWriter([&](std::string_view key, int value) {
      written.push_back(std::string(key) + "=" + std::to_string(value));
      return key != k.fail_at;
    });
    d.Controls() = {40, false, 3, 1, 1, kTipsTab};
    d.btnUlozClick();
    EXPECT_EQ(written, std::vector<std::string>(all.begin(), all.begin() + k.tried));
    EXPECT_EQ(d.FailedKey(), k.fail_at);
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(program_->settings.Dni, k.dni);
    EXPECT_EQ(program_->settings.Dbf, k.dbf);
    EXPECT_EQ(program_->settings.App, k.app);
    EXPECT_EQ(program_->settings.Tip3, k.tip3);
    EXPECT_EQ(restarts_, k.restarts);
    if (!std::string(k.fail_at).empty()) {
      ASSERT_FALSE(ui_.messages.empty());
      EXPECT_EQ(ui_.messages[0].kind, MessageKind::kError);
      EXPECT_NE(ui_.messages[0].text.find(program_->SettingsPath()), std::string::npos);
    }
  }
}

TEST_F(SettingsDialogTest, AnUnwritableFileIsReportedAndNothingIsTakenOver) {
  TfNastavenie& d = Open(kGerman);
  fs::remove(program_->SettingsPath());
  fs::create_directory(program_->SettingsPath());  // a folder where the file should be
  d.Controls().days = 5;
  d.Controls().language_button = 0;
  d.btnUlozClick();
  EXPECT_EQ(d.FailedKey(), "Dni");
  EXPECT_EQ(program_->settings, Settings{});
  EXPECT_EQ(restarts_, 0);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text,
            "Die Einstellungen konnten nicht gespeichert werden: " + program_->SettingsPath());
}

TEST_F(SettingsDialogTest, OutOfRangeControlValuesAreBroughtIntoRange) {
  struct Case {
    double days;
    int list1, list2, button;
    int dni, dbf, app, lang;
  };
  const Case cases[] = {
      {-3, -1, 5, 9, 0, 0, 1, kEnglish},   {400, 2, -7, -1, 365, 1, 0, kEnglish},
      {20.5, 0, 0, 3, 20, 0, 0, kItalian}, {21.5, 1, 1, 1, 22, 1, 1, kGerman},
      {NAN, 0, 0, 0, 0, 0, 0, kEnglish},   {INFINITY, 0, 0, 0, 0, 0, 0, kEnglish},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.days);
    TfNastavenie& d = Open(kEnglish);
    d.Controls() = {k.days, true, k.button, k.list1, k.list2, kTipsTab};
    d.btnUlozClick();
    const Settings s = ReadSettings(program_->SettingsPath());
    EXPECT_EQ(s.Dni, k.dni);
    EXPECT_EQ(s.Dbf, k.dbf);
    EXPECT_EQ(s.App, k.app);
    EXPECT_EQ(s.Lang, k.lang);
  }
}

TEST_F(SettingsDialogTest, FindNewVersionAsksTheCheckOrSaysItIsNotAvailable) {
  Open(kEnglish);
  dialog_->JvTransparentButton1Click();
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "Not available");
  int asked = 0;
  TfNastavenie with_check(*program_, nullptr, [&] { ++asked; });
  with_check.FormShow();
  with_check.JvTransparentButton1Click();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(ui_.messages.size(), 1u);
}

}  // namespace
}  // namespace morvela
