#include "predict/outcome_search.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <string_view>

#include "core/helpers.h"
#include "core/rounding.h"

namespace morvela {

namespace {

constexpr std::array<int, 11> kLeagueStarts = {0, 1, 2, 3, 5, 8, 13, 21, 34, 55, 89};
constexpr std::array<int, 11> kAllLeaguesStarts = {0, 0, 1, 2, 3, 5, 8, 13, 21, 34, 55};

int StartWidth(const std::array<int, 11>& table, int32_t d) {
  const int64_t magnitude = d < 0 ? -static_cast<int64_t>(d) : d;
  const int64_t q = magnitude / 100;
  return table[q < static_cast<int64_t>(table.size()) ? q : table.size() - 1];
}

// The columns a search works on (its outcome and difference). A live search always counts
// full-time outcomes, whatever the result mode.
const ModeColumns& FamilyFor(const SearchContext& ctx, SearchMode mode) {
  if (mode != SearchMode::kList && mode != SearchMode::kMatch && mode != SearchMode::kLive)
    throw std::invalid_argument("unknown search mode " + std::to_string(static_cast<int>(mode)));
  if (!ResultModeFromIndex(static_cast<int>(ctx.result_mode)))
    throw std::invalid_argument("unknown result mode " +
                                std::to_string(static_cast<int>(ctx.result_mode)));
  if (mode == SearchMode::kLive) return ColumnsOf(ResultMode::kFullTime);
  if (!HasOutcomes(ctx.result_mode))
    throw std::invalid_argument("the outcome search has no under/over result mode");
  return ColumnsOf(ctx.result_mode);
}

bool CountsScores(const SearchContext& ctx, SearchMode mode) {
  return mode == SearchMode::kMatch && ctx.result_mode == ResultMode::kFullTime;
}

// "<diff>>=lo AND <diff><=hi AND <outcome><>""" — the part both passes share.
std::string RangeCondition(const ModeColumns& f, int64_t lo, int64_t hi) {
  std::string s(f.difference);
  s += ">=" + std::to_string(lo) + " AND ";
  s += f.difference;
  s += "<=" + std::to_string(hi) + " AND ";
  s += f.outcome;
  s += "<>\"\"";
  return s;
}

std::string LiveCondition(const SearchContext& ctx) {
  return " AND HT_VYSLEDOK<>\"\" AND HT_HOME_GOAL=" + std::to_string(ctx.ht_home) +
         " AND HT_AWAY_GOAL=" + std::to_string(ctx.ht_away);
}

std::string BeforeCondition(const SearchContext& ctx) {
  return ctx.before ? " AND DATUM<" + FormatSqlDate(*ctx.before) : std::string();
}

// A 17 x 17 table of full-time scores (home goals by row, away goals by column).
class ScoreMatrix {
 public:
  void Add(const Field& home, const Field& away) {
    // Scores beyond the table (or missing) stay out of it; they still count as outcomes.
    if (home.IsNull() || away.IsNull()) return;
    const int64_t h = home.AsInteger(), a = away.AsInteger();
    if (h < 0 || h >= kSize || a < 0 || a >= kSize) return;
    ++cells_[h][a];
  }

  // The first cell, row by row, with the highest count; "0:0" for an empty table.
  std::string LikelyScore() const {
    int best = 0, best_home = 0, best_away = 0;
    for (int h = 0; h < kSize; ++h) {
      for (int a = 0; a < kSize; ++a) {
        if (cells_[h][a] > best) {
          best = cells_[h][a];
          best_home = h;
          best_away = a;
        }
      }
    }
    return std::to_string(best_home) + ":" + std::to_string(best_away);
  }

