#include "program/front_end_options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "core/text.h"

namespace morvela {
namespace {

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const OptionError& e) {
    return e.what();
  }
  return "";
}

TEST(FrontEndOptionsTest, DatesOutsideTheUsableRangeAreRefusedByName) {
  EXPECT_EQ(DateOption("--today", "2026-12-09"), *MakeDate(2026, 12, 9));
  EXPECT_EQ(DateOption("--today", "1900-01-01"), *MakeDate(1900, 1, 1));
  EXPECT_EQ(DateOption("--today", "9998-12-31"), *MakeDate(9998, 12, 31));
  const std::string expects = " expects a date as YYYY-MM-DD from 1900-01-01 to 9998-12-31, got '";
  for (const char* bad : {"9999-12-31", "1899-12-31", "2026-02-30", "09.12.2026", "", "tomorrow"})
    EXPECT_EQ(ErrorOf([&] { DateOption("--today", bad); }), "--today" + expects + bad + "'");
}

TEST(FrontEndOptionsTest, CodesAndLeagues) {
  EXPECT_EQ(LanguageOption("sk"), 3);
  EXPECT_EQ(ModeOption("uo"), ResultMode::kUnderOver);
  EXPECT_EQ(LeagueOption("LEAGUE", "germany"), LeagueOption("LEAGUE", "6"));
  EXPECT_EQ(ErrorOf([] { LanguageOption("fr"); }), "--lang expects en, de, sk or it, got 'fr'");
  EXPECT_EQ(ErrorOf([] { ModeOption("FT"); }), "--mode expects ft, 1h, 2h or uo, got 'FT'");
  EXPECT_NE(ErrorOf([] { LeagueOption("--league", "Narnia"); }).find("--league expects"),
            std::string::npos);
}

TEST(FrontEndOptionsTest, GarbageInTheEnvironmentIsAnErrorNotTheSystemDate) {
  ::setenv("MORVELA_TODAY", "2026-02-30", 1);
  EXPECT_EQ(ErrorOf([] { TodayFromEnvironment(); }),
            "MORVELA_TODAY expects a date as YYYY-MM-DD from 1900-01-01 to 9998-12-31, got "
            "'2026-02-30'");
  ::setenv("MORVELA_TODAY", "2024-04-23", 1);
  EXPECT_EQ(TodayFromEnvironment(), MakeDate(2024, 4, 23));
  ::setenv("MORVELA_TODAY", "", 1);
  EXPECT_EQ(TodayFromEnvironment(), std::nullopt);
  ::unsetenv("MORVELA_TODAY");
  EXPECT_EQ(TodayFromEnvironment(), std::nullopt);
}

TEST(FrontEndOptionsTest, MessagesQuoteAtMostEightyCharacters) {
  EXPECT_EQ(ValueForMessage("short"), "short");
  const std::string eighty(80, 'x');
  EXPECT_EQ(ValueForMessage(eighty), eighty);
  EXPECT_EQ(ValueForMessage(eighty + "y"), eighty + "...");
  std::string wide;
  for (int i = 0; i < 90; ++i) wide += "\xC3\xA4";  // ä, two bytes each
  EXPECT_EQ(ValueForMessage(wide), wide.substr(0, 160) + "...") << "counts characters";
  const std::string huge(50'000'000, 'z');
  EXPECT_EQ(ErrorOf([&] { ModeOption(huge); }).size(),
            std::string("--mode expects ft, 1h, 2h or uo, got ''").size() + 83);
}

}  // namespace
}  // namespace morvela
