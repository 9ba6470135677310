#include "builder/csv_import.h"
#include "core/text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <tuple>
#include <unordered_map>

#include "builder/csv_columns.h"
#include "builder/csv_text.h"
#include "builder/prepare_seasons.h"
#include "builder/schema.h"
#include "core/helpers.h"
#include "core/kill_point.h"
#include "core/outcome.h"
#include "core/rounding.h"
#include "i18n/leagues.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

using namespace csv;

int DayNumber(const Date& d) {
  return static_cast<int>(std::chrono::sys_days(d).time_since_epoch().count());
}

std::string SqlInt(std::optional<int> v) {
  return v ? std::to_string(*v) : "NULL";
}

std::string SqlOutcome(std::optional<int> h, std::optional<int> a) {
  return h && a ? QuoteSqlText(OutcomeText(ScoreOutcome(*h, *a))) : "NULL";
}

std::string SqlOdds(std::optional<double> v) {
  return v ? FormatSqlNumber(*v) : "NULL";
}

std::optional<double> DoubleChance(std::optional<double> x, std::optional<double> y) {
  if (!x || !y) return std::nullopt;
  return static_cast<double>(RoundHalfEven(100.0 / (1.0 / *x + 1.0 / *y))) / 100.0;
}

bool SameOdds(std::optional<double> a, std::optional<double> b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || std::fabs(*a - *b) < 1e-9;
}

std::optional<int> NullableInt(const Field& f) {
  if (f.IsNull()) return std::nullopt;
  return static_cast<int>(f.AsInteger());
}

std::optional<double> NullableDouble(const Field& f) {
  if (f.IsNull()) return std::nullopt;
  return f.AsFloat();
}

// ---------------------------------------------------------------- the importer

class Importer {
 public:
  Importer(Connection& conn, const ImportOptions& options, ImportReport& report)
      : conn_(conn), options_(options), report_(report) {}

  void ImportFile(const fs::path& path);
  void CheckTouchedLeagues();

 private:
  struct Competition {
    int64_t id = 0;
    std::string label;
    int teams = 0;
    ZoneLimits zones;
  };
  struct Stored {
    int64_t id = 0;
    std::optional<int> fthg, ftag, hthg, htag;
    bool has_odds_row = false;
    MatchOdds odds;
  };
  using MatchKey = std::tuple<int64_t, int, int64_t, int64_t>;  // competition, day, home, away

  std::vector<Row> ReadRows(const fs::path& path, FileImport& result);
  std::optional<Row> ParseRow(const ColumnMap& m, const std::vector<std::string>& f,
                              std::optional<int> file_league, std::optional<int> file_season,
                              std::string& error) const;
  void WriteRows(const std::vector<Row>& rows, FileImport& result);
  void WriteMatch(const Row& row, int64_t competition, std::map<MatchKey, Stored>& stored,
                  FileImport& result);
  void WriteOdds(int64_t match, bool has_row, const MatchOdds& odds);
  std::map<int, Competition>& Competitions(int league);
  int64_t CompetitionId(int league, int season);
  int64_t TeamId(int league, const std::string& name);
  void EnsureMember(int64_t competition, int64_t team);
  std::map<MatchKey, Stored> LoadStored(const std::set<int64_t>& competitions);
  void UpdateCompetitionRows(int league);
  void AddError(FileImport& result, const std::string& message);

  Connection& conn_;
  const ImportOptions& options_;
  ImportReport& report_;
  std::map<int, std::map<int, Competition>> competitions_;         // league -> season -> row
  std::map<int, std::unordered_map<std::string, int64_t>> teams_;  // league -> folded name
  std::map<int64_t, std::set<int64_t>> members_;                   // competition -> teams
  std::set<int> touched_leagues_;
  std::map<int64_t, std::pair<int, int>> touched_competitions_;  // id -> league, season
};

// At most this many row messages per file: a file of the wrong kind would otherwise report
// every one of its rows.
constexpr int kMaxMessagesPerFile = 20;

void Importer::AddError(FileImport& result, const std::string& message) {
  ++result.skipped;
  if (result.skipped <= kMaxMessagesPerFile) {
    report_.errors.push_back(message);
  } else if (result.skipped == kMaxMessagesPerFile + 1) {
    report_.errors.push_back(result.file + ": further bad rows are not listed");
  }
}

