#include "update/public_source.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "builder/league_rules.h"
#include "core/helpers.h"
#include "core/ini_file.h"
#include "core/kill_point.h"
#include "core/text.h"
#include "program/server_address.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFetchedTable =
    "CREATE TABLE IF NOT EXISTS FETCHED_FILES (PATH TEXT PRIMARY KEY, ETAG TEXT, LAST_MODIFIED "
    "TEXT, CONTENT_HASH TEXT, FETCHED TEXT)";

// The working folders of runs are named so; one left by a killed run is removed by the next.
constexpr const char* kWorkPrefix = ".fetch-";

constexpr SourceLeague kSourceLeagues[] = {
    {4, "E0", true},    {10, "SC0", true},  {6, "D1", true},    {7, "I1", true},
    {11, "SP1", true},  {5, "F1", true},    {8, "N1", true},    {2, "B1", true},
    {9, "P1", true},    {12, "T1", true},   {13, "G1", true},   {1, "AUT", false},
    {16, "SWZ", false}, {17, "DNK", false}, {18, "POL", false}, {19, "ROU", false},
    {14, "RUS", false},
};

struct Held {
  HttpValidators validators;
  std::string hash;
};

// FNV-1a over the bytes, as 16 hexadecimal digits: tells a file served again without
// validators from the copy already imported.
std::string ContentHash(const std::string& bytes) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::map<std::string, Held> LoadHeld(Connection& conn) {
  std::map<std::string, Held> held;
  Query q(conn);
  q.Open("SELECT PATH,ETAG,LAST_MODIFIED,CONTENT_HASH FROM FETCHED_FILES");
  for (; !q.Eof(); q.Next()) {
    Held h;
    h.validators.etag = q.FieldByName("ETAG").AsString();
    h.validators.last_modified = q.FieldByName("LAST_MODIFIED").AsString();
    h.hash = q.FieldByName("CONTENT_HASH").AsString();
    held[q.FieldByName("PATH").AsString()] = h;
  }
  return held;
}

void StoreHeld(Connection& conn, const std::string& path, const Held& h, const Date& today) {
  conn.ExecuteNative(
      "INSERT OR REPLACE INTO FETCHED_FILES (PATH,ETAG,LAST_MODIFIED,CONTENT_HASH,"
      "FETCHED) VALUES (" +
      QuoteSqlText(path) + "," + QuoteSqlText(h.validators.etag) + "," +
      QuoteSqlText(h.validators.last_modified) + "," + QuoteSqlText(h.hash) + "," +
      QuoteSqlText(FormatIsoDate(today)) + ")");
}

void RemoveWorkFolders(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().filename().string().rfind(kWorkPrefix, 0) == 0) fs::remove_all(entry, ec);
  }
}

// One file the run asks for: its path at the source and whether it is asked for at all.
struct Planned {
  std::string path;
  // Asked for only until it is had. The season before the current one is not: its last
  // matchdays may have come after the last fetch of its time.
  bool past_season = false;
};

std::vector<Planned> Plan(const FetchOptions& o) {
  std::vector<SourceLeague> leagues;
  if (o.leagues.empty()) {
    leagues.assign(std::begin(kSourceLeagues), std::end(kSourceLeagues));
  } else {
    for (int id : o.leagues)
      if (auto l = SourceLeagueOf(id)) leagues.push_back(*l);
  }
  const int current = SeasonOfDate(o.today);
  std::vector<Planned> plan;
  bool main = false, small = false;
  for (const SourceLeague& l : leagues) {
    if (l.main) {
      main = true;
      for (int season = current - o.seasons; season <= current; ++season)
        plan.push_back({"mmz4281/" + SourceSeasonFolder(season) + "/" + l.code + ".csv",
                        season < current - 1});
    } else {
      small = true;
      plan.push_back({"new/" + l.code + ".csv", false});
    }
  }
  if (main) plan.push_back({"fixtures.csv", false});
  if (small) plan.push_back({"new_league_fixtures.csv", false});
  return plan;
}

}  // namespace

SourceAddress ReadSourceAddress(const fs::path& ini, std::string_view argument) {
  std::string given = IniFile(ini).ReadString("Source", "Url", kDefaultSourceUrl);
  std::string where = "Url in the section Source of " + ini.filename().string();
  if (given.empty()) given = kDefaultSourceUrl;
  if (const char* env = std::getenv("MORVELA_SOURCE_URL"); env && *env) {
    given = env;
    where = "MORVELA_SOURCE_URL";
  }
  if (!argument.empty()) {
    given = argument;
    where = "--source";
  }
  const ServerAddressCheck check = CheckServerAddress(given);
  if (!check.error.empty())
    return {"", where + ": \"" + MaskedAddress(given) + "\" is refused; the source needs " +
                    check.error};
  return {check.address, ""};
}

std::optional<SourceLeague> SourceLeagueOf(int league) {
  for (const SourceLeague& l : kSourceLeagues)
    if (l.league == league) return l;
  return std::nullopt;
}

std::string SourceSeasonFolder(int season) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d%02d", season % 100, (season + 1) % 100);
  return text;
}

