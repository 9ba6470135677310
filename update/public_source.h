// Results, fixtures and odds from the public results site, in the layout it publishes them:
//   mmz4281/<yyzz>/<Div>.csv    one main league's season ("2526/E0.csv" for 2025/2026);
//   new/<CODE>.csv              one of the smaller leagues, every season in one file;
//   fixtures.csv                the main leagues' coming matches with odds;
//   new_league_fixtures.csv     the smaller leagues' coming matches with odds.
// The files go through the CSV importer (builder/csv_import.h) and the changed leagues are
// replayed.
//
// Only what changed is downloaded: the validators each file came with (ETag, Last-Modified) and a
// hash of its content are kept per file in the database's table FETCHED_FILES and sent back as a
// conditional request; a 304, or a file whose content hashes as before, is not imported again.
// They live in the database rather than beside it because they are written in the file's import
// transaction: a run killed at any point leaves the rows and the validators of a file both there
// or both absent, so a file is never marked as had without its rows. A package install that
// replaces the database drops the table with the old rows, and the next fetch downloads in full.
//
// Older seasons of the main leagues do not change: once had, their files are not asked for
// again. The current and the previous season, the smaller leagues' files and the fixture files
// are asked for on every run.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "builder/csv_import.h"
#include "builder/prepare_seasons.h"
#include "core/data_module.h"
#include "core/date.h"
#include "core/wait_indicator.h"
#include "i18n/messages.h"
#include "update/http_client.h"

namespace morvela {

inline constexpr const char* kDefaultSourceUrl = "https://www.football-data.co.uk/";

// The source's base address: `given` (the command line's --source) when not empty, else
// MORVELA_SOURCE_URL when set and not empty, else Source/Url of the settings file `ini`, else
// kDefaultSourceUrl; with a final "/". An address CheckServerAddress refuses (not http(s),
// credentials in it) gives `error` naming where it came from.
struct SourceAddress {
  std::string url;
  std::string error;
};
SourceAddress ReadSourceAddress(const std::filesystem::path& ini, std::string_view given = {});

// The league codes the source publishes: the main leagues' Div and the smaller leagues' CODE.
// nullopt for the leagues it does not cover.
struct SourceLeague {
  int league = 0;
  std::string code;  // "E0", "AUT"
  bool main = true;  // a mmz4281 league; false: a new/ league
};
std::optional<SourceLeague> SourceLeagueOf(int league);

struct FetchOptions {
  std::string base_url;      // ends with "/"
  std::vector<int> leagues;  // empty: every league the source covers
  int seasons = 3;           // past seasons besides the current one on a first fetch
  Date today{};
  TeamAliases aliases;
  HttpTimeouts timeouts;
  uint64_t max_file_bytes = 32ull << 20;  // a season file is under 1 MB, new/ files a few
  // Before each request: requests done, requests planned, the path asked for.
  std::function<void(int, int, const std::string&)> progress;
  // Lines of the replay ("England: 3 seasons, ...").
  std::function<void(const std::string&)> replay_progress;
  // Once set, the run asks for no further file and ends without importing any (cancelled).
  const std::atomic<bool>* cancel = nullptr;
};

struct FetchReport {
  int files_new = 0;        // downloaded for the first time
  int files_changed = 0;    // downloaded again with other content
  int files_unchanged = 0;  // 304, or the same content
  int files_failed = 0;
  ImportReport import;                // of the files downloaded
  std::vector<std::string> warnings;  // "mmz4281/2526/E0.csv: the server answered 404"
  std::vector<std::string> not_replayable;
  bool cancelled = false;  // FetchOptions::cancel ended the run: nothing of it was imported
  bool NothingNew() const { return files_new + files_changed == 0; }
};

// Downloads and imports what changed at the source into the open database of `dm` and replays
// the changed leagues (and any left marked by a killed run). The caller holds the folder's
// writer lock. `folder` (with a final "/") receives the downloads in a working folder of this
// run, removed afterwards (and by the next run, should this one be killed). A file that cannot
// be had (404, no connection, too large, too slow) is a warning for that file; the others go
// on. A database error escapes as DatabaseError after its file's transaction was rolled back.
FetchReport FetchFromSource(Tdm& dm, const std::string& folder, WaitIndicator& wait,
                            const Messages& msgs, const FetchOptions& options);

// The season's folder name of mmz4281: "2526" for 2025.
std::string SourceSeasonFolder(int season);

}  // namespace morvela
