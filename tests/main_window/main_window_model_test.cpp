// The main window model: captions and arrangement per language, the enable rules of the
// functions, league buttons, the season chooser and the web page address.
#include "main_window/main_window_model.h"

#include <gtest/gtest.h>

#include <memory>

#include "fake_ui.h"
#include "fixture_db.h"
#include "program/program.h"

namespace morvela {
namespace {

// A program over a fixture database with England's seasons (ID_POR order differs from the id
// order) and one Austrian season.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    past_ = db_.AddCompetition(4, "2009/2010", 20, 2);
    older_ = db_.AddCompetition(4, " 2008/2009 ", 20, 1);
    active_ = db_.AddCompetition(4, "Active", 20, 3);
    db_.conn().Execute("UPDATE SUTAZ SET LM=4,EL=6,BARAZ=0,VYP=18 WHERE ID=" +
                       std::to_string(active_));
    austria_ = db_.AddCompetition(1, "Active", 10, 1);
  }

  TForm1& Open(int language = kEnglish) {
    program_ = std::make_unique<Program>(ui_, wait_);
    program_->folder = db_.Folder();
    program_->caption = "  Morvela  4.8";
    program_->dm.ADOConnection1.SetConnectionString(MakeConnectionString(db_.Folder(), ""));
    program_->dm.ADOConnection1.Open();
    program_->messages.NastavJazyk(language);
    form_ = std::make_unique<TForm1>(*program_);
    return *form_;
  }

  // Enabled and visible flags of Button1..Button10 as two strings of 0/1.
  static std::pair<std::string, std::string> Flags(const TForm1& f) {
    std::string enabled, visible;
    for (int n = 1; n <= kFunctionButtonCount; ++n) {
      enabled += f.Function(n).enabled ? '1' : '0';
      visible += f.Function(n).visible ? '1' : '0';
    }
    return {enabled, visible};
  }

  test::FixtureDb db_;
  test::FakeUi ui_;
  NullWaitIndicator wait_;
  std::unique_ptr<Program> program_;
  std::unique_ptr<TForm1> form_;
  int past_ = 0, older_ = 0, active_ = 0, austria_ = 0;
};

const std::pair<std::string, std::string> kOff = {"0000110010", "1111111111"};
const std::pair<std::string, std::string> kOn = {"1111111111", "1111111111"};
const std::pair<std::string, std::string> kArchiveOpen = {"1111111111", "1111000000"};
const std::pair<std::string, std::string> kPastSeason = {"1111111010", "1111111111"};

TEST_F(MainWindowTest, LanguageSetsCaptionsTabsAndTheLeagueArrangement) {
  struct Case {
    int language;
    std::vector<std::string> first_row;
    std::string second_row_first;
    std::array<std::string, 4> tabs;
    std::string archive, form, status, web_hint;
  };
  const Case cases[] = {
      {kEnglish,
       {"Austria", "Belgium", "Czech", "Denmark", "England"},
       "France",
       {"  FULL TIME  ", "  1ST HALF  ", "  2ND HALF  ", "  UNDER / OVER  "},
       "Archive",
       "Form",
       "Select a League",
       "Website www.morvela.net will be opened in your browser"},
      {kGerman,
       {"Belgien", "Dänemark", "Deutschland", "England", "Frankreich"},
       "Griechenland",
       {"  ENDSTAND  ", "  1. HÄLFTE  ", "  2. HÄLFTE  ", "  WENIGER / MEHR  "},
       "Archiv",
       "Form",
       "Wähle eine Liga aus",
       "Webseite www.morvela.net wird im Browser geöffnet werden"},
      {kSlovak,
       {"Anglicko", "Belgicko", "Česko", "Dánsko", "Francúzsko"},
       "Grécko",
       {"  CELÝ ZÁPAS  ", "  1. POLČAS  ", "  2. POLČAS  ", "  MENEJ / VIAC  "},
       "Archív",
       "Forma",
       "Vyber si ligu",
       "Otvorí sa stránka\r\nwww.morvela.net vo Vašom\r\nprehliadači"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    TForm1& f = Open(c.language);
    const auto& b = f.LeagueButtons();
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(b[i].state.caption, c.first_row[i]);
      EXPECT_EQ(b[i].left, kLeagueColumnsPx[i]);
      EXPECT_EQ(b[i].top, 143);
      EXPECT_EQ(b[i].row, 0);
      EXPECT_EQ(b[i].column, i);
    }
    EXPECT_EQ(b[5].state.caption, c.second_row_first);
    EXPECT_EQ(b[5].left, 0);
    EXPECT_EQ(b[5].top, 174);
    EXPECT_EQ(b[19].left, 476);
    EXPECT_EQ(b[19].top, 236);
    EXPECT_EQ(f.TabCaptions(), c.tabs);
    EXPECT_EQ(f.Function(kArchiveButton).caption, c.archive);
    EXPECT_EQ(f.Function(kFormButton).caption, c.form);
    EXPECT_EQ(f.Status(), c.status);
    EXPECT_EQ(f.HelpButton().hint, c.web_hint);
    EXPECT_EQ(f.Tab(), 0);
  }
}

