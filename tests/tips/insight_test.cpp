// The report figures, the value filter, the stored calibration and the past hit rate the tips
// list shows: calibration counts and bank curves of a hand-built history, the leak-freedom of the
// stored table, and the tooltip and export through the tips list model.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include "tips/backtest_report.h"
#include "tips/calibration_store.h"
#include "tips/tips_list.h"
#include "tips/value_tips.h"
#include "tips_test_support.h"

namespace morvela {
namespace {

constexpr double kTolerance = 1e-9;

Date Day(const char* iso) {
  return *ParseIsoDate(iso);
}

BacktestMatch Tip(const char* day, const char* tip, int percent, bool won,
                  std::optional<double> odds, int league = 1, int64_t competition = 11) {
  BacktestMatch m;
  m.date = Day(day);
  m.league = league;
  m.competition = competition;
  m.tip = tip;
  m.tip_percent = percent;
  m.won = won;
  m.odds = odds;
  return m;
}

// Eight matches over three days: single, double-chance, three-way and under/over tips, some
// without odds, and three value-tip bets.
std::vector<BacktestMatch> SmallHistory() {
  std::vector<BacktestMatch> h = {
      Tip("2023-01-01", "  1", 62, true, 1.80),  Tip("2023-01-01", "  1", 64, false, 2.20),
      Tip("2023-01-01", " 10", 77, true, 1.25),  Tip("2023-01-02", "102", 100, true, {}),
      Tip("2023-01-02", " 02", 75, false, 1.40), Tip("2023-01-02", "  2", 55, true, {}),
      Tip("2023-01-03", " < ", 58, true, 1.90),  Tip("2023-01-03", " > ", 100, false, {}),
  };
  h[0].bets = {{"  1", 62, 1.80, 6, true}, {"  2", 20, 5.00, 0, false}};
  h[4].bets = {{" 02", 75, 1.40, 4, false}};
  return h;
}

TEST(BacktestReportTest, CalibrationBankAndRoiOfAHandBuiltHistory) {
  const BacktestReport r = BuildBacktestReport(SmallHistory(), ValueFilter{5});
  auto bucket = [&r](CalibrationKind k, int percent) {
    const HitRecord& h = r.calibration[static_cast<size_t>(k)][FineBucket(percent)];
    return std::pair{h.tips, h.won};
  };
  // Three-way tips stay out; 100 % falls into the top bucket 95-100.
  EXPECT_EQ(bucket(CalibrationKind::kSingle, 60), std::pair(2, 1));
  EXPECT_EQ(bucket(CalibrationKind::kSingle, 55), std::pair(1, 1));
  EXPECT_EQ(bucket(CalibrationKind::kDoubleChance, 75), std::pair(2, 1));
  EXPECT_EQ(bucket(CalibrationKind::kUnderOver, 58), std::pair(1, 1));
  EXPECT_EQ(bucket(CalibrationKind::kUnderOver, 95), std::pair(1, 0));
  int total = 0;
  for (const auto& kind : r.calibration)
    for (const HitRecord& h : kind) total += h.tips;
  EXPECT_EQ(total, 7);

  // One point per day with priced tips, the bank at the end of that day.
  ASSERT_EQ(r.tip_bank.size(), 3u);
  const double banks[] = {0.8 - 1 + 0.25, 0.05 - 1, -0.95 + 0.9};
  const int bets[] = {3, 4, 5};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(r.tip_bank[i].bank, banks[i], kTolerance) << i;
    EXPECT_EQ(r.tip_bank[i].bets, bets[i]) << i;
  }
  EXPECT_EQ(r.tip_bank[2].day, Day("2023-01-03"));
  ASSERT_EQ(r.value_bank.size(), 1u) << "only the bet with PROFIT 6 passes the filter";
  EXPECT_NEAR(r.value_bank[0].bank, 0.8, kTolerance);

  // Odds ranges hold their lower bound: 1.25 and 1.40 in 1.00-1.50, 1.80 and 1.90 in 1.50-2.00.
  EXPECT_EQ(r.tips_by_odds[0].Bets(), 2);
  EXPECT_NEAR(r.tips_by_odds[0].Profit(), -0.75, kTolerance);
  EXPECT_EQ(r.tips_by_odds[1].Bets(), 2);
  EXPECT_NEAR(r.tips_by_odds[1].Profit(), 1.7, kTolerance);
  EXPECT_EQ(r.tips_by_odds[2].Bets(), 1);

