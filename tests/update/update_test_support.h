// What the update tests share: an HTTP server of their own on a free port, a server that
// accepts connections and never answers, and program folders holding a database whose date and
// content the tests choose.
#pragma once

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "builder/schema.h"
#include "core/cipher.h"
#include "core/database.h"
#include "core/helpers.h"
#include "core/ini_file.h"
#include "fake_ui.h"
#include "program/program.h"
#include "program/startup.h"
#include "test_support.h"
#include "update/database_update.h"

namespace morvela::test {

namespace fs = std::filesystem;

// A request as the server saw it.
struct SeenRequest {
  std::string path;
  std::map<std::string, std::string> query;
  std::string user_agent, accept, authorization, cookie;
};

// An HTTP server on 127.0.0.1 in a thread of its own. Every path answers 404 until Serve gives
// it a status and a body.
class TestServer {
 public:
  TestServer() {
    server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard<std::mutex> guard(mutex_);
      SeenRequest seen{req.path,
                       {},
                       req.get_header_value("User-Agent"),
                       req.get_header_value("Accept"),
                       req.get_header_value("Authorization"),
                       req.get_header_value("Cookie")};
      for (const auto& [key, value] : req.params) seen.query[key] = value;
      requests_.push_back(seen);
      const auto route = routes_.find(req.path.substr(1));
      if (route == routes_.end()) {
        res.status = 404;
        return;
      }
      res.status = route->second.status;
      res.set_content(route->second.body, "application/octet-stream");
      if (!route->second.cookie.empty()) res.set_header("Set-Cookie", route->second.cookie);
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // This version of the server cannot say when it is ready; it is once it runs.
    for (int i = 0; i < 500 && !server_.is_running(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ~TestServer() {
    server_.stop();
    thread_.join();
  }
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

  // What `path` (without its leading "/") answers from now on.
  void Serve(const std::string& path, std::string body, int status = 200, std::string cookie = "") {
    std::lock_guard<std::mutex> guard(mutex_);
    routes_[path] = {status, std::move(body), std::move(cookie)};
  }
  std::vector<SeenRequest> Requests() {
    std::lock_guard<std::mutex> guard(mutex_);
    return requests_;
  }
  int Count(const std::string& path) {
    int n = 0;
    for (const SeenRequest& r : Requests()) n += r.path == "/" + path;
    return n;
  }

 private:
  struct Route {
    int status = 200;
    std::string body, cookie;
  };
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::map<std::string, Route> routes_;
  std::vector<SeenRequest> requests_;
};

// A port that accepts connections (the system completes them) and never sends a byte.
class SilentServer {
 public:
  SilentServer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(fd_, 16);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
  }
  ~SilentServer() { ::close(fd_); }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// One zlib stream (RFC 1950) of the bytes.
inline std::string Compress(const std::string& bytes) {
  uLongf size = compressBound(bytes.size());
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(bytes.data()), bytes.size(), 6);
  out.resize(size);
  return out;
}

// A database of this program dated `date` (dd.mm.yyyy) holding `teams` clubs named
// "<tag> 1" .. "<tag> n", so that a test can tell which file it sees.
inline void MakeDatabase(const fs::path& path, const std::string& date, int teams,
                         const std::string& tag) {
  CreateEmptyDatabase(path.string(), /*overwrite=*/true);
  Connection c;
  c.OpenFile(path.string(), false);
  c.Execute("UPDATE NASTAVENIE SET DAT_DB=" + QuoteSqlText(EncipherText(date)));
  c.ExecuteNative("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                  std::to_string(teams) +
                  ") INSERT INTO MUZSTVA (ID_LIGA,NAZOV,NAZOV_EN) SELECT 1, '" + tag +
                  " ' || i, '" + tag + " ' || i FROM n");
  c.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
  c.Close();
}

// What a database file holds, read without the program.
struct DatabaseState {
  bool intact = false;  // opens and passes PRAGMA integrity_check
  std::string tag;      // the clubs' tag ("" without clubs)
  int64_t teams = 0;
  std::string date;  // DAT_DB deciphered
  std::string mark;  // VERZIA deciphered
};

// `check_integrity` false leaves `intact` false and spares reading the whole file (0.6 s for the
// demo database), for callers that look at the other fields only.
inline DatabaseState Inspect(const fs::path& path, bool check_integrity = true) {
  DatabaseState s;
  try {
    Connection c;
    c.SetConnectionString("Data Source=" + path.string());
    c.Open();
    if (check_integrity) {
      const ResultData check = c.Select("PRAGMA integrity_check");
      s.intact = check.rows.size() == 1 && std::get<std::string>(check.rows[0][0]) == "ok";
    }
    Query q(c);
    q.Open("SELECT COUNT(*) AS N, MIN(NAZOV) AS T FROM MUZSTVA");
    s.teams = q.FieldByName("N").AsInteger();
    const std::string first = q.FieldByName("T").AsString();
    s.tag = first.substr(0, first.find(' '));
    q.Open("SELECT DAT_DB, VERZIA FROM NASTAVENIE");
    s.date = DecipherText(q.FieldByName("DAT_DB").AsString(), true);
    s.mark = DecipherText(q.FieldByName("VERZIA").AsString(), true);
  } catch (const std::exception&) {
    s.intact = false;
  }
  return s;
}

// The settings file of a program folder that uses `server` and asks nothing at start.
inline void WriteUpdateSettings(const std::string& folder, const std::string& server, int dbf = 1,
                                int app = 1) {
  IniFile ini(folder + "Nastavenie.ini");
  ini.WriteInteger("Update", "Dbf", dbf);
  ini.WriteInteger("Update", "App", app);
  ini.WriteInteger("Update", "W7", 0);
  ini.WriteString("Update", "Server", server);
  ini.WriteInteger("Jazyk", "Lang", 1);
  ini.Save();
}

// The files an update may leave in the folder besides the database, its backup and the settings.
inline std::vector<std::string> Leftovers(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name == "Morvela.mdb" || name == "Morvela.mdb-wal" || name == "Morvela.mdb-shm" ||
        name == "Morvela.mdb.bak" || name == "Nastavenie.ini" || name == "Export" ||
        name == ".morvela.lock")
      continue;
    found.push_back(name);
  }
  return found;
}

// A program folder and an update server of the test's own, and the program with its updater
// once StartUpdater runs (today 05.06.2010): what the update tests drive. The server is a member
// before the updater, so the updater goes first and closes its kept-alive connection and the
// server need not wait for it to time out.
class UpdaterFixture : public ::testing::Test {
 protected:
  // Writes the settings naming `server` (when given; else the folder keeps the settings it has)
  // and starts the program with an updater of these limits.
  Updater& StartUpdater(HttpTimeouts timeouts, const std::string& server = "") {
    if (!server.empty()) WriteUpdateSettings(dir_.Folder(), server);
    program_ = std::make_unique<Program>(ui_, wait_);
    StartupOptions o;
    o.folder = dir_.Folder();
    o.today = MakeDate(2010, 6, 5);
    EXPECT_EQ(RunStartup(*program_, o), StartupResult::kReady);
    UpdateOptions options;
    options.timeouts = timeouts;
    updater_ = std::make_unique<Updater>(*program_, options);
    return *updater_;
  }

  std::string LastText() const { return ui_.messages.empty() ? "" : ui_.messages.back().text; }

  TempDir dir_;
  TestServer server_;
  FakeUi ui_;
  NullWaitIndicator wait_;
  std::unique_ptr<Program> program_;
  std::unique_ptr<Updater> updater_;
};

}  // namespace morvela::test
