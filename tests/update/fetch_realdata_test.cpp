// `morvela-cli fetch` of 17 leagues × 3 seasons and the current one from a local mirror in the
// source's layout, made from the real data beside the repository: how long a first fetch (with
// import and replay) and a fetch with nothing new take.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "cli_capture.h"
#include "realdata_support.h"
#include "test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(FetchRealData, SeventeenLeaguesThreeSeasons) {
  if (!test::HaveRealData()) GTEST_SKIP() << "no real data beside the repository";
  const fs::path results = test::RealDataFolder() / "results";
  // The data's folders by the source's codes; the smaller leagues' seasons go into one file.
  const std::pair<const char*, const char*> main[] = {
      {"en", "E0"}, {"sc", "SC0"}, {"de", "D1"}, {"it", "I1"}, {"es", "SP1"}, {"fr", "F1"},
      {"nl", "N1"}, {"be", "B1"},  {"pt", "P1"}, {"tr", "T1"}, {"gr", "G1"}};
  const std::pair<const char*, const char*> small[] = {{"at", "AUT"}, {"ch", "SWZ"}, {"dk", "DNK"},
                                                       {"pl", "POL"}, {"ro", "ROU"}, {"ru", "RUS"}};
  httplib::Server server;
  test::TempDir dir;
  for (const auto& [cc, div] : main) {
    for (int season = 2021; season <= 2024; ++season) {
      char name[16], folder[8];
      std::snprintf(name, sizeof name, "%d-%02d.csv", season, (season + 1) % 100);
      std::snprintf(folder, sizeof folder, "%02d%02d", season % 100, (season + 1) % 100);
      const fs::path target = dir.Path() / "mmz4281" / folder / (std::string(div) + ".csv");
      fs::create_directories(target.parent_path());
      fs::copy_file(results / cc / name, target);
    }
  }
  // The English season's last day (25.05.2025) is served as the coming fixtures with their odds
  // instead: Div,Date,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,OddsH,OddsD,OddsA,O,U.
  {
    const fs::path season = dir.Path() / "mmz4281" / "2425" / "E0.csv";
    std::istringstream in(ReadFile(season));
    std::string line, played,
        fixtures =
            "Div,Date,Time,HomeTeam,AwayTeam,AvgH,AvgD,AvgA,Avg>2.5,"
            "Avg<2.5\n";
    while (std::getline(in, line)) {
      if (line.find(",25/05/2025,") == std::string::npos) {
        played += line + "\n";
        continue;
      }
      std::vector<std::string> f;
      std::stringstream cells(line);
      for (std::string c; std::getline(cells, c, ',');) f.push_back(c);
      fixtures += f[0] + "," + f[1] + ",16:00," + f[2] + "," + f[3] + "," + f[10] + "," + f[11] +
                  "," + f[12] + "," + f[13] + "," + f[14] + "\n";
    }
    std::ofstream(season, std::ios::binary) << played;
    std::ofstream(dir.Path() / "fixtures.csv", std::ios::binary) << fixtures;
  }
  fs::create_directories(dir.Path() / "new");
  for (const auto& [cc, code] : small) {
    std::string all;
    for (const auto& e : fs::directory_iterator(results / cc)) {
      std::string text = ReadFile(e.path());
      if (!all.empty()) text = text.substr(text.find('\n') + 1);
      all += text;
    }
    std::ofstream(dir.Path() / "new" / (std::string(code) + ".csv"), std::ios::binary) << all;
  }
  server.set_mount_point("/", dir.Path().string());
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });
  for (int i = 0; i < 500 && !server.is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));

  test::TempDir home;
  const std::vector<std::string> args = {"--home",
                                         home.Folder(),
                                         "--today",
                                         "2025-05-20",
                                         "fetch",
                                         "--source",
                                         "http://127.0.0.1:" + std::to_string(port) + "/"};
  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  const test::CliRun first = test::RunCliInProcess(args);
  const double first_s = std::chrono::duration<double>(Clock::now() - t0).count();
  const auto t1 = Clock::now();
  const test::CliRun second = test::RunCliInProcess(args);
  const double second_s = std::chrono::duration<double>(Clock::now() - t1).count();
  server.stop();
  thread.join();

  // The mirror has no list of the smaller leagues' fixtures: a warning, not a failure.
  EXPECT_EQ(first.rc, 0) << first.err;
  EXPECT_NE(first.out.find("Files: 51 new"), std::string::npos) << first.out;
  // The week's tip run finds the fetched fixtures.
  const test::CliRun week =
      test::RunCliInProcess({"--home", home.Folder(), "--today", "2025-05-20", "tips", "week"});
  EXPECT_EQ(week.rc, 0) << week.err;
  EXPECT_NE(week.out.find("Southampton"), std::string::npos) << week.out;
  EXPECT_EQ(second.rc, 3) << second.err;
  EXPECT_NE(second.out.find("Nothing new"), std::string::npos) << second.out;
  std::printf("fresh fetch of 17 leagues: %.1f s; fetch with nothing new: %.2f s\n", first_s,
              second_s);
  EXPECT_LT(first_s, 30.0);
  EXPECT_LT(second_s, 2.0);
}

}  // namespace
}  // namespace morvela
