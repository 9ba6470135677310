// results: the results browser of one season, and adding, editing, deleting and searching
// results through the result editor. Every change ends as closing the browser does: the active
// season is replayed.
// history: the match history lists the match tip window shows in the browser (a pairing's
// meetings, a team's latest matches) with their counts.
#include <iostream>
#include <memory>
#include <sstream>

#include "analysis/match_history.h"
#include "cli/cli_context.h"
#include "cli/json.h"
#include "core/date.h"
#include "core/text.h"
#include "i18n/leagues.h"
#include "program/front_end_options.h"
#include "program/startup.h"
#include "results/results_browser.h"

namespace morvela {

namespace {

struct ResultsOptions {
  std::string league, season, sort = "date";
  bool desc = false, csv = false;
  // add / edit
  std::string id, date, home, away, score, ht;
  bool forfeit = false, no_forfeit = false, yes = false, both = false;
};

enum class Change { kAdd, kEdit, kDelete };

struct Goals {
  int home = 0, away = 0;
};

// "2:1" (blanks allowed around the colon) as two whole numbers 0..99.
Goals ParseScore(const std::string& option, const std::string& text) {
  const size_t colon = text.find(':');
  std::optional<int> h, a;
  if (colon != std::string::npos) {
    h = ParseDigits(TrimSpaces(std::string_view(text).substr(0, colon)), 1, 2);
    a = ParseDigits(TrimSpaces(std::string_view(text).substr(colon + 1)), 1, 2);
  }
  if (!h || !a) throw CLI::ValidationError(option, "expects a score like 2:1, not '" + text + "'");
  return {*h, *a};
}

// A match date within the dates the program computes with (front_end_options.h).
Date ParseDateOption(const std::string& text) {
  std::optional<Date> d = ParseIsoDate(text);
  if (!d) d = ParseShortDate(text);
  if (!d || *d < kFirstUsableDate || kLastUsableDate < *d)
    throw CLI::ValidationError("--date",
                               "expects YYYY-MM-DD or dd.mm.yyyy from 1900-01-01 to "
                               "9998-12-31, not '" +
                                   text + "'");
  return *d;
}

// The match id of `text` written as the database writes ids ("007" is match 7), since the
// browser finds the row by that text; a ValidationError when it is no whole number that an id
// can be.
std::string MatchIdOption(const std::string& text) {
  const std::optional<int> id = ParseDigits(text, 1, 10);
  if (!id) throw CLI::ValidationError("ID", "expects a match id, not '" + text + "'");
  return std::to_string(*id);
}

int League(const std::string& text) {
  return LeagueOption("LEAGUE", text);
}

// Fills the editor from the options; unchanged fields keep what the editor opened with.
class OptionEditor : public ResultEditorView {
 public:
  explicit OptionEditor(const ResultsOptions& o) : o_(o) {}
  int status = kExitOk;

  void ShowResultEditor(TForm4& e) override {
    auto pick = [&](const std::string& text, const std::vector<TeamItem>& list, int& index) {
      if (text.empty()) return true;
      TeamLookup found = ResolveTeam(list, text);
      if (!found.team) {
        std::cerr << "Error: " << found.error << "\n";
        return false;
      }
      for (size_t i = 0; i < list.size(); ++i)
        if (list[i].id == found.team->id) index = static_cast<int>(i);
      return true;
    };
    if (!pick(o_.home, e.home_list, e.home_index) || !pick(o_.away, e.away_list, e.away_index)) {
      status = kExitUsage;
      e.Back();
      return;
    }
    if (!o_.date.empty()) e.date = ParseDateOption(o_.date);
    if (!o_.score.empty()) {
      const Goals g = ParseScore("--score", o_.score);
      e.home_goals = g.home, e.away_goals = g.away;
      if (o_.ht.empty()) e.ht_home_goals = e.ht_away_goals = 0;
    }
    if (!o_.ht.empty()) {
      const Goals g = ParseScore("--ht", o_.ht);
      e.ht_home_goals = g.home, e.ht_away_goals = g.away;
    }
    if (o_.forfeit) e.check = true;
    if (o_.no_forfeit) e.check = false;
    if (!e.Ok()) {
      status = kExitError;
      e.Back();
    }
  }

