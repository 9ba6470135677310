#include "core/text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace morvela {
namespace {

using namespace std::string_literals;

TEST(TextTest, TrimsStripOnlyWhatTheirNamesSay) {
  struct Case {
    std::string in, spaces, spaces_and_tabs, blanks_and_controls;
  };
  const Case cases[] = {
      {"  1 ", "1", "1", "1"},
      {"\t 10 \t", "\t 10 \t", "10", "10"},
      {"date\0\0\r\n"s, "date\0\0\r\n"s, "date\0\0\r\n"s, "date"},
      {"   ", "", "", ""},
      {"", "", "", ""},
      {" a b ", "a b", "a b", "a b"},
      {" \xC3\xA4 ", "\xC3\xA4", "\xC3\xA4", "\xC3\xA4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(TrimSpaces(c.in), c.spaces);
    EXPECT_EQ(TrimSpacesAndTabs(c.in), c.spaces_and_tabs);
    EXPECT_EQ(TrimBlanksAndControls(c.in), c.blanks_and_controls);
  }
}

TEST(TextTest, CaseFolding) {
  EXPECT_EQ(AsciiUpper("select top 1 \xC3\xA4"), "SELECT TOP 1 \xC3\xA4") << "only ASCII letters";
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Czech Republic", "czech REPUBLIC"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC3\x84", "\xC3\xA4"))
      << "Ä and ä differ in ASCII folding";
  EXPECT_FALSE(EqualsIgnoringAsciiCase("Lang", "Lang "));
  const std::pair<std::string, std::string> upper[] = {
      {"1st HALF", "1ST HALF"},           {"über", "ÜBER"},           {"1° tempo", "1° TEMPO"},
      {"ľubovoľný čaj", "ĽUBOVOĽNÝ ČAJ"}, {"žltá ťava", "ŽLTÁ ŤAVA"}, {"straße", "STRAßE"},
  };
  for (const auto& [in, out] : upper) EXPECT_EQ(UpperCaseText(in), out) << in;
}

TEST(TextTest, Utf8LengthCountsCharactersNotBytes) {
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Length("Slavia Praha"), 12u);
  EXPECT_EQ(Utf8Length("Gençlerbirliği"), 14u);
  EXPECT_EQ(Utf8Length("€"), 1u);
}

}  // namespace
}  // namespace morvela
