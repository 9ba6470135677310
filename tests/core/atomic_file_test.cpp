#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

size_t FilesIn(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(AtomicFileTest, ABuildThatFailsLeavesTheOldFileAndNoLeftovers) {
  test::TempDir dir;
  const fs::path target = dir.Path() / "Morvela.mdb";
  std::ofstream(target) << "old";
  EXPECT_THROW(ReplaceFileAtomically(target,
                                     [](const std::string& temp) {
                                       std::ofstream(temp) << "half";
                                       std::ofstream(temp + "-wal") << "log";
                                       throw std::runtime_error("disk full");
                                     }),
               std::runtime_error);
  EXPECT_EQ(test::ReadBytes(target), "old");
  EXPECT_EQ(FilesIn(dir.Path()), 1u);

  std::ofstream(fs::path(target) += "-wal") << "stale log of the old file";
  ReplaceFileAtomically(target, [](const std::string& temp) { std::ofstream(temp) << "new"; });
  EXPECT_EQ(test::ReadBytes(target), "new");
  EXPECT_EQ(FilesIn(dir.Path()), 1u) << "the old file's log went with it";
}

TEST(AtomicFileTest, TemporaryNamesDifferAndContentIsReplacedWhole) {
  test::TempDir dir;
  const fs::path target = dir.Path() / "Nastavenie.ini";
  EXPECT_NE(TemporaryNameBeside(target), TemporaryNameBeside(target));
  EXPECT_EQ(TemporaryNameBeside(target).parent_path(), dir.Path());
  ASSERT_TRUE(WriteFileAtomically(target, "[Liga]\nDni=21\n"));
  ASSERT_TRUE(WriteFileAtomically(target, "[Liga]\n"));
  EXPECT_EQ(test::ReadBytes(target), "[Liga]\n");
  EXPECT_FALSE(WriteFileAtomically(dir.Path() / "missing" / "x.ini", "x"));
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace morvela