TEST_F(MainWindowTest, LeagueButtonsCarryTheirLeagueHintAndFlag) {
  TForm1& f = Open(kEnglish);
  const LeagueButton& england = f.LeagueButtons()[4];
  EXPECT_EQ(england.league, 4);
  EXPECT_EQ(england.name, "BitBtn1");
  EXPECT_EQ(england.flag, 3);
  EXPECT_EQ(england.state.hint, "Select English league");
  EXPECT_EQ(f.LeagueButtons()[19].state.hint, "Select Ukrainian league");
  EXPECT_EQ(f.Function(kLiveTipButton).caption, "LIVE tip");
  EXPECT_EQ(f.Function(kValueTipsButton).caption, "Value tips");
  EXPECT_EQ(f.SettingsButton().hint, "Setting");
  EXPECT_EQ(f.UpdateButton().hint, "Update");
  EXPECT_EQ(f.ConfirmButton().caption, "OK");
  EXPECT_EQ(f.ChooserLabel(), "      Choose season");
  EXPECT_EQ(f.Caption(), "  Morvela  4.8");
}

TEST_F(MainWindowTest, StartStateHasNoLeagueAndTheFunctionsOff) {
  TForm1& f = Open();
  EXPECT_EQ(Flags(f), kOff) << "only the league-independent tips can run";
  EXPECT_FALSE(f.ChooserVisible());
  EXPECT_FALSE(f.ConfirmButton().enabled);
  EXPECT_TRUE(program_->selection.league.empty());
}

TEST_F(MainWindowTest, LeagueButtonLoadsTheActiveSeason) {
  TForm1& f = Open();
  f.SelectTab(3);
  f.LeagueButtonClick(4);
  EXPECT_EQ(f.Status(), "English league loaded !");
  const Selection& s = program_->selection;
  EXPECT_EQ(s.league, "4");
  EXPECT_EQ(s.competition, std::to_string(active_));
  EXPECT_EQ(s.season, "Active");
  EXPECT_EQ(s.team_count, 20);
  EXPECT_EQ(s.LM, 4);
  EXPECT_EQ(s.VYP, 18);
  EXPECT_EQ(s.result_mode, ResultMode::kUnderOver) << "the result mode stays with the tab";
  EXPECT_EQ(Flags(f), kOn);
  EXPECT_FALSE(f.ChooserVisible());
}

TEST_F(MainWindowTest, LeagueWithoutAnActiveSeasonLeavesTheCompetitionEmpty) {
  TForm1& f = Open();
  f.LeagueButtonClick(20);
  EXPECT_EQ(f.Status(), "Ukrainian league loaded !");
  EXPECT_EQ(program_->selection.league, "20");
  EXPECT_TRUE(program_->selection.competition.empty());
  EXPECT_EQ(program_->selection.team_count, 0);
  EXPECT_EQ(Flags(f), kOn);
}

TEST_F(MainWindowTest, ADatabaseErrorPassesThroughAndLeavesTheFunctionsOff) {
  TForm1& f = Open();
  db_.conn().ExecuteNative("DROP TABLE SUTAZ");
  EXPECT_THROW(f.LeagueButtonClick(4), DatabaseError);
  EXPECT_EQ(Flags(f), kOff);
}

TEST_F(MainWindowTest, ArchiveHidesTheTipButtonsUntilASeasonOrLeagueIsChosen) {
  TForm1& f = Open();
  f.LeagueButtonClick(4);
  f.Button1Click();
  EXPECT_EQ(f.Seasons(), (std::vector<std::string>{"2008/2009", "2009/2010", "Active"}))
      << "in ID_POR order, trimmed";
  EXPECT_EQ(f.SeasonIndex(), 2) << "the last entry selected";
  EXPECT_TRUE(f.ChooserVisible());
  EXPECT_FALSE(f.ConfirmButton().enabled) << "until a click in the list";
  EXPECT_EQ(Flags(f), kArchiveOpen);

  f.SeasonListClick(1);
  EXPECT_TRUE(f.ConfirmButton().enabled);
  EXPECT_EQ(Flags(f), kArchiveOpen) << "a click in the list shows nothing yet";

  f.LeagueButtonClick(1);
  EXPECT_EQ(Flags(f), kOn);
  EXPECT_FALSE(f.ChooserVisible());
  EXPECT_EQ(program_->selection.competition, std::to_string(austria_));
}

