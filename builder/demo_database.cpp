#include "builder/demo_database.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <tuple>

#include "builder/csv_import.h"
#include "builder/demo_names.h"
#include "builder/demo_random.h"
#include "builder/prepare_seasons.h"
#include "builder/schema.h"
#include "builder/season_start.h"
#include "core/atomic_file.h"
#include "core/cipher.h"
#include "core/data_module.h"
#include "core/helpers.h"
#include "core/outcome.h"
#include "core/rounding.h"
#include "i18n/leagues.h"

namespace morvela {

namespace {

// How a league plays: its size, how often two clubs meet, scoring, home advantage, how far its
// clubs are apart, and when its season opens.
struct LeagueProfile {
  int clubs;                   // clubs in a season
  int even_year_clubs;         // clubs in a season that starts in an even year, when different
  int meetings;                // times two clubs meet in a season: small leagues play more rounds
  double goals;                // mean goals per match
  double home;                 // home advantage: log of home over away scoring
  double spread;               // how far the clubs are apart (log scale, see Strength)
  int start_month, start_day;  // the earliest first match day of a season
};

constexpr std::array<LeagueProfile, kLeagueCount> kProfiles = {{
    {12, 0, 3, 3.05, 0.25, 0.22, 7, 26},  // 1 Austria
    {16, 0, 2, 2.90, 0.28, 0.22, 7, 26},  // 2 Belgium
    {16, 0, 2, 2.75, 0.30, 0.24, 7, 20},  // 3 Czech Republic
    {20, 0, 2, 2.80, 0.22, 0.28, 8, 10},  // 4 England
    {18, 0, 2, 2.65, 0.25, 0.24, 8, 8},   // 5 France
    {18, 0, 2, 3.10, 0.24, 0.26, 8, 20},  // 6 Germany
    {20, 0, 2, 2.70, 0.24, 0.26, 8, 18},  // 7 Italy
    {18, 0, 2, 3.10, 0.30, 0.30, 8, 8},   // 8 Netherlands
    {18, 0, 2, 2.55, 0.28, 0.32, 8, 8},   // 9 Portugal
    {12, 0, 3, 2.70, 0.20, 0.32, 8, 1},   // 10 Scotland
    {20, 0, 2, 2.55, 0.26, 0.26, 8, 14},  // 11 Spain
    {20, 19, 2, 2.85, 0.28, 0.24, 8, 8},  // 12 Turkey: 19 and 20 clubs in turn
    {14, 0, 2, 2.40, 0.32, 0.28, 8, 20},  // 13 Greece
    {16, 0, 2, 2.50, 0.22, 0.22, 7, 20},  // 14 Russia
    {12, 0, 3, 2.70, 0.30, 0.24, 7, 20},  // 15 Slovakia
    {10, 0, 4, 3.00, 0.22, 0.22, 7, 20},  // 16 Switzerland
    {12, 0, 3, 2.85, 0.24, 0.22, 7, 18},  // 17 Denmark
    {18, 0, 2, 2.65, 0.26, 0.20, 7, 18},  // 18 Poland
    {16, 0, 2, 2.45, 0.28, 0.22, 7, 12},  // 19 Romania
    {16, 0, 2, 2.55, 0.28, 0.28, 7, 20},  // 20 Ukraine
}};

constexpr double kFirstHalfShare = 0.45;  // of a match's expected goals
constexpr double kMidweekShare = 0.2;     // of the weeks with a weekend round
constexpr double kSeasonWeeks = 40;       // a season's usual length, August to May
constexpr int kMinPlayedRounds = 4;       // of the current season, before today
constexpr double kPlayedWithOdds = 0.9;   // share of played matches that kept their odds
constexpr double kFixturesWithEventId = 0.3;
constexpr double kReturnChance = 0.35;  // a promoted club is one relegated earlier
constexpr int kFriday = 4;              // WeekdayMondayFirst

// A club's scoring and its keeping goals out, on a log scale (0 is the league's average club).
// Both share a quality part (a good club is good at both, as in reality) and differ by a style
// part: with a league's spread s, quality ~ N(mean, kQuality s) and each adds N(0, kStyle s).
// Shared quality makes the favourites clear while the expected goals of a match (attack
// against defence on both sides) stay within what football sees.
struct Strength {
  double attack = 0, defence = 0;
};
constexpr double kQuality = 0.6;
constexpr double kStyle = 0.4;

struct Club {
  int64_t id = 0;  // MUZSTVA.ID, 0 until the club first plays
  std::string name;
  Strength strength;
};

// A match of the calendar; the sides are indexes into the league's clubs.
struct Match {
  Date date;
  int home = 0, away = 0;
};

struct Score {
  int ht_home = 0, ht_away = 0, home = 0, away = 0;
};

// --------------------------------------------------------------------------- calendar

struct Week {
  bool free = false;     // no round (a break for national teams)
  bool midweek = false;  // a second round from Tuesday
};

struct RoundSlot {
  Date first_day;
  bool midweek = false;
  Date LastDay() const { return AddDays(first_day, midweek ? 2 : 3); }
};

int RoundCount(int clubs, int meetings) {
  return meetings * (clubs % 2 ? clubs : clubs - 1);
}

// Events at random places but at a steady rate: each week adds `share` to a debt that an event
// pays off once the debt passes a random threshold, so the count of events stays close to
// share × weeks.
class SteadyChance {
 public:
  explicit SteadyChance(double share) : share_(share) {}
  bool Next(DemoRandom& rng, bool allowed) {
    owed_ += share_;
    if (!allowed || owed_ < rng.Uniform(0.5, 1.5)) return false;
    owed_ -= 1;
    return true;
  }

