// init, info and sql: creating a database, looking at one, and running one statement on it.
#include <filesystem>
#include <iostream>

#include "builder/schema.h"
#include "cli/cli_context.h"
#include "core/atomic_file.h"
#include "core/cipher.h"
#include "core/folder_lock.h"
#include "core/helpers.h"
#include "i18n/message_ids.h"
#include "program/startup.h"

namespace morvela {

namespace {

bool IsQuery(const std::string& sql) {
  size_t i = sql.find_first_not_of(" \t\r\n(");
  if (i == std::string::npos) return false;
  std::string head = sql.substr(i, 6);
  for (char& c : head) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return head == "SELECT";
}

MessageId FolderReasonText(FolderReason reason) {
  switch (reason) {
    case FolderReason::kOption:
      return msg::kFolderFromOption;
    case FolderReason::kEnvironment:
      return msg::kFolderFromEnvironment;
    case FolderReason::kExecutable:
      return msg::kFolderOfExecutable;
    case FolderReason::kUserData:
      break;
  }
  return msg::kFolderOfUser;
}

// An aggregate's date comes back as the stored text; shown as the program shows dates.
std::string FirstDate(const std::string& stored) {
  const auto date = ParseIsoDate(stored.substr(0, 10));
  return date ? FormatDateText(*date) : stored;
}

int RunInfo(CliContext& ctx) {
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  const Settings& s = p.settings;
  const FolderReason reason = ctx.ChosenFolder().reason;
  std::cout << "Program:        " << kProgramTitle << " " << kProgramVersion << "\n"
            << "Folder:         " << p.folder << " (" << p.messages.Msg(FolderReasonText(reason))
            << ")\n"
            << "Language:       " << p.messages.Language() << " ("
            << (p.messages.Language() == kGerman    ? "German"
                : p.messages.Language() == kSlovak  ? "Slovak"
                : p.messages.Language() == kItalian ? "Italian"
                                                    : "English")
            << ")\n";
  std::cout << "Settings:       Dni=" << s.Dni << " 3tip=" << (s.Tip3 ? 1 : 0) << " Dbf=" << s.Dbf
            << " App=" << s.App << " W7=" << (s.W7 ? 1 : 0) << " Lang=" << s.Lang << "\n"
            << "Database:       " << p.DatabasePath() << "\n"
            << "Database date:  " << DecipherText(p.db_date, true) << "\n"
            << "Today:          " << p.today_text << "\n"
            << "Rows:\n";
  for (const char* table :
       {"LIGA", "SUTAZ", "MUZSTVA", "SUTAZ_MUZSTVA", "VYSLEDKY", "KURZY", "TIPY", "NASTAVENIE"}) {
    Query q(p.dm.ADOConnection1);
    q.Open(std::string("SELECT COUNT(*) AS N FROM ") + table);
    std::cout << "  " << table << std::string(16 - std::string(table).size(), ' ')
              << q.FieldByName("N").AsInteger() << "\n";
  }
  // Fixtures whose date has passed without a result: a match the source dropped from its lists
  // (postponed, abandoned) stays unplayed until a result arrives or the user edits it.
  {
    Query q(p.dm.ADOConnection1);
    q.Open(
        "SELECT COUNT(*) AS N,MIN(DATUM) AS FIRST FROM VYSLEDKY WHERE HOME_GOAL IS NULL AND "
        "DATUM<" +
        FormatSqlDate(p.today));
    if (const int64_t n = q.FieldByName("N").AsInteger(); n > 0)
      std::cout << "Unplayed:       " << n << " fixture(s) passed their date without a result "
                << "(the first on " << FirstDate(q.FieldByName("FIRST").AsString()) << ")\n";
  }
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

int RunSql(CliContext& ctx, const std::string& statement) {
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  if (IsQuery(statement)) {
    Query q(p.dm.ADOConnection1);
    q.Open(statement);
    const auto& names = q.FieldNames();
    for (size_t c = 0; c < names.size(); ++c) std::cout << (c ? ";" : "") << names[c];
    std::cout << "\n";
    for (q.First(); !q.Eof(); q.Next()) {
      for (size_t c = 0; c < names.size(); ++c)
        std::cout << (c ? ";" : "") << q.FieldByName(names[c]).AsString();
      std::cout << "\n";
    }
  } else {
    int changed = p.dm.Command1.Execute(statement);
    std::cout << changed << (changed == 1 ? " row changed\n" : " rows changed\n");
  }
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

}  // namespace

void RegisterBasicCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto* init = app.add_subcommand("init", "Create an empty database in the program folder");
  bool& force = ctx.Flag();
  init->add_flag("--force", force, "Replace an existing database");
  init->callback([&ctx, &exit_code, &force] {
    FolderLock lock(ctx.Folder(), false, "init");
    if (!lock.Held()) {
      std::cerr << "Error: " << FolderLock::BusyMessage(ctx.Folder()) << "\n";
      exit_code = kExitError;
      return;
    }
    const std::string path = ctx.Folder() + "Morvela.mdb";
    RemoveStaleTemporaryFiles(path);  // left by a killed run; we hold the lock
    CreateEmptyDatabase(path, force);
    std::cout << "Created " << path << "\n";
    exit_code = kExitOk;
  });

  auto* info =
      app.add_subcommand("info", "Start up headless and describe the program and database");
  info->callback([&ctx, &exit_code] { exit_code = RunInfo(ctx); });

  auto* sql = app.add_subcommand("sql", "Run one statement in the program's SQL dialect");
  std::string& statement = ctx.Text();
  sql->add_option("statement", statement, "The statement")->required();
  sql->callback([&ctx, &exit_code, &statement] { exit_code = RunSql(ctx, statement); });
}

}  // namespace morvela
