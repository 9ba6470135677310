// The season replay on small fixture databases. Expected values are worked out by hand in the
// comments; RatingChange400/200 of equal ratings give 16 for a one-goal win and 20 (K = 40)
// for a two-goal win.
#include "rating/season_replay.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/helpers.h"
#include "fixture_db.h"

namespace morvela {
namespace {

using test::FixtureDb;
using test::MatchSpec;
using test::SeasonStart;

constexpr int kLeague = 1;

// Day n of the test season (day 0 is 1 March 2011) as the fixture builder takes dates.
std::string Day(int n) {
  return FormatIsoDate(AddDays(*MakeDate(2011, 3, 1), n));
}

SeasonStart Flat(int elo, int elo_home = 1500, int elo_away = 1500) {
  SeasonStart s;
  s.elo = elo;
  s.elo_home = elo_home;
  s.elo_away = elo_away;
  return s;
}

MatchSpec MatchAt(int competition, const std::string& date, int home, int away) {
  MatchSpec m;
  m.competition = competition;
  m.date = date;
  m.home = home;
  m.away = away;
  return m;
}

// A season of the active competition on its own database.
class Season {
 public:
  Season() : competition_(db_.AddCompetition(kLeague)) {}

  // A team of the competition.
  int Team(const SeasonStart& start = {}) {
    int id = db_.AddTeam(kLeague, "T" + std::to_string(++teams_));
    db_.AddTeamToCompetition(competition_, id, start);
    return id;
  }
  // A team of the league that the competition does not list.
  int Outsider() { return db_.AddTeam(kLeague, "X" + std::to_string(++teams_)); }

  int Played(int day, int home, int away, int hg, int ag, bool forfeit = false) {
    MatchSpec m = MatchAt(competition_, Day(day), home, away);
    m.home_goals = hg;
    m.away_goals = ag;
    m.forfeit = forfeit;
    return db_.AddMatch(m);
  }
  int Fixture(int day, int home, int away) {
    return db_.AddMatch(MatchAt(competition_, Day(day), home, away));
  }

  ReplayReport Replay() { return ReplaySeason(db_.dm(), wait_, msgs_, Competition()); }

  // A stored column of a row; nullopt for NULL.
  std::optional<int64_t> Value(int id, const std::string& column) {
    Query q(db_.conn());
    q.Open("SELECT " + column + " FROM VYSLEDKY WHERE ID=" + std::to_string(id));
    Field f = q.FieldByName(column);
    if (f.IsNull()) return std::nullopt;
    return f.AsInteger();
  }
  // Every row of VYSLEDKY as text, to see whether anything changed.
  std::string Dump() {
    Query q(db_.conn());
    std::string text;
    for (q.Open("SELECT * FROM VYSLEDKY ORDER BY ID"); !q.Eof(); q.Next()) {
      for (const std::string& name : q.FieldNames()) text += q.FieldByName(name).AsString() + ";";
      text += "\n";
    }
    return text;
  }

  std::string Competition() const { return std::to_string(competition_); }
  FixtureDb& db() { return db_; }
  NullWaitIndicator& wait() { return wait_; }
  Messages& msgs() { return msgs_; }