  // Thresholds 0, 2, 5, 8: bets with PROFIT 6, 0 and 4.
  const int by_profit[] = {3, 2, 1, 0};
  for (size_t t = 0; t < 4; ++t) EXPECT_EQ(r.value_by_profit[t].Bets(), by_profit[t]) << t;
  EXPECT_NEAR(r.value_by_profit[1].Profit(), -0.2, kTolerance);
  EXPECT_EQ(r.value_grid[0][5].record.Bets(), 1) << "the bet at 5.00 lies in 4.00-6.00";
  EXPECT_FALSE(r.best_filter) << "no cell reaches the smallest number of bets";
}

TEST(BacktestReportTest, BestFilterIsTheCellWithTheHighestRoiAmongTheLargeOnes) {
  std::vector<BacktestMatch> h;
  for (int i = 0; i < kMinFilterBets + 20; ++i) {
    BacktestMatch m = Tip("2023-02-01", "  1", 60, true, {});
    // At 1.60 two of three win (ROI +6.7 %), at 2.20 one of three (-26.7 %), at 9.00 every
    // one of a few wins: the best ROI, but too few bets to count.
    m.bets = {{"  1", 60, 1.60, 10, i % 3 != 0}, {"  2", 30, 2.20, 3, i % 3 == 0}};
    if (i < 10) m.bets.push_back({"  0", 40, 9.00, 30, true});
    h.push_back(m);
  }
  const BacktestReport r = BuildBacktestReport(h, ValueFilter{});
  ASSERT_TRUE(r.best_filter);
  EXPECT_EQ(r.best_filter->min_profit, 0) << "of equal cells the lowest threshold";
  EXPECT_EQ(r.best_filter->odds.Label(), "1.50-2.00");
  EXPECT_EQ(r.best_filter->record.Bets(), kMinFilterBets + 20);
  EXPECT_GT(r.best_filter->record.Roi(), 6);
}

TEST(ValueFilterTest, OddsRangesAndWhatTheFilterAccepts) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* text;
    std::optional<std::pair<double, double>> range;
  };
  const Case cases[] = {
      {"1.5-3", std::pair(1.5, 3.0)},
      {"1,5-3", std::pair(1.5, 3.0)},
      {"2-", std::pair(2.0, kInf)},
      {"-2.5", std::pair(0.0, 2.5)},
      {"2-2", std::nullopt},
      {"3-1.5", std::nullopt},
      {"-", std::nullopt},
      {"1.5", std::nullopt},
      {"a-3", std::nullopt},
      {"1.5-3-4", std::nullopt},
      {"1..5-3", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseOddsRange(c.text), c.range) << c.text;

  const ValueFilter f{5, 1.5, 3.0};
  EXPECT_TRUE(f.Accepts(5, 1.5));
  EXPECT_TRUE(f.Accepts(12, 2.99));
  EXPECT_FALSE(f.Accepts(12, 3.0)) << "the upper bound is excluded, as in the report's ranges";
  EXPECT_FALSE(f.Accepts(4, 2.0));
  EXPECT_FALSE(f.Accepts(9, 1.49));
  EXPECT_TRUE(ValueFilter{}.Accepts(-40, 50.0)) << "the default lets everything through";
}