std::optional<Row> Importer::ParseRow(const ColumnMap& m, const std::vector<std::string>& f,
                                      std::optional<int> file_league,
                                      std::optional<int> file_season, std::string& error) const {
  auto cell = [&](int i) -> std::string_view {
    return i >= 0 && static_cast<size_t>(i) < f.size()
               ? TrimSpacesAndTabs(f[static_cast<size_t>(i)])
               : std::string_view{};
  };
  if (f.size() < m.required_width) {
    error = "has " + std::to_string(f.size()) + " fields, the header names at least " +
            std::to_string(m.required_width);
    return std::nullopt;
  }
  Row r;
  if (options_.league) {
    r.league = *options_.league;
  } else if (!cell(m.div).empty() || !cell(m.country).empty()) {
    const std::string_view code = !cell(m.div).empty() ? cell(m.div) : cell(m.country);
    auto league = LeagueIdFromCode(code);
    if (!league) {
      if (!options_.only_leagues.empty()) return std::nullopt;  // passed over, no error
      error = "unknown league " + Quote(code) + " (name it with --league)";
      return std::nullopt;
    }
    r.league = *league;
  } else if (file_league) {
    r.league = *file_league;
  } else {
    error = "the row names no league (name it with --league)";
    return std::nullopt;
  }
  if (!options_.only_leagues.empty() && !options_.only_leagues.count(r.league))
    return std::nullopt;  // passed over, no error
  auto date = ParseMatchDate(cell(m.date));
  if (!date) {
    error = "malformed date " + Quote(cell(m.date));
    return std::nullopt;
  }
  r.date = *date;
  if (file_season) {
    r.season = *file_season;
    // A season's matches lie within its two calendar years (extended seasons end in summer).
    const int year = static_cast<int>(date->year());
    if (year != *file_season && year != *file_season + 1) {
      error = "date " + std::string(cell(m.date)) + " lies outside season " +
              SeasonLabel(*file_season) + " of the file name";
      return std::nullopt;
    }
  } else if (auto s = SeasonFromText(cell(m.season))) {
    r.season = *s;
  } else if (auto year = morvela::ParseDigits(cell(m.season), 4, 4);
             year && *year >= 1900 && *year <= 2099) {
    r.season = *year;  // a calendar-year season ("2025")
  } else {
    r.season = SeasonOfDate(*date);
  }
  if (options_.first_season && r.season < *options_.first_season)
    return std::nullopt;  // passed over, no error
  r.home = std::string(cell(m.home));
  r.away = std::string(cell(m.away));
  for (const std::string* name : {&r.home, &r.away}) {
    if (name->empty()) {
      error = "a team name is missing";
      return std::nullopt;
    }
    if (Utf8Length(*name) > 50) {
      error = "team name " + Quote(*name) + " is longer than 50 characters";
      return std::nullopt;
    }
  }
  r.home = options_.aliases.Resolve(r.league, r.home);
  r.away = options_.aliases.Resolve(r.league, r.away);
  if (AsciiLower(r.home) == AsciiLower(r.away)) {
    error = "home and away team are the same ('" + r.home + "')";
    return std::nullopt;
  }
  if (!ParseGoals(cell(m.fthg), r.fthg) || !ParseGoals(cell(m.ftag), r.ftag) ||
      r.fthg.has_value() != r.ftag.has_value()) {
    error = "malformed score " + Quote(cell(m.fthg)) + "-" + Quote(cell(m.ftag));
    return std::nullopt;
  }
  if (!ParseGoals(cell(m.hthg), r.hthg) || !ParseGoals(cell(m.htag), r.htag) ||
      r.hthg.has_value() != r.htag.has_value()) {
    error = "malformed half-time score " + Quote(cell(m.hthg)) + "-" + Quote(cell(m.htag));
    return std::nullopt;
  }
  if (r.hthg && (!r.fthg || *r.hthg > *r.fthg || *r.htag > *r.ftag)) {
    error = "half-time score " + std::to_string(*r.hthg) + "-" + std::to_string(*r.htag) +
            " does not fit the full-time score " + std::string(cell(m.fthg)) + "-" +
            std::string(cell(m.ftag));
    return std::nullopt;
  }
  r.odds = PickOdds(m, f);
  return r;
}

