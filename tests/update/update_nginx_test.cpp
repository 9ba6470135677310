// End to end: a real nginx, started by the test on a free port with a configuration of its own
// and basic authentication, serves the packages `morvela-cli package` wrote; morvela-cli brings
// a second program folder up to date from it, results first, then odds, and afterwards finds
// its database current (the package carries the date it is published with).
#include <gtest/gtest.h>

#include <cstdio>

#include "child_process.h"
#include "core/text.h"
#include "nginx_server.h"
#include "test_support.h"
#include "update/odds_update.h"
#include "update/server_settings.h"
#include "update_test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

constexpr const char* kToday = "2025-10-15";

// "user:$apr1$..." as nginx reads it, made by openssl.
std::string PasswordLine(const std::string& user, const std::string& password) {
  FILE* pipe = ::popen(("openssl passwd -apr1 '" + password + "'").c_str(), "r");
  if (!pipe) return "";
  char hash[256] = "";
  if (!std::fgets(hash, sizeof hash, pipe)) hash[0] = '\0';
  ::pclose(pipe);
  return user + ":" + std::string(TrimBlanksAndControls(hash)) + "\n";
}

// /morvela/ below dir/www behind basic authentication with `password_line`.
std::unique_ptr<test::Nginx> NginxWithAuthentication(const fs::path& dir,
                                                     const std::string& password_line) {
  fs::create_directories(dir / "www" / "morvela");
  test::WriteBytes(dir / "htpasswd", password_line);
  const std::string d = dir.string();
  return std::make_unique<test::Nginx>(
      dir,
      "    location /morvela/ {\n      auth_basic \"Morvela\";\n"
      "      auth_basic_user_file " +
          d +
          "/htpasswd;\n    }\n"
          "    location = /morvela/report {\n      auth_basic \"Morvela\";\n"
          "      auth_basic_user_file " +
          d + "/htpasswd;\n      return 200 \"ok\";\n    }\n");
}

TEST(UpdateNginxTest, ASecondHomeComesUpToDateFromNginxWithBasicAuthentication) {
  if (!fs::exists(test::kNginx)) GTEST_SKIP() << "nginx is not installed (scripts/install-deps.sh)";
  test::TempDir server_dir, home, work, maker;
  const auto served = NginxWithAuthentication(server_dir.Path(), PasswordLine("tipper", "s3cret"));
  const test::Nginx& nginx = *served;
  ASSERT_TRUE(nginx.Running()) << test::ReadBytes(server_dir.Path() / "error.log");
  const fs::path www = server_dir.Path() / "www" / "morvela";
  // What a maker publishes: `package` writes it from the maker's database (a copy of the demo
  // database the test run shares) straight into the server's folder.
  const auto maker_run = [&](const std::vector<std::string>& args, const std::string& name) {
    std::vector<std::string> all = {"--home", maker.Folder(), "--today", kToday};
    all.insert(all.end(), args.begin(), args.end());
    return test::Process(all, work.Path() / name).Wait();
  };
  ASSERT_EQ(test::CopyOfSharedDemo(maker.Path(), kToday, "7").code, 0);
  const test::DatabaseState before_package = test::Inspect(maker.Path() / "Morvela.mdb", false);
  // A date other than the maker's database date: the package is stamped with it.
  constexpr const char* kPublished = "16.10.2025";
  ASSERT_NE(before_package.date, kPublished);
  const test::Finished packaged =
      maker_run({"package", "--out", www.string(), "--date", kPublished}, "package");
  ASSERT_EQ(packaged.code, 0) << packaged.err;
  const test::DatabaseState published = test::Inspect(maker.Path() / "Morvela.mdb", false);
  EXPECT_EQ(published.date, before_package.date) << "the maker's own database keeps its date";
  Connection maker_db;
  maker_db.OpenFile((maker.Path() / "Morvela.mdb").string(), false);
  const size_t coming_odds =
      maker_db
          .Select(
              "SELECT KURZY.ID FROM KURZY INNER JOIN VYSLEDKY ON VYSLEDKY.ID=KURZY.ID "
              "WHERE VYSLEDKY.VYSLEDOK IS NULL AND VYSLEDKY.DATUM>=\"2025-10-15\"")
          .rows.size();
  ASSERT_GT(coming_odds, 0u);

  test::MakeDatabase(home.Path() / "Morvela.mdb", "01.06.2010", 3, "Old");
  test::WriteUpdateSettings(home.Folder(), nginx.Url("morvela/"));
  auto run = [&](const std::vector<std::string>& args, const std::string& name) {
    std::vector<std::string> all = {"--home", home.Folder(), "--today", kToday, "update"};
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
  // Basic authentication over http: said before the requests.
  EXPECT_EQ(refused.err.rfind("Warning: the user name and password go to " + nginx.Url("morvela/") +
                                  " over plain http",
                              0),
            0u)
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
  EXPECT_EQ(s.teams, published.teams);
  EXPECT_EQ(s.date, kPublished);
  // Installed, the database is as new as the server's: no second download.
  const test::Finished current = run({"--check"}, "current");
  EXPECT_EQ(current.code, 0) << current.err;
  EXPECT_NE(current.out.find("The results database is current"), std::string::npos) << current.out;
  // The odds of the coming fixtures arrive again after they were lost.
  const auto home_odds = [&] {
    Connection c;
    c.OpenFile((home.Path() / "Morvela.mdb").string(), false);
    return c
        .Select(
            "SELECT KURZY.ID FROM KURZY INNER JOIN VYSLEDKY ON VYSLEDKY.ID=KURZY.ID "
            "WHERE VYSLEDKY.VYSLEDOK IS NULL AND VYSLEDKY.DATUM>=\"2025-10-15\"")
        .rows.size();
  };
  {
    Connection c;
    c.OpenFile((home.Path() / "Morvela.mdb").string(), false);
    c.ExecuteNative(
        "DELETE FROM KURZY WHERE ID IN (SELECT ID FROM VYSLEDKY WHERE VYSLEDOK IS NULL)");
  }
  ASSERT_EQ(home_odds(), 0u);
  const test::Finished odds = run({"--odds"}, "odds");
  EXPECT_EQ(odds.code, 0) << odds.err;
  EXPECT_EQ(home_odds(), coming_odds);
  // The report reached the server with the version and the language.
  const std::string access = test::ReadBytes(server_dir.Path() / "access.log");
  EXPECT_NE(access.find("/morvela/report?LANG=1&VER=4.8&OS="), std::string::npos) << access;
}

}  // namespace
}  // namespace morvela
