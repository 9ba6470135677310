// Start-up and exit: settings file, language, connection, column upgrade and version stamp.
#include "program/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "builder/schema.h"
#include "core/cipher.h"
#include "core/helpers.h"
#include "fake_ui.h"
#include "test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateEmptyDatabase(dir_.Folder() + "Morvela.mdb", false); }

  StartupResult Start(std::optional<int> lang = std::nullopt) {
    program_ = std::make_unique<Program>(ui_, wait_);
    StartupOptions o;
    o.folder = dir_.Folder();
    o.today = MakeDate(2010, 6, 5);
    o.language = lang;
    return RunStartup(*program_, o);
  }

  // Runs one statement on the database outside the program (what an older release left).
  void Prepare(const std::string& sql) {
    Connection c;
    c.OpenFile(dir_.Folder() + "Morvela.mdb", false);
    c.ExecuteNative(sql);
  }

  std::string Ini() { return ReadFile(dir_.Path() / "Nastavenie.ini"); }

  test::TempDir dir_;
  test::FakeUi ui_;
  NullWaitIndicator wait_;
  std::unique_ptr<Program> program_;
};

TEST_F(StartupTest, FirstStartCreatesSettingsAndAsksForTheLanguage) {
  ui_.chooser_answer = 2;
  ASSERT_EQ(Start(), StartupResult::kReady);
  EXPECT_EQ(ui_.chooser_shown, 1);
  EXPECT_EQ(program_->messages.Language(), 2);
  EXPECT_EQ(program_->messages.Msg(msg::kPleaseWait), "Warten Sie, bitte ...");
  EXPECT_EQ(Ini(), "[Liga]\nDni=21\n3tip=1\n\n[Update]\nDbf=0\nApp=0\nW7=0\n\n[Jazyk]\nLang=2\n")
      << "defaults written, W7 cleared, the chosen language stored";
  EXPECT_TRUE(fs::is_directory(dir_.Path() / "Export"));
  EXPECT_EQ(program_->today_text, "05.06.2010");
  EXPECT_EQ(program_->caption, "  Morvela  4.8");
  EXPECT_TRUE(program_->selection.competition.empty()) << "no league picked at start";
}

TEST_F(StartupTest, ClosedChooserRunsInEnglishAndAsksAgainNextTime) {
  ui_.chooser_answer = 0;
  ASSERT_EQ(Start(), StartupResult::kReady);
  EXPECT_EQ(program_->messages.Language(), 1);
  EXPECT_NE(Ini().find("Lang=0"), std::string::npos);
  // The unchanged 0 is not written again: the file keeps its inode (an atomic replace would
  // give it a new one).
  const auto inode = [this] {
    struct stat st {};
    ::stat((dir_.Path() / "Nastavenie.ini").c_str(), &st);
    return st.st_ino;
  };
  const auto before = inode();
  ASSERT_EQ(Start(), StartupResult::kReady);
  EXPECT_EQ(ui_.chooser_shown, 2);
  EXPECT_EQ(inode(), before);
}

TEST_F(StartupTest, GarbageSettingsReadAsDefaults) {
  WriteFile(
      dir_.Path() / "Nastavenie.ini",
      "[Liga]\r\nDni=lots\r\n3tip=maybe\r\n[Update]\r\nDbf=7\r\nW7=0\r\n[Jazyk]\r\nLang=3\r\n");
  ASSERT_EQ(Start(), StartupResult::kReady);
  EXPECT_EQ(program_->settings.Dni, 21);
  EXPECT_TRUE(program_->settings.Tip3);
  EXPECT_EQ(program_->settings.Dbf, 0);
  EXPECT_EQ(program_->messages.Language(), 3);
  EXPECT_EQ(ui_.chooser_shown, 0);
}

