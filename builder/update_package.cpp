#include "builder/update_package.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "core/atomic_file.h"
#include "core/cipher.h"
#include "core/database.h"
#include "core/helpers.h"
#include "program/program.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

// The twenty odds of a KURZY row, in the order the odds merge reads them.
constexpr const char* kOddsColumns =
    "KURZ1,KURZX,KURZ2,KURZ1X,KURZX2,KURZ12,"
    "HT_KURZ1,HT_KURZX,HT_KURZ2,HT_KURZ1X,HT_KURZX2,HT_KURZ12,"
    "SHT_KURZ1,SHT_KURZX,SHT_KURZ2,SHT_KURZ1X,SHT_KURZX2,SHT_KURZ12,OVER,UNDER";

constexpr const char* kOddsTable =
    "CREATE TABLE KURZY (ID INTEGER PRIMARY KEY,"
    " KURZ1 DECIMAL(6,2), KURZX DECIMAL(6,2), KURZ2 DECIMAL(6,2),"
    " KURZ1X DECIMAL(6,2), KURZX2 DECIMAL(6,2), KURZ12 DECIMAL(6,2),"
    " HT_KURZ1 DECIMAL(6,2), HT_KURZX DECIMAL(6,2), HT_KURZ2 DECIMAL(6,2),"
    " HT_KURZ1X DECIMAL(6,2), HT_KURZX2 DECIMAL(6,2), HT_KURZ12 DECIMAL(6,2),"
    " SHT_KURZ1 DECIMAL(6,2), SHT_KURZX DECIMAL(6,2), SHT_KURZ2 DECIMAL(6,2),"
    " SHT_KURZ1X DECIMAL(6,2), SHT_KURZX2 DECIMAL(6,2), SHT_KURZ12 DECIMAL(6,2),"
    " OVER DECIMAL(6,2), UNDER DECIMAL(6,2))";

std::string SqlText(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

// A scratch file beside `beside` that is removed when the object goes, with the journal
// companions SQLite may leave.
class ScratchFile {
 public:
  explicit ScratchFile(const fs::path& beside) : path_(TemporaryNameBeside(beside)) {}
  ~ScratchFile() {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
      fs::remove(path_.string() + suffix, ec);
  }
  std::string Path() const { return path_.string(); }

 private:
  fs::path path_;
};

void Publish(const fs::path& path, std::string_view content) {
  if (!WriteFileAtomically(path, content))
    throw std::runtime_error("Cannot write " + path.string());
}

// "k.A,k.B" from "A,B".
std::string Qualified(std::string_view columns, std::string_view table) {
  std::string out;
  for (size_t start = 0; start <= columns.size();) {
    const size_t comma = std::min(columns.find(',', start), columns.size());
    out += (out.empty() ? "" : ",") + std::string(table) + "." +
           std::string(columns.substr(start, comma - start));
    start = comma + 1;
  }
  return out;
}

}  // namespace

std::string DeflateFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot read " + path);
  z_stream z{};
  if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib: out of memory");
  std::string out;
  std::vector<char> block(1 << 16);
  std::vector<unsigned char> buffer(1 << 16);
  int flush = Z_NO_FLUSH;
  int rc = Z_OK;
  do {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    if (in.bad()) {
      deflateEnd(&z);
      throw std::runtime_error("Cannot read " + path);
    }
    z.next_in = reinterpret_cast<Bytef*>(block.data());
    z.avail_in = static_cast<uInt>(in.gcount());
    flush = in.eof() ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = buffer.data();
      z.avail_out = static_cast<uInt>(buffer.size());
      rc = deflate(&z, flush);
      out.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.avail_out);
    } while (z.avail_out == 0);
  } while (flush != Z_FINISH);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw std::runtime_error("zlib: the stream did not end");
  return out;
}

std::string DefaultPackageDate(const std::string& database_path, const Date& today) {
  Connection conn;
  conn.OpenFile(database_path, false);
  const ResultData data = conn.Select("SELECT TOP 1 DAT_DB FROM NASTAVENIE");
  conn.Close();
  if (data.rows.empty() || !std::holds_alternative<std::string>(data.rows[0][0]))
    return FormatDateText(today);
  // Deciphering drops the blanks around the text; a failure gives "false", which is no date.
  const std::string plain = DecipherText(std::get<std::string>(data.rows[0][0]), true);
  const std::optional<Date> date = ParseShortDate(plain);
  return FormatDateText(date ? *date : today);
}

PackageReport WriteUpdatePackages(const std::string& database_path, const std::string& out_dir,
                                  const std::string& date, const Date& today) {
  const fs::path out(out_dir);
  fs::create_directories(out);
  PackageReport report;
  report.date = date;

  // A consistent snapshot of the database, even while the program writes to it: VACUUM INTO
  // copies one read transaction's view, compacted.
  ScratchFile snapshot(out / "results.db");
  {
    Connection source;
    source.OpenFile(database_path, false);
    source.ExecuteNative("VACUUM INTO " + SqlText(snapshot.Path()));
  }
  // The package's own database date is the one check.txt answers: a client that installed it
  // compares the two and must find its database current, not download it again on every
  // check. Only the snapshot is stamped; the maker's database keeps its date.
  {
    Connection conn;
    conn.OpenFile(snapshot.Path(), false);
    conn.Execute("UPDATE NASTAVENIE SET DAT_DB=" + QuoteSqlText(EncipherText(date)));
  }
  report.database_bytes = fs::file_size(snapshot.Path());

  // The odds of the coming fixtures, taken from the same snapshot.
  ScratchFile odds(out / "odds.db");
  {
    Connection conn;
    conn.OpenFile(odds.Path(), true);
    conn.ExecuteNative(kOddsTable);
    conn.ExecuteNative("ATTACH DATABASE " + SqlText(snapshot.Path()) + " AS src");
    conn.ExecuteNative(std::string("INSERT INTO KURZY (ID,") + kOddsColumns + ") SELECT k.ID," +
                       Qualified(kOddsColumns, "k") +
                       " FROM src.KURZY k JOIN src.VYSLEDKY v ON v.ID=k.ID"
                       " WHERE v.VYSLEDOK IS NULL AND v.DATUM>=" +
                       SqlText(FormatIsoDate(today)) + " ORDER BY k.ID");
    conn.ExecuteNative("DETACH DATABASE src");
    report.odds_rows =
        std::get<int64_t>(conn.Select("SELECT COUNT(*) FROM KURZY").rows.at(0).at(0));
    // A self-contained file: no write-ahead log for the client to look for.
    conn.ExecuteNative("PRAGMA journal_mode=DELETE");
  }

  const std::string results = DeflateFile(snapshot.Path());
  const std::string odds_package = DeflateFile(odds.Path());
  report.results_bytes = results.size();
  report.odds_bytes = odds_package.size();
  Publish(out / "results.qvz", results);
  Publish(out / "odds.qvz", odds_package);
  Publish(out / "version.txt", kProgramVersion);
  Publish(out / "check.txt", EncipherText(date));
  return report;
}

}  // namespace morvela
