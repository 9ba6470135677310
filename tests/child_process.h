// A morvela-cli child process whose output goes to files, for tests that run the command line
// as a user does, kill it half-way or run several side by side.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

}  // namespace morvela::test