std::vector<Row> Importer::ReadRows(const fs::path& path, FileImport& result) {
  std::vector<Row> rows;
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  if (!in) {
    report_.errors.push_back(result.file + ": cannot be read");
    result.rejected = true;
    return rows;
  }
  const DecodedText decoded = DecodeToUtf8(buffer.str());
  if (!decoded.refused.empty()) {
    report_.errors.push_back(result.file + ": not imported: " + decoded.refused);
    result.rejected = true;
    return rows;
  }
  if (decoded.encoding == "Latin-1") {
    report_.notes.push_back(FileLine(result.file, decoded.first_non_utf8_line) +
                            "not valid UTF-8; the file is read as Latin-1");
  } else if (decoded.encoding != "UTF-8") {
    report_.notes.push_back(result.file + ": read as " + decoded.encoding);
  }
  const std::set<int> bad_lines(decoded.invalid_lines.begin(), decoded.invalid_lines.end());
  const std::vector<std::string_view> lines = SplitLines(decoded.text);
  if (lines.empty() || TrimSpacesAndTabs(lines[0]).empty()) {
    report_.errors.push_back(FileLine(result.file, 1) + "no header line");
    result.rejected = true;
    return rows;
  }
  if (bad_lines.count(1)) {
    report_.errors.push_back(FileLine(result.file, 1) + "the header line is not valid " +
                             decoded.encoding + " text");
    result.rejected = true;
    return rows;
  }
  std::string missing;
  const auto columns = MapColumns(SplitCsvLine(lines[0]), missing);
  if (!columns) {
    report_.errors.push_back(FileLine(result.file, 1) + "missing column(s) " + missing);
    result.rejected = true;
    return rows;
  }
  // The folder or the file name may name the league ("en/2019-20.csv", "E0.csv").
  std::optional<int> file_league = LeagueIdFromCode(path.stem().string());
  if (!file_league) file_league = LeagueIdFromCode(path.parent_path().filename().string());
  if (!options_.league && !file_league && columns->div < 0 && columns->country < 0) {
    report_.errors.push_back(FileLine(result.file, 1) +
                             "no Div column, and neither the file nor its folder names a "
                             "league (name it with --league)");
    result.rejected = true;
    return rows;
  }
  const std::optional<int> file_season = SeasonFromText(path.stem().string());

  std::map<std::tuple<int, int, std::string, std::string>, int> first_line;
  for (size_t i = 1; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (bad_lines.count(line)) {
      ++result.rows;
      AddError(result, FileLine(result.file, line) + "not valid " + decoded.encoding +
                           " text; row skipped");
      continue;
    }
    const std::vector<std::string> fields = SplitCsvLine(lines[i]);
    if (std::all_of(fields.begin(), fields.end(),
                    [](const std::string& s) { return TrimSpacesAndTabs(s).empty(); })) {
      continue;  // blank rows and rows of bare commas close many files
    }
    ++result.rows;
    std::string error;
    auto row = ParseRow(*columns, fields, file_league, file_season, error);
    if (!row && error.empty()) {
      ++result.ignored;
      continue;
    }
    if (!row) {
      AddError(result, FileLine(result.file, line) + error + "; row skipped");
      continue;
    }
    const auto key = std::make_tuple(row->league, DayNumber(row->date), AsciiLower(row->home),
                                     AsciiLower(row->away));
    if (auto [it, fresh] = first_line.emplace(key, line); !fresh) {
      AddError(result, FileLine(result.file, line) + "the match " + row->home + " - " + row->away +
                           " of this date is already on line " + std::to_string(it->second) +
                           "; row skipped");
      continue;
    }
    rows.push_back(std::move(*row));
  }
  return rows;
}

void Importer::ImportFile(const fs::path& path) {
  FileImport result;
  result.file = path.string();
  std::vector<Row> rows = ReadRows(path, result);
  if (!result.rejected) {
    conn_.Begin();
    try {
      WriteRows(rows, result);
      if (options_.in_transaction) options_.in_transaction(conn_, result);
      conn_.Commit();
      KillPoint("import:file-committed");
    } catch (const DatabaseError& e) {
      conn_.Rollback();
      throw DatabaseError(result.file + ": not imported: " + e.what());
    } catch (...) {
      conn_.Rollback();
      throw;
    }
  }
  report_.files.push_back(result);
}

