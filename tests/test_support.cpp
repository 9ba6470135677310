#include "test_support.h"

#include <unistd.h>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace morvela::test {

std::filesystem::path TestTempRoot() {
  if (const char* env = std::getenv("MORVELA_TEST_TMP"); env && *env) return env;
#ifdef MORVELA_TEST_TMP_DEFAULT
  return MORVELA_TEST_TMP_DEFAULT;
#else
  return std::filesystem::temp_directory_path() / "morvela-tests";
#endif
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  path_ = TestTempRoot() / ("t" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
                            std::to_string(rd() % 100000));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace morvela::test