// A file that cannot serve as the program's database ends the program with the engine's reason
// after the message, and is left exactly as it was: no journal-mode switch, no column upgrade
// (update.tmp is present in every case).
TEST_F(StartupTest, UnusableDatabaseEndsTheProgramWithTheReasonAndStaysUntouched) {
  struct Case {
    const char* what;
    std::function<void(const std::string& path)> make;  // leaves the file (or its absence)
    const char* reason;
  };
  const Case cases[] = {
      {"no file", [](const std::string& path) { fs::remove(path); }, "Could not find file"},
      {"text file", [](const std::string& path) { WriteFile(path, std::string(4096, 'x')); },
       "file is not a database"},
      {"another program's SQLite file",
       [](const std::string& path) {
         fs::remove(path);
         Connection c;
         c.OpenFile(path, true);
         c.ExecuteNative("PRAGMA journal_mode=DELETE; CREATE TABLE NOTES (ID INTEGER, T TEXT)");
       },
       "holds none of the program's tables"},
      {"only some tables",
       [](const std::string& path) {
         Connection c;
         c.OpenFile(path, false);
         c.ExecuteNative(
             "PRAGMA journal_mode=DELETE; DROP TABLE KURZY; DROP TABLE TIPY; "
             "ALTER TABLE VYSLEDKY DROP COLUMN NERATAT");
       },
       "lacks the tables KURZY, TIPY"},
  };
  const std::string path = dir_.Folder() + "Morvela.mdb";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    program_.reset();
    fs::remove(path);
    CreateEmptyDatabase(path, false);
    c.make(path);
    WriteFile(dir_.Path() / "update.tmp", "");
    const bool had_file = fs::exists(path);
    const std::string before = had_file ? ReadFile(path) : "";
    ui_.messages.clear();
    EXPECT_EQ(Start(1), StartupResult::kEndProgram);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].kind, MessageKind::kError);
    EXPECT_EQ(ui_.messages[0].text.rfind(
                  "Unable to connect to the database !\r\nThe program ends\r\n\r\n", 0),
              0u)
        << ui_.messages[0].text;
    EXPECT_NE(ui_.messages[0].text.find(c.reason), std::string::npos) << ui_.messages[0].text;
    EXPECT_EQ(fs::exists(path), had_file);
    if (had_file) {
      EXPECT_EQ(ReadFile(path), before) << "the refused file is not modified";
    }
    EXPECT_FALSE(fs::exists(path + "-wal"));
    EXPECT_TRUE(fs::exists(dir_.Path() / "update.tmp"));
  }
  // In another language the reason is framed in it too (the engine's own words stay inside).
  program_.reset();
  fs::remove(path);
  ui_.messages.clear();
  EXPECT_EQ(Start(2), StartupResult::kEndProgram);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages[0].text.find("Die Datei '" + path + "' wurde nicht gefunden."),
            std::string::npos)
      << ui_.messages[0].text;
  WriteFile(path, std::string(4096, 'x'));
  program_.reset();
  ui_.messages.clear();
  EXPECT_EQ(Start(2), StartupResult::kEndProgram);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages[0].text.find("Die Datei kann nicht als Datenbank des Programms dienen: "),
            std::string::npos)
      << ui_.messages[0].text;
}

// On a first start without a database a front end that offers the demo database asks; Yes
// creates it and start-up goes on, No ends the program with the reason. A database that exists
// is never offered over, and without the offer nothing is asked.
TEST_F(StartupTest, FirstStartOffersTheDemoDatabase) {
  struct Case {
    const char* what;
    bool database_exists;
    bool offer;
    bool answer;
    StartupResult expected;
    int questions;
    int created;
  };
  const Case cases[] = {
      {"Yes creates it", false, true, true, StartupResult::kReady, 1, 1},
      {"No ends", false, true, false, StartupResult::kEndProgram, 1, 0},
      {"existing database", true, true, true, StartupResult::kReady, 0, 0},
      {"no offer (command line)", false, false, true, StartupResult::kEndProgram, 0, 0},
  };
  const std::string path = dir_.Folder() + "Morvela.mdb";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    program_.reset();
    fs::remove(path);
    if (c.database_exists) CreateEmptyDatabase(path, false);
    ui_.messages.clear();
    ui_.yes_answer = c.answer;
    int created = 0;
    program_ = std::make_unique<Program>(ui_, wait_);
    StartupOptions o;
    o.folder = dir_.Folder();
    o.language = 1;
    if (c.offer) {
      o.create_demo_database = [&created](const std::string& at) {
        ++created;
        CreateEmptyDatabase(at, false);
      };
    }
    EXPECT_EQ(RunStartup(*program_, o), c.expected);
    EXPECT_EQ(created, c.created);
    int questions = 0;
    for (const auto& m : ui_.messages) {
      if (m.kind != MessageKind::kConfirmation) continue;
      ++questions;
      EXPECT_EQ(m.text,
                "There is no database yet.\r\nCreate the demo database of invented clubs now?");
    }
    EXPECT_EQ(questions, c.questions);
    EXPECT_EQ(!ui_.messages.empty() && ui_.messages.back().kind == MessageKind::kError,
              c.expected == StartupResult::kEndProgram);
  }
}

TEST_F(StartupTest, FailedDemoCreationEndsWithItsReason) {
  fs::remove(dir_.Path() / "Morvela.mdb");
  program_ = std::make_unique<Program>(ui_, wait_);
  StartupOptions o;
  o.folder = dir_.Folder();
  o.language = 1;
  o.create_demo_database = [](const std::string&) { throw DatabaseError("disk full"); };
  EXPECT_EQ(RunStartup(*program_, o), StartupResult::kEndProgram);
  ASSERT_FALSE(ui_.messages.empty());
  EXPECT_EQ(ui_.messages.back().kind, MessageKind::kError);
  EXPECT_NE(ui_.messages.back().text.find("disk full"), std::string::npos);
}

