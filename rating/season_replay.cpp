#include "rating/season_replay.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include "core/helpers.h"
#include "core/result_mode.h"
#include "core/rounding.h"
#include "i18n/message_ids.h"
#include "predict/support_routines.h"
#include "rating/head_to_head.h"

namespace morvela {

namespace {

// The modes a replay rates.
constexpr std::array<ResultMode, 3> kRatedModes{ResultMode::kFullTime, ResultMode::kFirstHalf,
                                                ResultMode::kSecondHalf};

std::string TeamsQuery(const std::string& competition) {
  return "SELECT * FROM SUTAZ_MUZSTVA WHERE (ID_SUTAZ=" + competition + ") ORDER BY ID_MUZSTVO ASC";
}

std::string SeasonWalk(const std::string& competition) {
  return "SELECT * FROM VYSLEDKY WHERE (ID_SUTAZ=" + competition +
         " AND KONTUMACIA=0) ORDER BY DATUM ASC, ID ASC";
}

// A played match of a mode has both goals of that mode (a NULL reads as the empty text).
bool PlayedIn(const Query& q, const ModeColumns& m) {
  return !q.FieldByName(m.home_goal).AsString().empty() &&
         !q.FieldByName(m.away_goal).AsString().empty();
}

// The slot of a team: the search runs from the first slot up to the first empty one.
template <typename Slots>
auto FindSlot(Slots& slots, int64_t team) -> decltype(&slots[0]) {
  for (auto& s : slots) {
    if (s.team == 0) break;
    if (s.team == team) return &s;
  }
  return nullptr;
}

// ------------------------------------------------------------------------------ limits

struct TeamCounts {
  std::array<int, 3> replayed{};  // per rating mode
  int home = 0;                   // goal pass
  int away = 0;
};

// Counts what the passes will put into the per-team arrays, without writing anything.
// Each problem is said in the program's language: the results browser shows them to the user.
void CheckLimits(Tdm& dm, const Messages& msgs, const std::string& competition,
                 ReplayReport& report) {
  auto problem = [&](MessageId text, std::initializer_list<std::string_view> values) {
    report.over_limits = true;
    report.problems.push_back(msgs.Filled(msg::kReplayCompetition, {competition}) +
                              msgs.Filled(text, values));
  };
  auto n = [](auto v) { return std::to_string(v); };

  std::map<int64_t, TeamCounts> teams;
  dm.Work2.Open(TeamsQuery(competition));
  const int team_count = dm.Work2.RecordCount();
  for (; !dm.Work2.Eof(); dm.Work2.Next())
    teams.try_emplace(dm.Work2.FieldByName("ID_MUZSTVO").AsInteger());
  if (team_count > kRatingSlotCount)
    problem(msg::kReplayTooManyTeams, {n(team_count), n(kRatingSlotCount)});
  if (team_count > kGoalSlotCount)
    problem(msg::kGoalReplayTooManyTeams, {n(team_count), n(kGoalSlotCount)});

  dm.Work2.Open(SeasonWalk(competition));
  for (; !dm.Work2.Eof(); dm.Work2.Next()) {
    auto home = teams.find(dm.Work2.FieldByName("HOME").AsInteger());
    auto away = teams.find(dm.Work2.FieldByName("AWAY").AsInteger());
    if (home == teams.end() || away == teams.end()) continue;
    for (size_t m = 0; m < kRatedModes.size(); ++m) {
      if (PlayedIn(dm.Work2, ColumnsOf(kRatedModes[m]))) {
        ++home->second.replayed[m];
        ++away->second.replayed[m];
      }
    }
    if (!dm.Work2.FieldByName("VYSLEDOK").AsString().empty()) {
      ++home->second.home;
      ++away->second.away;
    }
  }

  for (const auto& [team, counts] : teams) {
    for (size_t m = 0; m < kRatedModes.size(); ++m) {
      if (counts.replayed[m] > kMaxReplayedMatches)
        problem(msg::kReplayTooManyMatches,
                {n(team), n(counts.replayed[m]), msgs.Msg(ModeTitle(kRatedModes[m])),
                 n(kMaxReplayedMatches)});
    }
    if (counts.home > kMaxVenueMatches)
      problem(msg::kReplayTooManyHomeMatches, {n(team), n(counts.home), n(kMaxVenueMatches)});
    if (counts.away > kMaxVenueMatches)
      problem(msg::kReplayTooManyAwayMatches, {n(team), n(counts.away), n(kMaxVenueMatches)});
  }
}

// ------------------------------------------------------------------------ rating passes

// Ratings are 16-bit unsigned values; a change wraps as 16-bit arithmetic does.
struct RatingSlot {
  int64_t team = 0;  // 0: empty slot
  uint16_t rating = 0;
  uint16_t rating_home = 0;
  uint16_t rating_away = 0;
  std::array<uint16_t, kMaxReplayedMatches + 1> history{};  // [0] = season start
  uint8_t history_count = 0;