 private:
  double share_;
  double owed_ = 0;
};

// The weeks a season needs for `rounds` rounds. Free weekends stretch a season with few rounds
// over the usual length. Free weekends and midweek rounds come at a steady rate, so that every
// season ends in spring and none runs into the next one. Two free weekends never follow each
// other, and the first two weeks are played.
std::vector<Week> DrawWeeks(int rounds, DemoRandom& rng) {
  const double played_share = std::min(1.0, rounds / kSeasonWeeks / (1 + kMidweekShare));
  SteadyChance free_weekend(std::min(0.45, 1 - played_share));
  SteadyChance midweek(kMidweekShare);
  std::vector<Week> weeks;
  for (int placed = 0; placed < rounds;) {
    Week w;
    w.free = free_weekend.Next(rng, weeks.size() >= 2 && !weeks.back().free);
    if (!w.free) {
      ++placed;
      w.midweek = midweek.Next(rng, placed < rounds);
      if (w.midweek) ++placed;
    }
    weeks.push_back(w);
  }
  return weeks;
}

std::vector<RoundSlot> LayRounds(const Date& first_friday, const std::vector<Week>& weeks) {
  std::vector<RoundSlot> slots;
  for (size_t i = 0; i < weeks.size(); ++i) {
    if (weeks[i].free) continue;
    const Date friday = AddDays(first_friday, 7 * static_cast<int>(i));
    slots.push_back({friday, false});
    if (weeks[i].midweek) slots.push_back({AddDays(friday, 4), true});
  }
  return slots;
}

Date FridayOnOrAfter(const Date& d) {
  return AddDays(d, (kFriday - WeekdayMondayFirst(d) + 7) % 7);
}

Date SeasonOpening(const LeagueProfile& p, int year) {
  return FridayOnOrAfter(*MakeDate(year, p.start_month, p.start_day));
}

// The season that stands at `today`: the one that opened this summer once about four rounds of
// it are played, else the one that opened last summer (which, in the summer break, is moved
// later so that it is still running). A current season thus never starts before its usual
// opening, and never overlaps the season before.
int ActiveSeasonYear(const LeagueProfile& p, const Date& today) {
  const int year = static_cast<int>(today.year());
  return DaysBetween(AddDays(SeasonOpening(p, year), 35), today) >= 0 ? year : year - 1;
}

// The first Friday of the current season: its usual opening, moved later by whole weeks until
// its rounds reach past the fixture window, then earlier until enough rounds lie before today.
Date FitCurrentSeason(Date first_friday, const std::vector<Week>& weeks, const Date& today) {
  const Date window_end = AddDays(today, kDemoFixtureDays);
  auto reaches_past_window = [&](const Date& f) {
    return DaysBetween(window_end, LayRounds(f, weeks).back().first_day) >= 0;
  };
  auto enough_played = [&](const Date& f) {
    const std::vector<RoundSlot> slots = LayRounds(f, weeks);
    return static_cast<int>(slots.size()) > kMinPlayedRounds &&
           DaysBetween(slots[kMinPlayedRounds - 1].LastDay(), today) > 0;
  };
  while (!reaches_past_window(first_friday)) first_friday = AddDays(first_friday, 7);
  while (!enough_played(first_friday)) first_friday = AddDays(first_friday, -7);
  if (!reaches_past_window(first_friday))
    throw std::logic_error("a demo season is too short for its fixture window");
  return first_friday;
}

// Round robin by the circle method, `meetings` legs: in each round a side keeps its half of the
// circle for a while, so taking the home side by the round's parity lets most clubs alternate
// home and away. Every second leg repeats the first with the sides swapped, so in a double round
// robin every club meets each other club once at home and once away. An odd number of clubs
// gives every club a free round per leg.
std::vector<std::vector<std::pair<int, int>>> RoundRobin(std::vector<int> clubs, int meetings) {
  if (clubs.size() % 2) clubs.push_back(-1);
  const size_t n = clubs.size();
  std::vector<std::vector<std::pair<int, int>>> leg(n - 1);
  for (size_t r = 0; r + 1 < n; ++r) {
    for (size_t i = 0; i < n / 2; ++i) {
      int a = clubs[i], b = clubs[n - 1 - i];
      if (a < 0 || b < 0) continue;
      if (r % 2) std::swap(a, b);
      leg[r].emplace_back(a, b);
    }
    std::rotate(clubs.begin() + 1, clubs.end() - 1, clubs.end());
  }
  std::vector<std::vector<std::pair<int, int>>> rounds;
  for (int m = 0; m < meetings; ++m) {
    for (auto round : leg) {
      if (m % 2)
        for (auto& [home, away] : round) std::swap(home, away);
      rounds.push_back(std::move(round));
    }
  }
  return rounds;
}

// The matches of a season in date order: the rounds on their slots, each match on a day of its
// round (a weekend round from Friday to Monday, mostly Saturday and Sunday; a midweek round from
// Tuesday to Thursday).
std::vector<Match> Schedule(const std::vector<int>& clubs, int meetings,
                            const std::vector<RoundSlot>& slots, DemoRandom& rng) {
  static const std::vector<double> kWeekendDays = {0.12, 0.44, 0.34, 0.10};
  static const std::vector<double> kMidweekDays = {0.35, 0.45, 0.20};
  const auto rounds = RoundRobin(clubs, meetings);
  std::vector<Match> matches;
  for (size_t r = 0; r < rounds.size(); ++r) {
    const RoundSlot& slot = slots[r];
    for (const auto& [home, away] : rounds[r]) {
      const int day = rng.Weighted(slot.midweek ? kMidweekDays : kWeekendDays);
      matches.push_back({AddDays(slot.first_day, day), home, away});
    }
  }
  std::stable_sort(matches.begin(), matches.end(),
                   [](const Match& a, const Match& b) { return a.date < b.date; });
  return matches;
}

// --------------------------------------------------------------------------- goal model

struct Outcomes {
  double home = 0, draw = 0, away = 0;
};

std::vector<double> PoissonTable(double mean, int max_goals) {
  std::vector<double> p(static_cast<size_t>(max_goals) + 1);
  p[0] = std::exp(-mean);
  for (int k = 1; k <= max_goals; ++k)
    p[static_cast<size_t>(k)] = p[static_cast<size_t>(k) - 1] * mean / k;
  return p;
}

// Home win, draw and away win for independent Poisson goal counts.
Outcomes OutcomeProbabilities(double home_mean, double away_mean) {
  constexpr int kMaxGoals = 15;
  const std::vector<double> h = PoissonTable(home_mean, kMaxGoals);
  const std::vector<double> a = PoissonTable(away_mean, kMaxGoals);
  Outcomes o;
  for (size_t i = 0; i < h.size(); ++i)
    for (size_t j = 0; j < a.size(); ++j)
      (i > j ? o.home : i == j ? o.draw : o.away) += h[i] * a[j];
  const double total = o.home + o.draw + o.away;
  return {o.home / total, o.draw / total, o.away / total};
}

double AtMostTwoGoals(double mean) {
  const std::vector<double> p = PoissonTable(mean, 2);
  return p[0] + p[1] + p[2];
}

struct ExpectedGoals {
  double home = 0, away = 0;
};

ExpectedGoals Expect(const LeagueProfile& p, const Club& home, const Club& away) {
  // Attack minus the other club's defence is normal with variance v = 2 (kQuality² + kStyle²)
  // s², which raises the mean scoring by exp(v / 2); the level takes it back so that the league
  // scores its goals per match.
  const double v = 2 * (kQuality * kQuality + kStyle * kStyle) * p.spread * p.spread;
  const double level = p.goals / 2 * std::exp(-v / 2);
  auto clamp = [](double x) { return std::clamp(x, 0.2, 3.5); };
  const Strength& h = home.strength;
  const Strength& a = away.strength;
  return {clamp(level * std::exp(p.home / 2 + h.attack - a.defence)),
          clamp(level * std::exp(-p.home / 2 + a.attack - h.defence))};
}

Score Play(const ExpectedGoals& e, DemoRandom& rng) {
  Score s;
  s.ht_home = rng.Poisson(e.home * kFirstHalfShare);
  s.ht_away = rng.Poisson(e.away * kFirstHalfShare);
  s.home = s.ht_home + rng.Poisson(e.home * (1 - kFirstHalfShare));
  s.away = s.ht_away + rng.Poisson(e.away * (1 - kFirstHalfShare));
  return s;
}

// The stored outcome text of a score, quoted for SQL.
std::string SqlOutcome(int home, int away) {
  return QuoteSqlText(OutcomeText(ScoreOutcome(home, away)));
}

// --------------------------------------------------------------------------- odds

// Decimal odds for a probability that already carries the margin: two decimals, at least 1.01.
double OddsFor(double priced_probability) {
  return std::max(1.01, RoundHalfEven(100 / priced_probability) / 100.0);
}

// The bookmaker's view of some outcome probabilities: each off by a few per cent, scaled back
// to a whole, then marked up by a margin of 5-7 % shared equally among the outcomes. An equal
// share weighs more on the long shots, as bookmakers' prices do, and keeps the margin when a
// strong favourite's odds meet the 1.01 floor.
std::vector<double> PricedProbabilities(std::vector<double> p, DemoRandom& rng) {
  double total = 0;
  for (double& x : p) total += (x *= std::exp(rng.Normal(0, 0.07)));
  const double share = rng.Uniform(0.05, 0.07) / static_cast<double>(p.size());
  for (double& x : p) x = x / total + share;
  return p;
}

// KURZ1, KURZX, KURZ2, KURZ1X, KURZX2, KURZ12 of one result mode.
std::array<double, 6> ThreeWayOdds(const Outcomes& o, DemoRandom& rng) {
  const std::vector<double> p = PricedProbabilities({o.home, o.draw, o.away}, rng);
  return {OddsFor(p[0]),        OddsFor(p[1]),        OddsFor(p[2]),
          OddsFor(p[0] + p[1]), OddsFor(p[1] + p[2]), OddsFor(p[0] + p[2])};
}

// --------------------------------------------------------------------------- writing

std::string Num(double x) {
  return FormatSqlNumber(x);
}

std::string Int(int64_t x) {
  return std::to_string(x);
}

// Builds one league: its clubs, its seasons and their matches and odds.
class LeagueBuilder {
 public:
  LeagueBuilder(Connection& conn, int league, const DemoOptions& options)
      : conn_(conn),
        league_(league),
        profile_(kProfiles.at(static_cast<size_t>(league - 1))),
        today_(options.today),
        rng_(DemoRandom::StreamSeed(options.seed, static_cast<uint64_t>(league))),
        namer_(league) {}