TEST(ValueTipsTest, FilterKeepsOnlyTheBetsItAccepts) {
  test::TipsDb t("2010-06-05");
  // 50/30/20; PROFIT at 1.80, 3.40, 4.50, 1.20, 1.90, 1.30: -6, 1, -2, -3, -3, -7.
  const int f = t.Fixture(1, "2010-06-06", 1100, test::k50_30_20);
  t.Odds(f, {{"KURZ1", "1.80"},
             {"KURZX", "3.40"},
             {"KURZ2", "4.50"},
             {"KURZ1X", "1.20"},
             {"KURZX2", "1.90"},
             {"KURZ12", "1.30"}});
  struct Case {
    ValueFilter filter;
    std::vector<std::string> tips;
  };
  const Case cases[] = {
      {ValueFilter{}, {"  0", "  1", "  2", " 02", " 10", " 12"}},
      {ValueFilter{-2}, {"  0", "  2"}},
      {ValueFilter{-3, 1.25, 2.0}, {" 02"}},
      {ValueFilter{2}, {}},
  };
  for (const Case& c : cases) {
    test::RecordingView view;
    ASSERT_TRUE(RunValueTips(t.program(), view, c.filter));
    std::vector<std::string> tips;
    for (const test::StoredTip& s : test::StoredTips(t.db().conn(), "TIP")) tips.push_back(s.tip);
    EXPECT_EQ(tips, c.tips) << c.filter.min_profit;
  }
}

// ---------------------------------------------------------------------- stored calibration

// A history of three seasons of one league and one of another, with tips of every kind.
std::vector<BacktestMatch> ThreeSeasons() {
  std::vector<BacktestMatch> h;
  const char* tips[] = {"  1", " 10", "102", " < ", "  2", " 02"};
  int n = 0;
  for (int64_t comp : {21, 22, 23}) {
    for (int d = 0; d < 40; ++d, ++n) {
      const Date day = AddDays(Day("2019-08-01"), static_cast<int>(comp - 21) * 365 + d * 5);
      BacktestMatch m = Tip("2000-01-01", tips[n % 6], 50 + (n * 7) % 50, n % 3 != 0, 1.9, 4, comp);
      m.date = day;
      h.push_back(m);
      if (d % 4 == 0) {  // the other league on the same day
        BacktestMatch other = m;
        other.league = 5;
        other.competition = comp + 10;
        h.push_back(other);
      }
    }
  }
  return h;
}

// What a tip on `day` may know: the tips of the seasons that ended before it, counted from the
// matches themselves.
std::pair<int, int> Expected(const std::vector<BacktestMatch>& h, int league, CalibrationKind kind,
                             int percent, const Date& day) {
  std::map<int64_t, Date> last;
  for (const BacktestMatch& m : h)
    if (!last.count(m.competition) || last[m.competition] < m.date) last[m.competition] = m.date;
  int tips = 0, won = 0;
  for (const BacktestMatch& m : h) {
    if (m.league != league || !(last[m.competition] < day)) continue;
    if (CalibrationKindOf(KindOfTip(m.tip)) != kind) continue;
    if (FineBucket(m.tip_percent) != FineBucket(percent)) continue;
    ++tips;
    won += m.won ? 1 : 0;
  }
  return {tips, won};
}

TEST(CalibrationStoreTest, ATipNeverSeesASeasonThatEndsOnOrAfterItsDay) {
  test::FixtureDb db;
  const std::vector<BacktestMatch> h = ThreeSeasons();
  EXPECT_FALSE(HasCalibration(db.conn(), ResultMode::kFullTime));
  EXPECT_FALSE(PastHitRate(db.conn(), ResultMode::kFullTime, 4, CalibrationKind::kSingle, 60,
                           Day("2030-01-01")))
      << "a database without the table has no past";
  EXPECT_EQ(StoreCalibration(db.conn(), ResultMode::kFullTime, h), 6);
  EXPECT_TRUE(HasCalibration(db.conn(), ResultMode::kFullTime));
  EXPECT_FALSE(HasCalibration(db.conn(), ResultMode::kUnderOver));

  // Every match day of the history (and the day after each season) as the day of a tip.
  std::vector<Date> days;
  for (const BacktestMatch& m : h) days.push_back(m.date);
  for (const char* d : {"2020-02-18", "2020-02-19", "2021-02-19", "2022-02-20", "2030-01-01"})
    days.push_back(Day(d));
  int checked = 0, seen = 0;
  for (const Date& day : days) {
    for (int league : {4, 5}) {
      for (CalibrationKind kind : {CalibrationKind::kSingle, CalibrationKind::kDoubleChance,
                                   CalibrationKind::kUnderOver}) {
        for (int percent = 50; percent < 100; percent += 5) {
          const auto [tips, won] = Expected(h, league, kind, percent, day);
          const std::optional<PastRecord> past =
              PastHitRate(db.conn(), ResultMode::kFullTime, league, kind, percent, day);
          ++checked;
          if (tips == 0) {
            EXPECT_FALSE(past) << FormatIsoDate(day);
            continue;
          }
          ++seen;
          ASSERT_TRUE(past) << FormatIsoDate(day);
          EXPECT_EQ(past->tips, tips) << FormatIsoDate(day) << " " << league << " " << percent;
          EXPECT_EQ(past->won, won);
          EXPECT_LT(past->last_day, day) << "no match of the tip's day or later";
        }
      }
    }
  }
  EXPECT_GT(seen, 50) << "the check saw stored figures, not only empty ones";
  EXPECT_GT(checked, seen);
  // The first season's last day: nothing on that day, its figures the day after.
  const Date last_of_first = h[h.size() / 3 - 1].date;
  EXPECT_FALSE(PastHitRate(db.conn(), ResultMode::kFullTime, 4, CalibrationKind::kSingle, 50,
                           last_of_first));
}

