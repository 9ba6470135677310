#include "analysis/match_window.h"

#include "i18n/message_ids.h"

#include <algorithm>
#include <cstdlib>

#include "analysis/analysis_messages.h"
#include "analysis/bet_link.h"
#include "core/helpers.h"
#include "predict/outcome_search.h"
#include "predict/tip_selection.h"
#include "program/program.h"

namespace morvela {

namespace {

// A team's line of the chart: two pixels wide, listed in the legend.
ChartSeries TeamSeries(const std::string& title, ScreenColour colour) {
  ChartSeries s;
  s.title = title;
  s.color = colour;
  s.width = 2;
  s.in_legend = true;
  s.active = true;
  return s;
}

// The one place the window reads the main window's result mode.
ResultMode CurrentResultMode(const Program& p) {
  return p.selection.result_mode;
}

// Odds columns of each mode, in the order of the odds line (1, 0, 2, 10, 02, 12).
constexpr const char* kOddsColumns[3][6] = {
    {"KURZ1", "KURZX", "KURZ2", "KURZ1X", "KURZX2", "KURZ12"},
    {"HT_KURZ1", "HT_KURZX", "HT_KURZ2", "HT_KURZ1X", "HT_KURZX2", "HT_KURZ12"},
    {"SHT_KURZ1", "SHT_KURZX", "SHT_KURZ2", "SHT_KURZ1X", "SHT_KURZX2", "SHT_KURZ12"},
};

ScreenColour RatingColour(int32_t rating) {
  return rating > 1499 ? kFigureGreen : kFigureRed;
}
ScreenColour FormColour(int32_t form) {
  return form >= 0 ? kFigureGreen : kFigureRed;
}
ScreenColour GoalColour(double goals) {
  return goals >= 2.5 ? kFigureGreen : kFigureRed;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
  std::string s;
  for (size_t i = 0; i < parts.size(); ++i) s += (i ? separator : "") + parts[i];
  return s;
}

// One entry of the difference line: "?" for odds that read as the integer 0, else the
// window's percentage minus the percentage the odds imply.
std::string DifferenceOf(const Field& odds, int percent) {
  if (odds.AsInteger() == 0) return "?";
  return std::to_string(percent - ImpliedPercent(odds.AsFloat()));
}

}  // namespace

TForm5::TForm5(Program& program) : p_(program) {}

void TForm5::PresetTeams(const TeamItem& h, const TeamItem& a) {
  home.items = {h};
  home.index = 0;
  away.items = {a};
  away.index = 0;
}

PairingCaptions PairingWindowCaptions(const Messages& m) {
  return {.ok = m.Msg(msg::kOk),
          .back = m.Msg(msg::kBack),
          .home_head = m.Msg(msg::kHomeLabel),
          .guest_head = m.Msg(msg::kGuestLabel),
          .show_matches = m.Msg(msg::kShowMatches),
          .latest_matches = m.Msg(msg::kLatestMatches),
          .table_home = m.Msg(msg::kTableHome),
          .table_away = m.Msg(msg::kTableAway)};
}

void TForm5::FormShow() {
  const Messages& m = p_.messages;
  caption_ = "  " + m.Msg(msg::kTipTitle);
  captions_ = PairingWindowCaptions(m);
  bet_caption_ = m.Msg(msg::kBetOnMatch);
  mode_ = CurrentResultMode(p_);
  bottom_axis_ = m.Msg(msg::kMatchInOrder);
  left_axis_ = m.Msg(mode_ == ResultMode::kUnderOver ? msg::kGoalsAxis : msg::kRatingAxis);
  ChoiceState();
  p_.prediction.LikelyScore.clear();
  if (opened_from_tips_) ZobrazOkno();
}

void TForm5::ChoiceState() {
  analysed_ = false;
  second_opinion_ = {};
  second_opinion_lines_.clear();
  for (ChartSeries& s : series_) {
    s.points.clear();
    s.active = false;
  }
  for (WindowLabel& l : labels_) l = WindowLabel{};
}

void TForm5::Button1Click() {
  ZobrazOkno();
}

bool TForm5::ZobrazOkno() {
  const TeamItem* h = home.Selected();
  const TeamItem* a = away.Selected();
  if (!h || !a || RefuseSameTeams(p_, *h, *a)) return false;
  const Messages& m = p_.messages;
  AnalysisStatus status;
  {
    WaitScope wait(p_.wait, 0, m.Msg(msg::kPleaseWait));
    mode_ = CurrentResultMode(p_);
    std::optional<int64_t> match_id;
    if (opened_from_tips_) {
      // The tips list's current row: the match date is the reference date, its id finds the
      // odds.
      const Query& row = p_.dm.Work3;
      reference_used_ = row.FieldByName("DATUM").AsDate().value_or(p_.today);
      match_id = row.FieldByName("ID").AsInteger();
    } else {
      reference_used_ = reference_.value_or(p_.today);
    }
    for (ChartSeries& s : series_) {
      s.points.clear();
      s.active = false;
    }
    Connection& conn = p_.dm.ADOConnection1;
    const std::string& competition = p_.selection.competition;
    if (mode_ != ResultMode::kUnderOver) {
      goals_ = {};
      status =
          AnalysePairing(conn, {h->id, a->id, mode_, competition, m.Language(), reference_used_},
                         teams_, pairing_);
    } else {
      teams_ = {};
      status =
          AnalyseUnderOver(conn, competition, m.Language(), h->id, a->id, goals_, goal_figures_);
    }
    if (status.ok()) {
      if (mode_ != ResultMode::kUnderOver) {
        RatingFigures();
        SearchContext sc;
        sc.result_mode = mode_;
        sc.league = p_.selection.league;
        FindOutcomeFrequencies(conn, p_.prediction, sc, SearchMode::kMatch, pairing_.adjusted);
        SelectTip(p_.prediction);
      } else {
        GoalFiguresAndChart();
      }
      Odds(match_id);
      second_opinion_ = FindSecondOpinion(conn, std::strtoll(competition.c_str(), nullptr, 10),
                                          h->id, a->id, reference_used_, match_id);
      second_opinion_lines_ = {SecondOpinionModelLine(m, second_opinion_),
                               SecondOpinionMarketLine(m, second_opinion_)};
      const bool uo = mode_ == ResultMode::kUnderOver;
      labels_[kTipLine] = {TipLine(), kFigureRed, false, true, true};
      labels_[kOddsLine] = {
          m.NastavJazykPar(uo ? msg::kOddsUnderOverCase : msg::kOddsCase, odds_line_), kLabelBlack,
          true, false, true};
      labels_[kDifferenceLine] = {
          m.NastavJazykPar(uo ? msg::kDifferenceUnderOverCase : msg::kDifferenceCase,
                           difference_line_),
          kLabelBlack, true, false, true};
      Expand();
      // Without odds there is no difference to show; an empty line would only look broken.
      if (difference_line_.empty()) labels_[kDifferenceLine].visible = false;
      caption_ = "  " + m.Msg(ModeTitle(mode_)) +
                 " :: " + m.NastavJazykPar(msg::kTipOfCase, home.Text() + " - " + away.Text());
    }
  }
  if (status.ok()) return true;
  ChoiceState();
  const std::string name = status.problem == AnalysisProblem::kHomeTeamNotFound   ? h->name
                           : status.problem == AnalysisProblem::kAwayTeamNotFound ? a->name
                                                                                  : std::string();
  std::string team = name;
  if (status.problem == AnalysisProblem::kTooManyMatches) {
    for (const TeamItem* t : {h, a})
      if (t->id == status.team) team = t->name;
  }
  p_.ui.ShowMessage(MessageKind::kWarning, AnalysisProblemText(m, status, team));
  return false;
}

void FillRatingLabels(const Messages& m, const RatingFigureValues& r, const PairingFigures& f,
                      std::span<WindowLabel> labels) {
  auto figure = [&](int label, MessageCase message, int32_t value, ScreenColour colour) {
    labels[label] = {m.NastavJazykPar(message, std::to_string(value)), colour, false, false, true};
  };
  figure(kHomeRating, msg::kEloCase, r.rating_h, RatingColour(r.rating_h));
  figure(kAwayRating, msg::kEloCase, r.rating_a, RatingColour(r.rating_a));
  figure(kHomeVenueRating, msg::kEloHomeCase, r.rating_home_h, RatingColour(r.rating_home_h));
  figure(kAwayVenueRating, msg::kEloAwayCase, r.rating_away_a, RatingColour(r.rating_away_a));
  figure(kHomeForm, msg::kFormCase, f.form_h, FormColour(f.form_h));
  figure(kAwayForm, msg::kFormCase, f.form_a, FormColour(f.form_a));
  figure(kHomeVenueForm, msg::kFormHomeCase, f.home_form_h, FormColour(f.home_form_h));
  figure(kAwayVenueForm, msg::kFormAwayCase, f.away_form_a, FormColour(f.away_form_a));
  labels[kHeadToHead] = {m.NastavJazykPar(msg::kHeadToHeadCase, "") + std::to_string(f.wins) +
                             " - " + std::to_string(f.draws) + " - " + std::to_string(f.losses),
                         kLabelBlue, true, false, true};
}

void TForm5::RatingFigures() {
  const analysis::Tmuzstva& h = teams_[pairing_.h];
  const analysis::Tmuzstva& a = teams_[pairing_.a];
  FillRatingLabels(p_.messages, {h.rating, a.rating, h.rating_home, a.rating_away}, pairing_,
                   labels_);

  auto line = [](ChartSeries& s, const analysis::Tmuzstva& t, const std::string& title,
                 ScreenColour colour) {
    s = TeamSeries(title, colour);
    for (int k = 0; k <= t.history_count; ++k)
      s.points.push_back(
          {static_cast<double>(k), static_cast<double>(t.history[k]), std::to_string(k)});
  };
  line(series_[kHomeLine], h, home.Text(), kFigureRed);
  line(series_[kAwayLine], a, away.Text(), kAwayLineColour);
  series_[kGoalLine] = ChartSeries{"", kFigureGreen, 3, false, false, {}};
}

void TForm5::GoalFiguresAndChart() {
  const Messages& m = p_.messages;
  const GoalFigures& f = goal_figures_;
  PredictionState& s = p_.prediction;
  s.HomePercent = f.under;
  s.AwayPercent = static_cast<uint16_t>(100 - f.under);
  s.Tip = m.Msg(f.under > 50 ? msg::kUnderTip : msg::kOverTip);

  auto figure = [&](int label, MessageCase message, double value) {
    labels_[label] = {m.NastavJazykPar(message, FormatOdds(value)), GoalColour(value), false, false,
                      true};
  };
  figure(kHomeRating, msg::kAverageCase, f.average_h);
  figure(kAwayRating, msg::kAverageCase, f.average_a);
  figure(kHomeVenueRating, msg::kAverageHomeCase, f.average_home_h);
  figure(kAwayVenueRating, msg::kAverageAwayCase, f.average_away_a);
  figure(kHomeForm, msg::kFormCase, f.form_h);
  figure(kAwayForm, msg::kFormCase, f.form_a);
  figure(kHomeVenueForm, msg::kFormHomeCase, f.home_form_h);
  figure(kAwayVenueForm, msg::kFormAwayCase, f.away_form_a);
  labels_[kHeadToHead] = {m.NastavJazykPar(msg::kHeadToHeadUnderOverCase, "") +
                              std::to_string(f.under_count) + " - " + std::to_string(f.over_count),
                          kLabelBlue, true, false, true};

  const analysis::TGoly& h = goals_[f.h];
  const analysis::TGoly& a = goals_[f.a];
  auto line = [](ChartSeries& s, const analysis::TGoly& t, const std::string& title,
                 ScreenColour colour) {
    s = TeamSeries(title, colour);
    s.points.push_back({0, t.average, "0"});
    for (int k = 1; k <= t.goals_count; ++k)
      s.points.push_back(
          {static_cast<double>(k), static_cast<double>(t.goals[k]), std::to_string(k)});
  };
  line(series_[kHomeLine], h, home.Text(), kFigureRed);
  line(series_[kAwayLine], a, away.Text(), kAwayLineColour);
  // The 2.5-goal line runs under both teams' lines, from the season start to the later of
  // their last matches.
  ChartSeries& g = series_[kGoalLine];
  g = ChartSeries{"", kFigureGreen, 3, false, true, {}};
  const int last = std::max(h.goals_count, a.goals_count);
  for (int k = 0; k <= last; ++k)
    g.points.push_back({static_cast<double>(k), 2.5, std::to_string(k)});
}

void TForm5::Odds(const std::optional<int64_t>& match_id) {
  const FixtureOdds o =
      FindFixtureOdds(p_.dm.ADOConnection1, p_.messages, mode_, p_.selection.competition,
                      home.Selected()->id, away.Selected()->id, match_id, p_.prediction);
  odds_line_ = o.odds_line;
  difference_line_ = o.difference_line;
  bet_event_id_ = o.bet_event_id;
}

FixtureOdds FindFixtureOdds(Connection& conn, const Messages& m, ResultMode mode,
                            const std::string& competition, int64_t home, int64_t away,
                            const std::optional<int64_t>& match_id, const PredictionState& s) {
  FixtureOdds out;
  const bool uo = mode == ResultMode::kUnderOver;
  std::string columns;
  if (uo) {
    columns = "OVER,UNDER";
  } else {
    for (const char* c : kOddsColumns[ModeIndex(mode)])
      columns += std::string(columns.empty() ? "" : ",") + c;
  }
  columns += ",BWIN_ID";
  std::string statement = "SELECT " + columns + " FROM KURZY WHERE ";
  if (match_id) {
    statement = "SELECT " + columns + " FROM KURZY WHERE (ID=" + std::to_string(*match_id) + ")";
  } else {
    statement += "ID= (SELECT TOP 1 ID FROM VYSLEDKY WHERE (ID_SUTAZ=" + competition +
                 " AND VYSLEDKY.HOME=" + std::to_string(home) +
                 " AND VYSLEDKY.AWAY=" + std::to_string(away) +
                 " AND VYSLEDOK IS NULL) ORDER BY DATUM)";
  }
  Query q(conn);
  q.Open(statement);
  if (q.RecordCount() == 1) {
    if (uo) {
      const Field under = q.FieldByName("UNDER");
      const Field over = q.FieldByName("OVER");
      out.odds_line = FormatOdds(under.AsFloat()) + " - " + FormatOdds(over.AsFloat());
      out.difference_line =
          DifferenceOf(under, s.HomePercent) + ", " + DifferenceOf(over, s.AwayPercent);
    } else {
      const int percents[6] = {s.HomePercent,
                               s.DrawPercent,
                               s.AwayPercent,
                               s.HomePercent + s.DrawPercent,
                               s.DrawPercent + s.AwayPercent,
                               s.HomePercent + s.AwayPercent};
      std::vector<std::string> odds, differences;
      for (int i = 0; i < 6; ++i) {
        const Field o = q.FieldByName(kOddsColumns[ModeIndex(mode)][i]);
        odds.push_back(FormatOdds(o.AsFloat()));
        differences.push_back(DifferenceOf(o, percents[i]));
      }
      out.odds_line = Joined(odds, " - ");
      out.difference_line = Joined(differences, ", ");
    }
    out.bet_event_id = q.FieldByName("BWIN_ID").AsString();
  }
  if (out.odds_line.empty() || out.odds_line == "0 - 0 - 0 - 0 - 0 - 0" || out.odds_line == "0 - 0")
    out.odds_line = m.Msg(msg::kNotAvailable);
  return out;
}

bool RefuseSameTeams(Program& program, const TeamItem& home, const TeamItem& away) {
  if (home.id != away.id) return false;
  program.ui.ShowMessage(MessageKind::kError, program.messages.Msg(msg::kSameTwoTeams));
  return true;
}

std::string TendencyTipLine(const Messages& m, const PredictionState& s) {
  return m.NastavJazykPar(msg::kTipCase, TrimTip(s.Tip)) + "    " +
         m.NastavJazykPar(msg::kTendencyCase, "") + std::to_string(s.HomePercent) + " - " +
         std::to_string(s.DrawPercent) + " - " + std::to_string(s.AwayPercent);
}

std::string TForm5::TipLine() const {
  const Messages& m = p_.messages;
  const PredictionState& s = p_.prediction;
  const std::string tip = m.NastavJazykPar(msg::kTipCase, TrimTip(s.Tip));
  if (mode_ == ResultMode::kUnderOver)
    return tip + "    " + m.NastavJazykPar(msg::kTendencyUnderOverCase, "") +
           std::to_string(s.HomePercent) + " - " + std::to_string(s.AwayPercent);
  const std::string tendency =
      m.NastavJazykPar(msg::kTendencyCase, "") + std::to_string(s.HomePercent) + " - " +
      std::to_string(s.DrawPercent) + " - " + std::to_string(s.AwayPercent);
  if (!s.LikelyScore.empty()) return tip + "  (" + s.LikelyScore + ")  " + tendency;
  return TendencyTipLine(m, s);
}

void TForm5::Expand() {
  analysed_ = true;
  for (WindowLabel& l : labels_)
    if (!l.text.empty()) l.visible = true;
  if (!p_.WindowRaised) {
    top_ = std::max(screen_top_, top_ - kRaiseBy);
    p_.WindowRaised = true;
  }
}

std::string TForm5::Chart1MouseMove(int series, int index) const {
  if (!analysed_ || (series != kHomeLine && series != kAwayLine) || index < 0) return "";
  if (mode_ != ResultMode::kUnderOver) {
    const analysis::Tmuzstva& t = teams_[series == kHomeLine ? pairing_.h : pairing_.a];
    const int n = t.history_count;
    if (n == 0 || index > n) return "";
    // The last point stands for the team's last match, as the segment leading to it does.
    const int i = std::min(index, n - 1);
    const int m = i + 1;
    const int p = t.match_home_slot[m];
    const int q = t.match_away_slot[m];
    return teams_[p].name + "[" + std::to_string(VratPoradie(teams_, p, i)) + "] - " +
           teams_[q].name + "[" + std::to_string(VratPoradie(teams_, q, i)) + "]  " +
           t.match_score[m];
  }
  const analysis::TGoly& t = goals_[series == kHomeLine ? goal_figures_.h : goal_figures_.a];
  const int n = t.goals_count;
  if (n == 0 || index > n) return "";
  const int m = std::min(index, n - 1) + 1;
  return goals_[t.match_home_slot[m]].name + " - " + goals_[t.match_away_slot[m]].name + "  " +
         t.match_score[m];
}

void TForm5::LatestMatchesClick(bool home_column, MatchWindowLinks& links) const {
  const TeamItem* t = (home_column ? home : away).Selected();
  if (t)
    links.ShowHistoryList(
        {.kind = HistoryKind::kLatestMatches, .mode = CurrentResultMode(p_), .team = *t});
}

void TForm5::ShowMatchesClick(MatchWindowLinks& links) const {
  if (home.Selected() && away.Selected())
    links.ShowHistoryList({.kind = HistoryKind::kHeadToHead,
                           .mode = CurrentResultMode(p_),
                           .team = *home.Selected(),
                           .other = *away.Selected()});
}

void TForm5::TableClick(bool home_table, MatchWindowLinks& links) const {
  if (!home.Selected() || !away.Selected()) return;
  links.ShowLeagueTable({MatchTableKind(CurrentResultMode(p_), home_table),
                         TableMatch{home.Selected()->id, away.Selected()->id}});
}

std::string TForm5::BetLink() const {
  return BetAddress(p_.messages.Language(), bet_event_id_);
}

void TForm5::BetClick() const {
  if (!bet_event_id_.empty()) p_.ui.OpenUrl(BetLink());
}

void FindTip(Program& p, TForm5& window) {
  const std::vector<TeamItem> teams =
      CompetitionTeams(p.dm.ADOConnection1, p.selection.competition, p.messages.Language());
  window.home.items = teams;
  window.home.index = teams.empty() ? -1 : 0;
  window.away.items = teams;
  window.away.index = teams.size() >= 2 ? 1 : -1;
  p.WindowRaised = false;
}

}  // namespace morvela
