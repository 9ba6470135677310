// End to end: a real nginx, started by the test on a free port with a configuration of its own
// and basic authentication, serves the packages; morvela-cli brings a second program folder up
// to date from it, results first, then odds.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "child_process.h"
#include "core/text.h"
#include "test_support.h"
#include "update/odds_update.h"
#include "update/server_settings.h"
#include "update_test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNginx = "/usr/sbin/nginx";

int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

bool Accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return ok;
}

// "user:$apr1$..." as nginx reads it, made by openssl.
std::string PasswordLine(const std::string& user, const std::string& password) {
  FILE* pipe = ::popen(("openssl passwd -apr1 '" + password + "'").c_str(), "r");
  if (!pipe) return "";
  char hash[256] = "";
  if (!std::fgets(hash, sizeof hash, pipe)) hash[0] = '\0';
  ::pclose(pipe);
  return user + ":" + std::string(TrimBlanksAndControls(hash)) + "\n";
}

// An nginx of the test's own in `dir`: /morvela/ below dir/www behind basic authentication.
class Nginx {
 public:
  Nginx(const fs::path& dir, const std::string& password_line) : port_(FreePort()) {
    fs::create_directories(dir / "www" / "morvela");
    fs::create_directories(dir / "temp");
    test::WriteBytes(dir / "htpasswd", password_line);
    const std::string d = dir.string();
    test::WriteBytes(dir / "nginx.conf",
                     "daemon off;\nmaster_process off;\nworker_processes 1;\n"
                     "pid " +
                         d + "/nginx.pid;\nerror_log " + d +
                         "/error.log;\n"
                         "events { worker_connections 32; }\n"
                         "http {\n  access_log " +
                         d +
                         "/access.log;\n"
                         "  client_body_temp_path " +
                         d +
                         "/temp/body;\n"
                         "  proxy_temp_path " +
                         d +
                         "/temp/proxy;\n"
                         "  fastcgi_temp_path " +
                         d +
                         "/temp/fastcgi;\n"
                         "  uwsgi_temp_path " +
                         d +
                         "/temp/uwsgi;\n"
                         "  scgi_temp_path " +
                         d +
                         "/temp/scgi;\n"
                         "  server {\n    listen 127.0.0.1:" +
                         std::to_string(port_) +
                         ";\n"
                         "    root " +
                         d +
                         "/www;\n"
                         "    location /morvela/ {\n      auth_basic \"Morvela\";\n"
                         "      auth_basic_user_file " +
                         d +
                         "/htpasswd;\n    }\n"
                         "    location = /morvela/report {\n      auth_basic \"Morvela\";\n"
                         "      auth_basic_user_file " +
                         d +
                         "/htpasswd;\n      return 200 \"ok\";\n"
                         "    }\n  }\n}\n");
    process_ = std::make_unique<test::Process>(
        std::vector<std::string>{"-p", d, "-c", d + "/nginx.conf", "-e", d + "/error.log"},
        dir / "nginx", kNginx);
    for (int i = 0; i < 500 && !Accepts(port_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    running_ = Accepts(port_);
  }
  ~Nginx() {
    process_->Kill(SIGQUIT);
    process_->Wait();
  }
  bool Running() const { return running_; }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/morvela/"; }

 private:
  int port_;
  bool running_ = false;
  std::unique_ptr<test::Process> process_;
};

TEST(UpdateNginxTest, ASecondHomeComesUpToDateFromNginxWithBasicAuthentication) {
  if (!fs::exists(kNginx)) GTEST_SKIP() << "nginx is not installed (scripts/install-deps.sh)";
  test::TempDir server_dir, home, work;
  // What a maker publishes: the date answer, the results package and an odds package. The
  // packages are built here from databases of the test's own.
  test::MakeDatabase(work.Path() / "maker.mdb", "02.06.2010", 40, "New");
  {
    Connection odds;
    odds.OpenFile((work.Path() / "odds.mdb").string(), true);
    std::string columns = "ID INTEGER PRIMARY KEY";
    for (const char* c : kOddsColumns) columns += std::string(",") + c + " DECIMAL(6,2)";
    odds.ExecuteNative("CREATE TABLE KURZY (" + columns + ")");
    odds.ExecuteNative(
        "INSERT INTO KURZY (ID,KURZ1,KURZX,KURZ2) VALUES (7,1.9,3.4,4.1),(8,2.2,3.1,3.3)");
    odds.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
  }
  Nginx nginx(server_dir.Path(), PasswordLine("tipper", "s3cret"));
  ASSERT_TRUE(nginx.Running()) << test::ReadBytes(server_dir.Path() / "error.log");
  const fs::path www = server_dir.Path() / "www" / "morvela";
  test::WriteBytes(www / kDateCheckPath, EncipherText("02.06.2010") + "\n");
  test::WriteBytes(www / kResultsPackagePath,
                   test::Compress(test::ReadBytes(work.Path() / "maker.mdb")));
  test::WriteBytes(www / kOddsPackagePath,
                   test::Compress(test::ReadBytes(work.Path() / "odds.mdb")));

  test::MakeDatabase(home.Path() / "Morvela.mdb", "01.06.2010", 3, "Old");
  test::WriteUpdateSettings(home.Folder(), nginx.Url());
  auto run = [&](const std::vector<std::string>& args, const std::string& name) {
    std::vector<std::string> all = {"--home", home.Folder(), "--today", "2010-06-05", "update"};
    all.insert(all.end(), args.begin(), args.end());
    return test::Process(all, work.Path() / name).Wait();
  };
  auto credentials = [&](const std::string& password) {
    IniFile ini(home.Folder() + "Nastavenie.ini");
    ini.WriteString("Update", "User", EncipherText("tipper"));
    ini.WriteString("Update", "Password", EncipherText(password));
    ini.Save();
  };

  // Without the right password the server refuses, and nothing changes.
  credentials("wrong");
  const test::Finished refused = run({"--yes"}, "refused");
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("Could not connect to update server !"), std::string::npos)
      << refused.err;
  EXPECT_EQ(test::Inspect(home.Path() / "Morvela.mdb").tag, "Old");

  credentials("s3cret");
  const test::Finished check = run({"--check"}, "check");
  EXPECT_EQ(check.code, 0) << check.err;
  EXPECT_NE(check.out.find("A newer results database is available"), std::string::npos)
      << check.out;
  const test::Finished results = run({"--yes"}, "results");
  EXPECT_EQ(results.code, 0) << results.err;
  const test::DatabaseState s = test::Inspect(home.Path() / "Morvela.mdb");
  EXPECT_TRUE(s.intact);
  EXPECT_EQ(s.tag, "New");
  EXPECT_EQ(s.teams, 40);
  const test::Finished odds = run({"--odds"}, "odds");
  EXPECT_EQ(odds.code, 0) << odds.err;
  Connection c;
  c.OpenFile((home.Path() / "Morvela.mdb").string(), false);
  EXPECT_EQ(c.Select("SELECT ID FROM KURZY WHERE ID IN (7,8)").rows.size(), 2u);
  // The report reached the server with the version and the language.
  const std::string access = test::ReadBytes(server_dir.Path() / "access.log");
  EXPECT_NE(access.find("/morvela/report?LANG=1&VER=4.8&OS="), std::string::npos) << access;
}

}  // namespace
}  // namespace morvela