void Importer::WriteRows(const std::vector<Row>& rows, FileImport& result) {
  std::set<int64_t> competitions;
  std::set<int> leagues;
  for (const Row& r : rows) {
    const int64_t id = CompetitionId(r.league, r.season);
    competitions.insert(id);
    leagues.insert(r.league);
    touched_competitions_[id] = {r.league, r.season};
  }
  std::map<MatchKey, Stored> stored = LoadStored(competitions);
  std::set<int> changed;
  std::map<int, LeagueImport> counts;
  for (const Row& r : rows) {
    const int64_t competition = CompetitionId(r.league, r.season);
    const int inserted = result.inserted, updated = result.updated;
    WriteMatch(r, competition, stored, result);
    LeagueImport& c = counts[r.league];
    c.inserted += result.inserted - inserted;
    c.updated += result.updated - updated;
    if (!r.fthg) {
      ++c.fixtures;
      ++result.fixtures;
    }
    if (result.inserted + result.updated != inserted + updated) changed.insert(r.league);
  }
  for (int league : leagues) UpdateCompetitionRows(league);
  // In the file's transaction: a process killed before the replay leaves the marks behind, and
  // the next import (or replay --pending) finishes the job.
  for (int league : changed) MarkLeagueForReplay(conn_, league);
  report_.changed_leagues.insert(changed.begin(), changed.end());
  for (const auto& [league, c] : counts) {
    LeagueImport& total = report_.leagues[league];
    total.inserted += c.inserted;
    total.updated += c.updated;
    total.fixtures += c.fixtures;
  }
  touched_leagues_.insert(leagues.begin(), leagues.end());
}

std::map<int, Importer::Competition>& Importer::Competitions(int league) {
  auto [it, fresh] = competitions_.try_emplace(league);
  if (fresh) {
    Query q(conn_);
    q.Open("SELECT ID,ROCNIK,ID_POR,POCET,LM,EL,BARAZ,VYP FROM SUTAZ WHERE ID_LIGA=" +
           std::to_string(league));
    for (; !q.Eof(); q.Next()) {
      Competition c;
      c.id = q.FieldByName("ID").AsInteger();
      c.label = q.FieldByName("ROCNIK").AsString();
      c.teams = static_cast<int>(q.FieldByName("POCET").AsInteger());
      c.zones = {static_cast<int>(q.FieldByName("LM").AsInteger()),
                 static_cast<int>(q.FieldByName("EL").AsInteger()),
                 static_cast<int>(q.FieldByName("BARAZ").AsInteger()),
                 static_cast<int>(q.FieldByName("VYP").AsInteger())};
      it->second[static_cast<int>(q.FieldByName("ID_POR").AsInteger())] = c;
    }
  }
  return it->second;
}

int64_t Importer::CompetitionId(int league, int season) {
  auto& seasons = Competitions(league);
  if (auto it = seasons.find(season); it != seasons.end()) return it->second.id;
  // Labelled with its year; UpdateCompetitionRows moves "Active" to the newest season.
  Competition c;
  c.label = SeasonLabel(season);
  conn_.Execute("INSERT INTO SUTAZ (ID_LIGA,ROCNIK,ID_POR,POCET,LM,EL,BARAZ,VYP) VALUES (" +
                std::to_string(league) + "," + QuoteSqlText(c.label) + "," +
                std::to_string(season) + ",0,0,0,0,0)");
  c.id = conn_.LastInsertId();
  members_[c.id];  // a new season has no teams yet
  seasons[season] = c;
  return c.id;
}

int64_t Importer::TeamId(int league, const std::string& name) {
  auto [it, fresh] = teams_.try_emplace(league);
  auto& names = it->second;
  if (fresh) {
    Query q(conn_);
    q.Open("SELECT ID,NAZOV_EN FROM MUZSTVA WHERE ID_LIGA=" + std::to_string(league) +
           " ORDER BY ID");
    for (; !q.Eof(); q.Next())
      names.emplace(AsciiLower(q.FieldByName("NAZOV_EN").AsString()),
                    q.FieldByName("ID").AsInteger());
  }
  const std::string key = AsciiLower(name);
  if (auto found = names.find(key); found != names.end()) return found->second;
  const std::string quoted = QuoteSqlText(name);
  conn_.Execute("INSERT INTO MUZSTVA (ID_LIGA,NAZOV,NAZOV_EN,NAZOV_DE,NAZOV_IT) VALUES (" +
                std::to_string(league) + "," + quoted + "," + quoted + "," + quoted + "," + quoted +
                ")");
  const int64_t id = conn_.LastInsertId();
  names.emplace(key, id);
  return id;
}

