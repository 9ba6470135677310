#include "builder/csv_columns.h"
#include "core/text.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "builder/csv_text.h"
#include "core/helpers.h"

namespace morvela::csv {

namespace {

// Up to four digits: the parts of dates.
std::optional<int> ParseDigits(std::string_view s) {
  return morvela::ParseDigits(s, 1, 4);
}

// the older market average, Pinnacle, William Hill, VC Bet, Interwetten, Bet&Win; then the
// closing prices (AvgC*, B365C*, PSC*), which the "new" leagues' files give instead of pre-match
// ones. The maximum prices (Max*) are left out: a best price over many bookmakers is no price
// one bookmaker offers.
constexpr std::array<std::string_view, 13> kBookmakers = {
    "Odds", "Avg", "B365", "BbAv", "PS", "P", "WH", "VC", "IW", "BW", "AvgC", "B365C", "PSC"};

std::optional<double> ParseOdds(std::string_view text) {
  auto v = ParseDecimalText(text);
  if (!v || *v <= 1.0 || *v > 10000) return std::nullopt;
  return v;
}

}  // namespace

std::optional<ColumnMap> MapColumns(const std::vector<std::string>& header, std::string& missing) {
  std::unordered_map<std::string, int> index;
  for (size_t i = 0; i < header.size(); ++i) {
    std::string name = AsciiLower(TrimSpacesAndTabs(header[i]));
    index.emplace(name, static_cast<int>(i));
  }
  auto find = [&](std::initializer_list<std::string_view> names) {
    for (std::string_view n : names)
      if (auto it = index.find(AsciiLower(n)); it != index.end()) return it->second;
    return -1;
  };
  ColumnMap m;
  m.div = find({"Div"});
  m.country = find({"Country"});
  m.season = find({"Season"});
  m.date = find({"Date"});
  m.home = find({"HomeTeam", "Home"});
  m.away = find({"AwayTeam", "Away"});
  m.fthg = find({"FTHG", "HG"});
  m.ftag = find({"FTAG", "AG"});
  m.hthg = find({"HTHG"});
  m.htag = find({"HTAG"});
  // Without both goal columns the file is a list of fixtures; one of the two alone is a
  // mistake.
  const bool fixture_list = m.fthg < 0 && m.ftag < 0;
  const std::pair<int, const char*> required[] = {{m.date, "Date"},
                                                  {m.home, "HomeTeam"},
                                                  {m.away, "AwayTeam"},
                                                  {fixture_list ? 0 : m.fthg, "FTHG"},
                                                  {fixture_list ? 0 : m.ftag, "FTAG"}};
  for (const auto& [column, name] : required) {
    if (column >= 0) {
      m.required_width = std::max(m.required_width, static_cast<size_t>(column) + 1);
    } else {
      missing += (missing.empty() ? "" : ", ") + std::string(name);
    }
  }
  if (!missing.empty()) return std::nullopt;
  for (std::string_view b : kBookmakers) {
    const std::string p(b);
    OddsColumns x{find({p + "H"}), find({p + "D"}), find({p + "A"})};
    if (x.first >= 0 && x.second >= 0 && x.third >= 0) m.x12.push_back(x);
    OddsColumns ou = p == "Odds" ? OddsColumns{find({"OddsOver25"}), find({"OddsUnder25"})}
                                 : OddsColumns{find({p + ">2.5"}), find({p + "<2.5"})};
    if (ou.first >= 0 && ou.second >= 0) m.ou.push_back(ou);
  }
  return m;
}

std::optional<Date> ParseMatchDate(std::string_view text) {
  text = TrimSpacesAndTabs(text);
  if (auto sp = text.find(' '); sp != std::string_view::npos) text = text.substr(0, sp);
  char sep = text.find('/') != std::string_view::npos ? '/' : '.';
  if (text.size() == 10 && text[4] == '-') {
    auto y = ParseDigits(text.substr(0, 4)), m = ParseDigits(text.substr(5, 2)),
         d = ParseDigits(text.substr(8, 2));
    if (y && m && d) return MakeDate(*y, *m, *d);
    return std::nullopt;
  }
  const size_t a = text.find(sep);
  if (a == std::string_view::npos) return std::nullopt;
  const size_t b = text.find(sep, a + 1);
  if (b == std::string_view::npos) return std::nullopt;
  auto d = ParseDigits(text.substr(0, a)), m = ParseDigits(text.substr(a + 1, b - a - 1));
  const std::string_view year_text = text.substr(b + 1);
  auto y = ParseDigits(year_text);
  if (!d || !m || !y || a > 2 || b - a - 1 > 2) return std::nullopt;
  if (year_text.size() == 2) {
    *y += *y < 50 ? 2000 : 1900;  // two-digit years of older files
  } else if (year_text.size() != 4) {
    return std::nullopt;
  }
  return MakeDate(*y, *m, *d);
}

// Goals: empty, or a whole number 0..99.
bool ParseGoals(std::string_view text, std::optional<int>& goals) {
  text = TrimSpacesAndTabs(text);
  if (text.empty()) return true;
  auto v = ParseDigits(text);
  if (!v || *v > 99 || text.size() > 2) return false;
  goals = v;
  return true;
}

MatchOdds PickOdds(const ColumnMap& m, const std::vector<std::string>& f) {
  auto cell = [&](int i) -> std::optional<double> {
    return i >= 0 && static_cast<size_t>(i) < f.size() ? ParseOdds(f[static_cast<size_t>(i)])
                                                       : std::nullopt;
  };
  MatchOdds o;
  for (const OddsColumns& c : m.x12) {
    auto h = cell(c.first), d = cell(c.second), a = cell(c.third);
    if (h && d && a) {
      o.home = h;
      o.draw = d;
      o.away = a;
      break;
    }
  }
  for (const OddsColumns& c : m.ou) {
    auto over = cell(c.first), under = cell(c.second);
    if (over && under) {
      o.over = over;
      o.under = under;
      break;
    }
  }
  return o;
}

}  // namespace morvela::csv
