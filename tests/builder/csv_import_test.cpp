#include "builder/csv_import.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "fixture_db.h"

namespace morvela {
namespace {

using ::testing::HasSubstr;

constexpr const char* kUniformHeader =
    "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,OddsH,OddsD,OddsA,OddsOver25,"
    "OddsUnder25\n";
constexpr const char* kBookmakerHeader =
    "Div,Date,Time,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,Referee,B365H,B365D,B365A,PSH,"
    "PSD,PSA,AvgH,AvgD,AvgA,B365>2.5,B365<2.5,Avg>2.5,Avg<2.5\n";

// A fresh database and a folder for the CSV files of one test.
class Importing {
 public:
  // Writes `content` to `name` (folders created) and returns the file's path.
  std::string Write(const std::string& name, const std::string& content) {
    const auto path = files_.Path() / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  ImportReport Import(const std::vector<std::string>& paths, const ImportOptions& options = {}) {
    return ImportCsv(db_.conn(), paths, options);
  }
  // Rows of a query as "a|b|c" lines; NULL shows as "-".
  std::string Dump(const std::string& sql) { return test::DumpRows(db_.conn(), sql); }
  void Native(const std::string& sql) { db_.conn().ExecuteNative(sql); }
  int64_t Count(const std::string& table) {
    Query q(db_.conn());
    q.Open("SELECT COUNT(*) AS N FROM " + table);
    return q.FieldByName("N").AsInteger();
  }
  // Every imported value of every table, to see that nothing changed.
  std::string Snapshot() {
    return Dump("SELECT * FROM SUTAZ ORDER BY ID") + Dump("SELECT * FROM MUZSTVA ORDER BY ID") +
           Dump("SELECT * FROM SUTAZ_MUZSTVA ORDER BY ID_SUTAZ,ID_MUZSTVO") +
           Dump("SELECT * FROM VYSLEDKY ORDER BY ID") + Dump("SELECT * FROM KURZY ORDER BY ID");
  }

  test::FixtureDb db_;
  test::TempDir files_;
};

std::string JoinedErrors(const ImportReport& r) {
  std::string s;
  for (const std::string& e : r.errors) s += e + "\n";
  return s;
}

constexpr const char* kMatchColumns =
    "SELECT DATUM,HOME_GOAL,AWAY_GOAL,VYSLEDOK,HT_HOME_GOAL,HT_AWAY_GOAL,HT_VYSLEDOK,"
    "SHT_HOME_GOAL,SHT_AWAY_GOAL,SHT_VYSLEDOK,KONTUMACIA FROM VYSLEDKY ORDER BY ID";
constexpr const char* kOddsColumns =
    "SELECT KURZ1,KURZX,KURZ2,OVER,UNDER,HT_KURZ1,SHT_KURZ12 FROM KURZY ORDER BY ID";

TEST(CsvImport, ReadsBothLayouts) {
  struct Case {
    const char* what;
    const char* file;
    std::string content;
    const char* match;        // kMatchColumns
    const char* odds;         // kOddsColumns
    const char* competition;  // ID_LIGA|ROCNIK|ID_POR
  };
  const Case cases[] = {
      {"uniform layout", "en/2023-24.csv",
       std::string(kUniformHeader) +
           "E0,11/08/2023,Burnley,Man City,0,3,A,0,2,A,11,6.3,1.28,1.56,2.5\n",
       "11.08.2023|0|3|2|0|2|2|0|1|2|False\n", "11|6,3|1,28|1,56|2,5|-|-\n", "4|Active|2023\n"},
      {"bookmaker columns: the market average first", "mmz/D1.csv",
       std::string(kBookmakerHeader) +
           "D1,16/08/2019,19:30,Bayern Munich,Hertha,2,2,D,1,2,A,X,1.14,8.5,17,1.15,9,19,1.13,"
           "8.6,17.5,1.25,4.0,1.24,4.1\n",
       "16.08.2019|2|2|0|1|2|2|1|0|1|False\n", "1,13|8,6|17,5|1,24|4,1|-|-\n", "6|Active|2019\n"},
      {"incomplete average: Bet365", "mmz/D1.csv",
       std::string(kBookmakerHeader) +
           "D1,16/08/2019,19:30,Bayern Munich,Hertha,2,2,D,1,2,A,X,1.14,8.5,17,1.15,9,19,,8.6,"
           "17.5,1.25,4.0,,4.1\n",
       "16.08.2019|2|2|0|1|2|2|1|0|1|False\n", "1,14|8,5|17|1,25|4|-|-\n", "6|Active|2019\n"},
      {"no half-time score, two-digit year, no over/under odds", "at/2012-13.csv",
       std::string(kUniformHeader) +
           "AUT,21/07/12,Mattersburg,Neustadt,2,0,H,,,,1.77,3.51,4.33,,\n",
       "21.07.2012|2|0|1|-|-|-|-|-|-|False\n", "1,77|3,51|4,33|-|-|-|-\n", "1|Active|2012\n"},
      {"country and season columns, short team columns", "new/all.csv",
       "Country,League,Season,Date,Time,Home,Away,HG,AG,Res,PH,PD,PA,AvgH,AvgD,AvgA\n"
       "Russia,Premier League,2019/2020,22/07/2020,17:00,Zenit,Krasnodar,2,1,H,1.5,4.0,6.5,1.45,"
       "4.1,6.9\n",
       "22.07.2020|2|1|1|-|-|-|-|-|-|False\n", "1,45|4,1|6,9|-|-|-|-\n", "14|Active|2019\n"},
      {"new leagues' layout: closing averages over Pinnacle's closing and the maximum",
       "new/AUT.csv",
       "Country,League,Season,Date,Time,Home,Away,HG,AG,Res,PSCH,PSCD,PSCA,MaxCH,MaxCD,MaxCA,"
       "AvgCH,AvgCD,AvgCA\n"
       "Austria,Bundesliga,2024/2025,02/08/2024,19:30,Salzburg,Rapid,2,1,H,1.5,4.2,6.6,1.6,4.5,"
       "7.5,1.48,4.1,6.2\n",
       "02.08.2024|2|1|1|-|-|-|-|-|-|False\n", "1,48|4,1|6,2|-|-|-|-\n", "1|Active|2024\n"},
      {"a season labelled with one year", "new/RUS.csv",
       "Country,League,Season,Date,Time,Home,Away,HG,AG,Res,PSCH,PSCD,PSCA\n"
       "Russia,Premier League,2011,12/03/2011,15:00,Zenit,Spartak,1,1,D,2.1,3.2,3.9\n",
       "12.03.2011|1|1|0|-|-|-|-|-|-|False\n", "2,1|3,2|3,9|-|-|-|-\n", "14|Active|2011\n"},
      {"a fixture: empty full-time goals", "en/2024-25.csv",
       std::string(kUniformHeader) + "E0,20/05/2025,Arsenal,Chelsea,,,,,,,2.1,3.4,3.3,,\n",
       "20.05.2025|-|-|-|-|-|-|-|-|-|False\n", "2,1|3,4|3,3|-|-|-|-\n", "4|Active|2024\n"},
      {"no odds: no odds row", "en/2024-25.csv",
       std::string(kUniformHeader) + "E0,20/05/2025,Arsenal,Chelsea,1,0,H,1,0,H,,,,,\n",
       "20.05.2025|1|0|1|1|0|1|0|0|0|False\n", "", "4|Active|2024\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Importing t;
    const ImportReport r = t.Import({t.Write(c.file, c.content)});
    EXPECT_EQ(JoinedErrors(r), "");
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].inserted, 1);
    EXPECT_EQ(t.Dump(kMatchColumns), c.match);
    EXPECT_EQ(t.Dump(kOddsColumns), c.odds);
    EXPECT_EQ(t.Dump("SELECT ID_LIGA,ROCNIK,ID_POR FROM SUTAZ"), c.competition);
    // One club row per team with its name in all four languages, and both in the season.
    EXPECT_EQ(t.Count("MUZSTVA WHERE NAZOV=NAZOV_EN AND NAZOV=NAZOV_DE AND NAZOV=NAZOV_IT"), 2);
    EXPECT_EQ(t.Count("SUTAZ_MUZSTVA"), 2);
  }
}

TEST(CsvImport, DerivesDoubleChanceOdds) {
  struct Case {
    const char* odds;      // OddsH,OddsD,OddsA,OddsOver25,OddsUnder25
    const char* expected;  // KURZ1X|KURZX2|KURZ12: 1 / (1/x + 1/y), two decimals
  };
  const Case cases[] = {
      {"2.0,3.4,3.8,,", "1,26|1,79|1,31\n"},  // 1.2593, 1.7944, 1.3103
      {"1.28,6.3,11,,", "1,06|4,01|1,15\n"},  // 1.0639, 4.0058, 1.1466
      {"1.5,4,6.5,,", "1,09|2,48|1,22\n"},    // 1.0909, 2.4762, 1.21875
      {",,,1.9,1.95", "-|-|-\n"},             // over/under only: nothing to derive
      {"1.0,3.4,3.8,1.9,1.95", "-|-|-\n"},    // odds of 1.0 or less count as missing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.odds);
    Importing t;
    t.Import({t.Write("en/2023-24.csv", std::string(kUniformHeader) +
                                            "E0,11/08/2023,A,B,0,3,A,0,2,A," + c.odds + "\n")});
    EXPECT_EQ(t.Dump("SELECT KURZ1X,KURZX2,KURZ12 FROM KURZY"), c.expected);
  }
}

TEST(CsvImport, ReportsAndSkipsBadRows) {
  const std::string good = "E0,01/09/2023,A,B,1,0,H,0,0,D,2,3,4,1.9,1.9\n";
  struct Case {
    const char* row;
    const char* message;
  };
  const Case cases[] = {
      {"E0,31/02/2023,C,D,1,0,H,0,0,D,,,,,", "malformed date '31/02/2023'"},
      {"E0,2023/09/02,C,D,1,0,H,0,0,D,,,,,", "malformed date '2023/09/02'"},
      {"E0,02/09/2023,C,D,x,0,H,0,0,D,,,,,", "malformed score 'x'-'0'"},
      {"E0,02/09/2023,C,D,1,,H,0,0,D,,,,,", "malformed score '1'-''"},
      {"E0,02/09/2023,C,D,-1,0,H,0,0,D,,,,,", "malformed score '-1'-'0'"},
      {"E0,02/09/2023,C,D,1,0,H,0,a,D,,,,,", "malformed half-time score '0'-'a'"},
      {"E0,02/09/2023,C,D,1,0,H,2,0,H,,,,,", "half-time score 2-0 does not fit"},
      {"E0,02/09/2023,,D,1,0,H,0,0,D,,,,,", "a team name is missing"},
      {"E0,02/09/2023,C,c,1,0,H,0,0,D,,,,,", "home and away team are the same"},
      {"E1,02/09/2023,C,D,1,0,H,0,0,D,,,,,", "unknown league 'E1'"},
      {"E0,01/09/2023,A,B,1,0,H,0,0,D,2,3,4,1.9,1.9", "already on line 2"},
      {"E0,01/09/2023,a,b,2,0,H,0,0,D,,,,,", "already on line 2"},  // names ignore case
      {"E0,02/09/2023,C", "has 3 fields"},
      {"E0,02/09/2021,C,D,1,0,H,0,0,D,,,,,", "lies outside season 2023/2024"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    Importing t;
    const std::string file =
        t.Write("en/2023-24.csv", std::string(kUniformHeader) + good + c.row + "\n,,,,\n");
    const ImportReport r = t.Import({file});
    ASSERT_EQ(r.errors.size(), 1u) << JoinedErrors(r);
    EXPECT_THAT(r.errors[0], HasSubstr(file + ":3: "));
    EXPECT_THAT(r.errors[0], HasSubstr(c.message));
    EXPECT_EQ(r.files[0].rows, 2);  // the line of bare commas is no row
    EXPECT_EQ(r.files[0].inserted, 1);
    EXPECT_EQ(r.files[0].skipped, 1);
    EXPECT_EQ(t.Count("VYSLEDKY"), 1);
  }
}

TEST(CsvImport, RejectsFilesItCannotRead) {
  struct Case {
    const char* what;
    const char* file;
    const char* content;
    const char* message;
  };
  const Case cases[] = {
      {"missing column", "en/2023-24.csv",
       "Div,Date,HomeTeam,AwayTeam,FTHG,HTHG\nE0,01/09/2023,A,B,1,0\n",
       ":1: missing column(s) FTAG"},
      {"missing columns", "en/2023-24.csv", "Div,Team,Other,FTHG,FTAG\nE0,A,B,1,0\n",
       ":1: missing column(s) Date, HomeTeam, AwayTeam"},
      {"empty file", "en/2023-24.csv", "", ":1: no header line"},
      {"no league anywhere", "misc/2023-24.csv",
       "Date,HomeTeam,AwayTeam,FTHG,FTAG\n01/09/2023,A,B,1,0\n",
       ":1: no Div column, and neither the file nor its folder names a league"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Importing t;
    const std::string bad = t.Write(c.file, c.content);
    const std::string good = t.Write(
        "de/2023-24.csv", std::string(kUniformHeader) + "D1,01/09/2023,A,B,1,0,H,,,,,,,,\n");
    const ImportReport r = t.Import({bad, good});
    ASSERT_EQ(r.errors.size(), 1u) << JoinedErrors(r);
    EXPECT_EQ(r.errors[0].rfind(bad, 0), 0u) << r.errors[0];
    EXPECT_THAT(r.errors[0], HasSubstr(c.message));
    EXPECT_TRUE(r.files[0].rejected);
    EXPECT_FALSE(r.files[1].rejected);
    EXPECT_EQ(t.Dump("SELECT ID_LIGA FROM SUTAZ"), "6\n");
    EXPECT_EQ(t.Count("VYSLEDKY"), 1);
  }
}

TEST(CsvImport, ConvertsLatin1Names) {
  struct Case {
    const char* what;
    std::string rows;
    const char* names;  // MUZSTVA.NAZOV_EN by id
    bool note;
  };
  const Case cases[] = {
      {"Latin-1", "D1,01/09/2023,M\xFCnchen,K\xF6ln,1,0,H,,,,,,,,\n",
       "M\xC3\xBCnchen\nK\xC3\xB6ln\n", true},
      {"UTF-8 stays", "D1,01/09/2023,Gen\xC3\xA7lerbirli\xC4\x9Fi,K\xC3\xB6ln,1,0,H,,,,,,,,\n",
       "Gen\xC3\xA7lerbirli\xC4\x9Fi\nK\xC3\xB6ln\n", false},
      {"byte-order mark", "D1,01/09/2023,A,B,1,0,H,,,,,,,,\n", "A\nB\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Importing t;
    const std::string bom = std::string(c.what) == "byte-order mark" ? "\xEF\xBB\xBF" : "";
    const std::string file = t.Write("de/2023-24.csv", bom + kUniformHeader + c.rows);
    const ImportReport r = t.Import({file});
    EXPECT_EQ(JoinedErrors(r), "");
    EXPECT_EQ(t.Dump("SELECT NAZOV_EN FROM MUZSTVA ORDER BY ID"), c.names);
    if (c.note) {
      ASSERT_EQ(r.notes.size(), 1u);
      EXPECT_EQ(r.notes[0], file + ":2: not valid UTF-8; the file is read as Latin-1");
    } else {
      EXPECT_TRUE(r.notes.empty());
    }
  }
}

// The encoding is chosen for a file as a whole and the damage is dealt with per line.
TEST(CsvImport, DecodesTextLineByLine) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* encoding;  // empty when refused
    std::vector<int> invalid_lines;
    std::string text;  // the UTF-8 text, or a part of the refusal
  };
  const std::string utf16le(
      "\xFF\xFE"
      "A\0\xFC\0\n\0B\0",
      10);
  const std::string utf16be(
      "\xFE\xFF"
      "\0A\0\xFC\0\n\0B",
      10);
  const Case cases[] = {
      {"ASCII", "a\nb\n", "UTF-8", {}, "a\nb\n"},
      {"one bad byte among UTF-8 lines stays UTF-8",
       "K\xC3\xB6ln\nM\xC3\xBCnchen\nBad \xFF\nN\xC3\xBCrnberg\n",
       "UTF-8",
       {3},
       "K\xC3\xB6ln\nM\xC3\xBCnchen\nBad \xEF\xBF\xBD\nN\xC3\xBCrnberg\n"},
      {"mostly not UTF-8 is Latin-1",
       "M\xFCnchen\nK\xF6ln\nA\n",
       "Latin-1",
       {},
       "M\xC3\xBCnchen\nK\xC3\xB6ln\nA\n"},
      {"CR-only lines are counted as lines",
       "a\rK\xC3\xB6ln\rx\xFF\rK\xC3\xB6ln\r",
       "UTF-8",
       {3},
       "a\rK\xC3\xB6ln\rx\xEF\xBF\xBD\rK\xC3\xB6ln\r"},
      {"UTF-16 little endian", utf16le, "UTF-16LE", {}, "A\xC3\xBC\nB"},
      {"UTF-16 big endian", utf16be, "UTF-16BE", {}, "A\xC3\xBC\nB"},
      {"UTF-16 with a lone surrogate",
       std::string("\xFF\xFE"
                   "A\0\n\0\x00\xD8",
                   8),
       "UTF-16LE",
       {2},
       "A\n\xEF\xBF\xBD"},
      {"UTF-32 is refused", std::string("\xFF\xFE\0\0A\0\0\0", 8), "", {}, "UTF-32"},
      {"NUL bytes without a mark are refused", std::string("A\0B\0", 4), "", {}, "NUL bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const DecodedText d = DecodeToUtf8(c.bytes);
    if (std::string(c.encoding).empty()) {
      EXPECT_THAT(d.refused, HasSubstr(c.text));
      continue;
    }
    EXPECT_EQ(d.refused, "");
    EXPECT_EQ(d.encoding, c.encoding);
    EXPECT_EQ(d.invalid_lines, c.invalid_lines);
    EXPECT_EQ(d.text, c.text);
  }
}

// A UTF-8 file with one broken byte: that row is skipped with its line, every other club keeps
// its proper name (no Latin-1 doubles of clubs already stored).
TEST(CsvImport, OneInvalidByteSkipsOnlyItsRow) {
  Importing t;
  const std::string rows =
      "D1,01/09/2023,M\xC3\xBCnchen,K\xC3\xB6ln,1,0,H,,,,,,,,\n"
      "D1,08/09/2023,K\xC3\xB6ln,M\xC3\xBCnchen,2,2,D,,,,,,,,\n"
      "D1,15/09/2023,K\xC3\xB6ln,Gie\xDF"
      "en,0,1,A,,,,,,,,\n"
      "D1,22/09/2023,N\xC3\xBCrnberg,K\xC3\xB6ln,3,1,H,,,,,,,,\n";
  const std::string first = t.Write("de/2023-24.csv", std::string(kUniformHeader) + rows);
  ImportReport r = t.Import({first});
  EXPECT_EQ(JoinedErrors(r), first + ":4: not valid UTF-8 text; row skipped\n");
  EXPECT_EQ(r.Inserted(), 3);
  EXPECT_EQ(t.Dump("SELECT NAZOV_EN FROM MUZSTVA ORDER BY ID"),
            "M\xC3\xBCnchen\nK\xC3\xB6ln\nN\xC3\xBCrnberg\n");
  // The same file again finds every match it stored.
  r = t.Import({first});
  EXPECT_EQ(r.Inserted(), 0);
  EXPECT_EQ(t.Count("MUZSTVA"), 3);
}

// CR-only, CR LF and LF files give the same rows; a huge bad value is quoted cut short.
TEST(CsvImport, LineEndsAndLongValues) {
  for (const char* end : {"\n", "\r\n", "\r"}) {
    SCOPED_TRACE(end[0] == '\r' && !end[1] ? "CR" : end[0] == '\r' ? "CR LF" : "LF");
    Importing t;
    std::string text = "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG";
    for (const char* row : {"E0,01/09/2023,A,B,1,0", "E0,02/09/2023,B,C,0,0"})
      text += std::string(end) + row;
    const ImportReport r = t.Import({t.Write("E0.csv", text + end)});
    EXPECT_EQ(JoinedErrors(r), "");
    EXPECT_EQ(r.Inserted(), 2);
  }
  Importing t;
  const std::string huge(1 << 20, 'x');
  const std::string file = t.Write("E0.csv", "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG\nE0," + huge +
                                                 ",A,B,1,0\nE0,01/09/2023,A," + huge + ",1,0\n");
  const ImportReport r = t.Import({file});
  ASSERT_EQ(r.errors.size(), 2u);
  for (const std::string& e : r.errors) {
    EXPECT_LT(e.size(), file.size() + 200) << e.substr(0, 300);
    EXPECT_THAT(e, HasSubstr("x...' (1048576 bytes)"));
  }
}

// Changed leagues are marked for a replay with the rows, also in a database made before the
// marks existed; a file that changes nothing marks nothing.
TEST(CsvImport, MarksChangedLeaguesForAReplay) {
  Importing t;
  const std::string file =
      t.Write("E0_2023-24.csv", "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG\nE0,01/09/2023,A,B,1,0\n");
  t.Native("DROP TABLE REPLAY_PENDING");
  t.Native("DROP TABLE DB_ORIGIN");
  ImportReport r = t.Import({file});
  EXPECT_EQ(JoinedErrors(r), "");
  EXPECT_EQ(t.Dump("SELECT REPLAY_PENDING.ID_SUTAZ,SUTAZ.ID_LIGA FROM REPLAY_PENDING INNER JOIN "
                   "SUTAZ ON SUTAZ.ID=REPLAY_PENDING.ID_SUTAZ"),
            "1|4\n");
  t.Native("DELETE FROM REPLAY_PENDING");
  r = t.Import({file});
  EXPECT_EQ(t.Count("REPLAY_PENDING"), 0);
}

TEST(CsvImport, ReimportChangesNothing) {
  Importing t;
  const std::string file =
      t.Write("en/2023-24.csv", std::string(kUniformHeader) +
                                    "E0,01/09/2023,A,B,1,0,H,0,0,D,2,3,4,1.9,1.9\n"
                                    "E0,02/09/2023,C,D,2,2,D,,,,2,3,4,,\n"
                                    "E0,03/09/2023,A,C,,,,,,,2.5,3.1,2.9,,\n");
  const ImportReport first = t.Import({file});
  EXPECT_EQ(first.files[0].inserted, 3);
  EXPECT_EQ(first.changed_leagues, std::set<int>{4});
  const std::string before = t.Snapshot();
  const auto changes = [&] {
    return t.db_.conn().Select("SELECT total_changes()").rows.at(0).at(0);
  };
  const Cell changes_before = changes();

  const ImportReport again = t.Import({file});
  EXPECT_EQ(again.files[0].inserted, 0);
  EXPECT_EQ(again.files[0].updated, 0);
  EXPECT_EQ(again.files[0].unchanged, 3);
  EXPECT_TRUE(again.changed_leagues.empty());
  EXPECT_EQ(t.Snapshot(), before);
  EXPECT_EQ(changes(), changes_before) << "the second import wrote rows";
}

TEST(CsvImport, NewerFileAddsAndUpdates) {
  Importing t;
  t.Import({t.Write("en/2023-24.csv", std::string(kUniformHeader) +
                                          "E0,01/09/2023,A,B,1,0,H,0,0,D,2,3,4,1.9,1.9\n"
                                          "E0,02/09/2023,C,D,2,2,D,1,1,D,2,3,4,1.9,1.9\n"
                                          "E0,03/09/2023,E,F,,,,,,,2,3,4,,\n"
                                          "E0,04/09/2023,G,H,1,1,D,0,0,D,2,3,4,1.9,1.9\n")});
  const ImportReport r = t.Import(
      {t.Write("later/update.csv", std::string(kUniformHeader) +
                                       "E0,01/09/2023,A,B,2,0,H,1,0,H,,,,,\n"    // score
                                       "E0,02/09/2023,C,D,2,2,D,,,,2.1,3,4,,\n"  // odds
                                       "E0,03/09/2023,E,F,3,1,H,,,,,,,,\n"       // result
                                       "E0,04/09/2023,G,H,,,,,,,,,,,\n"          // nothing
                                       "E0,05/09/2023,I,J,0,0,D,0,0,D,2,3,4,1.9,1.9\n")});  // new
  EXPECT_EQ(JoinedErrors(r), "");
  EXPECT_EQ(r.files[0].inserted, 1);
  EXPECT_EQ(r.files[0].updated, 3);
  EXPECT_EQ(r.files[0].unchanged, 1);
  EXPECT_EQ(t.Dump("SELECT HOME_GOAL,AWAY_GOAL,VYSLEDOK,HT_HOME_GOAL,HT_AWAY_GOAL,SHT_HOME_GOAL,"
                   "SHT_AWAY_GOAL,SHT_VYSLEDOK FROM VYSLEDKY ORDER BY ID"),
            "2|0|1|1|0|1|0|1\n"  // corrected score, its halves derived anew
            "2|2|0|1|1|1|1|0\n"  // same score: the stored half-time score stays
            "3|1|1|-|-|-|-|-\n"  // the fixture's result
            "1|1|0|0|0|1|1|0\n"  // a fixture row does not erase a result
            "0|0|0|0|0|0|0|0\n");
  // New odds replace the stored ones, with the double chance derived anew; missing odds
  // never erase stored ones.
  EXPECT_EQ(t.Dump("SELECT KURZ1,KURZ1X,OVER FROM KURZY ORDER BY ID"),
            "2|1,2|1,9\n2,1|1,24|1,9\n2|1,2|-\n2|1,2|1,9\n2|1,2|1,9\n");
  EXPECT_EQ(t.Count("SUTAZ"), 1);
}

// A fixture and its result a day apart are one match; rows of leagues outside the chosen ones,
// and unknown divisions of a fixture list, are passed over without a message.
TEST(CsvImport, AFixtureBecomesItsResult) {
  Importing t;
  ImportOptions only_england;
  only_england.only_leagues = {4};
  const ImportReport fixtures = t.Import(
      {t.Write("fixtures.csv", std::string(kBookmakerHeader) +
                                   "E0,14/03/2025,20:00,A,B,,,,,,,,,,,,,,2,3.4,3.8,1.9,1.9,,\n"
                                   "E0,15/03/2025,15:00,C,D,,,,,,,,,,,,,,2.5,3.3,2.9,,,,\n"
                                   "E1,15/03/2025,15:00,X,Y,,,,,,,,,,,,,,2,3,4,,,,\n"
                                   "D1,15/03/2025,15:00,V,W,,,,,,,,,,,,,,2,3,4,,,,\n")},
      only_england);
  EXPECT_EQ(JoinedErrors(fixtures), "");
  EXPECT_EQ(fixtures.files[0].ignored, 2);
  EXPECT_EQ(fixtures.files[0].fixtures, 2);
  EXPECT_EQ(fixtures.leagues.at(4).fixtures, 2);
  // A, B played a day later than listed; C, D on its day; the fixture list, fetched again
  // before it drops the match, lists C, D a day off once more.
  const ImportReport results =
      t.Import({t.Write("en/2024-25.csv", std::string(kUniformHeader) +
                                              "E0,15/03/2025,A,B,1,0,H,0,0,D,2.1,3.3,3.7,1.8,2.0\n"
                                              "E0,15/03/2025,C,D,0,2,A,0,1,A,,,,,\n"),
                t.Write("again/fixtures.csv",
                        std::string(kUniformHeader) + "E0,16/03/2025,C,D,,,,,,,9,9,9,,\n")},
               only_england);
  EXPECT_EQ(JoinedErrors(results), "");
  EXPECT_EQ(results.Inserted(), 0);
  EXPECT_EQ(results.files[0].updated, 2);
  EXPECT_EQ(results.files[1].unchanged, 1);
  EXPECT_EQ(t.Dump("SELECT DATUM,HOME_GOAL,AWAY_GOAL,KURZ1,KURZ1X FROM VYSLEDKY INNER JOIN KURZY "
                   "ON KURZY.ID=VYSLEDKY.ID ORDER BY VYSLEDKY.ID"),
            "15.03.2025|1|0|2,1|1,28\n"    // moved to the day it was played, the result's odds
            "15.03.2025|0|2|2,5|1,42\n");  // the fixture's odds stay; no 9s from the late list
  // Two played matches of one pairing a day apart stay two.
  t.Import(
      {t.Write("en/extra.csv", std::string(kUniformHeader) + "E0,16/03/2025,A,B,2,2,D,,,,,,,,\n")});
  EXPECT_EQ(t.Count("VYSLEDKY"), 3);
}

TEST(CsvImport, AssignsSeasons) {
  struct Case {
    const char* file;
    const char* date;
    int season;
  };
  const Case cases[] = {
      {"en/results.csv", "15/08/2019", 2019},
      {"en/results.csv", "30/06/2020", 2019},
      {"en/results.csv", "01/07/2020", 2020},
      {"en/2019-20.csv", "26/07/2020", 2019},  // a season extended into the summer
      {"en/E0_2019-2020.csv", "01/08/2019", 2019},
      {"en/2019_20.csv", "01/06/2020", 2019},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.date);
    Importing t;
    const ImportReport r = t.Import(
        {t.Write(c.file, std::string(kUniformHeader) + "E0," + c.date + ",A,B,1,0,H,,,,,,,,\n")});
    EXPECT_EQ(JoinedErrors(r), "");
    EXPECT_EQ(t.Dump("SELECT ID_POR FROM SUTAZ"), std::to_string(c.season) + "\n");
  }
}

TEST(CsvImport, LabelsNewestSeasonActive) {
  Importing t;
  struct Step {
    const char* file;
    const char* labels;  // ID_POR|ROCNIK|POCET by season
  };
  const Step steps[] = {
      {"en/2019-20.csv", "2019|Active|2\n"},
      {"en/2021-22.csv", "2019|2019/2020|2\n2021|Active|2\n"},
      {"en/2020-21.csv", "2019|2019/2020|2\n2020|2020/2021|2\n2021|Active|2\n"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.file);
    const std::string year(s.file + 3, 4);
    t.Import({t.Write(s.file,
                      std::string(kUniformHeader) + "E0,01/09/" + year + ",A,B,1,0,H,,,,,,,,\n")});
    EXPECT_EQ(t.Dump("SELECT ID_POR,ROCNIK,POCET FROM SUTAZ ORDER BY ID_POR"), s.labels);
  }
}

TEST(CsvImport, DefaultZoneLimits) {
  struct Case {
    int league, teams;
    int lm, el, baraz, vyp;
  };
  const Case cases[] = {
      {4, 20, 4, 7, 0, 18},    // England: three relegated
      {6, 18, 4, 7, 16, 17},   // Germany: play-off place 16, two relegated
      {10, 12, 2, 4, 11, 12},  // Scotland
      {4, 2, 2, 0, 0, 0},      // too few teams for the lower zones
      {4, 8, 4, 7, 0, 0},      // relegation would overlap the European places
      {21, 20, 0, 0, 0, 0},    // no such league
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.league) + "/" + std::to_string(c.teams));
    const ZoneLimits z = DefaultZoneLimits(c.league, c.teams);
    EXPECT_EQ(z.lm, c.lm);
    EXPECT_EQ(z.el, c.el);
    EXPECT_EQ(z.baraz, c.baraz);
    EXPECT_EQ(z.vyp, c.vyp);
  }
}

TEST(CsvImport, AliasesChainAClubsSeasons) {
  Importing t;
  const std::string aliases =
      t.Write("aliases.csv",
              "cc,Div,name_footystats_style,name_football_data,matched_matches,overlap_matches\n"
              "en,E0,Manchester United,Man United,7,7\n"
              "de,D1,Man Utd,Somebody Else,3,3\n");
  ImportOptions options;
  options.aliases = TeamAliases::Load(aliases);
  EXPECT_EQ(options.aliases.Size(), 2u);
  const ImportReport r = t.Import(
      {t.Write("en/2021-22.csv", std::string(kUniformHeader) +
                                     "E0,01/09/2021,Man United,Arsenal,1,0,H,,,,,,,,\n"
                                     "E0,02/09/2021,Leeds,Burnley,1,0,H,,,,,,,,\n"),
       t.Write("en/2022-23.csv",
               std::string(kUniformHeader) + "E0,01/09/2022,Man Utd,Arsenal,1,0,H,,,,,,,,\n"),
       t.Write("en/2023-24.csv", std::string(kUniformHeader) +
                                     "E0,01/09/2023,Manchester United,Arsenal,1,0,H,,,,,,,,\n"
                                     "E0,02/09/2023,Luton,Arsenal,1,0,H,,,,,,,,\n")},
      options);
  EXPECT_EQ(t.Dump("SELECT MUZSTVA.NAZOV_EN AS NAME,COUNT(*) AS SEASONS FROM MUZSTVA INNER JOIN "
                   "SUTAZ_MUZSTVA ON SUTAZ_MUZSTVA.ID_MUZSTVO=MUZSTVA.ID GROUP BY MUZSTVA.ID "
                   "ORDER BY MUZSTVA.ID"),
            "Man United|2\nArsenal|3\nLeeds|1\nBurnley|1\nMan Utd|1\nLuton|1\n");
  // Clubs of the first or the last season only are ordinary; one in the middle is suspect.
  EXPECT_THAT(r.warnings,
              ::testing::Contains("England: 'Man Utd' appears only in season 2022/2023 (a name "
                                  "variant without an alias?)"));
  EXPECT_EQ(r.warnings.size(), 1u);
}

TEST(CsvImport, RejectsBadAliasFiles) {
  struct Case {
    const char* content;
    const char* message;
  };
  const Case cases[] = {
      {"cc,Div,name_footystats_style,name_football_data\nxx,X9,A,B\n", ":2: unknown league 'xx'"},
      {"cc,Div,name_footystats_style,name_football_data\nen,E0,,B\n", ":2: a name is missing"},
      {"cc,variant\nen,A\n", ":1: an alias file needs the columns"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    test::TempDir dir;
    const std::string path = dir.Folder() + "aliases.csv";
    std::ofstream(path) << c.content;
    try {
      TeamAliases::Load(path);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_THAT(e.what(), HasSubstr(path + c.message));
    }
  }
}

TEST(CsvImport, ReportsClubsWithFewMatches) {
  Importing t;
  std::string rows;
  // Four clubs play each other twice; "Ajax II" appears once as a second name of a club.
  const char* clubs[] = {"A", "B", "C", "D"};
  int day = 1;
  for (const char* h : clubs)
    for (const char* a : clubs)
      if (std::string(h) != a)
        rows += "N1," + std::to_string(day++) + "/09/2023," + h + "," + a + ",1,0,H,,,,,,,,\n";
  rows += "N1,30/09/2023,Ajax II,A,1,0,H,,,,,,,,\n";
  const ImportReport r = t.Import({t.Write("nl/2023-24.csv", kUniformHeader + rows)});
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_EQ(r.warnings[0],
            "Netherlands 2023/2024: 'Ajax II' has 1 matches, most teams 6 (a second name for a "
            "club?)");
}

TEST(CsvImport, FileIsAllOrNothing) {
  Importing t;
  // The database refuses the third club of the second file.
  t.db_.conn().ExecuteNative(
      "CREATE TRIGGER refuse BEFORE INSERT ON MUZSTVA WHEN NEW.NAZOV='Refused' BEGIN "
      "SELECT RAISE(ABORT, 'refused by test'); END");
  const std::string good = t.Write(
      "en/2022-23.csv", std::string(kUniformHeader) + "E0,01/09/2022,A,B,1,0,H,,,,2,3,4,,\n");
  const std::string bad = t.Write("de/2023-24.csv", std::string(kUniformHeader) +
                                                        "D1,01/09/2023,A,B,1,0,H,,,,2,3,4,,\n"
                                                        "D1,02/09/2023,Refused,B,1,0,H,,,,,,,,\n");
  try {
    t.Import({good, bad});
    ADD_FAILURE() << "no error";
  } catch (const DatabaseError& e) {
    EXPECT_THAT(e.what(), HasSubstr(bad + ": not imported: "));
    EXPECT_THAT(e.what(), HasSubstr("refused by test"));
  }
  EXPECT_FALSE(t.db_.conn().InTransaction());
  // The first file stays; of the second nothing at all.
  EXPECT_EQ(t.Dump("SELECT ID_LIGA FROM SUTAZ"), "4\n");
  EXPECT_EQ(t.Dump("SELECT ID_LIGA,NAZOV FROM MUZSTVA ORDER BY ID"), "4|A\n4|B\n");
  EXPECT_EQ(t.Count("VYSLEDKY"), 1);
  EXPECT_EQ(t.Count("KURZY"), 1);
  EXPECT_EQ(t.Count("SUTAZ_MUZSTVA"), 2);
}

TEST(CsvImport, LeagueOverrideAndFileNames) {
  struct Case {
    const char* file;
    std::optional<int> league;
    int expected;
  };
  const char* no_div = "Date,HomeTeam,AwayTeam,FTHG,FTAG\n01/09/2023,A,B,1,0\n";
  const Case cases[] = {
      {"pt/2023-24.csv", std::nullopt, 9},        // folder code
      {"Portugal/2023-24.csv", std::nullopt, 9},  // folder country name
      {"x/P1.csv", std::nullopt, 9},              // file named by its division
      {"pt/2023-24.csv", 12, 12},                 // --league wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Importing t;
    ImportOptions options;
    options.league = c.league;
    const ImportReport r = t.Import({t.Write(c.file, no_div)}, options);
    EXPECT_EQ(JoinedErrors(r), "");
    EXPECT_EQ(t.Dump("SELECT ID_LIGA FROM SUTAZ"), std::to_string(c.expected) + "\n");
  }
}

}  // namespace
}  // namespace morvela