TEST(CalibrationStoreTest, StoringAgainReplacesOnlyTheSeasonsItCovers) {
  test::FixtureDb db;
  const std::vector<BacktestMatch> h = ThreeSeasons();
  StoreCalibration(db.conn(), ResultMode::kFullTime, h);
  StoreCalibration(db.conn(), ResultMode::kUnderOver, h);
  // Season 21 again, every tip now lost.
  std::vector<BacktestMatch> again;
  for (BacktestMatch m : h) {
    if (m.competition != 21) continue;
    m.won = false;
    again.push_back(m);
  }
  EXPECT_EQ(StoreCalibration(db.conn(), ResultMode::kFullTime, again), 1);
  Query q(db.conn());
  q.Open(
      "SELECT RESULT_MODE,ID_SUTAZ,SUM(TIPS) AS N,SUM(WON) AS W FROM TIP_CALIBRATION GROUP BY "
      "RESULT_MODE,ID_SUTAZ ORDER BY RESULT_MODE,ID_SUTAZ");
  std::vector<std::string> rows;
  for (; !q.Eof(); q.Next())
    rows.push_back(q.FieldByName("RESULT_MODE").AsString() + "/" +
                   q.FieldByName("ID_SUTAZ").AsString() + ": " + q.FieldByName("W").AsString() +
                   " of " + q.FieldByName("N").AsString());
  // 40 matches a season (10 in league 5), the three-way sixth left out; after the second store
  // season 21 has lost everything, the others keep what they had.
  const std::vector<std::string> expected = {"0/21: 0 of 33",  "0/22: 21 of 34", "0/23: 20 of 33",
                                             "0/31: 3 of 7",   "0/32: 4 of 7",   "0/33: 3 of 6",
                                             "3/21: 19 of 33", "3/22: 21 of 34", "3/23: 20 of 33",
                                             "3/31: 3 of 7",   "3/32: 4 of 7",   "3/33: 3 of 6"};
  EXPECT_EQ(rows, expected);
}

// ---------------------------------------------------------------------- tips list

// A week list with four tips (leagues 17, 4, 1, 20 on 5-7 June 2010) and a stored calibration
// for single tips of 70-74 % in league 17: two seasons before the tips' days and one that ends
// on the day of tips 1 and 4.
class PastDb : public test::TipsDb {
 public:
  explicit PastDb(int language = kEnglish) : TipsDb("2010-06-05", language) {
    const int home = db().AddTeam(17, "Home"), away = db().AddTeam(17, "Away");
    auto add = [&](int id, int league, const char* date, const char* tip, int perc) {
      InsertTipRow(program().dm, ResultMode::kFullTime,
                   {id, league, date, home, away, 70, 20, 10, tip, perc, 1.5, 3});
    };
    add(1, 17, "06.06.2010", "  1", 72);
    add(2, 4, "05.06.2010", "102", 100);
    add(3, 17, "05.06.2010", "  1", 70);
    add(4, 17, "06.06.2010", "  1", 82);
    std::vector<BacktestMatch> h;
    auto season = [&h](int64_t comp, const char* first, const char* last, int tips, int won) {
      for (int i = 0; i < tips; ++i)
        h.push_back(Tip(i == 0 ? first : last, "  1", 71, i < won, 1.5, 17, comp));
    };
    season(1, "2008-08-01", "2009-05-30", 1600, 1100);
    season(2, "2009-08-01", "2010-06-04", 922, 690);
    season(3, "2010-05-01", "2010-06-06", 50, 0);
    StoreCalibration(db().conn(), ResultMode::kFullTime, h);
    program().tip_run.TipRunKind = TipRun::kWeek;
  }
};

