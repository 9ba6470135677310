#include "tables/league_tables.h"

#include <algorithm>
#include <utility>

#include "core/helpers.h"
#include "core/rounding.h"
#include "predict/support_routines.h"
#include "program/program.h"

namespace morvela {

using tables::TGoly;
using tables::Tmuzstva;

namespace {

constexpr MessageId kSideTexts[3] = {msg::kHomeSide, msg::kAwaySide, msg::kTogetherSide};
constexpr MessageId kRatingTexts[3] = {msg::kEloTable, msg::kEloHomeTable, msg::kEloAwayTable};
constexpr MessageId kFormWindowTexts[4] = {msg::kLast2Matches, msg::kLast3Matches,
                                           msg::kLast4Matches, msg::kLast5Matches};

constexpr int kWaitDelayMs = 1000;

// Notices, each said once per opening.
constexpr int kNoticeTeamList = 0;
constexpr int kNoticeHistory = 1;

// The one place where the window reads the main window's result mode.
ResultMode ResultModeOf(const Program& p) {
  return p.selection.result_mode;
}

std::string StandingsStatement(const std::string& competition, ResultMode result_mode) {
  const ModeColumns& c = ColumnsOf(result_mode);
  const std::string h = c.home_goal, a = c.away_goal;
  return "SELECT HOME,AWAY," + h + "," + a + "," + c.outcome +
         " FROM VYSLEDKY WHERE (ID_SUTAZ=" + competition + " AND " + h + " IS NOT NULL AND " + a +
         " IS NOT NULL AND NERATAT=0" +
         (result_mode == ResultMode::kFullTime ? "" : " AND KONTUMACIA=0") +
         ") ORDER BY DATUM ASC, ID ASC";
}

std::string AsciiUpper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string Percent(int value, bool played) {
  return played ? std::to_string(value) + " %" : std::string("-");
}

int SideIndex(TableSide side) {
  return static_cast<int>(side) - 1;
}

}  // namespace

TableView SideViewOfKind(TableKind kind) {
  const int k = KindNumber(kind);
  if (k >= KindNumber(TableKind::kFormHome) && k <= KindNumber(TableKind::kForm))
    return TableView::kForm;
  if (k >= KindNumber(TableKind::kGoalsHome) && k <= KindNumber(TableKind::kGoals))
    return TableView::kGoals;
  if (k >= KindNumber(TableKind::kGoalFormHome) && k <= KindNumber(TableKind::kGoalForm))
    return TableView::kGoalForm;
  return TableView::kStandings;
}

Zone ZoneOfPlace(int place, const ZoneLimits& z) {
  Zone zone = Zone::kNone;
  if (z.LM != 0 && place <= z.LM) zone = Zone::kTop;
  if (z.EL != 0 && place > z.LM && place <= z.EL) zone = Zone::kSecond;
  if (z.BARAZ != 0 && place >= z.BARAZ) zone = Zone::kPlayOff;
  if (z.VYP != 0 && place >= z.VYP) zone = Zone::kRelegation;
  return zone;
}

TableKind MainWindowTableKind(const Program& program, bool form_button) {
  const bool under_over = ResultModeOf(program) == ResultMode::kUnderOver;
  if (form_button) return under_over ? TableKind::kGoalForm : TableKind::kForm;
  return under_over ? TableKind::kGoals : TableKind::kStandings;
}

TableKind MatchTableKind(ResultMode mode, bool home_table) {
  if (mode == ResultMode::kUnderOver)
    return home_table ? TableKind::kGoalsHome : TableKind::kGoalsAway;
  return home_table ? TableKind::kStandingsHome : TableKind::kStandingsAway;
}

TForm2::TForm2(Program& program, const TableContext& context)
    : p_(program), context_(context), team_list_(program.dm.ADOConnection1) {}

const std::string& TForm2::Msg(MessageId k) const {
  return p_.messages.Msg(k);
}

std::string TForm2::ModeLabel() const {
  return Msg(ModeTitle(mode_));
}

void TForm2::Notice(int key, const std::string& text) {
  if (notice_keys_ & (1u << key)) return;
  notice_keys_ |= 1u << key;
  notices_.push_back(text);
  p_.ui.ShowMessage(MessageKind::kWarning, text);
}

void TForm2::FormShow() {
  mode_ = ResultModeOf(p_);
  notices_.clear();
  notice_keys_ = 0;
  for (int s = 0; s < 3; ++s) side_captions_[s] = Msg(kSideTexts[s]);
  for (int r = 0; r < 3; ++r) rating_captions_[r] = Msg(kRatingTexts[r]);
  for (int f = 0; f < 4; ++f) form_list_items_[f] = Msg(kFormWindowTexts[f]);

  const TableView family = SideViewOfKind(Kind());
  if (family == TableView::kForm || family == TableView::kGoalForm) {
    rating_buttons_visible_ = false;
    form_list_visible_ = true;
    form_list_index_ = 2;
    caption_ = "  " + Msg(msg::kForm) + " :: " + ModeLabel();
  } else if (family == TableView::kGoals) {
    rating_buttons_visible_ = false;
    form_list_visible_ = false;
    caption_ = "  " + Msg(msg::kUnderOver);
  } else {
    rating_buttons_visible_ = true;
    form_list_visible_ = false;
    caption_ = "  " + Msg(msg::kTables) + " :: " + ModeLabel();
  }

  vycisti();
  limits_ = {p_.selection.LM, p_.selection.EL, p_.selection.BARAZ, p_.selection.VYP};
  team_list_.Open(
      std::string("SELECT SUTAZ_MUZSTVA.*,MUZSTVA.") + NameColumn(p_.messages.Language()) +
      " FROM SUTAZ_MUZSTVA,MUZSTVA WHERE (SUTAZ_MUZSTVA.ID_SUTAZ=" + p_.selection.competition +
      " AND MUZSTVA.ID=SUTAZ_MUZSTVA.ID_MUZSTVO) ORDER BY ID_MUZSTVO ASC");
  // The table has room for 25 teams. A team list longer than that, or one that differs from
  // the competition's team count, shows the teams it has (up to 25) and says so.
  const int listed = team_list_.RecordCount();
  team_count_ = std::min(listed, kTableSlotCount);
  if (listed > kTableSlotCount) {
    Notice(kNoticeTeamList,
           p_.messages.Filled(msg::kTooManyTeamsListed,
                              {std::to_string(listed), std::to_string(kTableSlotCount)}));
  } else if (listed != p_.selection.team_count) {
    Notice(kNoticeTeamList,
           p_.messages.Filled(msg::kTeamCountDiffers,
                              {std::to_string(p_.selection.team_count), std::to_string(listed)}));
  }
  list_order_.clear();
  const char* name_column = NameColumn(p_.messages.Language());
  team_list_.First();
  for (int slot = 1; slot <= team_count_; ++slot, team_list_.Next()) {
    const int64_t id = team_list_.FieldByName("ID_MUZSTVO").AsInteger();
    const std::string name = team_list_.FieldByName(name_column).AsString();
    list_order_.push_back(id);
    Tmuzstva& t = teams_[slot];
    t.id = id;
    t.name = name;
    t.history_count = 0;
    TGoly& g = goals_[slot];
    g.id = id;
    g.name = name;
  }

  switch (Kind()) {
    case TableKind::kStandingsHome:
    case TableKind::kFormHome:
    case TableKind::kGoalsHome:
    case TableKind::kGoalFormHome:
      Button1Click();
      break;
    case TableKind::kStandingsAway:
    case TableKind::kFormAway:
    case TableKind::kGoalsAway:
    case TableKind::kGoalFormAway:
      Button2Click();
      break;
    case TableKind::kStandings:
    case TableKind::kForm:
    case TableKind::kGoals:
    case TableKind::kGoalForm:
      Button3Click();
      break;
    default:
      break;
  }
}

void TForm2::Button1Click() {
  Side(TableSide::kHome);
}
void TForm2::Button2Click() {
  Side(TableSide::kAway);
}
void TForm2::Button3Click() {
  Side(TableSide::kTogether);
}
void TForm2::Button4Click() {
  RatingView(RatingTable::kElo);
}
void TForm2::Button5Click() {
  RatingView(RatingTable::kEloHome);
}
void TForm2::Button6Click() {
  RatingView(RatingTable::kEloAway);
}

void TForm2::SelectFormWindow(int index) {
  if (index >= 0 && index <= 3) form_list_index_ = index;
}

void TForm2::Close() {
  team_list_.Close();
}

void TForm2::Side(TableSide side) {
  WaitScope wait(p_.wait, kWaitDelayMs, Msg(msg::kPleaseWait));
  zone_colouring_ = side == TableSide::kTogether && mode_ == ResultMode::kFullTime &&
                    KindNumber(Kind()) <= KindNumber(TableKind::kStandings);
  header_line_ = Msg(kSideTexts[SideIndex(side)]) + " :: " + ModeLabel() + "  ";
  vycisti();
  side_ = side;
  switch (SideViewOfKind(Kind())) {
    case TableView::kForm:
      FormTable(side);
      break;
    case TableView::kGoals:
      GoalTable(side);
      break;
    case TableView::kGoalForm:
      GoalFormTable(side);
      break;
    default:
      Standings(side);
      break;
  }
}

void TForm2::vycisti() {
  if (CountsTeams(Kind())) {
    for (int s = 1; s <= kTableSlotCount; ++s) {
      Tmuzstva& t = teams_[s];
      t.played = t.wins = t.draws = t.losses = t.goals_for = t.goals_against = 0;
      t.value = 0;
      t.history.fill(0);
      t.history_count = 0;
    }
  } else {
    for (int s = 1; s <= kTableSlotCount; ++s) {
      TGoly& g = goals_[s];
      g.played = g.over_matches = g.under_percent = g.over_percent = g.goals = 0;
      g.buckets.fill(0);
    }
  }
}

void TForm2::NastavSG(int layout) {
  const std::string team = Msg(msg::kTeamTitle);
  switch (layout) {
    case 1:
    case 2:
    case 3:
      columns_ = {{"", 35},
                  {team, 200},
                  {Msg(msg::kMatchesTitle), 55},
                  {Msg(msg::kWinsTitle), 55},
                  {Msg(msg::kDrawsTitle), 55},
                  {Msg(msg::kLossesTitle), 55},
                  {Msg(msg::kScoreTitle), 100},
                  {Msg(msg::kPointsTitle), 60}};
      break;
    case 4:
    case 5:
    case 6:
      columns_ = {{"", 35}, {team, 200}, {Msg(msg::kPointsTitle), 55}};
      break;
    case 7:
    case 8:
    case 9:
      columns_ = {{"", 35}, {team, 200}, {AsciiUpper(Msg(msg::kForm)), 55}};
      break;
    case 10:
    case 11:
    case 12:
      columns_ = {{"", 25}, {team, 200}, {"<2,5", 55}, {">2,5", 55}};
      for (const char* g : {"0", "1", "2", "3", "4", "5", "6>"}) columns_.push_back({g, 25});
      columns_.push_back({Msg(msg::kMatchesTitle), 55});
      columns_.push_back({Msg(msg::kGoalsTitle), 55});
      break;
    default:
      columns_ = {{"", 25},
                  {team, 200},
                  {"<2,5", 55},
                  {">2,5", 55},
                  {Msg(msg::kAverageTitle), 65},
                  {Msg(msg::kMatchesTitle), 65},
                  {Msg(msg::kGoalsTitle), 65}};
      break;
  }
  cells_.assign(static_cast<size_t>(team_count_) + 1,
                std::vector<std::string>(columns_.size(), std::string()));
  for (size_t c = 0; c < columns_.size(); ++c) cells_[0][c] = columns_[c].title;
  row_teams_.assign(static_cast<size_t>(team_count_) + 1, 0);

  TableKind& kind = context_.kind;
  both_teams_ = (layout == 3 || layout == 4 || layout == 12) && OpenedFromMatch(kind);
  // A table opened by a match window follows the side the user picks.
  if ((layout == 1 || layout == 5) && kind == TableKind::kStandingsAway)
    kind = TableKind::kStandingsHome;
  if ((layout == 2 || layout == 6) && kind == TableKind::kStandingsHome)
    kind = TableKind::kStandingsAway;
  if (layout == 10 && kind == TableKind::kGoalsAway) kind = TableKind::kGoalsHome;
  if (layout == 11 && kind == TableKind::kGoalsHome) kind = TableKind::kGoalsAway;
}

void TForm2::utried() {
  const int n = team_count_;
  if (n < 2) return;
  if (CountsTeams(Kind())) {
    for (int i = 1; i <= n - 1; ++i) {
      for (int j = i + 1; j <= n; ++j) {
        Tmuzstva& a = teams_[i];
        Tmuzstva& b = teams_[j];
        if (a.value < b.value) std::swap(a, b);
        if (a.value == b.value && a.goals_for - a.goals_against < b.goals_for - b.goals_against)
          std::swap(a, b);
        if (a.value == b.value && a.goals_for - a.goals_against == b.goals_for - b.goals_against &&
            a.goals_for < b.goals_for)
          std::swap(a, b);
      }
    }
  } else {
    for (int i = 1; i <= n - 1; ++i) {
      for (int j = i + 1; j <= n; ++j) {
        TGoly& a = goals_[i];
        TGoly& b = goals_[j];
        if (a.over_percent < b.over_percent) std::swap(a, b);
        if (a.over_percent == b.over_percent && a.goals < b.goals) std::swap(a, b);
      }
    }
  }
}

void TForm2::RestoreSlotOrder() {
  // Every view starts from the team list's order, so that rows level in every key always stand
  // as the sort leaves them from ascending team id, whatever was shown before.
  const int n = team_count_;
  for (int s = 1; s <= n; ++s) {
    const int64_t id = list_order_[static_cast<size_t>(s - 1)];
    for (int t = s; t <= n; ++t) {
      if (teams_[t].id == id) {
        if (t != s) std::swap(teams_[s], teams_[t]);
        break;
      }
    }
    for (int t = s; t <= n; ++t) {
      if (goals_[t].id == id) {
        if (t != s) std::swap(goals_[s], goals_[t]);
        break;
      }
    }
  }
}

int TForm2::FindSlot(int64_t id) const {
  for (int s = 1; s <= team_count_; ++s)
    if (teams_[s].id == id) return s;
  return 0;
}

int TForm2::FindGoalSlot(int64_t id) const {
  for (int s = 1; s <= team_count_; ++s)
    if (goals_[s].id == id) return s;
  return 0;
}

void TForm2::Standings(TableSide side) {
  RestoreSlotOrder();
  NastavSG(static_cast<int>(side));
  view_ = TableView::kStandings;
  const ModeColumns& c = ColumnsOf(mode_);
  Query matches(p_.dm.ADOConnection1);
  matches.Open(StandingsStatement(p_.selection.competition, mode_));
  const bool home_side = side != TableSide::kAway;
  const bool away_side = side != TableSide::kHome;
  for (; !matches.Eof(); matches.Next()) {
    const int hg = static_cast<int>(matches.FieldByName(c.home_goal).AsInteger());
    const int ag = static_cast<int>(matches.FieldByName(c.away_goal).AsInteger());
    const std::string outcome = matches.FieldByName(c.outcome).AsString();
    auto count = [&](int slot, int own, int other, const char* win) {
      if (slot == 0) return;
      Tmuzstva& t = teams_[slot];
      ++t.played;
      t.goals_for += own;
      t.goals_against += other;
      if (outcome == win) {
        ++t.wins;
        t.value += 3;
      } else if (outcome == "0") {
        ++t.draws;
        t.value += 1;
      } else {
        ++t.losses;
      }
    };
    if (home_side) count(FindSlot(matches.FieldByName("HOME").AsInteger()), hg, ag, "1");
    if (away_side) count(FindSlot(matches.FieldByName("AWAY").AsInteger()), ag, hg, "2");
  }
  utried();
  WriteStandingsRows();
}

void TForm2::WriteStandingsRows() {
  for (int r = 1; r <= team_count_; ++r) {
    const Tmuzstva& t = teams_[r];
    std::vector<std::string>& row = cells_[static_cast<size_t>(r)];
    row[0] = std::to_string(r);
    row[1] = t.name;
    row[2] = std::to_string(t.played);
    row[3] = std::to_string(t.wins);
    row[4] = std::to_string(t.draws);
    row[5] = std::to_string(t.losses);
    row[6] = std::to_string(t.goals_for) + " : " + std::to_string(t.goals_against);
    row[7] = std::to_string(t.value);
    row_teams_[static_cast<size_t>(r)] = t.id;
  }
}

void TForm2::WriteValueRows(bool signed_form) {
  for (int r = 1; r <= team_count_; ++r) {
    const Tmuzstva& t = teams_[r];
    std::vector<std::string>& row = cells_[static_cast<size_t>(r)];
    row[0] = std::to_string(r);
    row[1] = t.name;
    row[2] = (signed_form && t.value >= 0 ? "+" : "") + std::to_string(t.value);
    row_teams_[static_cast<size_t>(r)] = t.id;
  }
}

void TForm2::FormTable(TableSide side) {
  RestoreSlotOrder();
  NastavSG(6 + static_cast<int>(side));
  view_ = TableView::kForm;
  const ModeColumns& c = ColumnsOf(mode_);
  const RatingTable view = side == TableSide::kHome   ? RatingTable::kEloHome
                           : side == TableSide::kAway ? RatingTable::kEloAway
                                                      : RatingTable::kElo;
  for (team_list_.First(); !team_list_.Eof(); team_list_.Next()) {
    const int s = FindSlot(team_list_.FieldByName("ID_MUZSTVO").AsInteger());
    if (s == 0) continue;
    Tmuzstva& t = teams_[s];
    SetSeasonStart(t, view, team_list_, c);
    if (side == TableSide::kTogether) t.history_count = 0;
    t.history[0] = static_cast<uint16_t>(t.value);
  }

  // The history keeps 50 matches per team; a team with more is followed up to its 50th match
  // and keeps that rating (its opponents still move as usual).
  std::string stopped;
  auto follow = [&](Tmuzstva& t, int32_t change) {
    if (t.history_count >= kFormHistorySize - 1) {
      if (stopped.empty()) stopped = t.name;
      return;
    }
    t.value += change;
    ++t.history_count;
    t.history[static_cast<size_t>(t.history_count)] = static_cast<uint16_t>(t.value);
  };

  Query matches(p_.dm.ADOConnection1);
  matches.Open(RatedMatchesStatement(p_.selection.competition, mode_));
  for (; !matches.Eof(); matches.Next()) {
    const int hs = FindSlot(matches.FieldByName("HOME").AsInteger());
    const int as = FindSlot(matches.FieldByName("AWAY").AsInteger());
    if (hs == 0 || as == 0) continue;
    Tmuzstva& h = teams_[hs];
    Tmuzstva& a = teams_[as];
    const auto p = static_cast<int32_t>(matches.FieldByName(c.home_goal).AsInteger());
    const auto q = static_cast<int32_t>(matches.FieldByName(c.away_goal).AsInteger());
    switch (side) {
      case TableSide::kHome: {
        const int32_t d = RatingChange200(h.value, a.rating_away, p, q);
        follow(h, d);
        a.rating_away -= d;
        break;
      }
      case TableSide::kAway: {
        const int32_t d = RatingChange200(h.rating_home, a.value, p, q);
        h.rating_home += d;
        follow(a, -d);
        break;
      }
      case TableSide::kTogether: {
        const int32_t d = RatingChange400(h.value, a.value, p, q);
        follow(h, d);
        follow(a, -d);
        break;
      }
    }
  }
  if (!stopped.empty()) {
    Notice(kNoticeHistory, p_.messages.Filled(msg::kFormHistoryFull,
                                              {stopped, std::to_string(kFormHistorySize - 1)}));
  }

  const int k = FormWindow();
  for (int s = 1; s <= team_count_; ++s) {
    Tmuzstva& t = teams_[s];
    const int cnt = t.history_count;
    const int from = cnt >= k ? cnt - k : 0;
    t.value = static_cast<int32_t>(t.history[static_cast<size_t>(cnt)]) -
              static_cast<int32_t>(t.history[static_cast<size_t>(from)]);
  }
  utried();
  WriteValueRows(true);
}

void TForm2::GoalTable(TableSide side) {
  RestoreSlotOrder();
  NastavSG(9 + static_cast<int>(side));
  view_ = TableView::kGoals;
  Query matches(p_.dm.ADOConnection1);
  matches.Open("SELECT HOME,AWAY,HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE (ID_SUTAZ=" +
               p_.selection.competition +
               " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL AND KONTUMACIA=0) ORDER BY "
               "DATUM ASC, ID ASC");
  for (; !matches.Eof(); matches.Next()) {
    const int g = static_cast<int>(matches.FieldByName("HOME_GOAL").AsInteger() +
                                   matches.FieldByName("AWAY_GOAL").AsInteger());
    auto count = [&](int slot) {
      if (slot == 0) return;
      TGoly& t = goals_[slot];
      t.goals += g;
      ++t.played;
      ++t.buckets[static_cast<size_t>(std::clamp(g, 0, 6))];
      if (g > 2) ++t.over_matches;
    };
    // A match with a team outside the table changes no row, on any side.
    const int home = FindGoalSlot(matches.FieldByName("HOME").AsInteger());
    const int away = FindGoalSlot(matches.FieldByName("AWAY").AsInteger());
    if (home == 0 || away == 0) continue;
    if (side != TableSide::kAway) count(home);
    if (side != TableSide::kHome) count(away);
  }
  for (int s = 1; s <= team_count_; ++s) {
    TGoly& t = goals_[s];
    if (t.played == 0) continue;
    t.over_percent = static_cast<int>(RoundRatioHalfEven(int64_t{t.over_matches} * 100, t.played));
    t.under_percent = 100 - t.over_percent;
  }
  utried();
  WriteGoalRows(false);
}

void TForm2::GoalFormTable(TableSide side) {
  RestoreSlotOrder();
  NastavSG(12 + static_cast<int>(side));
  view_ = TableView::kGoalForm;
  const std::string k = std::to_string(FormWindow());
  const std::string& competition = p_.selection.competition;
  Query last(p_.dm.ADOConnection1);
  for (int s = 1; s <= team_count_; ++s) {
    TGoly& t = goals_[s];
    const std::string id = std::to_string(t.id);
    std::string statement;
    switch (side) {
      case TableSide::kHome:
        statement = "SELECT TOP " + k + " HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE (HOME=" + id;
        break;
      case TableSide::kAway:
        statement = "SELECT TOP " + k + " HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE (AWAY=" + id;
        break;
      case TableSide::kTogether:
        statement = "SELECT TOP " + k + " HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE ((HOME=" + id +
                    " OR AWAY=" + id + ")";
        break;
    }
    statement += " AND ID_SUTAZ=" + competition +
                 " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL AND KONTUMACIA=0) ORDER BY "
                 "DATUM DESC";
    last.Open(statement);
    // The engine may return more than k rows at a tie on the k-th date; every row returned
    // counts.
    t.played = last.RecordCount();
    for (; !last.Eof(); last.Next()) {
      const int g = static_cast<int>(last.FieldByName("HOME_GOAL").AsInteger() +
                                     last.FieldByName("AWAY_GOAL").AsInteger());
      t.goals += g;
      if (g > 2) ++t.over_matches;
    }
    if (t.played > 0) {
      t.over_percent =
          static_cast<int>(RoundRatioHalfEven(int64_t{t.over_matches} * 100, t.played));
      t.under_percent = 100 - t.over_percent;
    }
  }
  utried();
  WriteGoalRows(true);
}

void TForm2::WriteGoalRows(bool goal_form) {
  for (int r = 1; r <= team_count_; ++r) {
    const TGoly& t = goals_[r];
    std::vector<std::string>& row = cells_[static_cast<size_t>(r)];
    const bool played = t.played > 0;
    row[0] = std::to_string(r);
    row[1] = t.name;
    row[2] = Percent(t.under_percent, played);
    row[3] = Percent(t.over_percent, played);
    if (goal_form) {
      row[4] = played ? FormatNumber2(static_cast<double>(t.goals) / t.played) : "-";
      row[5] = std::to_string(t.played);
      row[6] = std::to_string(t.goals);
    } else {
      for (size_t b = 0; b < t.buckets.size(); ++b) row[4 + b] = std::to_string(t.buckets[b]);
      row[11] = std::to_string(t.played);
      row[12] = std::to_string(t.goals);
    }
    row_teams_[static_cast<size_t>(r)] = t.id;
  }
}

void TForm2::RatingView(RatingTable table) {
  const int index = static_cast<int>(table);
  WaitScope wait(p_.wait, kWaitDelayMs, Msg(msg::kPleaseWait));
  zone_colouring_ = false;
  header_line_ = Msg(kRatingTexts[index]) + " :: " + ModeLabel() + "  ";
  vycisti();
  RestoreSlotOrder();
  NastavSG(4 + index);
  view_ = static_cast<TableView>(static_cast<int>(TableView::kElo) + index);

  std::vector<RatingSlot> slots(static_cast<size_t>(team_count_));
  for (int s = 1; s <= team_count_; ++s) {
    slots[static_cast<size_t>(s - 1)] = {teams_[s].id, teams_[s].value, teams_[s].rating_home,
                                         teams_[s].rating_away};
  }
  ComputeRatingTable(table, team_list_, p_.dm.ADOConnection1, p_.selection.competition, mode_,
                     slots);
  for (int s = 1; s <= team_count_; ++s) {
    const RatingSlot& r = slots[static_cast<size_t>(s - 1)];
    teams_[s].value = r.value;
    teams_[s].rating_home = r.rating_home;
    teams_[s].rating_away = r.rating_away;
  }
  utried();
  WriteValueRows(false);
}

const std::string& TForm2::Cell(int column, int row) const {
  static const std::string kEmpty;
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return kEmpty;
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

int64_t TForm2::RowTeam(int row) const {
  if (row <= 0 || row >= static_cast<int>(row_teams_.size())) return 0;
  return row_teams_[static_cast<size_t>(row)];
}

Zone TForm2::RowZone(int row) const {
  if (!zone_colouring_ || row <= 0 || row >= RowCount()) return Zone::kNone;
  return ZoneOfPlace(row, limits_);
}

bool TForm2::RowHighlighted(int row) const {
  const TableKind kind = Kind();
  if (row <= 0 || row >= RowCount() || !context_.match || !OpenedFromMatch(kind)) return false;
  const int64_t team = RowTeam(row);
  const bool home_side = kind == TableKind::kStandingsHome || kind == TableKind::kGoalsHome;
  const bool home = (home_side || both_teams_) && team == context_.match->home_team;
  const bool away = (!home_side || both_teams_) && team == context_.match->away_team;
  return home || away;
}

CellStyle TForm2::Style(int column, int row) const {
  CellStyle s;
  if (row == 0) {
    s.background = kHeaderBackground;
    s.text = kHeaderText;
    s.bold = true;
    s.points = 9;
    s.align = TableAlign::kCenter;
    return s;
  }
  if (column == 0 || column == 1) s.background = row % 2 == 1 ? kOddRow : kEvenRow;
  if (column == 0) {
    switch (RowZone(row)) {
      case Zone::kTop:
        s.background = kTopZone;
        break;
      case Zone::kSecond:
        s.background = kSecondZone;
        break;
      case Zone::kPlayOff:
        s.background = kPlayOffZone;
        break;
      case Zone::kRelegation:
        s.background = kRelegationZone;
        break;
      case Zone::kNone:
        break;
    }
    s.align = TableAlign::kRight;
    s.margin = 2;
  } else if (column == 1) {
    if (RowHighlighted(row)) s.background = kMatchTeam;
    s.align = TableAlign::kLeft;
    s.margin = 2;
  }
  return s;
}

std::span<const Tmuzstva> TForm2::Teams() const {
  return {teams_.data() + 1, static_cast<size_t>(team_count_)};
}

std::span<const TGoly> TForm2::GoalRows() const {
  return {goals_.data() + 1, static_cast<size_t>(team_count_)};
}

}  // namespace morvela
