#include "tips/tips_list.h"
#include "core/error.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <stdexcept>

#include "core/helpers.h"
#include "core/text.h"
#include "i18n/leagues.h"
#include "i18n/message_ids.h"
#include "predict/tip_selection.h"
#include "program/program.h"
#include "tips/tip_runs.h"

namespace morvela {

namespace {

constexpr const char* kOutcomeFields = "TIP1,TIPX,TIP2,TIP,PERC,KURZ,PROFIT,ID,ID_LIGA,HOME,AWAY";
constexpr const char* kUnderOverFields = "TIP1,TIP2,TIP,KURZ,PROFIT,ID,ID_LIGA,HOME,AWAY";

bool IsUnderOver(const Program& p) {
  return p.selection.result_mode == ResultMode::kUnderOver;
}

// Message numbers of a run kind's title and export slug.
struct TitleAndSlug {
  MessageId title;
  MessageId slug;
};

TitleAndSlug RunTextsOf(TipRun kind) {
  switch (kind) {
    case TipRun::kToday:
      return {msg::kTipForToday, msg::kTipForTodaySlug};
    case TipRun::kWeek:
      return {msg::kTipsForTheWeek, msg::kTipsForTheWeekSlug};
    case TipRun::kLeague:
      return {msg::kTippingALeague, msg::kTippingALeagueSlug};
    default:
      return {msg::kValueTips, msg::kValueTipsSlug};
  }
}

// Message numbers of a result mode's title ("FULL TIME", ...) and export slug ("full-time", ...).
TitleAndSlug ModeTextsOf(ResultMode result_mode) {
  static constexpr TitleAndSlug kModes[] = {{msg::kFullTime, msg::kFullTimeSlug},
                                            {msg::kFirstHalf, msg::kFirstHalfSlug},
                                            {msg::kSecondHalf, msg::kSecondHalfSlug},
                                            {msg::kUnderOver, msg::kUnderOverSlug}};
  return kModes[ModeIndex(result_mode)];
}

// The last day a week or league list covers; nullopt for the today and value-tip lists.
std::optional<Date> ListEnd(const Program& p) {
  if (p.tip_run.TipRunKind == TipRun::kWeek) return WeekRunEnd(p.today);
  if (p.tip_run.TipRunKind == TipRun::kLeague) return LeagueRunEnd(p.today, p.settings.Dni);
  return std::nullopt;
}

std::string MakeCaption(const Program& p) {
  const TipRun kind = p.tip_run.TipRunKind;
  std::string caption = "  " + p.messages.Msg(RunTextsOf(kind).title) +
                        " :: " + p.messages.Msg(ModeTextsOf(p.selection.result_mode).title);
  if (kind == TipRun::kValue) return caption;
  caption += " :: " + FormatDateText(p.today);
  if (auto end = ListEnd(p)) caption += " <-> " + FormatDateText(*end);
  return caption;
}

// Run slug, result-mode slug and dates, reduced to "-", digits and ASCII letters.
std::string MakeExportName(const Program& p) {
  std::string name = p.messages.Msg(RunTextsOf(p.tip_run.TipRunKind).slug) + "-" +
                     p.messages.Msg(ModeTextsOf(p.selection.result_mode).slug) + "-" +
                     FormatDateText(p.today);
  if (auto end = ListEnd(p)) name += "-" + FormatDateText(*end);
  std::string kept;
  for (char c : name) {
    if (c == '-' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
      kept += c;
  }
  return kept;
}

// Puts the whole selection (league, season, team count, zone limits) back when the match window
// is done: a window opened later for the loaded league must not see the other league's zones.
class SelectionRestore {
 public:
  explicit SelectionRestore(Selection& s) : s_(s), saved_(s) {}
  ~SelectionRestore() { s_ = saved_; }
  SelectionRestore(const SelectionRestore&) = delete;
  SelectionRestore& operator=(const SelectionRestore&) = delete;

 private:
  Selection& s_;
  const Selection saved_;
};

// Clears the match window's OpenedFromTips flag when the window is done.
class OpenedFromTipsScope {
 public:
  explicit OpenedFromTipsScope(MatchWindowOpener& w) : w_(w) { w_.SetOpenedFromTips(true); }
  ~OpenedFromTipsScope() { w_.SetOpenedFromTips(false); }
  OpenedFromTipsScope(const OpenedFromTipsScope&) = delete;
  OpenedFromTipsScope& operator=(const OpenedFromTipsScope&) = delete;

 private:
  MatchWindowOpener& w_;
};

// Puts the cursor back on its row when a look at another row is done.
class RowRestore {
 public:
  explicit RowRestore(Query& q) : q_(q), row_(q.RecNo()) {}
  ~RowRestore() { q_.MoveTo(row_); }
  RowRestore(const RowRestore&) = delete;
  RowRestore& operator=(const RowRestore&) = delete;

 private:
  Query& q_;
  int row_;
};

// Odds in the grid's number format: two decimals with the decimal comma ("1,20").
std::string OddsText(const Field& odds) {
  return FormatNumber2(odds.AsFloat());
}

// A cell of the export: the raw field text, except that odds are written as the grid writes them
// ("1,20", where the stored number reads "1,2"); odds 0 stay 0.
std::string ExportText(const Query& q, const std::string& field) {
  const Field f = q.FieldByName(field);
  return EqualsIgnoringAsciiCase(field, "KURZ") && f.AsFloat() != 0 ? OddsText(f) : f.AsString();
}

}  // namespace

std::vector<TipsColumn> TipsListColumns(ResultMode result_mode, const Messages& m) {
  using A = CellAlign;
  std::vector<TipsColumn> c = {
      {"DATUM", m.Msg(msg::kDateTitle), 65, A::kLeft},
      {"LIGA", m.Msg(msg::kLeagueTitle), 100, A::kLeft},
      {"DOMACI", m.Msg(msg::kHomeTitle), 163, A::kLeft},
      {"HOSTIA", m.Msg(msg::kGuestTitle), 163, A::kLeft},
  };
  const std::string tip = AsciiUpper(m.Msg(msg::kTipTitle));
  if (result_mode == ResultMode::kUnderOver) {
    c.push_back({"TIP1", "<2,5 ", 50, A::kCenter});
    c.push_back({"TIP2", ">2,5 ", 50, A::kCenter});
    c.push_back({"TIP", tip, 30, A::kCenter});
  } else {
    c.push_back({"TIP1", "%1", 25, A::kRight});
    c.push_back({"TIPX", "%0", 25, A::kRight});
    c.push_back({"TIP2", "%2", 25, A::kRight});
    c.push_back({"TIP", tip, 30, A::kLeft});
    c.push_back({"PERC", "%", 30, A::kRight});
  }
  c.push_back({"KURZ", m.Msg(msg::kOddTitle), 40, A::kRight});
  c.push_back({"PROFIT", m.Msg(msg::kProfitTitle), 45, A::kRight});
  return c;
}

std::vector<TipsColumn> SecondOpinionColumns(const Messages& m) {
  return {
      {std::string(kModelPercentField), m.Msg(msg::kModelPercentTitle), 50, CellAlign::kRight},
      {std::string(kMarketPercentField), m.Msg(msg::kMarketPercentTitle), 50, CellAlign::kRight}};
}

namespace {

bool IsSecondOpinionField(std::string_view field) {
  return field == kModelPercentField || field == kMarketPercentField;
}

}  // namespace

TipsList::TipsList(Program& program) : p_(program) {}

void TipsList::LayOutColumns() {
  columns_ = TipsListColumns(p_.selection.result_mode, p_.messages);
  if (!second_opinion_) return;
  for (TipsColumn& c : SecondOpinionColumns(p_.messages)) columns_.push_back(std::move(c));
}

void TipsList::ShowSecondOpinion(bool on) {
  second_opinion_ = on;
  LayOutColumns();
}

const TipSecondOpinions::Figures& TipsList::SecondOpinion(int row) {
  const int64_t id = Value(row, "ID").AsInteger();
  std::string tip = Value(row, "TIP").AsString();
  auto key = std::make_pair(id, tip);
  auto it = figures_.find(key);
  if (it != figures_.end()) return it->second;
  // The goal model's fits are cached inside, per league and day: the rows of one match day
  // share one fit.
  if (!opinions_) opinions_.emplace(p_.dm.ADOConnection1, p_.selection.result_mode);
  return figures_.emplace(std::move(key), opinions_->Of(id, tip)).first->second;
}

std::string TipsList::SecondOpinionText(int row, std::string_view field) {
  const TipSecondOpinions::Figures& f = SecondOpinion(row);
  const std::optional<int>& percent =
      field == kModelPercentField ? f.model_percent : f.market_percent;
  return percent ? std::to_string(*percent) : std::string(" ");
}

void TipsList::Show() {
  // A new showing may be of another result mode.
  opinions_.reset();
  figures_.clear();
  caption_ = MakeCaption(p_);
  export_name_ = MakeExportName(p_);
  switch (p_.tip_run.TipRunKind) {
    case TipRun::kLeague:
      sort_ = {"DATUM", "ASC", "ID", "ASC"};
      break;
    case TipRun::kValue:
      sort_ = {"PROFIT", "DESC", "KURZ", "DESC"};
      break;
    default:
      sort_ = {IsUnderOver(p_) ? "TIP2" : "PERC", "DESC", "TIP", "ASC"};
  }
  ZobrazGrid();
}

std::string TipsList::ListQuery() const {
  const TipRun kind = p_.tip_run.TipRunKind;
  const std::string n = NameColumn(p_.messages.Language());
  const std::string league_select = kind == TipRun::kToday
                                        ? "SELECT " + n + " FROM LIGA"
                                        : "SELECT " + n + " AS " + n + " FROM LIGA";
  const std::string line1 = "SELECT DATUM,+\"  \"+(" + league_select +
                            " WHERE LIGA.ID=TIPY.ID_LIGA) AS LIGA,(SELECT " + n +
                            " FROM MUZSTVA WHERE MUZSTVA.ID=TIPY.HOME) AS DOMACI, (SELECT " + n +
                            " FROM MUZSTVA WHERE MUZSTVA.ID=TIPY.AWAY) AS HOSTIA,";
  const std::string order = "  " + sort_.SortColumn + " " + sort_.SortDirection + ", " +
                            sort_.SecondSortColumn + " " + sort_.SecondSortDirection + " ";
  const bool uo = IsUnderOver(p_);
  std::string line2;
  if (kind == TipRun::kLeague) {
    line2 = std::string(kOutcomeFields) + " FROM TIPY ORDER BY" + order;
  } else if (kind == TipRun::kToday) {
    const std::string best = std::to_string(p_.tip_run.BestTipPercent);
    line2 =
        uo ? std::string(kUnderOverFields) + " FROM TIPY WHERE (TIP1=" + best + " OR TIP2=" + best +
                 ") ORDER BY" + order
           : std::string(kOutcomeFields) + " FROM TIPY WHERE (PERC=" + best + ") ORDER BY" + order;
  } else {
    line2 = uo ? kUnderOverFields : kOutcomeFields;
    if (sort_.SortColumn == "ID_LIGA") {
      // The league names sort in the language's league order, not by their numbers.
      auto ids = TipsListLeagueOrder(p_.messages.Language());
      if (sort_.SortDirection != "ASC") std::reverse(ids.begin(), ids.end());
      line2 += " FROM TIPY ORDER BY ";
      for (size_t i = 0; i < ids.size(); ++i)
        line2 += (i ? ",ID_LIGA=" : "ID_LIGA=") + std::to_string(ids[i]) + " ASC";
    } else {
      line2 += " FROM TIPY ORDER BY" + order;
    }
  }
  return line1 + "\r\n" + line2;
}

void Work3Uprav(Tdm& dm, ResultMode result_mode) {
  dm.Work3.SetDisplayRule("KURZ", [](const Query& q) {
    Field f = q.FieldByName("KURZ");
    if (f.AsInteger() == 0) return std::string(" ");
    return OddsText(f);
  });
  if (result_mode == ResultMode::kUnderOver) {
    for (const char* column : {"TIP1", "TIP2"}) {
      std::string name = column;
      dm.Work3.SetDisplayRule(
          name, [name](const Query& q) { return q.FieldByName(name).AsString() + "%"; });
    }
  }
}

void TipsList::ZobrazGrid() {
  LayOutColumns();
  p_.dm.Work3.Open(ListQuery());
  Work3Uprav(p_.dm, p_.selection.result_mode);
}

void TipsList::TitleClick(const std::string& field) {
  if (IsSecondOpinionField(field)) return;
  std::string key = field;
  if (field == "DOMACI") key = "HOME";
  if (field == "HOSTIA") key = "AWAY";
  if (field == "LIGA") key = "ID_LIGA";
  if (field == "DOMACI" || field == "HOSTIA" || field == "LIGA") sort_.SecondSortColumn = "DATUM";
  if (field == "TIP") sort_.SecondSortColumn = "PERC";
  if (field == "PERC" || field == "KURZ") sort_.SecondSortColumn = "TIP";

  if (key == sort_.SortColumn) {
    sort_.SortDirection = sort_.SortDirection == "ASC" ? "DESC" : "ASC";
  } else {
    sort_.SortColumn = key;
    const bool descending =
        key == "TIP1" || key == "TIPX" || key == "TIP2" || key == "PERC" || key == "PROFIT";
    sort_.SortDirection = descending ? "DESC" : "ASC";
  }
  sort_.SecondSortDirection = key == "TIP" ? "DESC" : key == "PERC" ? "ASC" : sort_.SortDirection;
  if (p_.tip_run.TipRunKind == TipRun::kValue) {
    sort_.SecondSortColumn = "PROFIT";
    sort_.SecondSortDirection = "DESC";
  }
  if (key == "DATUM") {
    sort_.SecondSortColumn = IsUnderOver(p_) ? "TIP2" : "PERC";
    sort_.SecondSortDirection = "DESC";
  }
  ZobrazGrid();
}

void TipsList::OpenMatch(int row, MatchWindowOpener& opener) {
  SetCurrentRow(row);
  const Query& q = p_.dm.Work3;
  opener.PresetTeams({q.FieldByName("HOME").AsInteger(), q.FieldByName("DOMACI").AsString()},
                     {q.FieldByName("AWAY").AsInteger(), q.FieldByName("HOSTIA").AsString()});
  SelectionRestore restore(p_.selection);
  p_.selection.league = q.FieldByName("ID_LIGA").AsString();
  NacitajIDsutaz(p_.dm, p_.selection, "Active");
  OpenedFromTipsScope opened(opener);
  p_.WindowRaised = true;
  opener.ShowModal();
}

bool TipsList::KeyDown(char key, bool ctrl, bool shift, bool alt) {
  if ((key != 'E' && key != 'e') || !ctrl || shift || alt) return false;
  // The user chose the file in a dialog that is gone now; the note says the list is in it.
  if (const std::optional<std::string> path = ExportToCSV(export_name_ + ".csv"))
    p_.ui.ShowMessage(MessageKind::kInformation, p_.messages.Filled(msg::kListSavedTo, {*path}));
  return true;
}

std::optional<std::string> TipsList::ExportToCSV(const std::string& proposed_name, bool with_past) {
  Query& q = p_.dm.Work3;
  std::vector<std::string> lines;
  auto add_line = [&lines](const std::vector<std::string>& values) {
    std::string line;
    // A team or league name may hold the separator or a quote; such a field is quoted so that
    // the line keeps its number of fields.
    for (const std::string& v : values) line += CsvField(v, ';') + ";";
    if (!line.empty()) line.pop_back();
    lines.push_back(std::move(line));
  };
  std::vector<std::string> values;
  for (const TipsColumn& c : columns_)
    values.push_back(std::string(TrimBlanksAndControls(c.title)));
  if (with_past) values.insert(values.end(), {"PAST %", "PAST N"});
  add_line(values);
  {
    RowRestore keep(q);
    for (q.First(); !q.Eof(); q.Next()) {
      values.clear();
      for (const TipsColumn& c : columns_) {
        if (IsSecondOpinionField(c.field)) {
          const int row = q.RecNo();
          values.push_back(std::string(TrimBlanksAndControls(SecondOpinionText(row, c.field))));
          q.MoveTo(row);
        } else {
          values.push_back(std::string(TrimBlanksAndControls(ExportText(q, c.field))));
        }
      }
      if (with_past) {
        const int row = q.RecNo();
        const std::optional<PastRecord> past = Past(row);
        q.MoveTo(row);
        values.push_back(past ? std::to_string(past->Percent()) : "");
        values.push_back(past ? std::to_string(past->tips) : "");
      }
      add_line(values);
    }
  }
  const std::optional<std::string> path =
      p_.ui.AskSaveFile(p_.ExportFolder(), "CSV File", proposed_name);
  if (!path) return std::nullopt;
  std::ofstream out(*path, std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) out << line << "\r\n";
  out.close();
  if (!out) throw FileError("Cannot write the file " + *path);
  return path;
}

void TipsList::Close() {
  p_.dm.Work3.Close();
}

const std::vector<std::string>& TipsList::FieldNames() const {
  return p_.dm.Work3.FieldNames();
}

int TipsList::RowCount() const {
  return p_.dm.Work3.RecordCount();
}

int TipsList::CurrentRow() const {
  return p_.dm.Work3.RecNo();
}

void TipsList::SetCurrentRow(int row) {
  if (row < 0 || row >= RowCount()) throw std::out_of_range("no row " + std::to_string(row));
  p_.dm.Work3.MoveTo(row);
}

std::string TipsList::DisplayText(int row, std::string_view field) {
  if (IsSecondOpinionField(field)) return SecondOpinionText(row, field);
  RowRestore keep(p_.dm.Work3);
  SetCurrentRow(row);
  return p_.dm.Work3.DisplayText(field);
}

Field TipsList::Value(int row, std::string_view field) {
  RowRestore keep(p_.dm.Work3);
  SetCurrentRow(row);
  return p_.dm.Work3.FieldByName(field);
}

std::string TipsList::StatedPercentField(int row) {
  if (!IsUnderOver(p_)) return "PERC";
  return KindOfTip(Value(row, "TIP").AsString()) == TipKind::Over ? "TIP2" : "TIP1";
}

int TipsList::StatedPercent(int row) {
  return static_cast<int>(Value(row, StatedPercentField(row)).AsInteger());
}

std::string TipsList::CellToolTip(int row, std::string_view field) {
  return field == StatedPercentField(row) ? PastText(row) : std::string();
}

std::optional<PastRecord> TipsList::Past(int row) {
  const std::optional<CalibrationKind> kind =
      CalibrationKindOf(KindOfTip(Value(row, "TIP").AsString()));
  const std::optional<Date> day = Value(row, "DATUM").AsDate();
  if (!kind || !day) return std::nullopt;
  const int league = static_cast<int>(Value(row, "ID_LIGA").AsInteger());
  const int percent = StatedPercent(row);
  const auto key =
      std::make_tuple(league, static_cast<int>(*kind), FineBucket(percent),
                      static_cast<int64_t>(std::chrono::sys_days(*day).time_since_epoch().count()));
  auto it = past_.find(key);
  if (it == past_.end())
    it = past_
             .emplace(key, PastHitRate(p_.dm.ADOConnection1, p_.selection.result_mode, league,
                                       *kind, percent, *day))
             .first;
  return it->second;
}

std::string TipsList::PastText(int row) {
  const std::optional<PastRecord> past = Past(row);
  if (!past) return "";
  std::string count = FormatNumber2(past->tips);
  count.erase(count.size() - 3);  // whole tips: no decimals
  const int first = static_cast<int>(past->first_day.year());
  const int last = static_cast<int>(past->last_day.year());
  const std::string years =
      first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
  return p_.messages.Filled(msg::kPastHitRate, {std::to_string(past->Percent()), count, years});
}

int TipsList::FlagIndex(int row) {
  return static_cast<int>(Value(row, "ID_LIGA").AsInteger()) - 1;
}

}  // namespace morvela
