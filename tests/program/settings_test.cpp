#include "program/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/ini_file.h"
#include "test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string WithCrLf(std::string text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

const char kDefaultContent[] =
    "[Liga]\nDni=21\n3tip=1\n\n[Update]\nDbf=0\nApp=0\nW7=1\n\n[Jazyk]\nLang=0\n";

TEST(IniFileTest, LooksUpSectionsAndKeysIgnoringCaseWithEitherLineEnding) {
  const std::string content =
      "; settings\n"
      "top=9\n"
      "[Liga]\n"
      "  Dni = 14 \n"
      "name= Serie A \n"
      "flag=TRUE\n"
      ";Dni=3\n"
      "[update]\n"
      "DBF=1\n"
      "dni=77\n"
      "W7=0\n"
      "odd=yes\n"
      "big=99999999999\n"
      "neg=-5\n"
      "two=2\n";
  struct Case {
    const char* section;
    const char* key;
    int integer;  // ReadInteger with default -1
    int boolean;  // ReadBool with default true, as 0/1
  };
  const Case cases[] = {
      {"Liga", "Dni", 14, 1},   {"LIGA", "dni", 14, 1},   {"Liga", "flag", -1, 1},
      {"Liga", "name", -1, 1},  {"Update", "Dbf", 1, 1},  {"Update", "dni", 77, 1},
      {"Update", "W7", 0, 0},   {"Update", "odd", -1, 1}, {"Update", "big", -1, 1},
      {"Update", "neg", -5, 1}, {"Update", "two", 2, 1},  {"Update", "missing", -1, 1},
      {"Jazyk", "Lang", -1, 1}, {"", "top", -1, 1},
  };
  test::TempDir dir;
  for (bool crlf : {false, true}) {
    fs::path path = dir.Path() / (crlf ? "crlf.ini" : "lf.ini");
    WriteFile(path, crlf ? WithCrLf(content) : content);
    IniFile ini(path);
    EXPECT_FALSE(ini.ReadFailed());
    EXPECT_EQ(ini.ReadString("liga", "NAME", "?"), "Serie A");
    EXPECT_EQ(ini.ReadBool("Liga", "flag", false), true);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.section) + "/" + c.key + (crlf ? " CRLF" : " LF"));
      EXPECT_EQ(ini.ReadInteger(c.section, c.key, -1), c.integer);
      EXPECT_EQ(ini.ReadBool(c.section, c.key, true), c.boolean == 1);
    }
  }
}

TEST(IniFileTest, RewritingKeepsOtherLinesAndLineEndings) {
  const std::string before =
      "\xEF\xBB\xBF; keep me\n"
      "[Liga]\n"
      "Dni=21\n"
      "Other=x\n"
      "\n"
      "[Extra]\n"
      "A=1\n";
  const std::string after =
      "\xEF\xBB\xBF; keep me\n"
      "[Liga]\n"
      "Dni=30\n"
      "Other=x\n"
      "3tip=0\n"
      "\n"
      "[Extra]\n"
      "A=1\n"
      "\n"
      "[Jazyk]\n"
      "Lang=3\n";
  test::TempDir dir;
  for (bool crlf : {false, true}) {
    SCOPED_TRACE(crlf ? "CRLF" : "LF");
    fs::path path = dir.Path() / "Nastavenie.ini";
    WriteFile(path, crlf ? WithCrLf(before) : before);
    IniFile ini(path);
    ini.WriteInteger("LIGA", "dni", 30);
    ini.WriteBool("Liga", "3tip", false);
    ini.WriteInteger("Jazyk", "Lang", 3);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(test::ReadBytes(path), crlf ? WithCrLf(after) : after);
    EXPECT_FALSE(fs::exists(dir.Path() / "Nastavenie.ini.tmp"));
  }
}

TEST(IniFileTest, SaveReportsFailureAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  IniFile missing_folder(dir.Path() / "no" / "such" / "x.ini");
  missing_folder.WriteInteger("A", "b", 1);
  EXPECT_FALSE(missing_folder.Save());

  // A folder where the file should be: unreadable, and the rename over it fails.
  fs::create_directory(dir.Path() / "taken.ini");
  IniFile taken(dir.Path() / "taken.ini");
  EXPECT_TRUE(taken.ReadFailed());
  taken.WriteInteger("A", "b", 1);
  EXPECT_FALSE(taken.Save());
  EXPECT_FALSE(fs::exists(dir.Path() / "taken.ini.tmp"));
}

