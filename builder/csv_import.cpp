#include "builder/csv_import.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <tuple>
#include <unordered_map>

#include "core/helpers.h"
#include "core/rounding.h"
#include "i18n/leagues.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------- small text helpers

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Team names and column names compare as the database's NOCASE collation does: ASCII letters
// without regard to case, every other character as it is.
std::string Fold(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

// Up to four digits: the parts of dates and season labels.
std::optional<int> ParseDigits(std::string_view s) {
  return morvela::ParseDigits(s, 1, 4);
}

// Number of characters (code points) of UTF-8 text.
size_t Utf8Length(std::string_view s) {
  return static_cast<size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// One CSV line split into fields; a field in double quotes may hold commas ("" is a quote).
std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// The lines of a text with their line ends ("\n" or "\r\n") removed.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Length of the valid UTF-8 sequence starting at s[i], 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) return 1;
  size_t n;
  unsigned min_second = 0x80, max_second = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) min_second = 0xA0;  // overlong
    if (b == 0xED) max_second = 0x9F;  // surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) min_second = 0x90;
    if (b == 0xF4) max_second = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if (k == 1 ? (c < min_second || c > max_second) : (c < 0x80 || c > 0xBF)) return 0;
  }
  return n;
}

std::string FileLine(const std::string& file, int line) {
  return file + ":" + std::to_string(line) + ": ";
}

// ---------------------------------------------------------------- leagues and seasons

struct DivisionCode {
  std::string_view code;
  int league;
};

constexpr std::array<DivisionCode, 20> kDivisions = {{
    {"E0", 4},   {"SC0", 10}, {"D1", 6},   {"I1", 7},  {"SP1", 11}, {"F1", 5},   {"N1", 8},
    {"B1", 2},   {"P1", 9},   {"T1", 12},  {"G1", 13}, {"AUT", 1},  {"SWZ", 16}, {"DNK", 17},
    {"POL", 18}, {"ROU", 19}, {"RUS", 14}, {"CZE", 3}, {"SVK", 15}, {"UKR", 20},
}};

// Champions' places, last European place, relegation play-off places and relegated places
// (the last two counted from the bottom), indexed by league id - 1. They follow the leagues'
// recent rules closely enough for colouring a table; seasons with other rules keep these.
struct ZoneRule {
  int champions, europe, playoff, relegated;
};
constexpr std::array<ZoneRule, 20> kZoneRules = {{
    {2, 4, 0, 1},  // 1 Austria
    {2, 4, 1, 2},  // 2 Belgium
    {2, 4, 2, 1},  // 3 Czech Republic
    {4, 7, 0, 3},  // 4 England
    {3, 6, 1, 2},  // 5 France
    {4, 7, 1, 2},  // 6 Germany
    {4, 7, 0, 3},  // 7 Italy
    {2, 5, 1, 2},  // 8 Netherlands
    {2, 5, 1, 2},  // 9 Portugal
    {2, 4, 1, 1},  // 10 Scotland
    {4, 7, 0, 3},  // 11 Spain
    {2, 5, 0, 3},  // 12 Turkey
    {2, 5, 0, 2},  // 13 Greece
    {2, 5, 2, 2},  // 14 Russia
    {1, 4, 1, 1},  // 15 Slovakia
    {2, 4, 1, 1},  // 16 Switzerland
    {1, 3, 0, 2},  // 17 Denmark
    {1, 4, 0, 3},  // 18 Poland
    {1, 4, 2, 2},  // 19 Romania
    {2, 4, 2, 2},  // 20 Ukraine
}};

// ---------------------------------------------------------------- the columns of a file

struct OddsColumns {
  int first = -1, second = -1, third = -1;  // 1X2: home, draw, away; over/under: over, under
};

