#include "update/odds_update.h"

#include <filesystem>

#include "core/atomic_file.h"
#include "core/helpers.h"
#include "core/text.h"
#include "i18n/message_ids.h"
#include "program/program.h"
#include "update/database_update.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOddsDownload = "odds.qvz";
constexpr const char* kOddsDatabase = "odds.mdb";

// One odds field as SQL: NULL when empty, else the number written from its value. The
// package's odds read as text with a decimal comma ("1,85").
std::string OddsValue(const Query& odds, const char* column) {
  const Field f = odds.FieldByName(column);
  if (f.IsNull()) return "NULL";
  const std::string text = CommaToPoint(TrimBlanksAndControls(f.AsString()));
  if (text.empty()) return "NULL";
  const std::optional<double> value = ParseDecimalText(text);
  if (!value)
    throw DatabaseError("the odds package's " + std::string(column) + " of match " +
                        odds.FieldByName("ID").AsString() + " is not a number: " + text);
  return FormatSqlNumber(*value);
}

}  // namespace

OddsMergeCount MergeOdds(Connection& main, Query& odds) {
  odds.Open("SELECT * FROM KURZY ORDER BY ID");
  for (const char* column : kOddsColumns)
    if (!odds.HasField(column))
      throw DatabaseError(std::string("the odds package has no column ") + column);
  OddsMergeCount count;
  InTransaction(main, [&] {
    for (odds.First(); !odds.Eof(); odds.Next()) {
      const Field id_field = odds.FieldByName("ID");
      const int64_t id = id_field.AsInteger();
      if (id_field.IsNull() || id <= 0)
        throw DatabaseError("the odds package has a row without a match id");
      std::string set, values;
      for (const char* column : kOddsColumns) {
        const std::string v = OddsValue(odds, column);
        set += std::string(set.empty() ? "" : ",") + column + "=" + v;
        values += "," + v;
      }
      const std::string id_text = std::to_string(id);
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
  odds.Close();
  return count;
}

bool Updater::AktualizaciaKurzy() {
  const Messages& m = p_.messages;
  const UpdateServer server = Server();
  const fs::path package = fs::path(p_.folder) / kOddsDownload;
  const fs::path database = fs::path(p_.folder) / kOddsDatabase;
  int failure = -1;
  std::string why;
  {
    WaitScope busy(p_.wait, 0, m.Msg(msg::kUpdatingOdds));
    const HttpResult got = Http(server).GetFile(JoinUrl(server.base_url, kOddsPackagePath), package,
                                                options_.progress);
    if (!got.ok) {
      failure = msg::kUpdateServerUnreachable;
      why = got.error;
    } else {
      try {
        InflateFile(package, database, options_.inflate_limit);
        Tdm& dm = p_.dm;
        dm.ConnectOdds.Close();
        // The package holds KURZY alone, so it is opened as a plain file.
        dm.ConnectOdds.OpenFile(database.string(), /*create=*/false);
        MergeOdds(dm.ADOConnection1, dm.Q1);
      } catch (const std::exception& e) {
        failure = msg::kOddsDatabaseUnreachable;
        why = e.what();
      }
      p_.dm.Q1.Close();
      p_.dm.ConnectOdds.Close();
    }
    std::error_code ec;
    fs::remove(package, ec);
    RemoveWithCompanions(database);
  }
  if (failure >= 0) {
    p_.ui.ShowDetailedMessage(MessageKind::kError, m.Msg(failure), why);
    return false;
  }
  p_.ui.ShowMessage(MessageKind::kInformation, m.Msg(msg::kOddsUpdated));
  return true;
}

}  // namespace morvela
