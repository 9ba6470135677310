// A morvela-cli child process whose output goes to files, for tests that run the command line
// as a user does, kill it half-way or run several side by side.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace morvela::test {

namespace fs = std::filesystem;

struct Finished {
  int code = 0;  // exit status, or -signal for a killed process
  std::string out, err;
};

class Process {
 public:
  // Runs `program` (morvela-cli unless given) with `args` and the environment variables `env`
  // ("NAME=VALUE") added; its output goes to log + ".out" and log + ".err".
  Process(const std::vector<std::string>& args, const fs::path& log,
          const std::string& program = MORVELA_CLI_PATH, std::vector<std::string> env = {})
      : log_(log) {
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = ::fork();
    if (pid_ == 0) {
      const int out = ::open((log_.string() + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = ::open((log_.string() + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(out, 1);
      ::dup2(err, 2);
      for (std::string& e : env) ::putenv(e.data());
      std::vector<char*> c;
      for (std::string& a : argv) c.push_back(a.data());
      c.push_back(nullptr);
      ::execv(c[0], c.data());
      ::_exit(127);
    }
  }
  void Kill(int signal = SIGKILL) { ::kill(pid_, signal); }
  Finished Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    Finished f;
    f.code = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    f.out = Read(log_.string() + ".out");
    f.err = Read(log_.string() + ".err");
    return f;
  }

 private:
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path log_;
  pid_t pid_ = -1;
};

// The demo database of `morvela-cli --today <today> demo --seed <seed>`, made once per build of
// the program and shared by every test process of a run (binaries and shards alike): building it
// takes seconds, copying it milliseconds. It is kept under the tests' temp folder in a folder
// named after the program's size and time; a lock lets one process make it while others wait.
// Copies the database folder's files into `home` and returns the making run's outcome, its
// output with the folder written as "<HOME>/".
inline Finished CopyOfSharedDemo(const fs::path& home, const std::string& today,
                                 const std::string& seed) {
  std::error_code ec;
  const auto stamp = fs::last_write_time(MORVELA_CLI_PATH, ec).time_since_epoch().count();
  const fs::path cache = TestTempRoot() / ("demo-" + today + "-" + seed + "-" +
                                           std::to_string(fs::file_size(MORVELA_CLI_PATH, ec)) +
                                           "-" + std::to_string(stamp));
  fs::create_directories(cache);
  const int lock = ::open((cache / "lock").c_str(), O_RDWR | O_CREAT, 0644);
  ::flock(lock, LOCK_EX);
  const fs::path made = cache / "home", code_file = cache / "code";
  Finished f;
  if (fs::exists(code_file)) {
    std::ifstream(code_file) >> f.code;
    f.out = ReadBytes(cache / "run.out");
    f.err = ReadBytes(cache / "run.err");
  } else {
    // The copies of earlier builds of the program are of no further use.
    const std::string prefix = "demo-" + today + "-" + seed + "-";
    for (const fs::directory_entry& e : fs::directory_iterator(cache.parent_path(), ec))
      if (e.path() != cache && e.path().filename().string().rfind(prefix, 0) == 0)
        fs::remove_all(e.path(), ec);
    fs::remove_all(made, ec);
    fs::create_directories(made);
    const std::string folder = made.string() + "/";
    f = Process({"--home", folder, "--today", today, "demo", "--seed", seed}, cache / "run",
                MORVELA_CLI_PATH, {"LANG=C.UTF-8", "TZ=UTC", "HOME=" + cache.string()})
            .Wait();
    for (std::string* text : {&f.out, &f.err})
      for (size_t at = 0; (at = text->find(folder, at)) != std::string::npos; at += 7)
        text->replace(at, folder.size(), "<HOME>/");
    // A failed run is not kept: the next process tries again and reports its own failure.
    if (f.code == 0) {
      std::ofstream(cache / "run.out", std::ios::binary) << f.out;
      std::ofstream(cache / "run.err", std::ios::binary) << f.err;
      std::ofstream(code_file) << f.code;  // written last: its presence says the rest is there
    }
  }
  ::flock(lock, LOCK_UN);
  ::close(lock);
  if (f.code != 0) return f;
  fs::create_directories(home);
  for (const fs::directory_entry& e : fs::directory_iterator(made))
    if (e.path().filename() != ".morvela.lock")
      fs::copy(e.path(), home / e.path().filename(),
               fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  return f;
}

}  // namespace morvela::test