struct ColumnMap {
  int div = -1, country = -1, season = -1, date = -1, home = -1, away = -1;
  int fthg = -1, ftag = -1, hthg = -1, htag = -1;
  std::vector<OddsColumns> x12;  // in order of preference
  std::vector<OddsColumns> ou;
  size_t required_width = 0;  // fields a row must have to reach every required column
};

// Bookmakers in order of preference: the uniform files' own columns, the market average, Bet365,
// the older market average, Pinnacle, William Hill, VC Bet, Interwetten, Bet&Win.
constexpr std::array<std::string_view, 10> kBookmakers = {"Odds", "Avg", "B365", "BbAv", "PS",
                                                          "P",    "WH",  "VC",   "IW",   "BW"};

std::optional<ColumnMap> MapColumns(const std::vector<std::string>& header, std::string& missing) {
  std::unordered_map<std::string, int> index;
  for (size_t i = 0; i < header.size(); ++i) {
    std::string name = Fold(Trim(header[i]));
    index.emplace(name, static_cast<int>(i));
  }
  auto find = [&](std::initializer_list<std::string_view> names) {
    for (std::string_view n : names)
      if (auto it = index.find(Fold(n)); it != index.end()) return it->second;
    return -1;
  };
  ColumnMap m;
  m.div = find({"Div"});
  m.country = find({"Country"});
  m.season = find({"Season"});
  m.date = find({"Date"});
  m.home = find({"HomeTeam", "Home"});
  m.away = find({"AwayTeam", "Away"});
  m.fthg = find({"FTHG", "HG"});
  m.ftag = find({"FTAG", "AG"});
  m.hthg = find({"HTHG"});
  m.htag = find({"HTAG"});
  const std::pair<int, const char*> required[] = {{m.date, "Date"},
                                                  {m.home, "HomeTeam"},
                                                  {m.away, "AwayTeam"},
                                                  {m.fthg, "FTHG"},
                                                  {m.ftag, "FTAG"}};
  for (const auto& [column, name] : required) {
    if (column >= 0) {
      m.required_width = std::max(m.required_width, static_cast<size_t>(column) + 1);
    } else {
      missing += (missing.empty() ? "" : ", ") + std::string(name);
    }
  }
  if (!missing.empty()) return std::nullopt;
  for (std::string_view b : kBookmakers) {
    const std::string p(b);
    OddsColumns x{find({p + "H"}), find({p + "D"}), find({p + "A"})};
    if (x.first >= 0 && x.second >= 0 && x.third >= 0) m.x12.push_back(x);
    OddsColumns ou = p == "Odds" ? OddsColumns{find({"OddsOver25"}), find({"OddsUnder25"})}
                                 : OddsColumns{find({p + ">2.5"}), find({p + "<2.5"})};
    if (ou.first >= 0 && ou.second >= 0) m.ou.push_back(ou);
  }
  return m;
}

// ---------------------------------------------------------------- one row

struct MatchOdds {
  std::optional<double> home, draw, away, over, under;
};

struct Row {
  int league = 0;
  int season = 0;
  Date date{};
  std::string home, away;  // after alias resolution
  std::optional<int> fthg, ftag, hthg, htag;
  MatchOdds odds;
};

std::optional<Date> ParseMatchDate(std::string_view text) {
  text = Trim(text);
  if (auto sp = text.find(' '); sp != std::string_view::npos) text = text.substr(0, sp);
  char sep = text.find('/') != std::string_view::npos ? '/' : '.';
  if (text.size() == 10 && text[4] == '-') {
    auto y = ParseDigits(text.substr(0, 4)), m = ParseDigits(text.substr(5, 2)),
         d = ParseDigits(text.substr(8, 2));
    if (y && m && d) return MakeDate(*y, *m, *d);
    return std::nullopt;
  }
  const size_t a = text.find(sep);
  if (a == std::string_view::npos) return std::nullopt;
  const size_t b = text.find(sep, a + 1);
  if (b == std::string_view::npos) return std::nullopt;
  auto d = ParseDigits(text.substr(0, a)), m = ParseDigits(text.substr(a + 1, b - a - 1));
  const std::string_view year_text = text.substr(b + 1);
  auto y = ParseDigits(year_text);
  if (!d || !m || !y || a > 2 || b - a - 1 > 2) return std::nullopt;
  if (year_text.size() == 2) {
    *y += *y < 50 ? 2000 : 1900;  // two-digit years of older files
  } else if (year_text.size() != 4) {
    return std::nullopt;
  }
  return MakeDate(*y, *m, *d);
}

