#include "analysis/live_window.h"

#include <algorithm>
#include <cstdlib>

#include "analysis/analysis_messages.h"
#include "core/helpers.h"
#include "core/outcome.h"
#include "i18n/message_ids.h"
#include "predict/outcome_search.h"
#include "predict/tip_selection.h"
#include "program/program.h"
#include "rating/competition_teams.h"

namespace morvela {

namespace {

// Counts a head-to-head statement's VYSLEDOK values: 1 wins, 0 draws, 2 losses.
void CountOutcomes(Connection& conn, const std::string& statement, int& wins, int& draws,
                   int& losses) {
  wins = draws = losses = 0;
  Query q(conn);
  q.Open(statement);
  for (; !q.Eof(); q.Next()) {
    const std::optional<int64_t> o = OutcomeValue(q.FieldByName("VYSLEDOK"));
    if (o == 1) ++wins;
    if (o == 0) ++draws;
    if (o == 2) ++losses;
  }
}

std::string RecordLine(const Messages& m, int wins, int draws, int losses) {
  return m.NastavJazykPar(msg::kHeadToHeadCase, "") + std::to_string(wins) + " - " +
         std::to_string(draws) + " - " + std::to_string(losses);
}

}  // namespace

ScreenColour LiveDifferenceColour(int difference) {
  if (difference < 0) return kFigureRed;
  if (difference > 0) return kFigureGreen;
  return kLabelBlack;
}

int LiveDifference(int percent, double odds) {
  return percent - ImpliedPercent(odds);
}

std::array<int, kLiveOddsCount> OutcomePercents(const PredictionState& s) {
  return {s.HomePercent,
          s.DrawPercent,
          s.AwayPercent,
          s.HomePercent + s.DrawPercent,
          s.DrawPercent + s.AwayPercent,
          s.HomePercent + s.AwayPercent};
}

std::array<std::string, 3> LiveMeetingStatements(int64_t home, int64_t away, const Date& date,
                                                 int ht_home, int ht_away) {
  const std::string head =
      "SELECT TOP 4 ID,DATUM,VYSLEDOK FROM VYSLEDKY WHERE (HOME=" + std::to_string(home) +
      " AND AWAY=" + std::to_string(away) + " AND DATUM<" + FormatSqlDate(date);
  const std::string outcome(OutcomeText(ScoreOutcome(ht_home, ht_away)));
  return {head + " AND KONTUMACIA=0 AND VYSLEDOK<>\"\" AND HT_VYSLEDOK<>\"\" AND HT_HOME_GOAL=" +
              std::to_string(ht_home) + " AND HT_AWAY_GOAL=" + std::to_string(ht_away) +
              " ) ORDER BY DATUM DESC",
          head + " AND KONTUMACIA=0 AND VYSLEDOK<>\"\" AND HT_VYSLEDOK=\"" + outcome +
              "\") ORDER BY DATUM DESC",
          FullTimeMeetingsStatement(home, away, date)};
}

TfLive::TfLive(Program& program) : p_(program) {
  odds_.fill(kMinLiveOdds);
}

void TfLive::Open() {
  remembered_ = p_.selection.result_mode;
  if (remembered_ == ResultMode::kUnderOver) p_.selection.result_mode = ResultMode::kFullTime;
  const std::vector<TeamItem> teams =
      CompetitionTeams(p_.dm.ADOConnection1, p_.selection.competition, p_.messages.Language());
  home.items = teams;
  home.index = teams.empty() ? -1 : 0;
  away.items = teams;
  away.index = teams.size() >= 2 ? 1 : -1;
}

void TfLive::Closed() {
  p_.selection.result_mode = remembered_;
}

void TfLive::FormShow() {
  const Messages& m = p_.messages;
  p_.selection.result_mode = ResultMode::kFullTime;
  caption_ = "  " + m.Msg(msg::kLiveTip);
  captions_ = PairingWindowCaptions(m);
  ChoiceState();
  odds_.fill(kMinLiveOdds);
  for (int i = 0; i < kLiveOddsCount; ++i)
    labels_[kFirstLiveDifference + i] = {"0", kLabelBlack, false, false, false};
}

void TfLive::ChoiceState() {
  analysed_ = false;
  live_tip_ = false;
  second_opinion_ = {};
  in_play_line_.clear();
  for (int n = 0; n < kFirstLiveDifference; ++n) labels_[n] = WindowLabel{};
  for (int i = 0; i < kLiveOddsCount; ++i) labels_[kFirstLiveDifference + i].visible = false;
  labels_[kHalfTimeHead] = {p_.messages.Msg(msg::kEnterHalftimeResult), kLabelBlack, false, false,
                            true};
}

bool TfLive::SetHalfTime(int home_goals, int away_goals) {
  if (home_goals < 0 || home_goals > kMaxHalfTimeGoals || away_goals < 0 ||
      away_goals > kMaxHalfTimeGoals)
    return false;
  pb1_ = home_goals;
  pb2_ = away_goals;
  return true;
}

bool TfLive::SetOdds(int index, double odds) {
  // A hundredth below the bounds still counts as on them: the entries step by 0.01.
  if (index < 0 || index >= kLiveOddsCount || !(odds >= kMinLiveOdds - 1e-9) ||
      !(odds <= kMaxLiveOdds + 1e-9))
    return false;
  odds_[static_cast<size_t>(index)] = odds;
  if (OddsEnabled()) LiveDifferenceOf(index);
  return true;
}

void TfLive::LiveDifferenceOf(int index) {
  // The prediction state holds the live search's results after an analysis.
  const int percent = OutcomePercents(p_.prediction)[static_cast<size_t>(index)];
  const int d = LiveDifference(percent, odds_[static_cast<size_t>(index)]);
  labels_[kFirstLiveDifference + index] = {std::to_string(d), LiveDifferenceColour(d), false, false,
                                           true};
}

bool TfLive::ZobrazOkno() {
  const TeamItem* h = home.Selected();
  const TeamItem* a = away.Selected();
  if (!h || !a || RefuseSameTeams(p_, *h, *a)) return false;
  const Messages& m = p_.messages;
  Connection& conn = p_.dm.ADOConnection1;
  AnalysisStatus status;
  {
    WaitScope wait(p_.wait, 0, m.Msg(msg::kPleaseWait));
    p_.selection.result_mode = ResultMode::kFullTime;
    const std::string& competition = p_.selection.competition;
    // Steps 1 to 3: team load, replay, forms, D0, and D1 adjusted by all meetings.
    status = AnalysePairing(
        conn, {h->id, a->id, ResultMode::kFullTime, competition, m.Language(), p_.today}, teams_,
        pairing_);
    if (status.ok()) {
      // The window's own pre-match record: meetings with a full-time outcome.
      const std::string pair = "(VYSLEDKY.HOME=" + std::to_string(h->id) +
                               " AND VYSLEDKY.AWAY=" + std::to_string(a->id) +
                               " AND VYSLEDOK<>\"\"";
      CountOutcomes(conn, "SELECT VYSLEDOK FROM VYSLEDKY WHERE " + pair + ")", pairing_.wins,
                    pairing_.draws, pairing_.losses);
      const analysis::TeamSlot<kAnalysisMatches>& th = teams_[pairing_.h];
      const analysis::TeamSlot<kAnalysisMatches>& ta = teams_[pairing_.a];
      FillRatingLabels(m, {th.rating, ta.rating, th.rating_home, ta.rating_away}, pairing_,
                       labels_);

      // Pre-match tip with D1; no likely score in this window.
      SearchContext sc;
      sc.result_mode = ResultMode::kFullTime;
      sc.league = p_.selection.league;
      sc.ht_home = pb1_;
      sc.ht_away = pb2_;
      PredictionState& s = p_.prediction;
      FindOutcomeFrequencies(conn, s, sc, SearchMode::kMatch, pairing_.adjusted);
      SelectTip(s);
      s.LikelyScore.clear();
      pre_match_ = s;
      const FixtureOdds odds =
          FindFixtureOdds(conn, m, ResultMode::kFullTime, competition, h->id, a->id, {}, s);
      odds_line_ = odds.odds_line;
      difference_line_ = odds.difference_line;
      labels_[kTipLine] = {TendencyTipLine(m, s), kFigureRed, false, true, true};
      labels_[kOddsLine] = {m.NastavJazykPar(msg::kOddsCase, odds_line_), kLabelBlack, true, false,
                            true};
      // Without odds there is no difference to show (see the match tip window).
      labels_[kDifferenceLine] = {m.NastavJazykPar(msg::kDifferenceCase, difference_line_),
                                  kLabelBlack, true, false, !difference_line_.empty()};
      labels_[kBeforeMatch] = {m.Msg(msg::kInformationBeforeMatch), kLabelBlue, false, false, true};
      second_opinion_ = FindSecondOpinion(conn, std::strtoll(competition.c_str(), nullptr, 10),
                                          h->id, a->id, p_.today, std::nullopt);
      in_play_line_ = InPlayModelLine(m, second_opinion_, pb1_, pb2_);

      // Live difference: D0 moved by the first kind of meetings that exists, so that the
      // all-meetings adjustment of D1 is never applied on top.
      d2_ = pairing_.difference;
      live_meetings_ = LiveMeetings::kNone;
      live_meeting_count_ = 0;
      const auto statements = LiveMeetingStatements(h->id, a->id, p_.today, pb1_, pb2_);
      for (size_t k = 0; k < statements.size(); ++k) {
        const std::vector<Meeting> meetings =
            ReadMeetings(conn, statements[k], "VYSLEDOK", p_.today);
        if (meetings.empty()) continue;
        live_meetings_ = static_cast<LiveMeetings>(k + 1);
        live_meeting_count_ = static_cast<int>(meetings.size());
        d2_ = AdjustByMeetings(d2_, meetings);
        break;
      }

      FindOutcomeFrequencies(conn, s, sc, SearchMode::kLive, d2_);
      SelectTip(s);
      live_ = s;
      caption_ = "  " + m.NastavJazykPar(msg::kLiveTipOfCase, home.Text() + " - " + away.Text());
      labels_[kAfterHalfTime] = {
          m.NastavJazykPar(msg::kTipAfterHalfTimeCase,
                           std::to_string(pb1_) + ":" + std::to_string(pb2_)),
          kFigureRed, false, false, true};
      CountOutcomes(conn,
                    "SELECT VYSLEDOK FROM VYSLEDKY WHERE " + pair +
                        " AND HT_VYSLEDOK<>\"\" AND HT_HOME_GOAL=" + std::to_string(pb1_) +
                        " AND HT_AWAY_GOAL=" + std::to_string(pb2_) + ")",
                    live_wins_, live_draws_, live_losses_);
      labels_[kLiveHeadToHead] = {RecordLine(m, live_wins_, live_draws_, live_losses_), kLabelBlue,
                                  false, false, true};

      live_tip_ = s.HomePercent != 0 || s.DrawPercent != 0 || s.AwayPercent != 0;
      labels_[kLiveTipLine] = {
          live_tip_ ? TendencyTipLine(m, s) : m.Msg(msg::kTipCannotBeCalculated), kFigureRed, false,
          false, true};
      labels_[kEnterOdds] = {m.Msg(msg::kEnterOdds), kLabelBlack, false, false, true};
      labels_[kDifferencesHead] = {m.Msg(msg::kDifferencesPercent), kLabelBlack, false, false,
                                   true};
      analysed_ = true;
      for (int i = 0; i < kLiveOddsCount; ++i) {
        if (live_tip_)
          LiveDifferenceOf(i);
        else
          labels_[kFirstLiveDifference + i] = {"", kLabelBlack, false, false, true};
      }
      if (!p_.WindowRaised) {
        top_ = std::max(screen_top_, top_ - kLiveRaiseBy);
        p_.WindowRaised = true;
      }
    }
  }
  if (status.ok()) return true;
  ChoiceState();
  std::string team;
  for (const TeamItem* t : {h, a})
    if (t->id == status.team) team = t->name;
  p_.ui.ShowMessage(MessageKind::kWarning, AnalysisProblemText(m, status, team));
  return false;
}

void TfLive::TableClick(bool home_table, LeagueTablesView& view) const {
  if (!home.Selected() || !away.Selected()) return;
  view.ShowLeagueTables(p_, {MatchTableKind(ResultMode::kFullTime, home_table),
                             TableMatch{home.Selected()->id, away.Selected()->id}});
}

void TfLive::LatestMatchesClick(bool home_column, HistoryListLinks& links) const {
  const TeamItem* t = (home_column ? home : away).Selected();
  if (t) links.ShowHistoryList({.kind = HistoryKind::kLatestMatches, .team = *t, .by_name = true});
}

void TfLive::ShowMatchesClick(HistoryListLinks& links) const {
  if (!home.Selected() || !away.Selected()) return;
  links.ShowHistoryList({.kind = HistoryKind::kHeadToHead,
                         .team = *home.Selected(),
                         .other = *away.Selected(),
                         .by_name = true});
}

void TfLive::ShowLiveMatchesClick(HistoryListLinks& links) const {
  if (!home.Selected() || !away.Selected()) return;
  links.ShowHistoryList({.kind = HistoryKind::kLiveHeadToHead,
                         .team = *home.Selected(),
                         .other = *away.Selected(),
                         .by_name = true,
                         .ht_home = pb1_,
                         .ht_away = pb2_});
}

}  // namespace morvela
