// Club name variants: the alias file that maps the names one data source uses onto the names
// the clubs are stored under, so that a club's seasons chain together.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace morvela {

// Name variants of clubs, per league: a variant stands for the name the club is stored under.
class TeamAliases {
 public:
  // Reads an alias file: a CSV with a header naming the league (a `cc`, `Div` or `league`
  // column: code, division or country), the variant (`name_footystats_style` or `variant`) and
  // the name it stands for (`name_football_data` or `name`). Throws std::runtime_error naming
  // the file and line for a missing column or an unknown league.
  static TeamAliases Load(const std::string& path);

  void Add(int league, std::string_view variant, std::string_view name);
  // The name `name` stands for in `league`; `name` itself when it is no variant.
  const std::string& Resolve(int league, const std::string& name) const;
  size_t Size() const { return names_.size(); }

 private:
  std::map<std::pair<int, std::string>, std::string> names_;  // key: league, folded variant
};

}  // namespace morvela