 private:
  const ResultsOptions& o_;
};

// `counts`: a list's counts, printed by name in the JSON object.
void PrintRows(TForm3& b, bool json, bool csv, bool only_current,
               const ListCounts* counts = nullptr) {
  const int first = only_current ? b.CurrentRow() : 0;
  const int end = only_current ? first + 1 : b.RowCount();
  if (json) {
    Json out = {{"caption", std::string(TrimSpaces(b.caption))},
                {"buttons", {b.buttons[0], b.buttons[1], b.buttons[2]}}};
    if (counts)
      out["counts"] = {{"wins", counts->wins},
                       {"draws", counts->draws},
                       {"losses", counts->losses},
                       {"under", counts->under},
                       {"over", counts->over}};
    out["current"] = b.CurrentRow();
    Json& rows = out["rows"] = Json::array();
    for (int r = first; r < end; ++r) {
      Json row = {{"id", JsonInteger(b.RowId(r))}};
      for (int c = 0; c < 4; ++c) row[kResultsColumns[c].field] = b.CellText(r, c);
      row["not_counted"] = b.RowNotCounted(r);
      rows.push_back(std::move(row));
    }
    std::cout << JsonText(out) << "\n";
    return;
  }
  if (!csv && !only_current) std::cout << b.caption << "\n";
  std::cout << "ID;" << b.ColumnTitle(0) << ";" << b.ColumnTitle(1) << ";" << b.ColumnTitle(2)
            << ";" << b.ColumnTitle(3) << "\n";
  for (int r = first; r < end; ++r) {
    std::cout << b.RowId(r);
    for (int c = 0; c < 4; ++c) std::cout << ";" << b.CellText(r, c);
    if (!csv && r == b.CurrentRow() && !only_current) std::cout << "   <";
    std::cout << "\n";
  }
  if (!csv && !only_current && !b.buttons_enabled)
    std::cout << b.buttons[0] << "  " << b.buttons[1] << "  " << b.buttons[2] << "\n";
}

// Opens the program on the season of match `id`; false (with the reason) when there is none.
bool LoadSeasonOfMatch(Program& p, const std::string& id) {
  Query q(p.dm.ADOConnection1);
  q.Open(
      "SELECT SUTAZ.ID_LIGA,SUTAZ.ROCNIK,VYSLEDKY.ID_SUTAZ FROM VYSLEDKY,SUTAZ WHERE "
      "VYSLEDKY.ID=" +
      id + " AND SUTAZ.ID=VYSLEDKY.ID_SUTAZ");
  if (q.Eof()) {
    std::cerr << "Error: no match with id " << id << "\n";
    return false;
  }
  return LoadSeason(p, static_cast<int>(q.FieldByName("ID_LIGA").AsInteger()),
                    std::string(TrimSpaces(q.FieldByName("ROCNIK").AsString())));
}

// The result mode while the browser is open: under/over shows full-time results.
void BrowserMode(Program& p) {
  if (p.selection.result_mode == ResultMode::kUnderOver)
    p.selection.result_mode = ResultMode::kFullTime;
}

int RunList(CliContext& ctx, const ResultsOptions& o) {
  const int league = League(o.league);
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  if (!LoadSeason(p, league, o.season)) return kExitUsage;
  TForm3 b(p);
  b.PrepareOwnList();
  b.FormShow();
  const int column = o.sort == "home" ? 1 : o.sort == "away" ? 2 : 0;
  if (column != 0) b.TitleClick(column);
  if (o.desc) b.TitleClick(column);
  PrintRows(b, ctx.json, o.csv, false);
  b.Close();
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

int RunChange(CliContext& ctx, const ResultsOptions& o, Change mode) {
  // Everything that can be checked before opening the database is checked first, so a wrong
  // option writes nothing.
  if (!o.date.empty()) ParseDateOption(o.date);
  if (!o.score.empty()) ParseScore("--score", o.score);
  if (!o.ht.empty()) ParseScore("--ht", o.ht);
  const std::string id = mode == Change::kAdd ? std::string() : MatchIdOption(o.id);
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  if (mode == Change::kAdd) {
    if (!LoadSeason(p, League(o.league), o.season)) return kExitUsage;
  } else if (!LoadSeasonOfMatch(p, id)) {
    return kExitUsage;
  }
  BrowserMode(p);
  TForm3 b(p);
  b.PrepareOwnList();
  b.FormShow();
  if (mode != Change::kAdd) b.ZobrazList(id);
  OptionEditor editor(o);
  if (mode == Change::kAdd) {
    b.Add(editor);
  } else if (mode == Change::kEdit) {
    b.Edit(editor);
  } else {
    ctx.ui.assume_yes = o.yes;
    const std::string label = b.CellText(b.CurrentRow(), 1) + " - " + b.CellText(b.CurrentRow(), 2);
    b.Delete();
    if (!b.results_changed) {
      std::cerr << "Nothing deleted (confirm with --yes)\n";
      return kExitError;
    }
    std::cout << "Deleted match " << id << " (" << label << ")\n";
  }
  if (editor.status != kExitOk) return editor.status;
  if (mode != Change::kDelete) PrintRows(b, ctx.json, false, true);
  b.Close();
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

int RunSearch(CliContext& ctx, const ResultsOptions& o) {
  const int league = League(o.league);
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  if (!LoadSeason(p, league, "")) return kExitUsage;
  TForm3 b(p);
  b.PrepareOwnList();
  b.FormShow();
  ResultsOptions pick = o;
  pick.date.clear(), pick.score.clear(), pick.ht.clear();
  struct SearchEditor : ResultEditorView {
    OptionEditor inner;
    bool both;
    SearchEditor(const ResultsOptions& o, bool b) : inner(o), both(b) {}
    void ShowResultEditor(TForm4& e) override {
      e.check = both;
      inner.ShowResultEditor(e);
    }
  } editor(pick, o.both);
  b.Search(editor);
  if (editor.inner.status != kExitOk) return editor.inner.status;
  PrintRows(b, ctx.json, false, false);
  b.Close();
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

struct HistoryOptions {
  std::string list;  // h2h, latest
  PairingArguments pairing;
};

int RunHistory(CliContext& ctx, const HistoryOptions& o) {
  const bool latest = o.list == "latest";
  if (!latest && o.pairing.away.empty())
    throw CLI::ValidationError("history h2h", "needs a HOME and an AWAY team");
  PairingArguments pairing = o.pairing;
  // A latest-matches list names one team: it stands for both sides of the lookup.
  if (latest) pairing.away = pairing.home;
  std::optional<TeamItem> home, away;
  if (int status = OpenPairing(ctx, pairing, home, away, latest); status != kExitOk) return status;
  Program& p = *ctx.program;
  TForm3 b(p);
  const ListCounts counts =
      FillHistoryList(p, b,
                      {.kind = latest ? HistoryKind::kLatestMatches : HistoryKind::kHeadToHead,
                       .mode = p.selection.result_mode,
                       .team = *home,
                       .other = *away});
  b.FormShow();
  PrintRows(b, ctx.json, false, false, &counts);
  b.Close();
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

}  // namespace

void RegisterResultsCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto o = std::make_shared<ResultsOptions>();
  auto* sub = app.add_subcommand("results",
                                 "The results of a season; add, edit, delete and search results");
  sub->add_option("league", o->league, "League id 1-20 or English country name");
  sub->add_option("--season", o->season, "Season label; default: the active season");
  sub->add_option("--sort", o->sort, "date (default), home or away (by team name)")
      ->check(CLI::IsMember({"date", "home", "away"}));
  sub->add_flag("--desc", o->desc, "Descending order");
  auto* json = sub->add_flag("--json", ctx.json, "Print the rows as JSON");
  sub->add_flag("--csv", o->csv, "Print the rows separated by ';' without caption")->excludes(json);

  auto change_options = [&ctx, o](CLI::App* c) {
    c->add_option("--date", o->date, "Match date YYYY-MM-DD (or dd.mm.yyyy)");
    c->add_option("--home", o->home, "Home team: id or name");
    c->add_option("--away", o->away, "Away team: id or name");
    c->add_option("--score", o->score, "Final score, e.g. 2:1");
    c->add_option("--ht", o->ht, "Half-time score, e.g. 1:0 (default 0:0 with a new --score)");
    c->add_flag("--forfeit", o->forfeit, "The match was forfeited");
    c->add_flag("--no-forfeit", o->no_forfeit, "The match was not forfeited");
    c->add_option("--season", o->season, "Season label; default: the active season");
    c->add_flag("--json", ctx.json, "Print the row as JSON");
  };
  auto* add = sub->add_subcommand("add", "Add a result to a season");
  add->add_option("league", o->league, "League id 1-20 or English country name")->required();
  change_options(add);
  add->callback([&ctx, &exit_code, o] {
    if (o->date.empty() || o->home.empty() || o->away.empty() || o->score.empty())
      throw CLI::ValidationError("add", "needs --date, --home, --away and --score");
    exit_code = RunChange(ctx, *o, Change::kAdd);
  });
  auto* edit = sub->add_subcommand("edit", "Change a result; options not given stay");
  edit->add_option("id", o->id, "Match id (VYSLEDKY.ID)")->required();
  change_options(edit);
  edit->callback([&ctx, &exit_code, o] { exit_code = RunChange(ctx, *o, Change::kEdit); });
  auto* del = sub->add_subcommand("delete", "Delete a result");
  del->add_option("id", o->id, "Match id (VYSLEDKY.ID)")->required();
  del->add_flag("--yes", o->yes, "Answer the question with Yes");
  del->callback([&ctx, &exit_code, o] { exit_code = RunChange(ctx, *o, Change::kDelete); });
  auto* search = sub->add_subcommand("search", "Results between two teams over all seasons");
  search->add_option("league", o->league, "League id 1-20 or English country name")->required();
  search->add_option("home", o->home, "Home team: id or name")->required();
  search->add_option("away", o->away, "Away team: id or name")->required();
  search->add_flag("--both-venues", o->both, "Also the matches with the venues swapped");
  search->add_flag("--json", ctx.json, "Print the rows as JSON");
  search->callback([&ctx, &exit_code, o] { exit_code = RunSearch(ctx, *o); });

  auto h = std::make_shared<HistoryOptions>();
  auto* history = app.add_subcommand(
      "history",
      "The match tip window's lists: a pairing's meetings at this venue over all seasons (h2h) "
      "or a team's matches in the active seasons (latest), with their counts (honours --mode "
      "and --lang)");
  history->add_option("list", h->list, "h2h or latest")
      ->required()
      ->check(CLI::IsMember({"h2h", "latest"}));
  history->add_option("league", h->pairing.league, "League id 1-20 or English country name")
      ->required();
  history->add_option("home", h->pairing.home, "Home team (the team of a latest list): id or name")
      ->required();
  history->add_option("away", h->pairing.away, "Away team of a h2h list: id or name");
  history->add_option("--season", h->pairing.season,
                      "Season whose teams the names are looked up in; default: the active season");
  history->add_flag("--json", ctx.json, "Print the list and its counts as JSON");
  history->callback([&ctx, &exit_code, h] { exit_code = RunHistory(ctx, *h); });

  sub->callback([&ctx, &exit_code, o, sub] {
    if (!sub->get_subcommands().empty()) return;
    if (o->league.empty()) throw CLI::ValidationError("results", "needs a LEAGUE");
    exit_code = RunList(ctx, *o);
  });
}

}  // namespace morvela
