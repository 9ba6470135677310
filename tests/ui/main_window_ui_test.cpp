// The main window on the offscreen platform: what it shows in English and German, before and
// after a league is picked, the season chooser, the general error report and the command line.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTabBar>
#include <QToolButton>

#include "fake_ui.h"
#include "fixture_db.h"
#include "ui/qt_user_interface.h"
#include "ui_test_support.h"

namespace morvela {
namespace {

using test::OpenSession;
using test::SaveAndLoad;
using test::Settle;

class MainWindowUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.AddCompetition(6, "2009/2010", 18, 1);
    db_.AddCompetition(6, "Active", 18, 2);
    db_.AddCompetition(4, "Active", 20, 1);
  }

  template <typename T>
  T* Find(DesktopSession& s, const char* name) {
    T* widget = s.window().findChild<T*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QPushButton* Button(DesktopSession& s, const char* name) { return Find<QPushButton>(s, name); }
  std::string Status(DesktopSession& s) {
    return Find<QLabel>(s, "StatusBar1")->text().toStdString();
  }
  // Enabled and visible flags of Button1..Button10 as strings of 0/1.
  std::pair<std::string, std::string> Flags(DesktopSession& s) {
    std::string enabled, visible;
    for (int n = 1; n <= 10; ++n) {
      QPushButton* b = Button(s, ("Button" + std::to_string(n)).c_str());
      enabled += b->isEnabled() ? '1' : '0';
      visible += b->isVisible() ? '1' : '0';
    }
    return {enabled, visible};
  }

  test::FixtureDb db_;
};

TEST_F(MainWindowUiTest, EnglishWindowBeforeALeagueIsPicked) {
  auto s = OpenSession(db_.Folder(), kEnglish, "main-en.png");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->window().windowTitle().toStdString(), "  Morvela  4.8");
  EXPECT_EQ(
      test::LeagueCaptionsOnScreen(&s->window()),
      (std::vector<std::string>{"Austria",  "Belgium",  "Czech",       "Denmark", "England",
                                "France",   "Germany",  "Greece",      "Italy",   "Netherlands",
                                "Poland",   "Portugal", "Romania",     "Russia",  "Scotland",
                                "Slovakia", "Spain",    "Switzerland", "Turkey",  "Ukraine"}));
  EXPECT_EQ(Button(*s, "BitBtn1")->toolTip().toStdString(), "Select English league");
  EXPECT_EQ(Button(*s, "Button1")->text().toStdString(), "Archive");
  EXPECT_EQ(Button(*s, "Button5")->text().toStdString(), "Tip for today");
  EXPECT_EQ(Button(*s, "Button10")->text().toStdString(), "LIVE tip");
  EXPECT_EQ(Flags(*s), (std::pair<std::string, std::string>{"0000110010", "1111111111"}));
  EXPECT_EQ(Status(*s), "Select a League");
  auto* tabs = Find<QTabBar>(*s, "TabControl1");
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(1).toStdString(), "  1ST HALF  ");
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_TRUE(Find<QToolButton>(*s, "TBHelp")->isEnabled());
  EXPECT_EQ(Find<QToolButton>(*s, "TBSettings")->toolTip().toStdString(), "Setting");
  EXPECT_FALSE(Find<QComboBox>(*s, "ComboBox1")->isVisible());

  const QImage shot = SaveAndLoad(*s, "main-en.png");
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.size(), s->window().size() * s->window().devicePixelRatio());
}

TEST_F(MainWindowUiTest, GermanWindowBeforeAndAfterPickingALeague) {
  auto s = OpenSession(db_.Folder(), kGerman, "main-de.png");
  ASSERT_TRUE(s);
  const std::vector<std::string> captions = test::LeagueCaptionsOnScreen(&s->window());
  EXPECT_EQ(
      std::vector<std::string>(captions.begin(), captions.begin() + 5),
      (std::vector<std::string>{"Belgien", "Dänemark", "Deutschland", "England", "Frankreich"}));
  EXPECT_EQ(Status(*s), "Wähle eine Liga aus");
  EXPECT_EQ(Button(*s, "Button6")->text().toStdString(), "Tipps für die Woche");
  ASSERT_FALSE(SaveAndLoad(*s, "main-de.png").isNull());

  Button(*s, "BitBtn6")->click();
  Settle();
  EXPECT_EQ(Status(*s), "Deutsche Liga geladen !");
  EXPECT_EQ(Flags(*s), (std::pair<std::string, std::string>{"1111111111", "1111111111"}));
  EXPECT_EQ(s->program().selection.league, "6");
  EXPECT_FALSE(s->program().selection.competition.empty());
  ASSERT_FALSE(SaveAndLoad(*s, "main-de-league.png").isNull());
}

