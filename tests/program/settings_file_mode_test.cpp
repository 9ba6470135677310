// The settings file holds the update server's credentials: every writer leaves it readable by its
// owner only, also when it replaces a file that others could read; other files keep their mode.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/atomic_file.h"
#include "program/settings.h"
#include "test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

unsigned ModeOf(const fs::path& path) {
  return static_cast<unsigned>(fs::status(path).permissions() & fs::perms::all);
}

// Sets the umask most systems have for the test's duration.
class Umask {
 public:
  explicit Umask(mode_t mask) : old_(::umask(mask)) {}
  ~Umask() { ::umask(old_); }

 private:
  mode_t old_;
};

TEST(SettingsFileModeTest, EveryWriterLeavesTheFileTheOwnersAlone) {
  Umask shared(022);
  test::TempDir dir;
  const fs::path ini = dir.Path() / "Nastavenie.ini";
  ASSERT_TRUE(EnsureSettingsFile(ini));
  EXPECT_EQ(ModeOf(ini), 0600u) << "a new file";
  const struct {
    const char* writer;
    std::function<bool()> write;
  } cases[] = {
      {"WriteLang", [&] { return WriteLang(ini, 2); }},
      {"WriteSettings", [&] { return WriteSettings(ini, Settings{}); }},
      {"WriteSettingValues",
       [&] {
         return WriteSettingValues(ini, {{"Liga", "Dni", "7"}});
       }},
      {"WriteUpdateServerSettings",
       [&] {
         return WriteUpdateServerSettings(ini, {"https://example.org/", "tipper", "s3cret"});
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.writer);
    // A file written by an older version, readable by everyone.
    fs::permissions(ini, static_cast<fs::perms>(0644));
    ASSERT_TRUE(c.write());
    EXPECT_EQ(ModeOf(ini), 0600u);
  }
  // Files without secrets are written as before: what the umask leaves of 0666.
  const fs::path page = dir.Path() / "report.html";
  ASSERT_TRUE(WriteFileAtomically(page, "<html></html>"));
  EXPECT_EQ(ModeOf(page), 0644u);
}

}  // namespace
}  // namespace morvela
