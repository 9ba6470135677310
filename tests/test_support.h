// Shared test utilities: temporary folders and fixture databases.
#pragma once

#include <filesystem>
#include <string>

#include "core/result_mode.h"

namespace morvela::test {

// A result mode from its tab index, for case tables that list modes as 0..3.
inline ResultMode ModeOf(int index) {
  return static_cast<ResultMode>(index);
}

// The bytes of a file, exactly; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);

// Where the tests keep their temporary folders: MORVELA_TEST_TMP, else the system's temp folder.
std::filesystem::path TestTempRoot();

// A fresh empty folder under the test temp area, removed when the object goes out of scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  // The folder with a trailing separator, as the program holds its folder.
  std::string Folder() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

}  // namespace morvela::test