  DemoSummary Build();

 private:
  int ClubsInSeason(int year) const {
    return profile_.even_year_clubs && year % 2 == 0 ? profile_.even_year_clubs : profile_.clubs;
  }
  Strength DrawStrength(double mean);
  int NewClub(double strength_mean);
  void DriftStrengths(const std::vector<int>& clubs);
  int64_t InsertCompetition(int year, bool active, int clubs);
  void EnterClubs(int64_t competition, const std::vector<int>& clubs);
  void InsertPlayed(int64_t competition, const Match& m, const Score& s);
  void InsertFixture(int64_t competition, const Match& m);
  void InsertOdds(int64_t match, const ExpectedGoals& e, bool with_halves);
  std::vector<int> NextSeasonClubs(const std::vector<int>& clubs,
                                   const std::vector<std::pair<Match, Score>>& played,
                                   int next_count);

  Connection& conn_;
  int league_;
  const LeagueProfile& profile_;
  Date today_;
  DemoRandom rng_;
  ClubNamer namer_;
  std::vector<Club> clubs_;
  std::vector<int> relegated_;  // clubs that went down and may come back
  DemoSummary summary_;
};

Strength LeagueBuilder::DrawStrength(double mean) {
  const double quality = rng_.Normal(mean, kQuality * profile_.spread);
  const double attack = quality + rng_.Normal(0, kStyle * profile_.spread);
  return {attack, quality + rng_.Normal(0, kStyle * profile_.spread)};
}

int LeagueBuilder::NewClub(double strength_mean) {
  Club c;
  c.name = namer_.Next(rng_);
  c.strength = DrawStrength(strength_mean);
  clubs_.push_back(std::move(c));
  return static_cast<int>(clubs_.size()) - 1;
}

// A summer changes a squad: a strength keeps most of its distance from the middle and takes a
// part of a freshly drawn one, weighted so that the spread of the league stays what it was.
void LeagueBuilder::DriftStrengths(const std::vector<int>& clubs) {
  constexpr double kKept = 0.85;
  const double fresh_weight = std::sqrt(1 - kKept * kKept);
  for (int i : clubs) {
    Strength& s = clubs_[static_cast<size_t>(i)].strength;
    const Strength fresh = DrawStrength(0);
    s.attack = kKept * s.attack + fresh_weight * fresh.attack;
    s.defence = kKept * s.defence + fresh_weight * fresh.defence;
  }
}

int64_t LeagueBuilder::InsertCompetition(int year, bool active, int clubs) {
  const ZoneLimits z = DefaultZoneLimits(league_, clubs);
  conn_.Execute("INSERT INTO SUTAZ (ID_LIGA,ROCNIK,ID_POR,POCET,LM,EL,BARAZ,VYP) VALUES (" +
                Int(league_) + "," + QuoteSqlText(active ? "Active" : SeasonLabel(year)) + "," +
                Int(year) + "," + Int(clubs) + "," + Int(z.lm) + "," + Int(z.el) + "," +
                Int(z.baraz) + "," + Int(z.vyp) + ")");
  ++summary_.seasons;
  return conn_.LastInsertId();
}

void LeagueBuilder::EnterClubs(int64_t competition, const std::vector<int>& clubs) {
  const std::string neutral_rating = Int(kFirstSeasonRating);
  const std::string neutral_goals = Num(kDefaultGoalAverage);
  for (int i : clubs) {
    Club& c = clubs_[static_cast<size_t>(i)];
    if (!c.id) {
      const std::string name = QuoteSqlText(c.name);
      conn_.Execute("INSERT INTO MUZSTVA (ID_LIGA,NAZOV,NAZOV_EN,NAZOV_DE,NAZOV_IT) VALUES (" +
                    Int(league_) + "," + name + "," + name + "," + name + "," + name + ")");
      c.id = conn_.LastInsertId();
      ++summary_.clubs;
    }
    std::string sql =
        "INSERT INTO SUTAZ_MUZSTVA (ID_SUTAZ,ID_MUZSTVO,ELO,ELO_HOME,ELO_AWAY,HT_ELO,HT_ELO_HOME,"
        "HT_ELO_AWAY,SHT_ELO,SHT_ELO_HOME,SHT_ELO_AWAY,PR,PR_HOME,PR_AWAY) VALUES (" +
        Int(competition) + "," + Int(c.id);
    for (int k = 0; k < 9; ++k) sql += "," + neutral_rating;
    for (int k = 0; k < 3; ++k) sql += "," + neutral_goals;
    conn_.Execute(sql + ")");
  }
}

void LeagueBuilder::InsertPlayed(int64_t competition, const Match& m, const Score& s) {
  const int sht_home = s.home - s.ht_home, sht_away = s.away - s.ht_away;
  conn_.Execute(
      "INSERT INTO VYSLEDKY (ID_SUTAZ,DATUM,HOME,AWAY,HOME_GOAL,AWAY_GOAL,VYSLEDOK,HT_HOME_GOAL,"
      "HT_AWAY_GOAL,HT_VYSLEDOK,SHT_HOME_GOAL,SHT_AWAY_GOAL,SHT_VYSLEDOK) VALUES (" +
      Int(competition) + "," + FormatSqlDate(m.date) + "," +
      Int(clubs_[static_cast<size_t>(m.home)].id) + "," +
      Int(clubs_[static_cast<size_t>(m.away)].id) + "," + Int(s.home) + "," + Int(s.away) + "," +
      SqlOutcome(s.home, s.away) + "," + Int(s.ht_home) + "," + Int(s.ht_away) + "," +
      SqlOutcome(s.ht_home, s.ht_away) + "," + Int(sht_home) + "," + Int(sht_away) + "," +
      SqlOutcome(sht_home, sht_away) + ")");
  ++summary_.matches;
}

void LeagueBuilder::InsertFixture(int64_t competition, const Match& m) {
  conn_.Execute("INSERT INTO VYSLEDKY (ID_SUTAZ,DATUM,HOME,AWAY) VALUES (" + Int(competition) +
                "," + FormatSqlDate(m.date) + "," + Int(clubs_[static_cast<size_t>(m.home)].id) +
                "," + Int(clubs_[static_cast<size_t>(m.away)].id) + ")");
  ++summary_.fixtures;
  if (m.date == today_) ++summary_.fixtures_today;
}

// The odds of a match: full time, double chances and under/over 2.5 goals; the halves only for
// a fixture (the odds of a played match are the closing full-time odds a results file keeps).
// A fixture may carry the bookmaker's event id.
void LeagueBuilder::InsertOdds(int64_t match, const ExpectedGoals& e, bool with_halves) {
  std::string columns = "ID,KURZ1,KURZX,KURZ2,KURZ1X,KURZX2,KURZ12";
  std::string values = Int(match);
  auto add_three_way = [&](const char* prefix, double share) {
    for (double odds : ThreeWayOdds(OutcomeProbabilities(e.home * share, e.away * share), rng_))
      values += "," + Num(odds);
    if (*prefix) {
      for (const char* c : {"KURZ1", "KURZX", "KURZ2", "KURZ1X", "KURZX2", "KURZ12"})
        columns += std::string(",") + prefix + c;
    }
  };
  add_three_way("", 1.0);
  const double under = AtMostTwoGoals(e.home + e.away);
  const std::vector<double> uo = PricedProbabilities({1 - under, under}, rng_);
  columns += ",OVER,UNDER";
  values += "," + Num(OddsFor(uo[0])) + "," + Num(OddsFor(uo[1]));
  std::string event_id;
  if (with_halves) {
    add_three_way("HT_", kFirstHalfShare);
    add_three_way("SHT_", 1 - kFirstHalfShare);
    if (rng_.Chance(kFixturesWithEventId)) event_id = Int(10000000 + rng_.Below(90000000));
  }
  conn_.Execute("INSERT INTO KURZY (" + columns + ",BWIN_ID) VALUES (" + values + "," +
                QuoteSqlText(event_id) + ")");
}

// The clubs of the next season: the final table's relegation places go down, the rest stay
// (their strengths drift), and clubs come up until the next season is full - an earlier
// relegated club now and then, else a new one, weaker than the average club.
std::vector<int> LeagueBuilder::NextSeasonClubs(const std::vector<int>& clubs,
                                                const std::vector<std::pair<Match, Score>>& played,
                                                int next_count) {
  struct Row {
    int club, points = 0, difference = 0, scored = 0;
  };
  std::vector<Row> table;
  for (int c : clubs) table.push_back({c});
  auto row = [&](int club) -> Row& {
    return *std::find_if(table.begin(), table.end(), [&](const Row& r) { return r.club == club; });
  };
  for (const auto& [m, s] : played) {
    Row& h = row(m.home);
    Row& a = row(m.away);
    h.points += s.home > s.away ? 3 : s.home == s.away ? 1 : 0;
    a.points += s.away > s.home ? 3 : s.home == s.away ? 1 : 0;
    h.difference += s.home - s.away;
    a.difference += s.away - s.home;
    h.scored += s.home;
    a.scored += s.away;
  }
  std::stable_sort(table.begin(), table.end(), [](const Row& x, const Row& y) {
    return std::tie(y.points, y.difference, y.scored) < std::tie(x.points, x.difference, x.scored);
  });
  const int count = static_cast<int>(clubs.size());
  const ZoneLimits z = DefaultZoneLimits(league_, count);
  const int going_down = z.vyp ? count - z.vyp + 1 : 1;
  const int staying = std::min(count - going_down, next_count);

  std::vector<int> next;
  for (int i = 0; i < staying; ++i) next.push_back(table[static_cast<size_t>(i)].club);
  DriftStrengths(next);
  std::vector<int> coming_back = relegated_;
  for (int i = staying; i < count; ++i) relegated_.push_back(table[static_cast<size_t>(i)].club);
  const double promoted_mean = -0.5 * profile_.spread;
  while (static_cast<int>(next.size()) < next_count) {
    if (!coming_back.empty() && rng_.Chance(kReturnChance)) {
      const int pick = rng_.Below(static_cast<int>(coming_back.size()));
      const int club = coming_back[static_cast<size_t>(pick)];
      coming_back.erase(coming_back.begin() + pick);
      relegated_.erase(std::find(relegated_.begin(), relegated_.end(), club));
      clubs_[static_cast<size_t>(club)].strength = DrawStrength(promoted_mean);
      next.push_back(club);
    } else {
      next.push_back(NewClub(promoted_mean));
    }
  }
  return next;
}

DemoSummary LeagueBuilder::Build() {
  summary_ = {};
  summary_.leagues = 1;
  const int active_year = ActiveSeasonYear(profile_, today_);
  const int first_year = active_year - (kDemoSeasons - 1);
  const Date window_end = AddDays(today_, kDemoFixtureDays);
  std::vector<int> clubs;
  for (int i = 0; i < ClubsInSeason(first_year); ++i) clubs.push_back(NewClub(0));
  for (int year = first_year; year <= active_year; ++year) {
    const bool active = year == active_year;
    const int64_t competition = InsertCompetition(year, active, static_cast<int>(clubs.size()));
    EnterClubs(competition, clubs);
    const std::vector<Week> weeks =
        DrawWeeks(RoundCount(static_cast<int>(clubs.size()), profile_.meetings), rng_);
    Date first_friday = SeasonOpening(profile_, year);
    if (active) first_friday = FitCurrentSeason(first_friday, weeks, today_);
    std::vector<int> order = clubs;
    rng_.Shuffle(order);
    std::vector<std::pair<Match, Score>> played;
    for (const Match& m :
         Schedule(order, profile_.meetings, LayRounds(first_friday, weeks), rng_)) {
      const ExpectedGoals e = Expect(profile_, clubs_[static_cast<size_t>(m.home)],
                                     clubs_[static_cast<size_t>(m.away)]);
      if (m.date < today_) {
        played.emplace_back(m, Play(e, rng_));
        InsertPlayed(competition, m, played.back().second);
        if (rng_.Chance(kPlayedWithOdds)) InsertOdds(conn_.LastInsertId(), e, false);
      } else if (m.date < window_end) {
        InsertFixture(competition, m);
        InsertOdds(conn_.LastInsertId(), e, true);
      }
    }
    if (!active) clubs = NextSeasonClubs(clubs, played, ClubsInSeason(year + 1));
  }
  return summary_;
}

void Add(DemoSummary& total, const DemoSummary& part) {
  total.leagues += part.leagues;
  total.seasons += part.seasons;
  total.clubs += part.clubs;
  total.matches += part.matches;
  total.fixtures += part.fixtures;
  total.fixtures_today += part.fixtures_today;
}

}  // namespace

DemoSummary GenerateDemoData(Connection& conn, const DemoOptions& options,
                             const DemoProgress& progress) {
  std::vector<int> leagues = options.leagues;
  if (leagues.empty())
    for (int id = 1; id <= kLeagueCount; ++id) leagues.push_back(id);
  DemoSummary total;
  for (int league : leagues) {
    if (league < 1 || league > kLeagueCount)
      throw std::out_of_range("no league " + std::to_string(league));
    const DemoSummary part =
        InTransaction(conn, [&] { return LeagueBuilder(conn, league, options).Build(); });
    Add(total, part);
    if (progress) {
      progress(LeagueName(league, kEnglish) + ": " + Int(part.seasons) + " seasons, " +
               Int(part.clubs) + " clubs, " + Int(part.matches) + " matches, " +
               Int(part.fixtures) + " fixtures");
    }
  }
  return total;
}

DemoSummary CreateDemoDatabase(const std::string& path, const DemoOptions& options, bool overwrite,
                               WaitIndicator& wait, const Messages& msgs,
                               const DemoProgress& progress) {
  namespace fs = std::filesystem;
  if (fs::exists(path) && !overwrite)
    throw DatabaseError("The database '" + path + "' exists already (use --force to replace it)");
  DemoSummary summary;
  ReplaceFileAtomically(path, [&](const std::string& temp) {
    CreateEmptyDatabase(temp, true);
    Tdm dm;
    dm.ADOConnection1.OpenFile(temp, false);
    // A file nobody else sees until it is complete and synced (ReplaceFileAtomically), and that
    // is thrown away on any failure: it needs no write-ahead log and no syncs while it grows.
    dm.ADOConnection1.ExecuteNative("PRAGMA journal_mode=MEMORY");
    dm.ADOConnection1.ExecuteNative("PRAGMA synchronous=OFF");
    // The generated rows go in without the difference indexes too; the preparation, which
    // replays every match of this file, makes them at its end.
    DropDifferenceIndexes(dm.ADOConnection1);
    if (progress) progress("Results, fixtures and odds:");
    summary = GenerateDemoData(dm.ADOConnection1, options, progress);
    SetDatabaseOrigin(dm.ADOConnection1, "demo");
    dm.Command1.Execute("UPDATE NASTAVENIE SET DAT_DB=" +
                        QuoteSqlText(EncipherText(FormatDateText(options.today))));
    if (progress) progress("Season-start data and rating differences:");
    PrepareSeasons(dm, wait, msgs, options.leagues, progress);
    dm.ADOConnection1.Close();
  });
  return summary;
}

}  // namespace morvela