TEST_F(StartupTest, WithoutMarkerNothingIsUpgradedOrStamped) {
  Prepare("ALTER TABLE TIPY DROP COLUMN TIP");
  Prepare("UPDATE NASTAVENIE SET VERZIA=''");
  ASSERT_EQ(Start(1), StartupResult::kReady);
  EXPECT_FALSE(program_->compulsory_update);
  Query q(program_->dm.ADOConnection1);
  q.Open("SELECT TOP 1 * FROM TIPY");
  EXPECT_FALSE(q.HasField("TIP"));
}

TEST_F(StartupTest, MarkerUpgradesColumnsStampsVersionAndIsDeleted) {
  Prepare("ALTER TABLE TIPY DROP COLUMN TIP");
  Prepare("ALTER TABLE VYSLEDKY DROP COLUMN NERATAT");
  Prepare("ALTER TABLE NASTAVENIE DROP COLUMN WEB_DE");
  Prepare("ALTER TABLE KURZY DROP COLUMN OVER");
  Prepare("UPDATE NASTAVENIE SET VERZIA=''");
  WriteFile(dir_.Path() / "update.tmp", "");
  WriteFile(dir_.Path() / "Nastavenie.ini", "[Update]\nDbf=1\n[Jazyk]\nLang=1\n");
  ASSERT_EQ(Start(), StartupResult::kReady);
  EXPECT_TRUE(program_->compulsory_update)
      << "an empty mark forces the results update, Dbf=1 or not";
  EXPECT_FALSE(fs::exists(dir_.Path() / "update.tmp"));
  Query q(program_->dm.ADOConnection1);
  q.Open("SELECT TOP 1 * FROM TIPY");
  EXPECT_TRUE(q.HasField("TIP"));
  q.Open("SELECT TOP 1 * FROM KURZY");
  EXPECT_TRUE(q.HasField("OVER"));
  q.Open("SELECT NERATAT FROM VYSLEDKY WHERE NERATAT=0");
  q.Open("SELECT VERZIA,WEB_DE FROM NASTAVENIE");
  EXPECT_EQ(DecipherText(q.FieldByName("VERZIA").AsString(), false), "4.8");
  EXPECT_EQ(q.FieldByName("WEB_DE").AsString(), kDefaultWebAddressDe);
}

// Only the statement of an "ignored" step may fail quietly; a probe that fails stops start-up
// like any other step, and a table the database lacks refuses it before any step runs.
TEST_F(StartupTest, FailingProbeStopsStartupWhileOnlyIgnoredStatementsFailQuietly) {
  struct Case {
    const char* what;
    const char* prepare;
    StartupResult expected;
  };
  const Case cases[] = {
      {"no KURZY table", "DROP TABLE KURZY", StartupResult::kEndProgram},
      {"no SUTAZ_MUZSTVA table", "DROP TABLE SUTAZ_MUZSTVA", StartupResult::kEndProgram},
      {"KURZY cannot gain OVER", "DROP TABLE KURZY; CREATE VIEW KURZY AS SELECT ID FROM VYSLEDKY",
       StartupResult::kReady},
      {"LIGA cannot gain NAZOV_IT",
       "ALTER TABLE LIGA RENAME TO LIGA_OLD; CREATE VIEW LIGA AS SELECT ID,NAZOV FROM LIGA_OLD",
       StartupResult::kStopped},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    program_.reset();
    fs::remove(dir_.Path() / "Morvela.mdb");
    CreateEmptyDatabase(dir_.Folder() + "Morvela.mdb", false);
    Prepare(c.prepare);
    WriteFile(dir_.Path() / "update.tmp", "");
    ui_.messages.clear();
    EXPECT_EQ(Start(1), c.expected);
    // A missing table refuses the file before any step; a failing step stops start-up.
    const bool stopped = c.expected != StartupResult::kReady;
    EXPECT_EQ(fs::exists(dir_.Path() / "update.tmp"), stopped);
    EXPECT_EQ(!ui_.messages.empty() && ui_.messages.back().kind == MessageKind::kError, stopped);
  }
}

TEST_F(StartupTest, VersionMarkOfAnotherReleaseForcesUpdateAndW7) {
  Prepare("UPDATE NASTAVENIE SET VERZIA='" + EncipherText("4.7") + "'");
  WriteFile(dir_.Path() / "update.tmp", "");
  ASSERT_EQ(Start(1), StartupResult::kReady);
  EXPECT_TRUE(program_->compulsory_update);
  EXPECT_NE(Ini().find("W7=1"), std::string::npos);
  // The current mark leaves everything as it is.
  WriteFile(dir_.Path() / "update.tmp", "");
  ASSERT_EQ(Start(1), StartupResult::kReady);
  EXPECT_FALSE(program_->compulsory_update);
}