void Importer::EnsureMember(int64_t competition, int64_t team) {
  auto [it, fresh] = members_.try_emplace(competition);
  if (fresh) {
    Query q(conn_);
    q.Open("SELECT ID_MUZSTVO FROM SUTAZ_MUZSTVA WHERE ID_SUTAZ=" + std::to_string(competition));
    for (; !q.Eof(); q.Next()) it->second.insert(q.FieldByName("ID_MUZSTVO").AsInteger());
  }
  if (!it->second.insert(team).second) return;
  // Neutral season-start values; the season-start step replaces them.
  conn_.Execute(
      "INSERT INTO SUTAZ_MUZSTVA (ID_SUTAZ,ID_MUZSTVO,ELO,ELO_HOME,ELO_AWAY,HT_ELO,HT_ELO_HOME,"
      "HT_ELO_AWAY,SHT_ELO,SHT_ELO_HOME,SHT_ELO_AWAY,PR,PR_HOME,PR_AWAY) VALUES (" +
      std::to_string(competition) + "," + std::to_string(team) +
      ",1500,1500,1500,1500,1500,1500,1500,1500,1500,2.6,2.6,2.6)");
}

std::map<Importer::MatchKey, Importer::Stored> Importer::LoadStored(
    const std::set<int64_t>& competitions) {
  std::map<MatchKey, Stored> stored;
  if (competitions.empty()) return stored;
  std::string list;
  for (int64_t c : competitions) list += (list.empty() ? "" : ",") + std::to_string(c);
  Query q(conn_);
  q.Open(
      "SELECT VYSLEDKY.ID AS MATCH_ID,VYSLEDKY.ID_SUTAZ AS SUTAZ_ID,DATUM,HOME,AWAY,HOME_GOAL,"
      "AWAY_GOAL,HT_HOME_GOAL,HT_AWAY_GOAL,KURZY.ID AS ODDS_ID,KURZ1,KURZX,KURZ2,OVER,"
      "KURZY.UNDER AS ODDS_UNDER FROM VYSLEDKY LEFT JOIN KURZY ON KURZY.ID=VYSLEDKY.ID WHERE "
      "VYSLEDKY.ID_SUTAZ IN (" +
      list + ")");
  for (; !q.Eof(); q.Next()) {
    auto date = q.FieldByName("DATUM").AsDate();
    if (!date) continue;
    Stored s;
    s.id = q.FieldByName("MATCH_ID").AsInteger();
    s.fthg = NullableInt(q.FieldByName("HOME_GOAL"));
    s.ftag = NullableInt(q.FieldByName("AWAY_GOAL"));
    s.hthg = NullableInt(q.FieldByName("HT_HOME_GOAL"));
    s.htag = NullableInt(q.FieldByName("HT_AWAY_GOAL"));
    s.has_odds_row = !q.FieldByName("ODDS_ID").IsNull();
    s.odds = {NullableDouble(q.FieldByName("KURZ1")), NullableDouble(q.FieldByName("KURZX")),
              NullableDouble(q.FieldByName("KURZ2")), NullableDouble(q.FieldByName("OVER")),
              NullableDouble(q.FieldByName("ODDS_UNDER"))};
    const MatchKey key{q.FieldByName("SUTAZ_ID").AsInteger(), DayNumber(*date),
                       q.FieldByName("HOME").AsInteger(), q.FieldByName("AWAY").AsInteger()};
    stored.emplace(key, s);
  }
  return stored;
}

