// Text that leaves the command line: JSON string escaping and the character-counted alignment of
// the plain tables, on their own and end to end with team names that need both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "cli/json.h"
#include "cli/table_printer.h"
#include "cli_test_support.h"

namespace morvela::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CliJsonString, EscapesWhatJsonRequiresAndKeepsTheRest) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"", R"("")"},
      {"plain", R"("plain")"},
      {"say \"hi\"", R"("say \"hi\"")"},
      {"C:\\dir\\", R"("C:\\dir\\")"},
      {"a\tb\nc\rd", R"("a\tb\nc\rd")"},
      {std::string("nul\0x", 5), R"("nul\u0000x")"},
      {"\x01\x1f", R"("\u0001\u001f")"},
      {"\x7f/", "\"\x7f/\""},  // DEL and the solidus need no escape
      {"Ružomberok Brøndby İdman 🏆", "\"Ružomberok Brøndby İdman 🏆\""},
      // Bytes that are not UTF-8 become U+FFFD, one per byte; the text around them stays.
      {"Z\xfcrich", R"("Z\ufffdrich")"},                        // Latin-1 ü
      {"\x80\xbf", R"("\ufffd\ufffd")"},                        // stray continuation bytes
      {"end \xc5", R"("end \ufffd")"},                          // cut short at the end
      {"\xc0\xaf", R"("\ufffd\ufffd")"},                        // overlong "/"
      {"\xed\xa0\x80", R"("\ufffd\ufffd\ufffd")"},              // a surrogate
      {"\xf4\x90\x80\x80", R"("\ufffd\ufffd\ufffd\ufffd")"},    // beyond U+10FFFF
      {"\xf0\x9f\x8f\x86\xff", "\"\xf0\x9f\x8f\x86\\ufffd\""},  // a good sequence, then a bad byte
  };
  for (const Case& c : cases) EXPECT_EQ(JsonString(c.in), c.out) << c.in;
  // The checker below knows broken UTF-8 when it sees it.
  EXPECT_FALSE(IsValidJson("\"Z\xfcrich\""));
  EXPECT_TRUE(IsValidJson("\"Z\xc3\xbcrich\""));
  // Every single byte gives a valid JSON string.
  for (int b = 0; b < 0x100; ++b) {
    const std::string s = JsonString(std::string(1, static_cast<char>(b)));
    std::string why;
    EXPECT_TRUE(IsValidJson(s, &why)) << "byte " << b << ": " << s << " (" << why << ")";
  }
}

TEST(CliJsonText, KeepsOrderNumberFormsAndRowLayout) {
  const Json row_a = {{"b", 1}, {"a", "x"}};  // keys stay in the order they were added
  const Json row_b = {{"k\"ey", "Z\xfcrich"}};
  struct Case {
    Json value;
    JsonLayout layout;
    std::string out;
  };
  const Case cases[] = {
      {Json::array({row_a, row_b}), JsonLayout::kCompact,
       R"([{"b":1,"a":"x"},{"k\"ey":"Z\ufffdrich"}])"},
      {Json::array({row_a, row_b}), JsonLayout::kRowsOnLines,
       "[\n {\"b\":1,\"a\":\"x\"},\n {\"k\\\"ey\":\"Z\\ufffdrich\"}\n]"},
      {{{"rows", Json::array()}, {"names", {"p", "q", "r"}}},
       JsonLayout::kRowsOnLines,
       R"({"rows":[],"names":["p","q","r"]})"},
      // Fixed decimals and the database's decimal form survive; what is not finite is null.
      {Json::array({JsonFixed(1, 6), JsonFixed(-1.5, 2), JsonFixed(std::nan(""), 2),
                    JsonFixed(HUGE_VAL, 2), JsonDecimal(2), JsonDecimal(2.53),
                    JsonDecimal(0.00001)}),
       JsonLayout::kCompact, "[1.000000,-1.50,null,null,2,2.53,0.00001]"},
      // Ids and numbers kept as text; an empty or broken one is null.
      {Json::array({JsonInteger("1360"), JsonInteger("-21"), JsonInteger(""), JsonInteger("12a")}),
       JsonLayout::kCompact, "[1360,-21,null,null]"},
  };
  for (const Case& c : cases) {
    const std::string text = JsonText(c.value, c.layout);
    EXPECT_EQ(text, c.out);
    std::string why;
    EXPECT_TRUE(IsValidJson(text, &why)) << text << " (" << why << ")";
  }
}