TEST_F(MainWindowTest, ConfirmingASeason) {
  struct Case {
    int pick;
    std::string season;
    std::pair<std::string, std::string> flags;
    std::string status;
  };
  const Case cases[] = {
      {1, "2009/2010", kPastSeason, "   Season 2009/2010 loaded"},
      {0, "2008/2009", kPastSeason, "   Season 2008/2009 loaded"},
      {2, "Active", kOn, "   Season Active loaded"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.season);
    TForm1& f = Open();
    f.LeagueButtonClick(4);
    f.Button1Click();
    f.SeasonListClick(c.pick);
    f.BitBtn13Click();
    EXPECT_EQ(Flags(f), c.flags);
    EXPECT_EQ(f.Status(), c.status);
    EXPECT_FALSE(f.ChooserVisible());
    EXPECT_EQ(program_->selection.season, c.season);
  }
  TForm1& f = Open();
  f.LeagueButtonClick(4);
  f.Button1Click();
  f.SeasonListClick(1);
  f.BitBtn13Click();
  EXPECT_EQ(program_->selection.competition, std::to_string(past_));
  f.LeagueButtonClick(4);
  EXPECT_EQ(Flags(f), kOn) << "a league button returns to the active season";
  EXPECT_EQ(program_->selection.competition, std::to_string(active_));
}

TEST_F(MainWindowTest, ConfirmingInGermanNamesTheSeasonInGerman) {
  TForm1& f = Open(kGerman);
  f.LeagueButtonClick(4);
  EXPECT_EQ(f.Status(), "Englische Liga geladen !");
  f.Button1Click();
  f.SeasonListClick(0);
  f.BitBtn13Click();
  EXPECT_EQ(f.Status(), "   Saison 2008/2009 geladen");
}

TEST_F(MainWindowTest, ClickOnAnEmptyLabelKeepsConfirmDisabled) {
  db_.AddCompetition(7, "  ", 18, 1);
  TForm1& f = Open();
  f.LeagueButtonClick(7);
  f.Button1Click();
  ASSERT_EQ(f.Seasons(), std::vector<std::string>{""});
  f.SeasonListClick(0);
  EXPECT_FALSE(f.ConfirmButton().enabled);

  f.LeagueButtonClick(17);
  f.Button1Click();
  EXPECT_TRUE(f.Seasons().empty());
  EXPECT_EQ(f.SeasonIndex(), -1);
  f.SeasonListClick(0);
  EXPECT_FALSE(f.ConfirmButton().enabled);
}

TEST_F(MainWindowTest, WebPageAddressPerLanguage) {
  struct Case {
    int language;
    std::string set;  // the NASTAVENIE update before the look-up
    std::string address;
  };
  const Case cases[] = {
      {kGerman, "WEB_DE=\"\"", kDefaultWebAddressDe},
      {kGerman, "WEB_DE=NULL", kDefaultWebAddressDe},
      {kGerman, "WEB_DE=\" http://de.example/ \"", "http://de.example/"},
      {kEnglish, "WEB_EN=\"http://en.example/\"", "http://en.example/"},
      {kItalian, "WEB_EN=\"http://en.example/\"", "http://en.example/"},
      {kEnglish, "WEB_EN=\"\"", kDefaultWebAddressEn},
      {kSlovak, "WEB=\"http://sk.example/\",WEB_EN=\"\"", "http://sk.example/"},
      {kSlovak, "WEB=\"\"", kDefaultWebAddress},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    db_.conn().Execute("UPDATE NASTAVENIE SET WEB=\"x\",WEB_EN=\"x\",WEB_DE=\"x\"");
    db_.conn().Execute("UPDATE NASTAVENIE SET " + c.set);
    TForm1& f = Open(c.language);
    EXPECT_EQ(f.WebPageAddress(), c.address);
  }
  ui_.opened_urls.clear();
  form_->TBHelpClick();
  EXPECT_EQ(ui_.opened_urls, std::vector<std::string>{kDefaultWebAddress});
}

TEST_F(MainWindowTest, TabsSelectTheResultMode) {
  TForm1& f = Open();
  f.SelectTab(2);
  EXPECT_EQ(program_->selection.result_mode, ResultMode::kSecondHalf);
  f.SelectTab(7);
  EXPECT_EQ(f.Tab(), 2) << "no such tab";
  f.ApplyLanguage();
  EXPECT_EQ(f.Tab(), 0);
}

}  // namespace
}  // namespace morvela