// Goals: empty, or a whole number 0..99.
bool ParseGoals(std::string_view text, std::optional<int>& goals) {
  text = Trim(text);
  if (text.empty()) return true;
  auto v = ParseDigits(text);
  if (!v || *v > 99 || text.size() > 2) return false;
  goals = v;
  return true;
}

std::optional<double> ParseOdds(std::string_view text) {
  auto v = ParseDecimalText(text);
  if (!v || *v <= 1.0 || *v > 10000) return std::nullopt;
  return v;
}

MatchOdds PickOdds(const ColumnMap& m, const std::vector<std::string>& f) {
  auto cell = [&](int i) -> std::optional<double> {
    return i >= 0 && static_cast<size_t>(i) < f.size() ? ParseOdds(f[static_cast<size_t>(i)])
                                                       : std::nullopt;
  };
  MatchOdds o;
  for (const OddsColumns& c : m.x12) {
    auto h = cell(c.first), d = cell(c.second), a = cell(c.third);
    if (h && d && a) {
      o.home = h;
      o.draw = d;
      o.away = a;
      break;
    }
  }
  for (const OddsColumns& c : m.ou) {
    auto over = cell(c.first), under = cell(c.second);
    if (over && under) {
      o.over = over;
      o.under = under;
      break;
    }
  }
  return o;
}

int DayNumber(const Date& d) {
  return static_cast<int>(std::chrono::sys_days(d).time_since_epoch().count());
}

std::string OutcomeText(int home, int away) {
  return home > away ? "1" : (home < away ? "2" : "0");
}

std::string SqlInt(std::optional<int> v) {
  return v ? std::to_string(*v) : "NULL";
}

