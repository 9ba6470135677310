#include "builder/team_aliases.h"
#include "core/text.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "builder/csv_text.h"
#include "builder/league_rules.h"
#include "builder/text_decoding.h"

namespace morvela {

using csv::FileLine;
using csv::SplitCsvLine;
using csv::SplitLines;

TeamAliases TeamAliases::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  std::stringstream buffer;
  buffer << in.rdbuf();
  const DecodedText decoded = DecodeToUtf8(buffer.str());
  if (!decoded.refused.empty()) throw std::runtime_error(path + ": " + decoded.refused);
  if (!decoded.invalid_lines.empty()) {
    throw std::runtime_error(FileLine(path, decoded.invalid_lines.front()) + "not valid " +
                             decoded.encoding + " text");
  }
  const std::vector<std::string_view> lines = SplitLines(decoded.text);
  if (lines.empty()) throw std::runtime_error(FileLine(path, 1) + "no header line");
  const std::vector<std::string> header = SplitCsvLine(lines[0]);
  auto find = [&](std::initializer_list<std::string_view> names) {
    for (std::string_view n : names)
      for (size_t i = 0; i < header.size(); ++i)
        if (AsciiLower(TrimSpacesAndTabs(header[i])) == AsciiLower(n)) return static_cast<int>(i);
    return -1;
  };
  const int cc = find({"cc", "league"}), div = find({"Div"});
  const int variant = find({"name_footystats_style", "variant"});
  const int name = find({"name_football_data", "name"});
  if ((cc < 0 && div < 0) || variant < 0 || name < 0) {
    throw std::runtime_error(FileLine(path, 1) +
                             "an alias file needs the columns cc (or Div), "
                             "name_footystats_style and name_football_data");
  }
  TeamAliases aliases;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = SplitCsvLine(lines[i]);
    auto cell = [&](int c) {
      return c >= 0 && static_cast<size_t>(c) < f.size()
                 ? TrimSpacesAndTabs(f[static_cast<size_t>(c)])
                 : std::string_view{};
    };
    if (std::all_of(f.begin(), f.end(),
                    [](const std::string& s) { return TrimSpacesAndTabs(s).empty(); }))
      continue;
    std::optional<int> league =
        !cell(cc).empty() ? LeagueIdFromCode(cell(cc)) : LeagueIdFromCode(cell(div));
    if (!league) {
      throw std::runtime_error(FileLine(path, static_cast<int>(i) + 1) + "unknown league " +
                               csv::Quote(!cell(cc).empty() ? cell(cc) : cell(div)));
    }
    if (cell(variant).empty() || cell(name).empty()) {
      throw std::runtime_error(FileLine(path, static_cast<int>(i) + 1) + "a name is missing");
    }
    aliases.Add(*league, cell(variant), cell(name));
  }
  return aliases;
}

void TeamAliases::Add(int league, std::string_view variant, std::string_view name) {
  names_[{league, AsciiLower(TrimSpacesAndTabs(variant))}] = std::string(TrimSpacesAndTabs(name));
}

const std::string& TeamAliases::Resolve(int league, const std::string& name) const {
  auto it = names_.find({league, AsciiLower(name)});
  return it == names_.end() ? name : it->second;
}

}  // namespace morvela