 private:
  static constexpr int kSize = 17;
  std::array<std::array<int, kSize>, kSize> cells_{};
};

int ColumnIndex(const ResultData& data, std::string_view name) {
  for (size_t c = 0; c < data.names.size(); ++c)
    if (data.names[c] == name) return static_cast<int>(c);
  throw DatabaseError("The search result has no column " + std::string(name));
}

// Counts the rows of a pass's last window, and their scores when a matrix is given.
OutcomeTally CountRows(const ResultData& data, std::string_view outcome_column,
                       ScoreMatrix* matrix) {
  OutcomeTally tally;
  if (data.rows.empty()) return tally;
  const int oc = ColumnIndex(data, outcome_column);
  const int hc = matrix ? ColumnIndex(data, "HOME_GOAL") : -1;
  const int ac = matrix ? ColumnIndex(data, "AWAY_GOAL") : -1;
  for (const auto& row : data.rows) {
    tally.Add(OutcomeValue(Field(row[oc], data.kinds[oc])));
    if (matrix) matrix->Add(Field(row[hc], data.kinds[hc]), Field(row[ac], data.kinds[ac]));
  }
  return tally;
}

using StatementBuilder = std::string (*)(const SearchContext&, SearchMode, int64_t, int64_t);

// One pass: widen from start up to limit with the pass's statement, then count the rows of
// the last window.
OutcomePercentages RunPass(Connection& conn, const SearchContext& ctx, SearchMode mode, int32_t d,
                           StatementBuilder build, int start, int limit, ScoreMatrix* matrix,
                           SearchTrace* trace, std::vector<int> SearchTrace::*widths) {
  ResultData last;
  WidenWindow(start, limit, MinimumMatches(mode), [&](int w) {
    last = conn.Select(build(ctx, mode, int64_t{d} - w, int64_t{d} + w));
    if (trace) {
      (trace->*widths).push_back(w);
      ++trace->statements;
    }
    return static_cast<int64_t>(last.rows.size());
  });
  const OutcomeTally tally = CountRows(last, FamilyFor(ctx, mode).outcome, matrix);
  return PassPercentages(tally, mode, d);
}

}  // namespace

int LeagueStartWidth(int32_t d) {
  return StartWidth(kLeagueStarts, d);
}

int AllLeaguesStartWidth(int32_t d) {
  return StartWidth(kAllLeaguesStarts, d);
}

int MinimumMatches(SearchMode mode) {
  return mode == SearchMode::kLive ? 5 : 12;
}

std::string LeaguePassStatement(const SearchContext& ctx, SearchMode mode, int64_t lo, int64_t hi) {
  const ModeColumns& f = FamilyFor(ctx, mode);
  std::string s = "SELECT ";
  s += f.outcome;
  s += ",ID,";
  s += f.difference;
  if (CountsScores(ctx, mode)) s += ",HOME_GOAL,AWAY_GOAL";
  s += " FROM VYSLEDKY WHERE " + RangeCondition(f, lo, hi);
  if (mode == SearchMode::kLive) s += LiveCondition(ctx);
  s += " AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=" + ctx.league + ")";
  return s + BeforeCondition(ctx);
}

std::string AllLeaguesPassStatement(const SearchContext& ctx, SearchMode mode, int64_t lo,
                                    int64_t hi) {
  const ModeColumns& f = FamilyFor(ctx, mode);
  const bool live = mode == SearchMode::kLive;
  std::string s = "SELECT ";
  s += f.outcome;
  // Full-time statements of list and match search read the goals too (only match search
  // counts them); the statement is the same for both.
  if (!live && ctx.result_mode == ResultMode::kFullTime) s += ",HOME_GOAL,AWAY_GOAL";
  s += " FROM VYSLEDKY WHERE " + RangeCondition(f, lo, hi);
  s += live ? LiveCondition(ctx) + " " : std::string("  ");
  s += "AND KONTUMACIA=0 ";
  return s + BeforeCondition(ctx);
}

std::optional<int64_t> OutcomeValue(const Field& field) {
  const std::string text = field.AsString();
  std::string_view v(text);
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
  if (v.empty() || ec != std::errc() || end != v.data() + v.size()) return std::nullopt;
  return value;
}

void OutcomeTally::Add(std::optional<int64_t> outcome) {
  ++matches;
  if (!outcome) return;
  if (*outcome == 1) ++home;
  if (*outcome == 0) ++draw;
  if (*outcome == 2) ++away;
}

OutcomePercentages PassPercentages(const OutcomeTally& tally, SearchMode mode, int32_t d) {
  if (tally.matches == 0) {
    if (mode == SearchMode::kLive || d == 0) return {0, 0, 0};
    return d > 0 ? OutcomePercentages{100, 0, 0} : OutcomePercentages{0, 0, 100};
  }
  auto percent = [&](int64_t counter) {
    return static_cast<uint16_t>(RoundRatioHalfEven(counter * 100, tally.matches));
  };
  return {percent(tally.home), percent(tally.draw), percent(tally.away)};
}

OutcomePercentages CombinePasses(const OutcomePercentages& league, const OutcomePercentages& all,
                                 SearchMode mode) {
  if (mode == SearchMode::kLive) {
    if (league.AllZero()) return all;
    if (all.AllZero()) return league;
  }
  auto mean = [](uint16_t a, uint16_t b) {
    return static_cast<uint16_t>(RoundRatioHalfEven(int64_t{a} + b, 2));
  };
  return {mean(league.home, all.home), mean(league.draw, all.draw), mean(league.away, all.away)};
}

void FindOutcomeFrequencies(Connection& conn, PredictionState& state, const SearchContext& ctx,
                            SearchMode mode, int32_t d, SearchTrace* trace) {
  FamilyFor(ctx, mode);  // reject an undefined search before any statement runs
  ScoreMatrix matrix;
  ScoreMatrix* scores = CountsScores(ctx, mode) ? &matrix : nullptr;

  const OutcomePercentages league =
      RunPass(conn, ctx, mode, d, &LeaguePassStatement, LeagueStartWidth(d), kLeagueWidthLimit,
              scores, trace, &SearchTrace::league_widths);
  state.LeagueHomePercent = league.home;
  state.LeagueDrawPercent = league.draw;
  state.LeagueAwayPercent = league.away;

  const OutcomePercentages all =
      RunPass(conn, ctx, mode, d, &AllLeaguesPassStatement, AllLeaguesStartWidth(d),
              kAllLeaguesWidthLimit, scores, trace, &SearchTrace::all_widths);

  if (trace) {
    trace->all_home = all.home;
    trace->all_draw = all.draw;
    trace->all_away = all.away;
  }
  const OutcomePercentages final = CombinePasses(league, all, mode);
  state.HomePercent = final.home;
  state.DrawPercent = final.draw;
  state.AwayPercent = final.away;
  if (scores) state.LikelyScore = scores->LikelyScore();
}

}  // namespace morvela
