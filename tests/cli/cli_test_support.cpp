#include "cli_test_support.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

#include "child_process.h"

namespace morvela::test {

namespace fs = std::filesystem;

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  for (size_t p = 0; (p = text.find(from, p)) != std::string::npos; p += to.size())
    text.replace(p, from.size(), to);
  return text;
}

// The demo run's own output minus its time, which differs from run to run.
std::string WithoutDemoTime(const std::string& text) {
  static const std::regex total(R"((\n  seconds +)[0-9.]+)");
  static const std::regex league(R"((matches), [0-9.]+ s\n)");
  return std::regex_replace(std::regex_replace(text, total, "$1<time>"), league, "$1, <time> s\n");
}

// The demo database, made once per build of the program (shared with the other test processes)
// and copied once per test process into a folder of its own; every test copies that.
struct SharedDemo {
  TempDir dir;
  CliResult created;
  std::vector<std::string> args{"--home", "<HOME>/", "--today", kDemoToday,
                                "demo",   "--seed",  kDemoSeed};

  SharedDemo() {
    const Finished made = CopyOfSharedDemo(dir.Path(), kDemoToday, kDemoSeed);
    created.exit_code = made.code;
    created.out = WithoutDemoTime(made.out);
    created.err = made.err;
  }
};

const SharedDemo& Demo() {
  static const auto demo = std::make_unique<SharedDemo>();
  return *demo;
}

std::string Quoted(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\r\n\"'\\$;|&*?()") == std::string::npos) return arg;
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

CliResult RunCliProcess(const std::vector<std::string>& args, const CliInput& input) {
  TempDir capture;
  const fs::path out_path = capture.Path() / "stdout";
  const fs::path err_path = capture.Path() / "stderr";
  const fs::path in_path = capture.Path() / "stdin";
  if (!input.stdin_text.empty()) {
    std::ofstream in(in_path, std::ios::binary);
    in << input.stdin_text;
  }
  std::vector<std::string> argv_text{MORVELA_CLI_PATH};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  // A fixed environment: the developer's MORVELA_HOME or MORVELA_TODAY must not reach the run.
  std::string home_env = "HOME=" + capture.Path().string();
  std::string path_env = "PATH=/usr/bin:/bin";
  std::string lang_env = "LANG=C.UTF-8";
  std::string tz_env = "TZ=UTC";
  std::vector<std::string> environment = {home_env, path_env, lang_env, tz_env};
  environment.insert(environment.end(), input.environment.begin(), input.environment.end());
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) {
    ADD_FAILURE() << "fork failed";
    return {};
  }
  if (pid == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int in = open(input.stdin_text.empty() ? "/dev/null" : in_path.c_str(), O_RDONLY);
    if (out < 0 || err < 0 || in < 0) _exit(126);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      ADD_FAILURE() << "waitpid failed";
      return {};
    }
  }
  CliResult r;
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = ReadBytes(out_path);
  r.err = ReadBytes(err_path);
  EXPECT_NE(r.exit_code, 127) << "could not start " << MORVELA_CLI_PATH;
  return r;
}

DemoHome::DemoHome(bool with_database) {
  if (!with_database) return;
  const SharedDemo& demo = Demo();
  if (demo.created.exit_code != 0) {
    ADD_FAILURE() << "creating the demo database failed:\n" << Transcript(demo.args, demo.created);
    return;
  }
  fs::copy(demo.dir.Path(), dir_.Path(), fs::copy_options::recursive);
}

CliResult DemoHome::Run(const std::vector<std::string>& args, const std::string& today) const {
  return Run(args, CliInput{}, today);
}

CliResult DemoHome::Run(const std::vector<std::string>& args, const CliInput& input,
                        const std::string& today) const {
  std::vector<std::string> full{"--home", Folder(), "--today", today};
  full.insert(full.end(), args.begin(), args.end());
  CliResult r = RunCliProcess(full, input);
  r.out = Anonymised(r.out);
  r.err = Anonymised(r.err);
  return r;
}

std::string DemoHome::Anonymised(std::string text) const {
  return Replaced(std::move(text), Folder(), "<HOME>/");
}

std::string DemoHome::Transcript(const std::vector<std::string>& args, const CliResult& r,
                                 const std::string& today) {
  std::vector<std::string> full{"--home", "<HOME>/", "--today", today};
  full.insert(full.end(), args.begin(), args.end());
  return test::Transcript(full, r);
}

std::string DemoCreationTranscript() {
  return Transcript(Demo().args, Demo().created);
}

std::string Transcript(const std::vector<std::string>& args, const CliResult& r) {
  std::string t = "$ morvela-cli";
  for (const std::string& a : args) t += " " + Quoted(a);
  t +=
      "\n[exit " + std::to_string(r.exit_code) + "]\n--- stdout\n" + r.out + "--- stderr\n" + r.err;
  return t;
}