std::string SqlOutcome(std::optional<int> h, std::optional<int> a) {
  return h && a ? QuoteSqlText(OutcomeText(*h, *a)) : "NULL";
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
    return i >= 0 && static_cast<size_t>(i) < f.size() ? Trim(f[static_cast<size_t>(i)])
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
      error = "unknown league '" + std::string(code) + "' (name it with --league)";
      return std::nullopt;
    }
    r.league = *league;
  } else if (file_league) {
    r.league = *file_league;
  } else {
    error = "the row names no league (name it with --league)";
    return std::nullopt;
  }
  auto date = ParseMatchDate(cell(m.date));
  if (!date) {
    error = "malformed date '" + std::string(cell(m.date)) + "'";
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
  } else {
    r.season = SeasonOfDate(*date);
  }
  r.home = std::string(cell(m.home));
  r.away = std::string(cell(m.away));
  for (const std::string* name : {&r.home, &r.away}) {
    if (name->empty()) {
      error = "a team name is missing";
      return std::nullopt;
    }
    if (Utf8Length(*name) > 50) {
      error = "team name '" + *name + "' is longer than 50 characters";
      return std::nullopt;
    }
  }
  r.home = options_.aliases.Resolve(r.league, r.home);
  r.away = options_.aliases.Resolve(r.league, r.away);
  if (Fold(r.home) == Fold(r.away)) {
    error = "home and away team are the same ('" + r.home + "')";
    return std::nullopt;
  }
  if (!ParseGoals(cell(m.fthg), r.fthg) || !ParseGoals(cell(m.ftag), r.ftag) ||
      r.fthg.has_value() != r.ftag.has_value()) {
    error =
        "malformed score '" + std::string(cell(m.fthg)) + "'-'" + std::string(cell(m.ftag)) + "'";
    return std::nullopt;
  }
  if (!ParseGoals(cell(m.hthg), r.hthg) || !ParseGoals(cell(m.htag), r.htag) ||
      r.hthg.has_value() != r.htag.has_value()) {
    error = "malformed half-time score '" + std::string(cell(m.hthg)) + "'-'" +
            std::string(cell(m.htag)) + "'";
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
  if (decoded.first_invalid_line > 0) {
    report_.notes.push_back(FileLine(result.file, decoded.first_invalid_line) +
                            "not valid UTF-8; the file is read as Latin-1");
  }
  const std::vector<std::string_view> lines = SplitLines(decoded.text);
  if (lines.empty() || Trim(lines[0]).empty()) {
    report_.errors.push_back(FileLine(result.file, 1) + "no header line");
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
    const std::vector<std::string> fields = SplitCsvLine(lines[i]);
    if (std::all_of(fields.begin(), fields.end(),
                    [](const std::string& s) { return Trim(s).empty(); })) {
      continue;  // blank rows and rows of bare commas close many files
    }
    ++result.rows;
    std::string error;
    auto row = ParseRow(*columns, fields, file_league, file_season, error);
    if (!row) {
      AddError(result, FileLine(result.file, line) + error + "; row skipped");
      continue;
    }
    const auto key =
        std::make_tuple(row->league, DayNumber(row->date), Fold(row->home), Fold(row->away));
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
      conn_.Commit();
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
  for (const Row& r : rows) {
    const int64_t competition = CompetitionId(r.league, r.season);
    const int before = result.inserted + result.updated;
    WriteMatch(r, competition, stored, result);
    if (result.inserted + result.updated != before) report_.changed_leagues.insert(r.league);
  }
  for (int league : leagues) UpdateCompetitionRows(league);
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
      names.emplace(Fold(q.FieldByName("NAZOV_EN").AsString()), q.FieldByName("ID").AsInteger());
  }
  const std::string key = Fold(name);
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
  bool changed = false;
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
    std::string ext = Fold(entry.path().extension().string());
    if (ext == ".csv") found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
}

}  // namespace

// ---------------------------------------------------------------- public functions

std::optional<int> LeagueIdFromDivision(std::string_view code) {
  const std::string folded = Fold(Trim(code));
  for (const DivisionCode& d : kDivisions)
    if (Fold(d.code) == folded) return d.league;
  return std::nullopt;
}

std::optional<int> LeagueIdFromCode(std::string_view text) {
  if (auto league = LeagueIdFromDivision(text)) return league;
  return LeagueIdFromName(text);
}