TEST_F(StartupTest, UndecipherableMarkEndsTheProgram) {
  Prepare("UPDATE NASTAVENIE SET VERZIA='not base64!'");
  WriteFile(dir_.Path() / "update.tmp", "");
  EXPECT_EQ(Start(1), StartupResult::kEndProgram);
  ASSERT_FALSE(ui_.messages.empty());
  EXPECT_EQ(ui_.messages.back().kind, MessageKind::kError);
}

// The pause lets the desktop program's closing box be seen; the command line, which shows no
// box, must not sit through it.
TEST_F(StartupTest, ExitShowsClosingMessageClosesTheDatabaseAndPausesOnlyWhenAsked) {
  for (const bool pause : {true, false}) {
    SCOPED_TRACE(pause ? "pause" : "no pause");
    ASSERT_EQ(Start(1), StartupResult::kReady);
    const auto started = std::chrono::steady_clock::now();
    RunExit(*program_, pause);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
    if (pause) {
      EXPECT_GE(ms, 200);
    } else {
      EXPECT_LT(ms, 150);
    }
    EXPECT_EQ(wait_.LastMessage(), "The program is ending ...");
    EXPECT_EQ(wait_.Depth(), 0);
    EXPECT_FALSE(program_->dm.ADOConnection1.IsOpen());
  }
}

TEST(ProgramFolder, OverrideWinsAndEndsWithSeparator) {
  test::TempDir dir;
  std::string f = ResolveProgramFolder((dir.Path() / "sub").string(), "/nonexistent/morvela");
  EXPECT_EQ(f, (dir.Path() / "sub").string() + "/");
  EXPECT_TRUE(fs::is_directory(dir.Path() / "sub"));
}

// Sets an environment variable (or removes it for nullopt) for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ProgramFolder, RulesApplyInOrder) {
  // Paths below the case's temporary folder T; "bin" is the executable's folder.
  struct Case {
    const char* name;
    bool option;                  // --home T/option
    bool environment;             // MORVELA_HOME=T/env
    const char* file_beside_exe;  // created in T/bin, or nullptr
    const char* xdg;              // XDG_DATA_HOME (T/ is put before an absolute "/..."), or null
    const char* expected;         // below T
    FolderReason reason;
  };
  const Case cases[] = {
      {"option beats everything", true, true, "Morvela.mdb", "/xdg", "option/",
       FolderReason::kOption},
      {"environment beats the executable's folder", false, true, "Morvela.mdb", "/xdg", "env/",
       FolderReason::kEnvironment},
      {"executable's folder with a database", false, false, "Morvela.mdb", "/xdg", "bin/",
       FolderReason::kExecutable},
      {"executable's folder with a settings file", false, false, "Nastavenie.ini", "/xdg", "bin/",
       FolderReason::kExecutable},
      {"an empty executable's folder is not used", false, false, nullptr, "/xdg", "xdg/morvela/",
       FolderReason::kUserData},
      {"another file does not make a program folder", false, false, "morvela.log", "/xdg",
       "xdg/morvela/", FolderReason::kUserData},
      {"no XDG_DATA_HOME", false, false, nullptr, nullptr, "home/.local/share/morvela/",
       FolderReason::kUserData},
      {"a relative XDG_DATA_HOME is ignored", false, false, nullptr, "rel",
       "home/.local/share/morvela/", FolderReason::kUserData},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const fs::path t = dir.Path();
    fs::create_directories(t / "bin");
    if (c.file_beside_exe) std::ofstream(t / "bin" / c.file_beside_exe) << "\n";
    std::optional<std::string> xdg;
    if (c.xdg) xdg = c.xdg[0] == '/' ? t.string() + c.xdg : std::string(c.xdg);
    ScopedEnv env("MORVELA_HOME",
                  c.environment ? std::optional<std::string>((t / "env").string()) : std::nullopt);
    ScopedEnv xdg_env("XDG_DATA_HOME", xdg);
    ScopedEnv home_env("HOME", (t / "home").string());
    const ProgramFolder f = ChooseProgramFolder(
        c.option ? std::optional<std::string>((t / "option").string()) : std::nullopt,
        (t / "bin" / "morvela").string());
    EXPECT_EQ(f.path, (t / c.expected).string());
    EXPECT_EQ(f.reason, c.reason);
    EXPECT_TRUE(fs::is_directory(f.path));  // created on first use
  }
}

}  // namespace
}  // namespace morvela