void Importer::WriteMatch(const Row& r, int64_t competition, std::map<MatchKey, Stored>& stored,
                          FileImport& result) {
  const int64_t home = TeamId(r.league, r.home);
  const int64_t away = TeamId(r.league, r.away);
  EnsureMember(competition, home);
  EnsureMember(competition, away);
  std::optional<int> shthg, shtag;
  if (r.hthg) {
    shthg = *r.fthg - *r.hthg;
    shtag = *r.ftag - *r.htag;
  }
  const std::string goals = "HOME_GOAL=" + SqlInt(r.fthg) + ",AWAY_GOAL=" + SqlInt(r.ftag) +
                            ",VYSLEDOK=" + SqlOutcome(r.fthg, r.ftag) +
                            ",HT_HOME_GOAL=" + SqlInt(r.hthg) + ",HT_AWAY_GOAL=" + SqlInt(r.htag) +
                            ",HT_VYSLEDOK=" + SqlOutcome(r.hthg, r.htag) +
                            ",SHT_HOME_GOAL=" + SqlInt(shthg) + ",SHT_AWAY_GOAL=" + SqlInt(shtag) +
                            ",SHT_VYSLEDOK=" + SqlOutcome(shthg, shtag);

  const MatchKey key{competition, DayNumber(r.date), home, away};
  auto it = stored.find(key);
  bool moved = false;
  if (it == stored.end()) {
    // A fixture and its result a day apart are one match (a kick-off moved across midnight, a
    // fixture list in another time zone). Two played matches a day apart stay two.
    for (const int shift : {-1, 1}) {
      auto near = stored.find({competition, DayNumber(r.date) + shift, home, away});
      if (near == stored.end() || (r.fthg && near->second.fthg)) continue;
      if (!r.fthg && near->second.fthg) {
        ++result.unchanged;  // the listing of a match already played
        return;
      }
      // The unplayed match takes the row's day: the day it was played, or its new date.
      conn_.Execute("UPDATE VYSLEDKY SET DATUM=" + FormatSqlDate(r.date) +
                    " WHERE ID=" + std::to_string(near->second.id));
      const Stored match = near->second;
      stored.erase(near);
      it = stored.emplace(key, match).first;
      moved = true;
      break;
    }
  }
  if (it == stored.end()) {
    conn_.Execute(
        "INSERT INTO VYSLEDKY (ID_SUTAZ,DATUM,HOME,AWAY,HOME_GOAL,AWAY_GOAL,VYSLEDOK,"
        "HT_HOME_GOAL,HT_AWAY_GOAL,HT_VYSLEDOK,SHT_HOME_GOAL,SHT_AWAY_GOAL,SHT_VYSLEDOK,"
        "KONTUMACIA,NERATAT) VALUES (" +
        std::to_string(competition) + "," + FormatSqlDate(r.date) + "," + std::to_string(home) +
        "," + std::to_string(away) + "," + SqlInt(r.fthg) + "," + SqlInt(r.ftag) + "," +
        SqlOutcome(r.fthg, r.ftag) + "," + SqlInt(r.hthg) + "," + SqlInt(r.htag) + "," +
        SqlOutcome(r.hthg, r.htag) + "," + SqlInt(shthg) + "," + SqlInt(shtag) + "," +
        SqlOutcome(shthg, shtag) + ",0,0)");
    Stored s;
    s.id = conn_.LastInsertId();
    s.fthg = r.fthg;
    s.ftag = r.ftag;
    s.hthg = r.hthg;
    s.htag = r.htag;
    const bool any_odds = r.odds.home || r.odds.over;
    if (any_odds) {
      WriteOdds(s.id, false, r.odds);
      s.has_odds_row = true;
      s.odds = r.odds;
    }
    stored.emplace(key, s);
    ++result.inserted;
    return;
  }

  Stored& s = it->second;
  bool changed = moved;
  // A fixture row never erases a result; a row without a half-time score keeps the stored one
  // as long as the full-time score stays the same.
  const bool new_score = r.fthg && (r.fthg != s.fthg || r.ftag != s.ftag ||
                                    (r.hthg && (r.hthg != s.hthg || r.htag != s.htag)));
  if (new_score) {
    conn_.Execute("UPDATE VYSLEDKY SET " + goals + " WHERE ID=" + std::to_string(s.id));
    s.fthg = r.fthg;
    s.ftag = r.ftag;
    s.hthg = r.hthg;
    s.htag = r.htag;
    changed = true;
  }
  // Missing odds never erase stored ones.
  MatchOdds merged = s.odds;
  if (r.odds.home) {
    merged.home = r.odds.home;
    merged.draw = r.odds.draw;
    merged.away = r.odds.away;
  }
  if (r.odds.over) {
    merged.over = r.odds.over;
    merged.under = r.odds.under;
  }
  const bool new_odds =
      !SameOdds(merged.home, s.odds.home) || !SameOdds(merged.draw, s.odds.draw) ||
      !SameOdds(merged.away, s.odds.away) || !SameOdds(merged.over, s.odds.over) ||
      !SameOdds(merged.under, s.odds.under);
  if (new_odds) {
    WriteOdds(s.id, s.has_odds_row, merged);
    s.has_odds_row = true;
    s.odds = merged;
    changed = true;
  }
  ++(changed ? result.updated : result.unchanged);
}

