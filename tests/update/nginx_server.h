// A real nginx for the tests that talk to one: started on a free port of 127.0.0.1 with a
// configuration of the test's own, in a folder of the test's own, and stopped at the end.
// Skip a test with GTEST_SKIP when kNginx does not exist.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "test_support.h"
#include "update_test_support.h"

namespace morvela::test {

inline constexpr const char* kNginx = "/usr/sbin/nginx";

inline int FreePort() {
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

inline bool Accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return ok;
}

// An nginx of the test's own in `dir`, serving dir/www. `locations` is the server block's
// text after its listen and root lines ("" serves dir/www as static files to anyone). Each
// request is a line of dir/access.log: the status, the request line, and the If-None-Match and
// If-Modified-Since it came with ("-" for none).
class Nginx {
 public:
  Nginx(const std::filesystem::path& dir, const std::string& locations) : port_(FreePort()) {
    std::filesystem::create_directories(dir / "www");
    std::filesystem::create_directories(dir / "temp");
    const std::string d = dir.string();
    WriteBytes(dir / "nginx.conf",
               "daemon off;\nmaster_process off;\nworker_processes 1;\n"
               "pid " +
                   d + "/nginx.pid;\nerror_log " + d +
                   "/error.log;\n"
                   "events { worker_connections 32; }\n"
                   "http {\n"
                   "  log_format checks '$status \"$request\" \"$http_if_none_match\" "
                   "\"$http_if_modified_since\"';\n"
                   "  access_log " +
                   d +
                   "/access.log checks;\n"
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
                   d + "/www;\n" + locations + "  }\n}\n");
    process_ = std::make_unique<Process>(
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
  Nginx(const Nginx&) = delete;
  Nginx& operator=(const Nginx&) = delete;

  bool Running() const { return running_; }
  // http://127.0.0.1:<port>/ followed by `path`.
  std::string Url(const std::string& path = "") const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
  }

 private:
  int port_;
  bool running_ = false;
  std::unique_ptr<Process> process_;
};

}  // namespace morvela::test
