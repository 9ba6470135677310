// The source folders form layers, lowest first; a file may include headers of its own layer and
// of the layers below it, never of a layer above. This test reads every source file's includes
// and names each upward one with both files, so a slip is caught where it is made.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

// Folder → layer in tenths, lowest first (docs/ARCHITECTURE.md draws the same picture). The
// forecasts beside the engine (goal model, market, blend) sit between it and the domain. The
// tenths order the domain folders of layer 4 among themselves: the builder lowest, then the
// tables, the results and the update, then the windows that use them (analysis, tips).
const std::map<std::string, int>& LayerOfFolder() {
  static const std::map<std::string, int> layers = {
      {"core", 0},         {"i18n", 10},     {"program", 20},  {"rating", 30},
      {"predict", 30},     {"forecast", 35}, {"builder", 40},  {"tables", 41},
      {"results", 41},     {"update", 41},   {"analysis", 42}, {"tips", 42},
      {"main_window", 50}, {"ui", 60},       {"cli", 60},      {"app", 60},
  };
  return layers;
}

// "4" for layer 40, "4.2" for 42.
std::string LayerName(int tenths) {
  return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "");
}

// Every violation in the tree under `root`: an include of a higher layer, or of a folder that
// has no layer. Folders without a layer (tests, bench, build output) are not checked.
std::vector<std::string> LayerViolations(const fs::path& root) {
  static const std::regex include_line(R"re(^\s*#\s*include\s*"([^"/]+)/([^"]+)")re");
  std::vector<std::string> found;
  for (const auto& [folder, layer] : LayerOfFolder()) {
    if (!fs::is_directory(root / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      std::ifstream in(entry.path());
      std::string line;
      for (int n = 1; std::getline(in, line); ++n) {
        std::smatch m;
        if (!std::regex_search(line, m, include_line)) continue;
        const std::string file = fs::relative(entry.path(), root).string();
        const std::string header = m[1].str() + "/" + m[2].str();
        auto target = LayerOfFolder().find(m[1].str());
        if (target == LayerOfFolder().end()) {
          found.push_back(file + ":" + std::to_string(n) + " includes " + header +
                          ", which lies in no layer");
        } else if (target->second > layer) {
          found.push_back(file + ":" + std::to_string(n) + " (layer " + LayerName(layer) +
                          ") includes " + header + " of the higher layer " +
                          LayerName(target->second));
        }
      }
    }
  }
  return found;
}

TEST(LayersTest, NoFileIncludesAHigherLayer) {
  const fs::path root = MORVELA_SOURCE_DIR;
  ASSERT_TRUE(fs::is_directory(root / "core")) << root;
  for (const std::string& v : LayerViolations(root)) ADD_FAILURE() << v;
}

TEST(LayersTest, TheCheckNamesBothFilesOfAnUpwardInclude) {
  test::TempDir dir;
  fs::create_directories(dir.Path() / "core");
  fs::create_directories(dir.Path() / "tips");
  std::ofstream(dir.Path() / "core" / "helpers.cpp")
      << "#include \"core/helpers.h\"\n  #include \"tips/tips_list.h\"\n#include \"gtest/x.h\"\n";
  std::ofstream(dir.Path() / "tips" / "tips_list.cpp")
      << "#include \"core/helpers.h\"\n#include \"predict/tip_selection.h\"\n";
  // Within the domain layer: the results browser may not use the analysis windows.
  fs::create_directories(dir.Path() / "results");
  std::ofstream(dir.Path() / "results" / "results_browser.h")
      << "#include \"analysis/match_history.h\"\n#include \"builder/schema.h\"\n";
  const std::vector<std::string> v = LayerViolations(dir.Path());
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0], "core/helpers.cpp:2 (layer 0) includes tips/tips_list.h of the higher layer 4.2");
  EXPECT_EQ(v[1], "core/helpers.cpp:3 includes gtest/x.h, which lies in no layer");
  EXPECT_EQ(v[2],
            "results/results_browser.h:1 (layer 4.1) includes analysis/match_history.h of the "
            "higher layer 4.2");
}

}  // namespace
}  // namespace morvela