void ExpectGolden(const std::string& name, const std::string& actual) {
  const fs::path path = fs::path(MORVELA_CLI_GOLDEN_DIR) / name;
  const char* regenerate = std::getenv("MORVELA_REGENERATE_GOLDEN");
  if (regenerate && std::string(regenerate) == "1") {
    std::ofstream out(path, std::ios::binary);
    out << actual;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
    std::cout << "[ golden   ] rewrote " << path.filename().string() << "\n";
    return;
  }
  ASSERT_TRUE(fs::exists(path)) << "no golden file " << path
                                << "; create it with MORVELA_REGENERATE_GOLDEN=1 (see "
                                   "tests/cli/README.md)";
  const std::string expected = ReadBytes(path);
  if (expected == actual) return;
  // The whole texts are long: name the first line that differs and keep the actual output
  // beside the test's temp files for a diff.
  size_t line = 1, at = 0;
  for (; at < expected.size() && at < actual.size() && expected[at] == actual[at]; ++at)
    if (expected[at] == '\n') ++line;
  auto line_at = [at](const std::string& text) {
    const size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
    const size_t from = begin == std::string::npos || at == 0 ? 0 : begin + 1;
    return text.substr(from, text.find('\n', from) - from);
  };
  const char* tmp = std::getenv("MORVELA_TEST_TMP");
  const fs::path kept =
      (tmp && *tmp ? fs::path(tmp) : fs::temp_directory_path() / "morvela-tests") /
      "golden-actual" / name;
  fs::create_directories(kept.parent_path());
  std::ofstream(kept, std::ios::binary) << actual;
  ADD_FAILURE() << "output differs from the golden file " << path << " at line " << line
                << ":\n  golden: " << line_at(expected) << "\n  actual: " << line_at(actual)
                << "\nThe whole actual output is in " << kept
                << "\n(if the change is intended, regenerate with MORVELA_REGENERATE_GOLDEN=1, "
                   "see tests/cli/README.md)";
}

namespace {

// A recursive-descent check of JSON's grammar; values are not kept.
class JsonChecker {
 public:
  explicit JsonChecker(std::string_view t) : t_(t) {}
  bool Document() {
    Blanks();
    if (!Value()) return false;
    Blanks();
    return Fail(p_ == t_.size(), "text after the value");
  }
  std::string Why() const { return why_ + " at offset " + std::to_string(p_); }

 private:
  bool Fail(bool ok, const char* why) {
    if (!ok && why_.empty()) why_ = why;
    return ok;
  }
  bool At(char c) const { return p_ < t_.size() && t_[p_] == c; }
  void Blanks() {
    while (p_ < t_.size() && (t_[p_] == ' ' || t_[p_] == '\t' || t_[p_] == '\n' || t_[p_] == '\r'))
      ++p_;
  }
  bool Word(std::string_view w) {
    if (t_.substr(p_, w.size()) != w) return Fail(false, "unknown word");
    p_ += w.size();
    return true;
  }
  bool Digits() {
    const size_t start = p_;
    while (p_ < t_.size() && t_[p_] >= '0' && t_[p_] <= '9') ++p_;
    return Fail(p_ > start, "digit expected");
  }
  bool Number() {
    if (At('-')) ++p_;
    if (At('0')) {
      ++p_;
    } else if (!Digits()) {
      return false;
    }
    if (At('.')) {
      ++p_;
      if (!Digits()) return false;
    }
    if (At('e') || At('E')) {
      ++p_;
      if (At('+') || At('-')) ++p_;
      if (!Digits()) return false;
    }
    return true;
  }
  // Decodes the character whose lead byte `lead` was just read: by its bit pattern, then by the
  // smallest code point each length may carry, without surrogates or beyond U+10FFFF.
  bool Utf8Character(unsigned char lead) {
    int more = 0;
    uint32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
      more = 1, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      more = 2, cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      more = 3, cp = lead & 0x07;
    } else {
      return false;
    }
    for (int i = 0; i < more; ++i, ++p_) {
      if (p_ >= t_.size() || (static_cast<unsigned char>(t_[p_]) & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (static_cast<unsigned char>(t_[p_]) & 0x3F);
    }
    const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    return cp >= smallest[more] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
  }
  bool String() {
    ++p_;  // the opening quote
    while (p_ < t_.size() && t_[p_] != '"') {
      const unsigned char c = static_cast<unsigned char>(t_[p_++]);
      if (c < 0x20) return Fail(false, "raw control character in a string");
      if (c >= 0x80) {
        if (!Utf8Character(c)) return Fail(false, "not UTF-8");
        continue;
      }
      if (c != '\\') continue;
      if (p_ >= t_.size()) break;
      const char e = t_[p_++];
      if (e == 'u') {
        for (int i = 0; i < 4; ++i, ++p_)
          if (p_ >= t_.size() || !std::isxdigit(static_cast<unsigned char>(t_[p_])))
            return Fail(false, "bad \\u escape");
      } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
        return Fail(false, "unknown escape");
      }
    }
    if (!Fail(At('"'), "unterminated string")) return false;
    ++p_;
    return true;
  }
  bool Sequence(char close, bool members) {
    ++p_;
    Blanks();
    if (At(close)) {
      ++p_;
      return true;
    }
    for (;;) {
      Blanks();
      if (members) {
        if (!Fail(At('"'), "member name expected") || !String()) return false;
        Blanks();
        if (!Fail(At(':'), "':' expected")) return false;
        ++p_;
        Blanks();
      }
      if (!Value()) return false;
      Blanks();
      if (At(close)) {
        ++p_;
        return true;
      }
      if (!Fail(At(','), "',' expected")) return false;
      ++p_;
    }
  }
  bool Value() {
    if (p_ >= t_.size()) return Fail(false, "value expected");
    switch (t_[p_]) {
      case '{':
        return Sequence('}', true);
      case '[':
        return Sequence(']', false);
      case '"':
        return String();
      case 't':
        return Word("true");
      case 'f':
        return Word("false");
      case 'n':
        return Word("null");
      default:
        return Number();
    }
  }

  std::string_view t_;
  size_t p_ = 0;
  std::string why_;
};

}  // namespace

bool IsValidJson(std::string_view text, std::string* why) {
  JsonChecker checker(text);
  if (checker.Document()) return true;
  if (why) *why = checker.Why();
  return false;
}

}  // namespace morvela::test