DecodedText DecodeToUtf8(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  DecodedText out;
  int line = 1;
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = Utf8SequenceLength(bytes, i);
    if (n == 0) {
      out.first_invalid_line = line;
      break;
    }
    if (bytes[i] == '\n') ++line;
    i += n;
  }
  if (out.first_invalid_line == 0) {
    out.text = std::string(bytes);
    return out;
  }
  out.text.reserve(bytes.size() + bytes.size() / 8);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.text += c;
    } else {
      out.text += static_cast<char>(0xC0 | (b >> 6));
      out.text += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

std::optional<int> SeasonFromText(std::string_view text) {
  auto digit = [&](size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  for (size_t i = 0; i + 7 <= text.size(); ++i) {
    if ((i > 0 && digit(i - 1)) || !digit(i) || !digit(i + 1) || !digit(i + 2) || !digit(i + 3))
      continue;
    const char sep = text[i + 4];
    if (sep != '-' && sep != '/' && sep != '_') continue;
    const int first = *ParseDigits(text.substr(i, 4));
    if (first < 1900 || first > 2099) continue;
    size_t width = 0;
    while (digit(i + 5 + width)) ++width;
    if (width == 2 && *ParseDigits(text.substr(i + 5, 2)) == (first + 1) % 100) return first;
    if (width == 4 && *ParseDigits(text.substr(i + 5, 4)) == first + 1) return first;
  }
  return std::nullopt;
}

int SeasonOfDate(const Date& d) {
  const int year = static_cast<int>(d.year());
  return static_cast<unsigned>(d.month()) >= 7 ? year : year - 1;
}

std::string SeasonLabel(int start_year) {
  return std::to_string(start_year) + "/" + std::to_string(start_year + 1);
}

ZoneLimits DefaultZoneLimits(int league, int teams) {
  if (league < 1 || league > 20 || teams < 2) return {};
  const ZoneRule& r = kZoneRules[static_cast<size_t>(league - 1)];
  ZoneLimits z;
  z.lm = std::min(r.champions, teams);
  z.el = r.europe < teams ? r.europe : 0;
  const int last_europe = std::max(z.lm, z.el);
  if (r.relegated > 0 && teams - r.relegated + 1 > last_europe) z.vyp = teams - r.relegated + 1;
  if (r.playoff > 0 && teams - r.relegated - r.playoff + 1 > last_europe)
    z.baraz = teams - r.relegated - r.playoff + 1;
  return z;
}

TeamAliases TeamAliases::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  std::stringstream buffer;
  buffer << in.rdbuf();
  const DecodedText decoded = DecodeToUtf8(buffer.str());
  const std::vector<std::string_view> lines = SplitLines(decoded.text);
  if (lines.empty()) throw std::runtime_error(FileLine(path, 1) + "no header line");
  const std::vector<std::string> header = SplitCsvLine(lines[0]);
  auto find = [&](std::initializer_list<std::string_view> names) {
    for (std::string_view n : names)
      for (size_t i = 0; i < header.size(); ++i)
        if (Fold(Trim(header[i])) == Fold(n)) return static_cast<int>(i);
    return -1;
  };
  const int cc = find({"cc", "league"}), div = find({"Div"});
  const int variant = find({"name_footystats_style", "variant"});
  const int name = find({"name_football_data", "name"});
  if ((cc < 0 && div < 0) || variant < 0 || name < 0) {
    throw std::runtime_error(FileLine(path, 1) +
                             "an alias file needs the columns cc (or Div), "
                             "name_footystats_style and name_football_data");
  }
  TeamAliases aliases;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = SplitCsvLine(lines[i]);
    auto cell = [&](int c) {
      return c >= 0 && static_cast<size_t>(c) < f.size() ? Trim(f[static_cast<size_t>(c)])
                                                         : std::string_view{};
    };
    if (std::all_of(f.begin(), f.end(), [](const std::string& s) { return Trim(s).empty(); }))
      continue;
    std::optional<int> league =
        !cell(cc).empty() ? LeagueIdFromCode(cell(cc)) : LeagueIdFromCode(cell(div));
    if (!league) {
      throw std::runtime_error(FileLine(path, static_cast<int>(i) + 1) + "unknown league '" +
                               std::string(!cell(cc).empty() ? cell(cc) : cell(div)) + "'");
    }
    if (cell(variant).empty() || cell(name).empty()) {
      throw std::runtime_error(FileLine(path, static_cast<int>(i) + 1) + "a name is missing");
    }
    aliases.Add(*league, cell(variant), cell(name));
  }
  return aliases;
}

void TeamAliases::Add(int league, std::string_view variant, std::string_view name) {
  names_[{league, Fold(Trim(variant))}] = std::string(Trim(name));
}

const std::string& TeamAliases::Resolve(int league, const std::string& name) const {
  auto it = names_.find({league, Fold(name)});
  return it == names_.end() ? name : it->second;
}

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
    CollectCsvFiles(p, files);
  }
  Importer importer(conn, options, report);
  for (const fs::path& f : files) importer.ImportFile(f);
  importer.CheckTouchedLeagues();
  return report;
}

}  // namespace morvela