FetchReport FetchFromSource(Tdm& dm, const std::string& folder, WaitIndicator& wait,
                            const Messages& msgs, const FetchOptions& options) {
  Connection& conn = dm.ADOConnection1;
  FetchReport report;
  RemoveWorkFolders(folder);  // left by a killed run; the caller holds the lock
  conn.ExecuteNative(kFetchedTable);
  const std::map<std::string, Held> held = LoadHeld(conn);

  // An earlier run killed before its replay finished left its seasons marked.
  if (!PendingReplayLeagues(conn).empty()) {
    const PrepareReport r = ReplayPendingSeasons(dm, wait, msgs, options.replay_progress);
    report.not_replayable = r.not_replayable;
  }

  std::vector<Planned> plan = Plan(options);
  std::erase_if(plan, [&](const Planned& p) { return p.past_season && held.count(p.path); });

  const fs::path work = fs::path(folder) / (kWorkPrefix + std::to_string(::getpid()));
  fs::create_directories(work);
  struct Downloaded {
    std::string path;
    fs::path file;
    Held got;
  };
  std::vector<Downloaded> downloads;
  HttpClient http;
  http.SetTimeouts(options.timeouts);
  http.SetCancelFlag(options.cancel);
  const auto cancelled = [&] { return options.cancel && options.cancel->load(); };
  for (size_t i = 0; i < plan.size() && !cancelled(); ++i) {
    const std::string& path = plan[i].path;
    if (options.progress)
      options.progress(static_cast<int>(i), static_cast<int>(plan.size()), path);
    const auto known = held.find(path);
    const Held none;
    const Held& before = known != held.end() ? known->second : none;
    Downloaded d{path, work / path, {}};
    fs::create_directories(d.file.parent_path());
    const HttpResult r =
        http.GetFileIfChanged(JoinUrl(options.base_url, path), d.file, before.validators,
                              d.got.validators, options.max_file_bytes);
    if (!r.ok) {
      ++report.files_failed;
      report.warnings.push_back(path + ": " + r.error);
      continue;
    }
    if (r.not_modified) {
      ++report.files_unchanged;
      continue;
    }
    d.got.hash = ContentHash(ReadAll(d.file));
    if (known != held.end() && known->second.hash == d.got.hash) {
      ++report.files_unchanged;
      // The server may have given new validators for the same content; keep them for next time.
      if (d.got.validators.etag != before.validators.etag ||
          d.got.validators.last_modified != before.validators.last_modified)
        StoreHeld(conn, path, d.got, options.today);
      continue;
    }
    ++(known == held.end() ? report.files_new : report.files_changed);
    downloads.push_back(std::move(d));
  }
  if (options.progress)
    options.progress(static_cast<int>(plan.size()), static_cast<int>(plan.size()), "");
  std::error_code ec;
  // A cancelled run imports nothing: the user saw it end, and changing the database behind the
  // user's back afterwards (the replay can take a while) would surprise. What came before the
  // cancel is asked for again by the next fetch, its validators not having been kept.
  if (cancelled()) {
    report.cancelled = true;
    fs::remove_all(work, ec);
    return report;
  }
  KillPoint("fetch:downloaded");

  // Each file in its own import transaction, its validators with it; a main league's past
  // seasons first, so that "Active" ends on the newest.
  std::map<std::string, const Downloaded*> by_file;
  std::vector<std::string> paths;
  for (const Downloaded& d : downloads) {
    by_file[d.file.string()] = &d;
    paths.push_back(d.file.string());
  }
  ImportOptions io;
  io.aliases = options.aliases;
  for (const SourceLeague& l : kSourceLeagues)
    if (options.leagues.empty() || std::find(options.leagues.begin(), options.leagues.end(),
                                             l.league) != options.leagues.end())
      io.only_leagues.insert(l.league);
  io.first_season = SeasonOfDate(options.today) - options.seasons;
  io.in_transaction = [&](Connection& c, const FileImport& f) {
    if (auto it = by_file.find(f.file); it != by_file.end())
      StoreHeld(c, it->second->path, it->second->got, options.today);
  };
  if (!paths.empty()) report.import = ImportCsv(conn, paths, io);

  // The working folder's paths in the importer's messages become the source's addresses.
  const std::string prefix = work.string() + "/";
  for (auto* lines : {&report.import.errors, &report.import.notes, &report.import.warnings})
    for (std::string& line : *lines)
      if (line.rfind(prefix, 0) == 0) line = JoinUrl(options.base_url, line.substr(prefix.size()));
  for (FileImport& f : report.import.files)
    if (f.file.rfind(prefix, 0) == 0) f.file = f.file.substr(prefix.size());
  fs::remove_all(work, ec);

  if (!report.import.changed_leagues.empty()) {
    const std::vector<int> leagues(report.import.changed_leagues.begin(),
                                   report.import.changed_leagues.end());
    const PrepareReport r = PrepareSeasons(dm, wait, msgs, leagues, options.replay_progress);
    report.not_replayable.insert(report.not_replayable.end(), r.not_replayable.begin(),
                                 r.not_replayable.end());
  }
  return report;
}

}  // namespace morvela
