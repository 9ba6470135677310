#include "update/odds_update.h"
#include "update/network_text.h"

#include <filesystem>

#include "core/atomic_file.h"
#include "core/folder_lock.h"
#include "core/helpers.h"
#include "core/text.h"
#include "i18n/message_ids.h"
#include "program/program.h"
#include "update/database_update.h"
#include "update/package_copy.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

// One odds field as SQL: NULL when empty, else the number written from its value. The
// package's odds read as text with a decimal comma ("1,85").
std::string OddsValue(const Query& odds, const char* column) {
  const Field f = odds.FieldByName(column);
  if (f.IsNull()) return "NULL";
  const std::string text = CommaToPoint(TrimBlanksAndControls(f.AsString()));
  if (text.empty()) return "NULL";
  const std::optional<double> value = ParseDecimalText(text);
  if (!value)
    throw PackageError("the odds package's " + std::string(column) + " of match " +
                       odds.FieldByName("ID").AsString() + " is not a number: " + text);
  return FormatSqlNumber(*value);
}

}  // namespace

OddsMergeCount MergeOdds(Connection& main, Connection& package, Query& odds) {
  // Reading the package runs none of its code.
  package.ExecuteNative("PRAGMA trusted_schema=OFF");
  const std::string kind = SchemaObjectType(package, "KURZY");
  if (kind != "table")
    throw PackageError(kind.empty() ? "the odds package has no table KURZY"
                                    : "the odds package's KURZY is a " + kind + ", not a table");
  odds.Open("SELECT COUNT(*) AS N FROM KURZY");
  const int64_t rows = odds.FieldByName("N").AsInteger();
  if (rows > kMaxOddsRows)
    throw PackageError("the odds package holds " + std::to_string(rows) + " rows, more than " +
                       std::to_string(kMaxOddsRows));
  odds.Open("SELECT * FROM KURZY ORDER BY ID");
  for (const char* column : kOddsColumns)
    if (!odds.HasField(column))
      throw PackageError(std::string("the odds package has no column ") + column);
  OddsMergeCount count;
  Query match(main);
  InTransaction(main, [&] {
    for (odds.First(); !odds.Eof(); odds.Next()) {
      const Field id_field = odds.FieldByName("ID");
      const int64_t id = id_field.AsInteger();
      if (id_field.IsNull() || id <= 0)
        throw PackageError("the odds package has a row without a match id");
      const std::string id_text = std::to_string(id);
      match.Open("SELECT VYSLEDOK FROM VYSLEDKY WHERE ID=" + id_text);
      if (match.Eof()) {
        ++count.unknown_match;
        continue;
      }
      if (!match.FieldByName("VYSLEDOK").IsNull()) {
        ++count.played;
        continue;
      }
      std::string set, values;
      for (const char* column : kOddsColumns) {
        const std::string v = OddsValue(odds, column);
        set += std::string(set.empty() ? "" : ",") + column + "=" + v;
        values += "," + v;
      }
      if (main.Execute("UPDATE KURZY SET " + set + " WHERE ID=" + id_text) > 0) {
        ++count.updated;
        continue;
      }
      std::string columns = "ID";
      for (const char* column : kOddsColumns) columns += std::string(",") + column;
      main.Execute("INSERT INTO KURZY (" + columns + ") VALUES (" + id_text + values + ")");
      ++count.inserted;
    }
  });
  match.Close();
  odds.Close();
  return count;
}

std::string OddsMergeText(const OddsMergeCount& count) {
  std::string text = std::to_string(count.updated + count.inserted) + " odds merged";
  if (count.unknown_match + count.played == 0) return text;
  text += "; skipped:";
  if (count.unknown_match > 0)
    text += " " + std::to_string(count.unknown_match) + " for matches this database does not have";
  if (count.unknown_match > 0 && count.played > 0) text += ",";
  if (count.played > 0) text += " " + std::to_string(count.played) + " for matches already played";
  return text;
}

bool Updater::AktualizaciaKurzy() {
  const Messages& m = p_.messages;
  const UpdateServer server = Server();
  // One writer at a time; two odds updates would also share the download's file names.
  FolderLock lock(p_.folder, kWriterPatience, "odds update");
  if (!lock.Held()) {
    p_.ui.ShowDetailedMessage(MessageKind::kError, m.Msg(msg::kUpdateFailed),
                              FolderLock::BusyMessage(p_.folder));
    return false;
  }
  // Named beside the database like the results install's files, so a killed update leaves
  // nothing that the next start does not remove.
  const fs::path package = TemporaryNameBeside(p_.DatabasePath());
  const fs::path database = TemporaryNameBeside(p_.DatabasePath());
  Tdm& dm = p_.dm;
  // Whatever happens below, the downloads go and the odds connection is closed.
  struct Cleanup {
    Tdm& dm;
    fs::path package, database;
    ~Cleanup() {
      dm.Q1.Close();
      dm.ConnectOdds.Close();
      std::error_code ec;
      fs::remove(package, ec);
      RemoveWithCompanions(database);
    }
  } cleanup{dm, package, database};
  std::optional<MessageId> failure;
  std::string why;
  {
    WaitScope busy(p_.wait, 0, m.Msg(msg::kUpdatingOdds));
    const HttpResult got = Http(server).GetFile(JoinUrl(server.base_url, kOddsPackagePath), package,
                                                options_.progress);
    if (!got.ok) {
      failure = msg::kUpdateServerUnreachable;
      why = NetworkFailureText(m, got);
    } else {
      // A broken stream or a package too large is no connection failure: its reason reaches
      // the general error report, as does a bad value found by the merge.
      InflateFile(package, database, options_.inflate_limit);
      dm.ConnectOdds.Close();
      try {
        // The package holds KURZY alone, so it is opened as a plain file.
        dm.ConnectOdds.OpenFile(database.string(), /*create=*/false);
      } catch (const DatabaseError& e) {
        failure = msg::kOddsDatabaseUnreachable;
        why = e.what();
      }
      if (!failure) last_odds_merge_ = MergeOdds(dm.ADOConnection1, dm.ConnectOdds, dm.Q1);
    }
  }
  if (failure) {
    p_.ui.ShowDetailedMessage(MessageKind::kError, m.Msg(*failure), why);
    return false;
  }
  const OddsMergeCount& c = last_odds_merge_;
  if (c.unknown_match + c.played > 0)
    p_.ui.ShowDetailedMessage(MessageKind::kInformation, m.Msg(msg::kOddsUpdated),
                              OddsMergeText(c));
  else
    p_.ui.ShowMessage(MessageKind::kInformation, m.Msg(msg::kOddsUpdated));
  return true;
}

}  // namespace morvela