void Importer::WriteOdds(int64_t match, bool has_row, const MatchOdds& o) {
  const std::string k1x = SqlOdds(DoubleChance(o.home, o.draw));
  const std::string kx2 = SqlOdds(DoubleChance(o.draw, o.away));
  const std::string k12 = SqlOdds(DoubleChance(o.home, o.away));
  if (has_row) {
    conn_.Execute("UPDATE KURZY SET KURZ1=" + SqlOdds(o.home) + ",KURZX=" + SqlOdds(o.draw) +
                  ",KURZ2=" + SqlOdds(o.away) + ",KURZ1X=" + k1x + ",KURZX2=" + kx2 +
                  ",KURZ12=" + k12 + ",OVER=" + SqlOdds(o.over) + ",UNDER=" + SqlOdds(o.under) +
                  " WHERE ID=" + std::to_string(match));
  } else {
    conn_.Execute(
        "INSERT INTO KURZY (ID,KURZ1,KURZX,KURZ2,KURZ1X,KURZX2,KURZ12,OVER,UNDER,BWIN_ID) "
        "VALUES (" +
        std::to_string(match) + "," + SqlOdds(o.home) + "," + SqlOdds(o.draw) + "," +
        SqlOdds(o.away) + "," + k1x + "," + kx2 + "," + k12 + "," + SqlOdds(o.over) + "," +
        SqlOdds(o.under) + ",\"\")");
  }
}

// Team counts, zone limits and the "Active" label of a league's seasons after a file.
void Importer::UpdateCompetitionRows(int league) {
  auto& seasons = Competitions(league);
  if (seasons.empty()) return;
  const int newest = seasons.rbegin()->first;
  for (auto& [season, c] : seasons) {
    const std::string label = season == newest ? "Active" : SeasonLabel(season);
    if (c.label != label) {
      conn_.Execute("UPDATE SUTAZ SET ROCNIK=" + QuoteSqlText(label) +
                    " WHERE ID=" + std::to_string(c.id));
      c.label = label;
    }
    auto members = members_.find(c.id);
    if (members == members_.end()) continue;  // untouched by this import
    const int teams = static_cast<int>(members->second.size());
    const ZoneLimits zones = DefaultZoneLimits(league, teams);
    if (teams != c.teams || zones.lm != c.zones.lm || zones.el != c.zones.el ||
        zones.baraz != c.zones.baraz || zones.vyp != c.zones.vyp) {
      conn_.Execute("UPDATE SUTAZ SET POCET=" + std::to_string(teams) +
                    ",LM=" + std::to_string(zones.lm) + ",EL=" + std::to_string(zones.el) +
                    ",BARAZ=" + std::to_string(zones.baraz) + ",VYP=" + std::to_string(zones.vyp) +
                    " WHERE ID=" + std::to_string(c.id));
      c.teams = teams;
      c.zones = zones;
    }
  }
}

