// Importing results and odds from football-data style CSV files into the program's database.
//
// Two layouts are read, told apart by their header line (column names are matched without
// regard to case; extra columns are ignored):
//  - the uniform layout  Div,Date,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,
//    OddsH,OddsD,OddsA,OddsOver25,OddsUnder25;
//  - the bookmaker files  Div,Date,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR followed by
//    the bookmakers' columns (B365H/B365D/B365A, AvgH/AvgD/AvgA, B365>2.5/B365<2.5, ...), and
//    the "new" leagues' layout Country,League,Season,Date,Time,Home,Away,HG,AG,Res with closing
//    odds (PSCH/PSCD/PSCA, MaxCH/.., AvgCH/AvgCD/AvgCA) and a season label "2024/2025" or "2025".
// Date, the two teams and the two full-time goal columns are required (a file with neither goal
// column is a list of fixtures). A row with both full-time goals empty is a fixture: an unplayed
// match with its odds. FTR and HTR are not read: outcomes are derived from the goals, so a file
// cannot contradict itself.
//
// Where the rows go:
//  - league: --league when given, else the row's Div code (or Country name), else the file's
//    folder or file name ("en", "England", "E0.csv");
//  - season: the season in the file name ("2019-20.csv", "E0_2019-2020.csv") when there is one,
//    else the row's Season column ("2019/2020"; a single year "2025" is the season starting that
//    year, as leagues playing in the calendar year label theirs), else the date: July or later
//    belongs to the season starting that year. One SUTAZ row per league and season: ROCNIK
//    "2019/2020", ID_POR the starting year (the season's identity within its league), POCET the
//    number of teams, LM/EL/BARAZ/VYP from DefaultZoneLimits. The newest season of a league is
//    labelled "Active"; when a newer one arrives, the old one gets its year label back;
//  - teams: one MUZSTVA row per club and league, the same name in all four name columns
//    (--aliases maps name variants onto one club), and one SUTAZ_MUZSTVA row per team and
//    season with neutral season-start values until the season-start step fills them;
//  - matches: one VYSLEDKY row per league, date and pairing, with the first-half goals and the
//    second-half goals (full time minus first half) and their outcomes; without a half-time
//    score the half columns stay NULL. KONTUMACIA is false;
//  - odds: one KURZY row per match. 1X2 odds from the first complete triple among the columns
//    Odds*, Avg*, B365*, BbAv*, PS*, P*, WH*, VC*, IW*, BW*, then the closing AvgC*, B365C*,
//    PSC*; over/under 2.5 likewise. The double-chance odds are not in the files: they are
//    derived from the 1X2 odds as
//    1X = 1 / (1/h + 1/d), X2 = 1 / (1/d + 1/a), 12 = 1 / (1/h + 1/a), rounded to two
//    decimals, so they carry the 1X2 margin. Half-time odds stay empty.
//
// Importing is idempotent: a match found again (same competition, date, home and away team)
// is written only when its goals or odds differ. A fixture and its result are one match: a
// played row meets an unplayed match of the same pairing a day before or after and becomes it
// (moved to the day it was played), and a fixture row meeting a played match a day apart
// leaves it alone; a fixture row never erases a stored result and missing odds never erase
// stored ones. Each file is imported in one transaction, so a file is
// either imported whole (minus its reported bad rows) or not at all.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "builder/league_rules.h"
#include "builder/team_aliases.h"
#include "builder/text_decoding.h"
#include "core/database.h"
#include "core/date.h"

namespace morvela {

// What one file brought.
struct FileImport {
  std::string file;
  int rows = 0;           // data rows read (blank rows not counted)
  int inserted = 0;       // new matches
  int updated = 0;        // matches whose goals or odds changed
  int unchanged = 0;      // matches found again as they were
  int skipped = 0;        // bad rows
  bool rejected = false;  // nothing of the file was imported
  int ignored = 0;        // rows of leagues outside ImportOptions::only_leagues
  int fixtures = 0;       // rows without a score (coming matches) among the imported ones
};

struct ImportOptions {
  std::optional<int> league;  // every row goes to this league
  TeamAliases aliases;
  // When not empty, rows of other leagues, and rows whose league code the program does not
  // know, are passed over without a message (counted as FileImport::ignored): the source's
  // fixture files list many divisions at once.
  std::set<int> only_leagues;
  // When set, rows of seasons starting before this year are passed over likewise.
  std::optional<int> first_season;
  // Called inside a file's transaction after its rows are written, so that what the caller
  // records about the file (where it came from, its validators) is committed with its rows or
  // not at all. Not called for a rejected file.
  std::function<void(Connection&, const FileImport&)> in_transaction;
};

// Matches written per league, over all files.
struct LeagueImport {
  int inserted = 0;
  int updated = 0;
  int fixtures = 0;  // rows without a score
};

struct ImportReport {
  std::vector<FileImport> files;
  // "file:line: message" for rejected files and skipped rows; notes such as an encoding
  // conversion; warnings about the data as a whole (clubs seen in one season only, clubs with
  // far fewer matches than the rest of their season).
  std::vector<std::string> errors;
  std::vector<std::string> notes;
  std::vector<std::string> warnings;
  std::set<int> changed_leagues;  // leagues where a row was written
  std::map<int, LeagueImport> leagues;
  int Inserted() const;
  int Updated() const;
  int Skipped() const;
};

// Imports the CSV files named by `paths` (files, or folders searched recursively for *.csv in
// name order) into the open database `conn`. After each file's commit the kill point
// "import:file-committed" (core/kill_point.h) is passed. Bad rows and bad files are reported and
// skipped; only an error of the database itself escapes, as DatabaseError naming the file, after
// the file's transaction has been rolled back (files imported before it stay imported).
ImportReport ImportCsv(Connection& conn, const std::vector<std::string>& paths,
                       const ImportOptions& options);

}  // namespace morvela