  // Rating change over the last four replayed matches, or since the season start when there
  // were fewer.
  int32_t Form() const {
    const int c = history_count;
    return int32_t{history[c]} - int32_t{history[c >= 4 ? c - 4 : 0]};
  }
  void Record() {
    ++history_count;
    history.at(history_count) = rating;
  }
};

using RatingSlots = std::array<RatingSlot, kRatingSlotCount>;

void FillRatingSlots(Tdm& dm, const std::string& competition, const ModeColumns& m,
                     RatingSlots& slots) {
  slots = {};
  dm.Work2.Open(TeamsQuery(competition));
  for (RatingSlot& s : slots) {
    if (dm.Work2.Eof()) break;
    s.team = dm.Work2.FieldByName("ID_MUZSTVO").AsInteger();
    s.rating = static_cast<uint16_t>(dm.Work2.FieldByName(m.elo).AsInteger());
    s.rating_home = static_cast<uint16_t>(dm.Work2.FieldByName(m.elo_home).AsInteger());
    s.rating_away = static_cast<uint16_t>(dm.Work2.FieldByName(m.elo_away).AsInteger());
    s.history[0] = s.rating;
    dm.Work2.Next();
  }
}

struct PassCounts {
  int rated = 0;
  int skipped = 0;
};

PassCounts RatingPass(Tdm& dm, const std::string& competition, const ModeColumns& m) {
  RatingSlots slots;
  FillRatingSlots(dm, competition, m, slots);
  PassCounts counts;
  Query& w = dm.Work2;
  for (w.Open(SeasonWalk(competition)); !w.Eof(); w.Next()) {
    const int64_t home = w.FieldByName("HOME").AsInteger();
    const int64_t away = w.FieldByName("AWAY").AsInteger();
    RatingSlot* h = FindSlot(slots, home);
    RatingSlot* a = FindSlot(slots, away);
    if (!h || !a) {
      ++counts.skipped;
      continue;
    }
    int32_t d = int32_t{h->rating} + h->Form() - int32_t{a->rating} - a->Form() +
                (int32_t{h->rating_home} - int32_t{a->rating_away}) / 2;
    if (std::optional<Date> date = w.FieldByName("DATUM").AsDate())
      d = AdjustByMeetings(
          d, ReadMeetings(dm.Work1, MeetingsStatement(m.outcome, home, away, *date), m.outcome,
                          *date));
    dm.Command1.Execute(std::string("UPDATE VYSLEDKY SET ") + m.difference + "=" +
                        std::to_string(d) +
                        " WHERE ID=" + std::to_string(w.FieldByName("ID").AsInteger()));
    ++counts.rated;

    if (PlayedIn(w, m)) {
      const auto p = static_cast<int32_t>(w.FieldByName(m.home_goal).AsInteger());
      const auto q = static_cast<int32_t>(w.FieldByName(m.away_goal).AsInteger());
      const int32_t change = RatingChange400(h->rating, a->rating, p, q);
      const int32_t venue_change = RatingChange200(h->rating_home, a->rating_away, p, q);
      h->rating = static_cast<uint16_t>(h->rating + change);
      h->rating_home = static_cast<uint16_t>(h->rating_home + venue_change);
      h->Record();
      a->rating = static_cast<uint16_t>(a->rating - change);
      a->rating_away = static_cast<uint16_t>(a->rating_away - venue_change);
      a->Record();
    }
  }
  return counts;
}

// -------------------------------------------------------------------------- goal pass

int SumOfGoals(Query& q) {
  int sum = 0;
  for (q.First(); !q.Eof(); q.Next())
    sum += static_cast<int>(q.FieldByName("HOME_GOAL").AsInteger() +
                            q.FieldByName("AWAY_GOAL").AsInteger());
  return sum;
}

int GoalPass(Tdm& dm, const std::string& competition) {
  SeasonGoals goals;
  goals.Load(dm.Work2, competition);
  Query& w = dm.Work2;
  for (w.Open("SELECT * FROM VYSLEDKY WHERE (ID_SUTAZ=" + competition +
              " AND KONTUMACIA=0 AND VYSLEDOK<>\"\") ORDER BY DATUM ASC, ID ASC");
       !w.Eof(); w.Next()) {
    goals.AddMatch(w.FieldByName("HOME").AsInteger(), w.FieldByName("AWAY").AsInteger(),
                   static_cast<int>(w.FieldByName("HOME_GOAL").AsInteger() +
                                    w.FieldByName("AWAY_GOAL").AsInteger()));
  }

  int written = 0;
  for (w.Open("SELECT * FROM VYSLEDKY WHERE (ID_SUTAZ=" + competition +
              " AND VYSLEDOK IS NULL) ORDER BY DATUM ASC, ID ASC");
       !w.Eof(); w.Next()) {
    const std::optional<int32_t> under = goals.UnderPercent(
        dm.Work1, w.FieldByName("HOME").AsInteger(), w.FieldByName("AWAY").AsInteger());
    if (!under) continue;
    dm.Command1.Execute("UPDATE VYSLEDKY SET UNDER=" + std::to_string(*under) +
                        " WHERE ID=" + std::to_string(w.FieldByName("ID").AsInteger()));
    ++written;
  }
  return written;
}

}  // namespace

template <typename T, size_t N>
void SeasonGoals::Series<T, N>::Add(int g) {
  total = static_cast<uint16_t>(total + g);
  ++count;
  goals.at(count) = static_cast<T>(g);
}

// Mean goals per match; the assumed average before the first match.
template <typename T, size_t N>
double SeasonGoals::Series<T, N>::Mean(double average) const {
  return count == 0 ? average : static_cast<double>(total) / count;
}

// Mean of the last four matches, the assumed average standing in for missing ones.
template <typename T, size_t N>
double SeasonGoals::Series<T, N>::RecentMean(double average) const {
  double sum = 0;
  for (int s = 0; s < 4; ++s) sum += count - s >= 1 ? goals[count - s] : average;
  return sum / 4;
}

bool SeasonGoals::Load(Query& q, const std::string& competition) {
  slots_ = {};
  q.Open("select * FROM SUTAZ_MUZSTVA WHERE (ID_SUTAZ=" + competition +
         ") ORDER BY ID_MUZSTVO ASC");
  for (Slot& s : slots_) {
    if (q.Eof()) break;
    s.team = q.FieldByName("ID_MUZSTVO").AsInteger();
    s.average = q.FieldByName("PR").AsFloat();
    s.average_home = q.FieldByName("PR_HOME").AsFloat();
    s.average_away = q.FieldByName("PR_AWAY").AsFloat();
    q.Next();
  }
  return q.Eof();
}

SeasonGoals::Added SeasonGoals::AddMatch(int64_t home, int64_t away, int goals) {
  Slot* h = FindSlot(slots_, home);
  Slot* a = FindSlot(slots_, away);
  if (!h || !a) return Added::kNoSlot;
  if (h->all.Full() || h->home.Full() || a->all.Full() || a->away.Full()) return Added::kFull;
  h->all.Add(goals);
  h->home.Add(goals);
  a->all.Add(goals);
  a->away.Add(goals);
  return Added::kRecorded;
}

// Expected goals of a team's matches from its record overall and at one venue.
double SeasonGoals::ExpectedGoals(const Slot& s, const VenueSeries& venue, double venue_average) {
  return s.all.Mean(s.average) + venue.Mean(venue_average) + s.all.RecentMean(s.average) +
         venue.RecentMean(venue_average);
}

std::optional<int32_t> SeasonGoals::UnderPercent(Query& q, int64_t home, int64_t away,
                                                 const std::optional<Date>& before) const {
  const Slot* h = FindSlot(slots_, home);
  const Slot* a = FindSlot(slots_, away);
  if (!h || !a) return std::nullopt;
  const double e_home = ExpectedGoals(*h, h->home, h->average_home);
  const double e_away = ExpectedGoals(*a, a->away, a->average_away);
  const std::string hs = std::to_string(home);
  const std::string as = std::to_string(away);
  // Without a day the meetings need no date condition: only played matches have goals.
  const std::string until = before ? " AND DATUM<" + FormatSqlDate(*before) : std::string();
  q.Open("SELECT TOP 4 HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE (  (  (HOME=" + hs +
         " AND AWAY=" + as + ") OR (HOME=" + as + " AND AWAY=" + hs +
         ") ) AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL AND KONTUMACIA=0" + until +
         ") ORDER BY DATUM DESC");
  const int any_count = q.RecordCount();
  double lambda = 0;
  if (any_count == 0) {
    lambda = (e_home + e_away) / 8;
  } else {
    double x = static_cast<double>(SumOfGoals(q)) / any_count;
    q.Open("SELECT TOP 4 HOME_GOAL,AWAY_GOAL,DATUM FROM VYSLEDKY WHERE (HOME=" + hs + " AND AWAY=" +
           as + " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL AND KONTUMACIA=0" + until +
           ") ORDER BY DATUM DESC");
    const int same_count = q.RecordCount();
    if (same_count == 0) {
      lambda = (e_home + e_away + x) / 9;
    } else {
      x += static_cast<double>(SumOfGoals(q)) / same_count;
      lambda = (e_home + e_away + x) / 10;
    }
  }
  return UnderPercentage(lambda);
}

ReplayReport ReplaySeason(Tdm& dm, WaitIndicator& wait, const Messages& msgs,
                          const std::string& competition) {
  dm.Work1.Close();
  WaitScope shown(wait, 0, msgs.Msg(msg::kCalculateRatings) + " ...");
  ReplayReport report;
  CheckLimits(dm, msgs, competition, report);
  if (report.over_limits) return report;

  const PassCounts full_time = RatingPass(dm, competition, ColumnsOf(ResultMode::kFullTime));
  report.rows_rated = full_time.rated;
  report.skipped_no_slot = full_time.skipped;
  report.fixtures_with_under = GoalPass(dm, competition);
  // The half passes walk the same rows with the same slots, so they rate and skip the same.
  RatingPass(dm, competition, ColumnsOf(ResultMode::kFirstHalf));
  RatingPass(dm, competition, ColumnsOf(ResultMode::kSecondHalf));
  return report;
}

}  // namespace morvela
