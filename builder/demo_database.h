// The demo database a new user starts with: invented clubs in all twenty leagues, seven complete
// past seasons and a current season that stands at today, with results, half-time scores,
// fixtures and bookmaker odds drawn from a simple goal model.
//
// The model: every club has an attack and a defence strength (log scale) that drift from season
// to season; a match's expected goals are the league's scoring level times the home advantage
// times the attack of one side against the defence of the other; the goals of each half are
// Poisson counts, the first half carrying 45 % of the expectation. Bookmaker odds are the
// model's own outcome probabilities with some noise and a margin of 5-7 %. Between seasons the
// bottom clubs go down (the league's relegation places) and others come up: new invented clubs,
// or clubs relegated in an earlier season.
//
// The calendar: a double round robin (a triple or quadruple one in the small leagues that play
// more rounds in reality); a season opens at the league's usual summer date with rounds over
// the weekend (Friday to Monday), some midweek rounds (Tuesday to Thursday) and some free
// weekends. The current season is the one that opened last summer, or this summer once about
// four rounds of it are played; it is moved later by whole weeks when its rounds would end
// before the fixture window does (in the summer break), so that today always falls inside it.
// Its matches before today are played; those from today to today + 27 days are fixtures; later
// ones are not yet published and do not exist.
//
// The same seed and the same today give the same data: the random source is std::mt19937_64,
// whose output the standard fixes, with our own distributions (builder/demo_random.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/database.h"
#include "core/date.h"
#include "core/wait_indicator.h"
#include "i18n/messages.h"

namespace morvela {

inline constexpr int kDemoSeasons = 8;       // seven past seasons and the active one
inline constexpr int kDemoFixtureDays = 28;  // fixtures from today to today + 27 days

struct DemoOptions {
  uint64_t seed = 1;
  Date today{};              // played before this day, fixtures from it
  std::vector<int> leagues;  // league ids 1..20; empty: all twenty
};

// What the demo holds.
struct DemoSummary {
  int leagues = 0;
  int seasons = 0;         // competitions (SUTAZ rows)
  int clubs = 0;           // MUZSTVA rows
  int matches = 0;         // played matches
  int fixtures = 0;        // matches to be played
  int fixtures_today = 0;  // fixtures dated today
};

using DemoProgress = std::function<void(const std::string&)>;

// Writes the demo's competitions, clubs, season entries (with the neutral season-start values
// 1500 and 2.6 that the season preparation replaces), matches and odds into `conn`, which holds
// the program's schema (builder/schema.h) and no data of the leagues. Each league is written in
// its own transaction and reported to `progress` (may be empty) in one line. Throws
// std::out_of_range for a league id outside 1..20, DatabaseError for a failing statement (that
// league's rows are rolled back).
DemoSummary GenerateDemoData(Connection& conn, const DemoOptions& options,
                             const DemoProgress& progress);

// Creates the demo database file `path`: the schema, the demo data, the date of the results data
// (DAT_DB) set to today, and the season preparation (season-start data and the stored rating
// differences of every season). The file is built beside `path` and renamed over it only when
// complete, so a failure never leaves half a database. Refuses to replace an existing file
// unless `overwrite` is set (DatabaseError). `progress` (may be empty) receives a heading per
// step and the steps' lines per league.
DemoSummary CreateDemoDatabase(const std::string& path, const DemoOptions& options, bool overwrite,
                               WaitIndicator& wait, const Messages& msgs,
                               const DemoProgress& progress);

}  // namespace morvela