int RowOf(TipsList& list, int64_t id) {
  for (int r = 0; r < list.RowCount(); ++r)
    if (list.Value(r, "ID").AsInteger() == id) return r;
  throw std::out_of_range("no tip " + std::to_string(id));
}

TEST(TipsListPastTest, TooltipOfThePercentageCellInEveryLanguage) {
  struct Case {
    int language;
    int64_t id;
    const char* field;
    std::string text;
  };
  const Case cases[] = {
      // Seasons 1 and 2 end before 6 June; season 3 ends on it and stays out:
      // 1790 of 2522 won, 70.98 %.
      {kEnglish, 1, "PERC", "Tips like this won 71 % of 2 522 in 2008-2010"},
      {kGerman, 1, "PERC", "Tipps wie dieser gewannen 71 % von 2 522 in 2008-2010"},
      {kSlovak, 1, "PERC", "Tipy ako tento vyhrali 71 % z 2 522 v rokoch 2008-2010"},
      {kItalian, 1, "PERC", "Pronostici come questo hanno vinto il 71 % di 2 522 nel 2008-2010"},
      {kEnglish, 1, "TIP", ""},
      // On 5 June season 2 (last day 4 June) counts, season 3 (6 June) not.
      {kEnglish, 3, "PERC", "Tips like this won 71 % of 2 522 in 2008-2010"},
      {kEnglish, 4, "PERC", ""},  // 80-84 %: nothing stored
      {kEnglish, 2, "PERC", ""},  // three-way
  };
  for (const Case& c : cases) {
    PastDb t(c.language);
    TipsList list(t.program());
    list.Show();
    EXPECT_EQ(list.CellToolTip(RowOf(list, c.id), c.field), c.text)
        << c.language << " tip " << c.id << " " << c.field;
  }
  PastDb t;
  TipsList list(t.program());
  list.Show();
  const std::optional<PastRecord> past = list.Past(RowOf(list, 1));
  ASSERT_TRUE(past);
  EXPECT_EQ(past->tips, 2522);
  EXPECT_EQ(past->won, 1790);
  EXPECT_EQ(past->Percent(), 71);
}

TEST(TipsListPastTest, ExportAddsThePastOnlyWhenAsked) {
  PastDb t;
  TipsList list(t.program());
  list.Show();
  auto exported = [&](bool with_past) {
    const std::string path = t.db().Folder() + (with_past ? "past.csv" : "plain.csv");
    t.ui.save_answer = path;
    EXPECT_TRUE(list.ExportToCSV("x.csv", with_past));
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  };
  const std::string plain = exported(false), past = exported(true);
  EXPECT_EQ(plain.substr(0, plain.find("\r\n")), "DATE;LEAGUE;HOME;GUEST;%1;%0;%2;TIP;%;ODD;DIF.%");
  EXPECT_EQ(past.substr(0, past.find("\r\n")),
            "DATE;LEAGUE;HOME;GUEST;%1;%0;%2;TIP;%;ODD;DIF.%;PAST %;PAST N");
  // Week order: PERC descending. Every line is the plain line with the two fields behind it.
  std::istringstream a(plain), b(past);
  std::string la, lb;
  std::vector<std::string> tails;
  std::getline(a, la);
  std::getline(b, lb);
  while (std::getline(a, la) && std::getline(b, lb)) {
    la.pop_back();  // the CR
    lb.pop_back();
    ASSERT_EQ(lb.substr(0, la.size()), la);
    tails.push_back(lb.substr(la.size()));
  }
  EXPECT_EQ(tails, (std::vector<std::string>{";;", ";;", ";71;2522", ";71;2522"}));
}

}  // namespace
}  // namespace morvela
