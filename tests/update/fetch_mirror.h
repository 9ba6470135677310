// A small mirror of the public results site for the fetch tests: a few rows of its layouts
// (a main league's seasons, a smaller league's file, the two fixture lists) and an HTTP server
// that serves them from memory with ETags of its own.
#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace morvela::test {

// Serves files by path with an ETag of their own; a request whose If-None-Match names the
// current ETag gets 304. Records each request's path and whether it was conditional.
class MirrorServer {
 public:
  MirrorServer() {
    server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      if (before_answer_) before_answer_(req.path.substr(1));
      std::lock_guard<std::mutex> guard(mutex_);
      const std::string path = req.path.substr(1);
      const bool conditional = req.has_header("If-None-Match");
      requests_.push_back(path + (conditional ? " ?" : ""));
      const auto file = files_.find(path);
      if (file == files_.end()) {
        res.status = 404;
        return;
      }
      const std::string etag = "\"" + std::to_string(std::hash<std::string>{}(file->second)) + "\"";
      res.set_header("ETag", etag);
      if (req.get_header_value("If-None-Match") == etag) {
        res.status = 304;
        return;
      }
      res.set_content(file->second, "text/csv");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    for (int i = 0; i < 500 && !server_.is_running(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ~MirrorServer() {
    server_.stop();
    thread_.join();
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
  void Serve(const std::string& path, const std::string& body) {
    std::lock_guard<std::mutex> guard(mutex_);
    files_[path] = body;
  }
  void Remove(const std::string& path) {
    std::lock_guard<std::mutex> guard(mutex_);
    files_.erase(path);
  }
  // Runs on the server's thread before each answer, with the path asked for: a test holds a
  // request there while it looks at the client. Set it before the first request.
  void BeforeAnswer(std::function<void(const std::string&)> hook) {
    before_answer_ = std::move(hook);
  }
  // The requests since the last call, "path" or "path ?" for a conditional one.
  std::vector<std::string> TakeRequests() {
    std::lock_guard<std::mutex> guard(mutex_);
    return std::exchange(requests_, {});
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::map<std::string, std::string> files_;
  std::vector<std::string> requests_;
  std::function<void(const std::string&)> before_answer_;
};

inline constexpr const char* kMainHeader =
    "Div,Date,Time,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,B365H,B365D,B365A,AvgH,AvgD,"
    "AvgA,Avg>2.5,Avg<2.5\n";
inline constexpr const char* kNewHeader =
    "Country,League,Season,Date,Time,Home,Away,HG,AG,Res,PSCH,PSCD,PSCA,MaxCH,MaxCD,MaxCA,AvgCH,"
    "AvgCD,AvgCA\n";

// A round of four English clubs from 2 March; `late` adds the match of the fixture list played
// on 16 March (listed for the 15th).
inline std::string EnglandSeason(bool late) {
  std::string s = std::string(kMainHeader) +
                  "E0,02/03/2025,15:00,Arsenal,Chelsea,2,1,H,1,0,H,2,3.4,3.6,2.05,3.3,3.7,1.8,2\n"
                  "E0,02/03/2025,17:30,Everton,Fulham,0,0,D,0,0,D,2.6,3.1,2.8,2.5,3.2,2.9,2.1,1.7\n"
                  "E0,09/03/2025,15:00,Chelsea,Everton,1,1,D,0,1,A,1.6,4,5.5,1.62,4,5.2,1.7,2.1\n";
  if (late) s += "E0,16/03/2025,16:00,Fulham,Arsenal,0,3,A,0,1,A,4,3.6,1.9,4.1,3.5,1.9,1.9,1.9\n";
  return s;
}

inline constexpr const char* kFixturesHeader =
    "Div,Date,Time,HomeTeam,AwayTeam,B365H,B365D,B365A,AvgH,AvgD,AvgA,Avg>2.5,Avg<2.5\n";
inline const std::string kEnglishFixtures =
    std::string(kFixturesHeader) +
    "E0,15/03/2025,15:00,Fulham,Arsenal,4.2,3.6,1.85,4,3.5,1.9,1.9,1.9\n"
    "E1,15/03/2025,15:00,Leeds,Burnley,2,3.3,3.9,2,3.3,3.8,2,1.8\n";

inline const std::string kAustria =
    std::string(kNewHeader) +
    "Austria,Bundesliga,2021/2022,30/07/2021,17:00,Salzburg,Rapid,3,0,H,"
    "1.3,5.5,9,1.35,6,10,1.3,5.4,8.5\n"
    "Austria,Bundesliga,2024/2025,01/03/2025,17:00,Salzburg,Sturm,1,1,D,"
    "1.9,3.6,3.8,2,3.8,4,1.88,3.5,3.7\n"
    "Austria,Bundesliga,2024/2025,02/03/2025,17:00,Rapid,LASK,2,0,H,2.1,"
    "3.4,3.3,2.2,3.5,3.5,2.05,3.3,3.2\n";

inline constexpr const char* kNewFixtures =
    "Country,League,Date,Time,Home,Away,PSCH,PSCD,PSCA,AvgCH,AvgCD,AvgCA\n"
    "Austria,Bundesliga,15/03/2025,17:00,Sturm,Rapid,1.8,3.7,4.2,1.78,3.6,4.1\n"
    "Argentina,Liga Profesional,15/03/2025,20:00,Boca,River,2.4,3,3.1,2.3,3,3\n";

// The mirror a first fetch of E0 and AUT with two past seasons finds on 10 March 2025: the
// files by their paths at the source.
inline std::map<std::string, std::string> SmallMirror() {
  return {
      {"mmz4281/2223/E0.csv",
       std::string(kMainHeader) +
           "E0,07/05/2023,15:00,Chelsea,Arsenal,1,2,A,0,1,A,3,3.5,2.2,3.1,3.4,2.3,1.7,2.1\n"},
      {"mmz4281/2324/E0.csv",
       std::string(kMainHeader) +
           "E0,05/05/2024,15:00,Arsenal,Fulham,3,0,H,1,0,H,1.3,5,9,1.3,5.2,9.5,1.5,2.6\n"},
      {"mmz4281/2425/E0.csv", EnglandSeason(false)},
      {"fixtures.csv", kEnglishFixtures},
      {"new/AUT.csv", kAustria},
      {"new_league_fixtures.csv", kNewFixtures},
  };
}

}  // namespace morvela::test