TEST_F(MainWindowUiTest, SeasonChooserTakesThePlaceOfTheTipButtons) {
  auto s = OpenSession(db_.Folder(), kEnglish, "main-en-archive.png");
  ASSERT_TRUE(s);
  Button(*s, "BitBtn6")->click();
  Button(*s, "Button1")->click();
  Settle();
  auto* seasons = Find<QComboBox>(*s, "ComboBox1");
  EXPECT_TRUE(seasons->isVisible());
  ASSERT_EQ(seasons->count(), 2);
  EXPECT_EQ(seasons->currentText().toStdString(), "Active");
  EXPECT_FALSE(Button(*s, "BitBtn13")->isEnabled());
  EXPECT_EQ(Flags(*s), (std::pair<std::string, std::string>{"1111111111", "1111000000"}));
  ASSERT_FALSE(SaveAndLoad(*s, "main-en-archive.png").isNull());

  emit seasons->activated(0);
  Settle();
  ASSERT_TRUE(Button(*s, "BitBtn13")->isEnabled());
  Button(*s, "BitBtn13")->click();
  Settle();
  EXPECT_FALSE(seasons->isVisible());
  EXPECT_EQ(Status(*s), "   Season 2009/2010 loaded");
  EXPECT_EQ(Flags(*s), (std::pair<std::string, std::string>{"1111111010", "1111111111"}));
  EXPECT_EQ(s->program().selection.season, "2009/2010");
}

TEST_F(MainWindowUiTest, ResultModeTabIsTheProgramsResultMode) {
  DesktopOptions o;
  o.result_mode = ResultMode::kUnderOver;
  o.league = 4;
  auto s = OpenSession(db_.Folder(), kEnglish, "main-en-uo.png", o);
  ASSERT_TRUE(s);
  s->ApplyStartChoices();
  Settle();
  EXPECT_EQ(Find<QTabBar>(*s, "TabControl1")->currentIndex(), 3);
  EXPECT_EQ(s->program().selection.result_mode, ResultMode::kUnderOver);
  EXPECT_EQ(Status(*s), "English league loaded !");
  Find<QTabBar>(*s, "TabControl1")->setCurrentIndex(1);
  EXPECT_EQ(s->program().selection.result_mode, ResultMode::kFirstHalf);
}

TEST(GuardedTest, ErrorsOfAHandlerReachTheUserAndStopThere) {
  struct Case {
    std::function<void()> handler;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {[] { throw DatabaseError("no such table: TIPY"); }, {"no such table: TIPY"}},
      {[] { throw std::runtime_error("Cannot write the file /x.csv"); },
       {"Cannot write the file /x.csv"}},
      {[] {}, {}},
  };
  for (const Case& c : cases) {
    test::FakeUi ui;
    EXPECT_NO_THROW(Guarded(ui, c.handler));
    std::vector<std::string> shown;
    for (const auto& m : ui.messages) {
      EXPECT_EQ(m.kind, MessageKind::kError);
      shown.push_back(m.text);
    }
    EXPECT_EQ(shown, c.shown);
  }
}

TEST(DesktopOptionsTest, CommandLine) {
  struct Case {
    QStringList args;
    bool ok;
    int language, mode, league, tip_button;
    std::string screenshot;
  };
  const Case cases[] = {
      {{}, true, 0, 0, 0, 0, ""},
      {{"--lang", "de", "--mode", "uo"}, true, 2, 3, 0, 0, ""},
      {{"--screenshot", "a.png", "--league", "England", "--tips", "week"},
       true,
       0,
       0,
       4,
       6,
       "a.png"},
      {{"--league", "sk", "--tips", "value"}, true, 0, 0, 15, 9, ""},
      {{"--tips", "today", "--league", "20"}, true, 0, 0, 20, 5, ""},
      {{"--lang", "fr"}, false, 0, 0, 0, 0, ""},
      {{"--mode", "half"}, false, 0, 0, 0, 0, ""},
      {{"--league", "Atlantis"}, false, 0, 0, 0, 0, ""},
      {{"--tips", "month"}, false, 0, 0, 0, 0, ""},
      {{"--today", "5.6.2010"}, false, 0, 0, 0, 0, ""},
      {{"--colour"}, false, 0, 0, 0, 0, ""},
      {{"extra"}, false, 0, 0, 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    QString message;
    bool help = true;
    const auto o = ParseDesktopOptions(QStringList{"morvela"} + c.args, message, help);
    EXPECT_FALSE(help);
    ASSERT_EQ(o.has_value(), c.ok) << message.toStdString();
    if (!o) {
      EXPECT_FALSE(message.isEmpty());
      continue;
    }
    EXPECT_EQ(o->language.value_or(0), c.language);
    EXPECT_EQ(o->result_mode, test::ModeOf(c.mode));
    EXPECT_EQ(o->league.value_or(0), c.league);
    EXPECT_EQ(o->tip_button.value_or(0), c.tip_button);
    EXPECT_EQ(o->screenshot.toStdString(), c.screenshot);
  }
  QString message;
  bool help = false;
  const auto o =
      ParseDesktopOptions({"morvela", "--today", "2010-06-05", "--home", "/tmp/m"}, message, help);
  ASSERT_TRUE(o);
  EXPECT_EQ(o->today, MakeDate(2010, 6, 5));
  EXPECT_EQ(o->home, "/tmp/m");
  EXPECT_FALSE(ParseDesktopOptions({"morvela", "--help"}, message, help));
  EXPECT_TRUE(help);
  EXPECT_TRUE(message.contains(QLatin1String("--screenshot")));
}

}  // namespace
}  // namespace morvela
