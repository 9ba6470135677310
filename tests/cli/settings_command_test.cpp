// morvela-cli settings and package as a user runs them: a bad argument changes nothing and
// exits 2, good ones are written, the password is never printed; package writes the server's
// four files.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_test_support.h"

namespace morvela::test {
namespace {

TEST(CliSettings, ShowsChecksAllArgumentsFirstAndWritesThem) {
  DemoHome home(false);
  const std::string ini = home.Folder() + "Nastavenie.ini";
  std::string transcript;
  auto run = [&](const std::vector<std::string>& args, int expected) {
    const CliResult r = home.Run(args);
    EXPECT_EQ(r.exit_code, expected) << r.out << r.err;
    EXPECT_EQ((r.out + r.err).find("hunter2"), std::string::npos)
        << "the password is never printed";
    transcript += DemoHome::Transcript(args, r);
  };
  run({"settings"}, 0);
  run({"settings", "Dni=7", "Lang=de", "Password=hunter2"}, 0);
  const std::string written = ReadBytes(ini);
  EXPECT_EQ(written.find("hunter2"), std::string::npos) << "the password is stored enciphered";
  // Each refused line leaves the file byte for byte as it was, the good keys before it too.
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"settings", "Dni=14", "Dni=400"},
        {"settings", "Lang=fr"},
        {"settings", "3tip=0", "Colour=red"},
        {"settings", "Server=ftp://example.org/"},
        {"settings", "Dbf"}}) {
    run(bad, 2);
    EXPECT_EQ(ReadBytes(ini), written);
  }
  run({"settings", "Server=http://127.0.0.1:8080/pkg", "User=maker", "3tip=false"}, 0);
  run({"settings"}, 0);
  ExpectGolden("settings_command.txt", transcript);
}

TEST(CliPackage, WritesTheServersFilesOrRefusesABadDate) {
  DemoHome home;
  const std::string out = home.Folder() + "pub";
  const CliResult bad = home.Run({"package", "--out", out, "--date", "31.02.2025"});
  EXPECT_EQ(bad.exit_code, 2) << bad.err;
  EXPECT_FALSE(std::filesystem::exists(out + "/check.txt"));
  const CliResult r = home.Run({"package", "--out", out, "--date", "15.10.2025"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  for (const char* name : {"check.txt", "results.qvz", "odds.qvz", "version.txt"})
    EXPECT_TRUE(std::filesystem::exists(out + "/" + name)) << name;
  EXPECT_NE(r.out.find("check.txt (15.10.2025)"), std::string::npos) << r.out;
  // The demo database has fixtures with odds from its today on.
  EXPECT_EQ(r.out.find("odds.qvz (0 rows"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace morvela::test
