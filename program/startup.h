// Start-up and exit of the program, toolkit-free: the settings file, the language, the message
// table, the database connection, the column upgrade of an older database, the version stamp,
// the Export folder and today's date. Both front ends run it through their UserInterface.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "program/program.h"

namespace morvela {

struct StartupOptions {
  std::string folder;           // the program folder (ResolveProgramFolder)
  std::optional<Date> today;    // overrides the system date (--today, MORVELA_TODAY)
  std::optional<int> language;  // overrides the stored language for this run (--lang)
  // When set and the program folder holds no database yet, the user is asked whether to create
  // the demo database; on Yes this creates it at the given path (throwing on failure) and
  // start-up goes on with it. Unset, a missing database ends the program as any failed
  // connection does.
  std::function<void(const std::string& path)> create_demo_database;
};

enum class StartupResult {
  kReady,       // the main window waits for the user
  kStopped,     // an upgrade step failed; its error was shown and the remaining steps did not run
  kEndProgram,  // no database connection (or an undecipherable version mark): the program ends
};

// Why a program folder was chosen, in the order the rules are tried.
enum class FolderReason {
  kOption,       // --home DIR
  kEnvironment,  // MORVELA_HOME
  kExecutable,   // the executable's folder: writable and already holding a database or settings
  kUserData,     // the per-user data folder, $XDG_DATA_HOME/morvela or ~/.local/share/morvela
};

struct ProgramFolder {
  std::string path;  // absolute, ends with a separator, exists (created when it was missing)
  FolderReason reason;
};

// The program folder (database, settings file, Export/), the first rule that applies:
// dir when given (--home); MORVELA_HOME when set; the executable's folder when it is writable and
// holds Morvela.mdb or Nastavenie.ini (a portable copy or a build folder in use); otherwise the
// per-user data folder. Both front ends choose through this function so that they always agree.
ProgramFolder ChooseProgramFolder(const std::optional<std::string>& dir,
                                  const std::string& exe_path);

// ChooseProgramFolder's path alone.
std::string ResolveProgramFolder(const std::optional<std::string>& dir,
                                 const std::string& exe_path);

// The start-up sequence. Messages go through program.ui; a failing step's engine text is shown
// as an error.
StartupResult RunStartup(Program& program, const StartupOptions& options);

// The column upgrade and version stamp that run when "update.tmp" exists. Throws
// DatabaseError for a step whose error stops start-up; CipherError for an undecipherable mark.
void UpgradeColumns(Program& program);

// The version mark (VERZIA of NASTAVENIE) as stored, enciphered, without surrounding blanks;
// empty without a settings row. Throws DatabaseError.
std::string ReadVersionMark(Connection& conn);

// Reads the local database date (DAT_DB of NASTAVENIE, enciphered) into program.db_date.
// Throws DatabaseError.
void ReadLocalDatabaseDate(Program& program);

// The exit sequence: the closing message, the connection closed, the wait indicator stopped.
// With pause set it waits 200 ms so that the closing box is seen; a front end without such a
// box (the command line) ends at once.
void RunExit(Program& program, bool pause);

// The database password, deciphered from the program's constant.
std::string DatabasePassword();

}  // namespace morvela