// Warnings about the leagues of this import: clubs seen in a single season in the middle of a
// league's history (most often a name variant that needs an alias) and clubs with far fewer
// matches than the rest of their season (a second name for one club).
void Importer::CheckTouchedLeagues() {
  for (int league : touched_leagues_) {
    const std::string league_name = LeagueName(league, 1);
    std::map<int64_t, int> season_of;  // competition -> season
    int first = 0, last = 0;
    {
      Query q(conn_);
      q.Open("SELECT ID,ID_POR FROM SUTAZ WHERE ID_LIGA=" + std::to_string(league) +
             " ORDER BY ID_POR");
      for (; !q.Eof(); q.Next()) {
        const int season = static_cast<int>(q.FieldByName("ID_POR").AsInteger());
        if (season_of.empty()) first = season;
        last = season;
        season_of[q.FieldByName("ID").AsInteger()] = season;
      }
    }
    std::map<int64_t, std::set<int>> seasons_of_team;
    std::map<int64_t, std::string> name_of;
    Query q(conn_);
    q.Open(
        "SELECT SUTAZ_MUZSTVA.ID_SUTAZ AS SUTAZ_ID,MUZSTVA.ID AS TEAM_ID,MUZSTVA.NAZOV_EN AS NAME "
        "FROM SUTAZ_MUZSTVA INNER JOIN MUZSTVA ON MUZSTVA.ID=SUTAZ_MUZSTVA.ID_MUZSTVO WHERE "
        "MUZSTVA.ID_LIGA=" +
        std::to_string(league));
    for (; !q.Eof(); q.Next()) {
      const int64_t team = q.FieldByName("TEAM_ID").AsInteger();
      auto season = season_of.find(q.FieldByName("SUTAZ_ID").AsInteger());
      if (season == season_of.end()) continue;
      seasons_of_team[team].insert(season->second);
      name_of[team] = q.FieldByName("NAME").AsString();
    }
    for (const auto& [team, seasons] : seasons_of_team) {
      const int only = *seasons.begin();
      if (seasons.size() == 1 && only != first && only != last) {
        report_.warnings.push_back(league_name + ": '" + name_of[team] +
                                   "' appears only in season " + SeasonLabel(only) +
                                   " (a name variant without an alias?)");
      }
    }
  }
  for (const auto& [competition, league_season] : touched_competitions_) {
    Query q(conn_);
    q.Open("SELECT HOME,AWAY FROM VYSLEDKY WHERE ID_SUTAZ=" + std::to_string(competition));
    std::map<int64_t, int> matches;
    for (; !q.Eof(); q.Next()) {
      ++matches[q.FieldByName("HOME").AsInteger()];
      ++matches[q.FieldByName("AWAY").AsInteger()];
    }
    std::vector<int> counts;
    for (const auto& [team, n] : matches) counts.push_back(n);
    std::string where;
    if (!counts.empty()) {
      std::nth_element(counts.begin(), counts.begin() + counts.size() / 2, counts.end());
      const int median = counts[counts.size() / 2];
      for (const auto& [team, n] : matches) {
        if (2 * n >= median) continue;
        if (where.empty())
          where = LeagueName(league_season.first, 1) + " " + SeasonLabel(league_season.second);
        Query t(conn_);
        t.Open("SELECT NAZOV_EN FROM MUZSTVA WHERE ID=" + std::to_string(team));
        report_.warnings.push_back(where + ": '" + t.FieldByName("NAZOV_EN").AsString() + "' has " +
                                   std::to_string(n) + " matches, most teams " +
                                   std::to_string(median) + " (a second name for a club?)");
      }
    }
  }
}

void CollectCsvFiles(const fs::path& path, std::vector<fs::path>& files) {
  if (!fs::is_directory(path)) {
    files.push_back(path);
    return;
  }
  std::vector<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(path)) {
    if (!entry.is_regular_file()) continue;
    std::string ext = AsciiLower(entry.path().extension().string());
    if (ext == ".csv") found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
}

}  // namespace

// ---------------------------------------------------------------- public functions

int ImportReport::Inserted() const {
  int n = 0;
  for (const FileImport& f : files) n += f.inserted;
  return n;
}

int ImportReport::Updated() const {
  int n = 0;
  for (const FileImport& f : files) n += f.updated;
  return n;
}

int ImportReport::Skipped() const {
  int n = 0;
  for (const FileImport& f : files) n += f.skipped;
  return n;
}

ImportReport ImportCsv(Connection& conn, const std::vector<std::string>& paths,
                       const ImportOptions& options) {
  ImportReport report;
  std::vector<fs::path> files;
  for (const std::string& p : paths) {
    if (!fs::exists(p)) {
      report.errors.push_back(p + ": no such file or folder");
      report.files.push_back({p, 0, 0, 0, 0, 0, true});
      continue;
    }
    const size_t before = files.size();
    CollectCsvFiles(p, files);
    if (files.size() == before) report.warnings.push_back(p + ": no CSV files in this folder");
  }
  EnsureBuilderTables(conn);  // a database made before the replay marks existed
  Importer importer(conn, options, report);
  for (const fs::path& f : files) importer.ImportFile(f);
  importer.CheckTouchedLeagues();
  return report;
}

}  // namespace morvela