TEST(SettingsTest, EnsureSettingsFileCreatesDefaultsOnlyWhenMissing) {
  test::TempDir dir;
  fs::path path = dir.Path() / "Nastavenie.ini";
  ASSERT_TRUE(EnsureSettingsFile(path));
  EXPECT_EQ(test::ReadBytes(path), kDefaultContent);
  EXPECT_EQ(ReadSettings(path), Settings{});

  WriteFile(path, "[Liga]\nDni=5\n");
  ASSERT_TRUE(EnsureSettingsFile(path));
  EXPECT_EQ(test::ReadBytes(path), "[Liga]\nDni=5\n");
}

TEST(SettingsTest, MissingGarbageOrOutOfRangeValuesReadAsDefaults) {
  struct Case {
    const char* content;
    Settings expected;
  };
  const Settings def;
  auto with = [&](auto change) {
    Settings s = def;
    change(s);
    return s;
  };
  const Case cases[] = {
      {"", def},
      {"[Liga]\nDni=abc\n3tip=maybe\n[Update]\nDbf=\nApp=x\nW7=?\n[Jazyk]\nLang=one\n", def},
      {"[Liga]\nDni=366\n[Update]\nDbf=2\nApp=-1\n[Jazyk]\nLang=5\n", def},
      {"[Liga]\nDni=-1\n[Jazyk]\nLang=-1\n", def},
      {"[Liga]\nDni=0\n", with([](Settings& s) { s.Dni = 0; })},
      {"[Liga]\nDni=365\n3tip=0\n", with([](Settings& s) {
         s.Dni = 365;
         s.Tip3 = false;
       })},
      {"[Update]\nDbf=1\nApp=1\nW7=0\n", with([](Settings& s) {
         s.Dbf = 1;
         s.App = 1;
         s.W7 = false;
       })},
      {"[Jazyk]\nLang=4\n", with([](Settings& s) { s.Lang = 4; })},
  };
  test::TempDir dir;
  fs::path path = dir.Path() / "Nastavenie.ini";
  for (const auto& c : cases) {
    WriteFile(path, c.content);
    EXPECT_EQ(ReadSettings(path), c.expected) << c.content;
  }
  EXPECT_EQ(ReadSettings(dir.Path() / "missing.ini"), def);
}

TEST(SettingsTest, WritersChangeOnlyTheirKeys) {
  test::TempDir dir;
  fs::path path = dir.Path() / "Nastavenie.ini";
  WriteFile(path, WithCrLf("; mine\n[Update]\nW7=1\nProxy=none\n"));
  ASSERT_TRUE(WriteW7(path, false));
  ASSERT_TRUE(WriteLang(path, 2));
  EXPECT_EQ(test::ReadBytes(path),
            WithCrLf("; mine\n[Update]\nW7=0\nProxy=none\n\n[Jazyk]\nLang=2\n"));

  Settings s{.Dni = 7, .Tip3 = false, .Dbf = 1, .App = 1, .W7 = false, .Lang = 3};
  ASSERT_TRUE(WriteSettings(path, s));
  EXPECT_EQ(ReadSettings(path), s);
  EXPECT_NE(test::ReadBytes(path).find("Proxy=none\r\n"), std::string::npos);

  fs::path folder_in_the_way = dir.Path() / "dir.ini";
  fs::create_directory(folder_in_the_way);
  EXPECT_FALSE(WriteW7(folder_in_the_way, false));
}

TEST(SettingsTest, SecondOpinionColumnsRoundTripAndReadOffUnlessOne) {
  test::TempDir dir;
  const fs::path path = dir.Path() / "Nastavenie.ini";
  EXPECT_FALSE(ReadSecondOpinionColumns(path)) << "no file: off";
  WriteFile(path, kDefaultContent);
  ASSERT_TRUE(WriteSecondOpinionColumns(path, true));
  EXPECT_TRUE(ReadSecondOpinionColumns(path));
  EXPECT_EQ(ReadSettings(path), Settings{}) << "the other keys stay";
  ASSERT_TRUE(WriteSecondOpinionColumns(path, false));
  EXPECT_FALSE(ReadSecondOpinionColumns(path));
  for (const char* value : {"yes", "2", "-1", "", "1x"}) {
    WriteFile(path, std::string("[Tips]\nSecondOpinion=") + value + "\n");
    EXPECT_FALSE(ReadSecondOpinionColumns(path)) << value;
  }
}

}  // namespace
}  // namespace morvela