TEST(CliTextTable, AlignsByCharactersNotBytes) {
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Length("abc"), 3u);
  EXPECT_EQ(Utf8Length("Šťúr"), 4u);     // two-byte letters
  EXPECT_EQ(Utf8Length("İdman €"), 7u);  // two- and three-byte characters
  EXPECT_EQ(Utf8Length("🏆 cup"), 5u);    // a four-byte character

  TextTable t;
  t.AddColumn("Team");
  t.AddColumn("Pts", TextTable::Align::kRight);
  t.AddRow({"Žilina", "7"});
  t.AddRow({"Brøndby İdman", "12"});
  t.AddRow({"Ajax", ""});  // an empty right-aligned last cell leaves no trailing blanks
  std::ostringstream out;
  t.Print(out);
  EXPECT_EQ(out.str(),
            "Team           Pts\n"
            "-------------  ---\n"
            "Žilina           7\n"
            "Brøndby İdman   12\n"
            "Ajax\n");
}

// Renames a team of the demo's week through the `sql` command and checks the command succeeded.
void Rename(const DemoHome& home, const std::string& from, const std::string& to) {
  const CliResult r = home.Run(
      {"sql", "UPDATE MUZSTVA SET NAZOV_EN=\"" + to + "\" WHERE NAZOV_EN=\"" + from + "\""});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  ASSERT_EQ(r.out, "1 row changed\n");
}

TEST(CliTeamNames, ReachJsonEscapedAndTablesAligned) {
  DemoHome home;
  // "" inside a dialect text literal is one quote; the other characters pass as they are.
  Rename(home, "TJ Kysany",
         "Quote \"\"q\"\" back\\slash\ttab\nline\x01"
         "end");
  Rename(home, "ŠK Brezany", "Ľudovít Šťastný Ďumbier Žilinský Čučoriedka");

  const std::vector<std::string> json_args{"tips", "week", "--json"};
  const CliResult json = home.Run(json_args);
  ASSERT_EQ(json.exit_code, 0) << json.err;
  std::string why;
  EXPECT_TRUE(IsValidJson(json.out, &why)) << why;
  EXPECT_NE(json.out.find(R"("DOMACI":"Quote \"q\" back\\slash\ttab\nline\u0001end")"),
            std::string::npos)
      << json.out.substr(0, 600);
  EXPECT_NE(json.out.find(R"("HOSTIA":"Ľudovít Šťastný Ďumbier Žilinský Čučoriedka")"),
            std::string::npos);
  ExpectGolden("team_names_json.txt", DemoHome::Transcript(json_args, json));

  // The table: the team without control characters is the widest of its column, and the last
  // column is right-aligned, so every line has the same number of characters (not bytes).
  Rename(home,
         "Quote \"\"q\"\" back\\slash\ttab\nline\x01"
         "end",
         "TJ Kysany");
  const std::vector<std::string> text_args{"tips", "week"};
  const CliResult text = home.Run(text_args);
  ASSERT_EQ(text.exit_code, 0) << text.err;
  const std::vector<std::string> lines = Lines(text.out);
  ASSERT_GT(lines.size(), 4u);
  const size_t width = Utf8Length(lines[1]);
  bool bytes_differ = false;
  for (size_t i = 1; i < lines.size(); ++i) {
    EXPECT_EQ(Utf8Length(lines[i]), width) << lines[i];
    bytes_differ = bytes_differ || lines[i].size() != lines[1].size();
  }
  EXPECT_TRUE(bytes_differ) << "the table should hold names whose bytes outnumber their letters";
  EXPECT_NE(text.out.find("Ľudovít Šťastný Ďumbier Žilinský Čučoriedka  "), std::string::npos);
  ExpectGolden("team_names_table.txt", DemoHome::Transcript(text_args, text));
}

TEST(CliTeamNames, BrokenUtf8ComesOutAsReplacementCharacters) {
  DemoHome home;
  // A Latin-1 byte and a three-byte sequence cut short, as an old file in another encoding
  // leaves them.
  Rename(home, "US Pianlina", "Z\xfcrich \xe2\x82 end");
  const CliResult r = home.Run({"tips", "week", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find(R"("DOMACI":"Z\ufffdrich \ufffd\ufffd end")"), std::string::npos)
      << r.out.substr(0, 600);
  Json rows;
  ASSERT_NO_THROW(rows = Json::parse(r.out)) << r.out.substr(0, 600);
  ASSERT_TRUE(rows.is_array());
  EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const Json& row) {
    return row.value("DOMACI", "") == "Z\uFFFDrich \uFFFD\uFFFD end";
  }));
}

}  // namespace
}  // namespace morvela::test