 private:
  FixtureDb db_;
  int competition_;
  int teams_ = 0;
  NullWaitIndicator wait_;
  Messages msgs_;
};

TEST(SeasonReplayTest, FormIsTheRatingChangeOverTheLastFourMatches) {
  // A wins 1:0 at home on days 1..5 against opponents rated exactly as A is at that moment, so
  // every win moves A by 16 overall and at home: A stands at 1500 + 16k after k matches, and
  // the rating and venue terms cancel, leaving d = form(A) = 16 * min(k, 4) for A's k+1-th match
  // (the first match has form 0, the third has rating now minus season start = 32).
  Season s;
  const int a = s.Team(Flat(1500));
  std::vector<int> matches;
  for (int k = 0; k < 5; ++k) {
    const int rating = 1500 + 16 * k;
    matches.push_back(s.Played(k + 1, a, s.Team(Flat(rating, 1500, rating)), 1, 0));
  }
  // After five wins A has history 1500, 1516, 1532, 1548, 1564, 1580: form = h[5] - h[1] = 64.
  // Against flat 1500 at home: 1580 + 64 - 1500 + (1580 - 1500) / 2 = 184.
  const int at_home = s.Fixture(6, a, s.Team(Flat(1500)));
  // Away to a flat 1500 team: 1500 - 1580 - 64 + (1500 - 1500) / 2 = -144.
  const int away = s.Fixture(7, s.Team(Flat(1500)), a);
  s.Replay();

  const std::pair<int, int64_t> expected[] = {
      {matches[0], 0},  {matches[1], 16}, {matches[2], 32}, {matches[3], 48},
      {matches[4], 64}, {at_home, 184},   {away, -144},
  };
  for (const auto& [id, d] : expected) EXPECT_EQ(s.Value(id, "ELO_ROZDIEL"), d) << "row " << id;
}

TEST(SeasonReplayTest, DifferenceOfRatingsIsUnsignedSixteenBitAndHalvesTheVenueTerm) {
  struct Case {
    const char* name;
    SeasonStart home, away;
    int64_t expected;
  };
  const Case cases[] = {
      {"equal", Flat(1500), Flat(1500), 0},
      {"weaker home side", Flat(1380), Flat(1500), -120},
      // 40000 would be negative as a signed 16-bit rating.
      {"high rating stays positive", Flat(40000), Flat(1500), 38500},
      {"high venue rating", Flat(1500, 40001, 1500), Flat(1500), 19250},  // 38501 / 2
      // (1450 - 1501) / 2 = -25.5 truncates toward zero to -25 (not -26).
      {"negative venue term truncates", Flat(1500, 1450, 1500), Flat(1500, 1500, 1501), -25},
      {"positive venue term truncates", Flat(1500, 1551, 1500), Flat(1500), 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Season s;
    const int fixture = s.Fixture(1, s.Team(c.home), s.Team(c.away));
    s.Replay();
    EXPECT_EQ(s.Value(fixture, "ELO_ROZDIEL"), c.expected);
  }
}

TEST(SeasonReplayTest, EarlierMeetingsMoveTheDifferenceByAgeWeightedOutcomes) {
  struct Meeting {
    int days_before;
    char outcome;           // '1', '0' or '2'
    bool reversed = false;  // the fixture's away team was at home
    bool forfeit = false;
  };
  struct Case {
    const char* name;
    int home_elo;  // the base difference is home_elo - 1500
    std::vector<Meeting> meetings;
    int64_t expected;
  };
  const Case cases[] = {
      {"no meeting", 1500, {}, 0},
      // L = 50: round((1 - 50/50) * 24) = 0.
      {"one meeting weighs nothing", 1500, {{50, '1'}}, 0},
      // L = 400: round(0.75 * 24) = 18, round(0.25 * 20) = 5.
      {"two wins", 1500, {{100, '1'}, {300, '1'}}, 23},
      {"win then defeat", 1500, {{100, '1'}, {300, '2'}}, 13},
      {"defeat then win", 1500, {{100, '2'}, {300, '1'}}, -13},
      // L = 48: 24 * 45/48 = 22.5 rounds to the even 22; 20 * 3/48 = 1.25 -> 1.
      {"weight ties round to even", 1500, {{3, '1'}, {45, '1'}}, 23},
      // 18 for the win; the drawn weight 5 halves to 2.5 -> 2: 18 - 2 = 16.
      {"halved draw weight rounds to even", 1500, {{100, '1'}, {300, '0'}}, 16},
      // L = 100: the draw 1 day before weighs round(0.99 * 24) = 24, halved 12; the win 99
      // days before weighs round(0.01 * 20) = 0.
      {"draw would pass -130", 1380, {{1, '0'}, {99, '1'}}, -120},    // -132 is past -130
      {"draw moves toward -130", 1400, {{1, '0'}, {99, '1'}}, -112},  // -100 - 12
      {"draw at -130", 1370, {{1, '0'}, {99, '1'}}, -130},
      {"draw from below", 1300, {{1, '0'}, {99, '1'}}, -188},  // -200 + 12
      {"draw would reach -130 from below", 1365, {{1, '0'}, {99, '1'}}, -135},
      // Only the last four count: L = 10+20+30+40 = 100; 21.6 -> 22, 16, 11.2 -> 11, 7.2 -> 7.
      {"five meetings", 1500, {{10, '1'}, {20, '1'}, {30, '1'}, {40, '1'}, {50, '1'}}, 56},
      // Not counted, so a single meeting remains each time and weighs 0 (counted they would
      // give 24 + 0, 23, 23).
      {"same date", 1500, {{0, '1'}, {50, '1'}}, 0},
      {"other home side", 1500, {{100, '1', true}, {300, '1', true}}, 0},
      {"forfeit", 1500, {{100, '1', false, true}, {300, '1'}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Season s;
    const int home = s.Team(Flat(c.home_elo));
    const int away = s.Team(Flat(1500));
    // Meetings of earlier seasons count as well as those of the replayed one.
    const int past = s.db().AddCompetition(kLeague, "2009/2010");
    const int day = 400;
    for (const Meeting& m : c.meetings) {
      MatchSpec row = MatchAt(past, Day(day - m.days_before), m.reversed ? away : home,
                              m.reversed ? home : away);
      row.home_goals = m.outcome == '2' ? 0 : 1;  // 1:0, 1:1 or 0:1
      row.away_goals = m.outcome == '1' ? 0 : 1;
      row.forfeit = m.forfeit;
      s.db().AddMatch(row);
    }
    const int fixture = s.Fixture(day, home, away);
    s.Replay();
    EXPECT_EQ(s.Value(fixture, "ELO_ROZDIEL"), c.expected);
  }
}

TEST(SeasonReplayTest, FixturesGetTheRatingsOfTheirPlaceInTheDateOrder) {
  Season s;
  const int a = s.Team(), b = s.Team(), c = s.Team();
  // Inserted out of date order: the walk goes by date, not by row id.
  const int late_fixture = s.Fixture(4, b, c);
  const int second = s.Played(3, a, b, 2, 0);
  const int fixture_between = s.Fixture(2, b, a);
  const int first = s.Played(1, a, b, 1, 0);
  const ReplayReport report = s.Replay();

  const std::pair<int, int64_t> expected[] = {
      {first, 0},
      // After 1:0: A 1516 (home 1516), B 1484 (away 1484).
      // B-A: 1484 - 16 - 1516 - 16 + (1500 - 1500) / 2 = -64.
      {fixture_between, -64},
      // A-B: 1516 + 16 - 1484 + 16 + (1516 - 1484) / 2 = 80; the one earlier meeting weighs 0.
      {second, 80},
      // 2:0 (K 40): change 18 (E 0.546), home/away 16 (E 0.591): B 1466, form 1466 - 1500.
      // B-C: 1466 - 34 - 1500 + (1500 - 1500) / 2 = -68.
      {late_fixture, -68},
  };
  for (const auto& [id, d] : expected) EXPECT_EQ(s.Value(id, "ELO_ROZDIEL"), d) << "row " << id;
  EXPECT_EQ(report.rows_rated, 4);
  EXPECT_EQ(report.fixtures_with_under, 2);
}

TEST(SeasonReplayTest, HalfModesUseTheirOwnColumnsAndSeasonStartRatings) {
  Season s;
  SeasonStart home = Flat(1500);
  home.ht_elo = home.ht_elo_home = 1600;
  home.sht_elo = home.sht_elo_home = 1450;
  SeasonStart away = Flat(1500);
  away.sht_elo_away = 1501;
  const int a = s.Team(home), b = s.Team(away);
  // Full time 2:1, first half 1:1, second half 1:0.
  MatchSpec m = MatchAt(std::stoi(s.Competition()), Day(1), a, b);
  m.home_goals = 2;
  m.away_goals = 1;
  m.ht_home_goals = 1;
  m.ht_away_goals = 1;
  const int match = s.db().AddMatch(m);
  const int fixture = s.Fixture(2, a, b);
  s.Replay();

  struct Expected {
    int id;
    const char* column;
    int64_t d;
  };
  const Expected expected[] = {
      {match, "ELO_ROZDIEL", 0},
      {match, "HT_ELO_ROZDIEL", 150},   // 1600 - 1500 + (1600 - 1500) / 2
      {match, "SHT_ELO_ROZDIEL", -75},  // 1450 - 1500 + (1450 - 1501) / 2 = -50 - 25
      // 2:1 between equals: 16 and 16. 1516 + 16 - 1484 + 16 + (1516 - 1484) / 2 = 80.
      {fixture, "ELO_ROZDIEL", 80},
      // 1:1, 1600 v 1500: change -4 (-4.48), home/away -8 (-8.31): A 1596 home 1592,
      // B 1504 away 1508. 1596 - 4 - 1504 - 4 + (1592 - 1508) / 2 = 126; the drawn meeting
      // weighs 0.
      {fixture, "HT_ELO_ROZDIEL", 126},
      // 1:0, 1450 v 1500: change 18 (18.29); home 1450 v away 1501: 20 (20.57): A 1468 home
      // 1470, B 1482 away 1481. 1468 + 18 - 1482 + 18 + (1470 - 1481) / 2 = 22 + (-5) = 17.
      {fixture, "SHT_ELO_ROZDIEL", 17},
  };
  for (const Expected& e : expected)
    EXPECT_EQ(s.Value(e.id, e.column), e.d) << "row " << e.id << " " << e.column;

  // The last statements of the walk and of the meeting look-up, as the replay's design has them.
  const std::string date = FormatSqlDate(*MakeDate(2011, 3, 3));
  EXPECT_EQ(s.db().dm().Work2.Sql(), "SELECT * FROM VYSLEDKY WHERE (ID_SUTAZ=" + s.Competition() +
                                         " AND KONTUMACIA=0) ORDER BY DATUM ASC, ID ASC");
  EXPECT_EQ(s.db().dm().Work1.Sql(),
            "SELECT TOP 4 ID,DATUM,SHT_VYSLEDOK FROM VYSLEDKY WHERE (HOME=" + std::to_string(a) +
                " AND AWAY=" + std::to_string(b) + " AND DATUM<" + date +
                " AND KONTUMACIA=0 AND SHT_VYSLEDOK<>\"\") ORDER BY "
                "DATUM DESC");
}

TEST(SeasonReplayTest, UnderComesFromGoalRecordsAndEarlierMeetings) {
  Season s;
  // Teams of the league outside the competition come first, so that team ids and slot
  // numbers differ.
  s.Outsider();
  s.Outsider();
  auto goals = [](double pr, double home, double away) {
    SeasonStart st;
    st.pr = pr;
    st.pr_home = home;
    st.pr_away = away;
    return st;
  };
  const int a = s.Team(goals(2.0, 3.0, 1.0));
  const int b = s.Team(goals(2.4, 1.2, 1.6));
  const int c = s.Team(goals(2.5, 2.5, 2.5));
  const int d = s.Team(goals(2.0, 3.0, 1.0));
  const int e = s.Team(goals(2.4, 1.2, 1.6));
  s.Played(1, a, c, 3, 1);  // 4 goals
  s.Played(2, c, a, 0, 0);  // 0 goals
  s.Played(3, a, b, 2, 1);  // 3 goals
  // A: all 4, 0, 3 (sum 7); home 4, 3 (sum 7); away 0.  B: all 3; away 3.  C: all 4, 0; home 0.
  struct Case {
    const char* name;
    int home, away;
    int expected;
  };
  const Case cases[] = {
      // E_A = 7/3 + 7/2 + (3+0+4+2)/4 + (3+4+3+3)/4 = 11.333; E_B = 3 + 3 + (3+3*2.4)/4
      // + (3+3*1.6)/4 = 10.5; X = 3/1 + 3/1; lambda = 27.833/10 = 2.783 -> 47.34 %.
      {"meetings both ways and at this venue", a, b, 47},
      // E_B = 3 + 1.2 + (3+3*2.4)/4 + 4*1.2/4 = 7.95; E_A = 7/3 + 0/1 + 9/4 + (0+3*1)/4 = 5.333;
      // X = 3 (no meeting with B at home); lambda = 16.283/9 = 1.809 -> 72.81 %.
      {"meetings only the other way", b, a, 73},
      // E_C = 4/2 + 0/1 + (0+4+2.5+2.5)/4 + (0+3*2.5)/4 = 6.125; E_B = 10.5;
      // lambda = 16.625/8 = 2.078 -> 65.55 %.
      {"no meetings", c, b, 66},
      // Nothing played: E_D = 2 + 3 + 2 + 3 = 10, E_E = 2.4 + 1.6 + 2.4 + 1.6 = 8;
      // lambda = 18/8 = 2.25 -> 60.93 %.
      {"teams without matches", d, e, 61},
  };
  std::vector<int> ids;
  for (size_t k = 0; k < std::size(cases); ++k)
    ids.push_back(s.Fixture(10 + static_cast<int>(k), cases[k].home, cases[k].away));
  const ReplayReport report = s.Replay();
  for (size_t k = 0; k < std::size(cases); ++k)
    EXPECT_EQ(s.Value(ids[k], "UNDER"), cases[k].expected) << cases[k].name;
  EXPECT_EQ(report.fixtures_with_under, 4);
}

TEST(SeasonReplayTest, ForfeitsAndUnlistedTeamsAreLeftOut) {
  Season s;
  const int a = s.Team(), b = s.Team(), x = s.Outsider();
  const int forfeit = s.Played(1, a, b, 3, 0, true);
  const int against_outsider = s.Played(2, a, x, 3, 0);
  const int outsider_fixture = s.Fixture(3, x, b);
  const int fixture = s.Fixture(4, a, b);
  const ReplayReport report = s.Replay();

  // Neither the forfeit nor the match against the unlisted team moved a rating or added goals:
  // the fixture sees season-start ratings (d = 0) and averages only: E = 4 * 2.5 for both
  // sides, lambda = 20/8 = 2.5 -> 54 %.
  EXPECT_EQ(s.Value(fixture, "ELO_ROZDIEL"), 0);
  EXPECT_EQ(s.Value(fixture, "UNDER"), 54);
  for (const char* column : {"ELO_ROZDIEL", "HT_ELO_ROZDIEL", "SHT_ELO_ROZDIEL", "UNDER"}) {
    EXPECT_EQ(s.Value(forfeit, column), std::nullopt) << column;
    EXPECT_EQ(s.Value(against_outsider, column), std::nullopt) << column;
    EXPECT_EQ(s.Value(outsider_fixture, column), std::nullopt) << column;
  }
  EXPECT_EQ(report.rows_rated, 1);
  EXPECT_EQ(report.skipped_no_slot, 2);
  EXPECT_EQ(report.fixtures_with_under, 1);
  EXPECT_FALSE(report.over_limits);
}

TEST(SeasonReplayTest, CompetitionsBeyondTheArraysAreReportedAndLeftUnchanged) {
  struct Case {
    const char* name;
    int teams;
    int home_wins;                      // A-B, one a day
    int away_wins;                      // B-A
    std::vector<std::string> problems;  // a distinctive part of each expected problem
  };
  const Case cases[] = {
      {"31 teams",
       31,
       0,
       0,
       {"31 teams, the rating replay holds at most 30",
        "31 teams, the goal replay holds at most 25"}},
      {"26 teams", 26, 0, 0, {"26 teams, the goal replay holds at most 25"}},
      {"26 home matches", 2, 26, 0, {"26 home matches", "26 away matches"}},
      {"at the limits", 25, 25, 25, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Season s;
    std::vector<int> teams;
    for (int k = 0; k < c.teams; ++k) teams.push_back(s.Team());
    int day = 0;
    for (int k = 0; k < c.home_wins; ++k) s.Played(++day, teams[0], teams[1], 1, 0);
    for (int k = 0; k < c.away_wins; ++k) s.Played(++day, teams[1], teams[0], 1, 0);
    const int fixture = s.Fixture(++day, teams[0], teams[1]);
    const std::string before = s.Dump();
    const ReplayReport report = s.Replay();

    EXPECT_EQ(report.over_limits, !c.problems.empty());
    ASSERT_EQ(report.problems.size(), c.problems.size());
    for (size_t k = 0; k < c.problems.size(); ++k) {
      EXPECT_NE(report.problems[k].find("Competition " + s.Competition() + ":"), std::string::npos)
          << report.problems[k];
      EXPECT_NE(report.problems[k].find(c.problems[k]), std::string::npos) << report.problems[k];
    }
    if (c.problems.empty()) {
      // Fifty replayed matches fill A's history to its last entry.
      EXPECT_EQ(report.rows_rated, 51);
      EXPECT_TRUE(s.Value(fixture, "ELO_ROZDIEL").has_value());
    } else {
      EXPECT_EQ(s.Dump(), before);
    }
  }
}

TEST(SeasonReplayTest, WaitIndicatorShowsTheReplayMessageAndIsAlwaysHidden) {
  struct Case {
    int language;
    const char* competition;  // "0 AND" makes the first statement fail
    const char* message;
  };
  const Case cases[] = {
      {kEnglish, nullptr, "Calculate ELO points ..."},
      {kGerman, nullptr, "Zähle ELO Punkten ..."},
      {kEnglish, "0 AND", "Calculate ELO points ..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Season s;
    s.Fixture(1, s.Team(), s.Team());
    s.msgs().NastavJazyk(c.language);
    const std::string competition = c.competition ? c.competition : s.Competition();
    if (c.competition) {
      EXPECT_THROW(ReplaySeason(s.db().dm(), s.wait(), s.msgs(), competition), DatabaseError);
    } else {
      ReplaySeason(s.db().dm(), s.wait(), s.msgs(), competition);
    }
    EXPECT_EQ(s.wait().Shows(), 1);
    EXPECT_EQ(s.wait().Depth(), 0);
    EXPECT_EQ(s.wait().LastMessage(), c.message);
  }
}

}  // namespace
}  // namespace morvela
