// Backtests: how good the tips would have been on past seasons.
//
// For every played match in a date range the backtest computes the tip exactly as a tip run on
// the match's day would have computed it for the fixture: the list search with the match's
// stored rating difference and tip selection (or, for under/over, the goal pass's under
// percentage and the under/over rule), and the odds lookup of the tip. The search only sees
// matches dated before that day, and the under percentage only the season's matches played
// before it, so nothing from the day itself or later leaks into a tip. Stored differences are
// leak-free already: the replay computes a match's difference from the ratings before it.
//
// The tips are then scored against the real results: hit rates per tip kind, calibration of
// the tip percentage, the quality of the percentages as probabilities next to the bookmaker's
// and a naive baseline's, and the money won or lost with flat stakes on the tips and on value
// bets.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/database.h"
#include "core/date.h"
#include "core/result_mode.h"
#include "forecast/blend.h"
#include "forecast/market_odds.h"
#include "predict/tip_selection.h"
#include "tips/value_tips.h"

namespace morvela {

struct BacktestOptions {
  Date from{}, to{};         // the range of match days, both included
  std::vector<int> leagues;  // ID_LIGA of the leagues to test; empty for all
  ResultMode result_mode = ResultMode::kFullTime;
  int language = 1;  // language of the team names (1 English .. 4 Italian)
  // The margin removal of the market forecaster (the bookmaker's figures beside the tips stay
  // proportional, as they always were).
  MarginMethod margin = kDefaultMarginMethod;
  // The blend's weights for a season are fitted on the matches before the season's first day;
  // so that the range's first season has earlier matches to learn from, the run also forecasts
  // this many days before `from` (not scored).
  int blend_training_days = 365;
};

// A bet of the value-tip run on the match: one per bet type with odds.
struct BacktestBet {
  std::string tip;  // as the value-tip run stores it ("  1", " 02", " < ", ...)
  int percent = 0;  // the program's percentage for the bet
  double odds = 0;
  int profit = 0;  // percent minus the odds' implied percentage (PROFIT)
  bool won = false;
};

// One backtested match.
struct BacktestMatch {
  int64_t id = 0;
  Date date{};
  int league = 0;
  int64_t competition = 0;
  std::string home, away;  // team names
  int32_t difference = 0;  // the stored difference of the result mode; 0 in under/over
  // The percentages a tip run stores: home, draw, away; in under/over mode under and over.
  std::vector<int> percents;
  std::string tip;  // untrimmed, as Tip holds it
  int tip_percent = 0;
  std::optional<double> odds;  // the tip's odds, as the tip run looks them up
  size_t outcome = 0;          // index into percents of what happened
  bool won = false;
  // The bookmaker's probabilities of the outcomes (1 / odds, margin removed proportionally),
  // when every outcome has odds.
  std::optional<std::vector<double>> market;
  // The league's long-run frequencies of the outcomes, from its matches before the day.
  std::vector<double> naive;
  std::vector<BacktestBet> bets;
  // The second opinion, in the order of percents: the market with the margin removed by each
  // method (indexed by MarginMethod; nullopt without every outcome's odds), the goal model
  // fitted on the league's matches before the day (nullopt before the league's first match),
  // and the blend of market (options.margin), model and tips.
  std::array<std::optional<std::vector<double>>, 3> markets;
  std::optional<std::vector<double>> model;
  std::optional<std::vector<double>> blend;
  Date season_start{};  // the first match day of the match's competition
};

// The blend's weights fitted for the seasons starting on `season_start`, and on how many
// earlier matches.
struct SeasonBlend {
  Date season_start{};
  BlendWeights weights{};
  int training_matches = 0;
};

struct BacktestRun {
  std::vector<BacktestMatch> matches;  // in date order, then by match id
  // Played matches that cannot be tested and are left out: in under/over mode those the goal
  // pass gives no under percentage (a team not listed for its season, or a season beyond the
  // goal pass's limits), and any whose outcome text is not one of "1", "0", "2".
  int skipped = 0;
  MarginMethod margin = kDefaultMarginMethod;  // the market forecaster's method
  std::vector<SeasonBlend> blends;             // by season start
};

// The played matches of the range (forfeits left out; in the half modes only matches with that
// half's result), each with its tip as a tip run on its day would give it. Reads only; database
// errors pass through. Throws std::invalid_argument for a result mode outside 0..3.
BacktestRun RunBacktest(Connection& conn, const BacktestOptions& options);

// ---- Scoring ----

// The percentages as probabilities that sum to 1; equal shares when they sum to 0.
std::vector<double> ProbabilitiesFromPercents(std::span<const int> percents);

// The bookmaker's probabilities: 1 / odds of each outcome, divided by their sum so that the
// margin is removed in proportion. nullopt unless every outcome has odds.
std::optional<std::vector<double>> ProbabilitiesFromOdds(
    std::span<const std::optional<double>> odds);

// Scores of a forecast p (probabilities of the ordered outcomes) when `outcome` happened.
// Brier: the sum over outcomes of (p - happened)^2, 0 for a certain correct forecast, 2 for a
// certain wrong one. Ranked probability score: the mean over the first r - 1 cumulative
// probabilities of (cumulative p - cumulative happened)^2, so that a forecast that misses by
// one outcome (home instead of draw) costs less than one that misses by two. Log loss: minus
// the natural logarithm of the probability given to what happened, that probability clamped
// at 1e-6 so that a certain wrong forecast costs a finite 13.8.
double BrierScore(std::span<const double> p, size_t outcome);
double RankedProbabilityScore(std::span<const double> p, size_t outcome);
double LogLoss(std::span<const double> p, size_t outcome);

inline constexpr double kLogLossFloor = 1e-6;

// Mean scores of a set of forecasts.
struct ForecastScores {
  int matches = 0;
  double brier = 0, rps = 0, log_loss = 0;  // sums; divide by matches for the means
  void Add(std::span<const double> p, size_t outcome);
  double MeanBrier() const;  // NaN without matches
  double MeanRps() const;
  double MeanLogLoss() const;
};

// The forecasters the backtest scores side by side.
enum class Forecaster { kTips, kNaive, kMarket, kModel, kBlend };
inline constexpr size_t kForecasters = 5;
// "tips", "naive", "market", "model", "blend": the keys of --json.
const char* ForecasterKey(Forecaster f);
// The forecaster's probabilities of the match (market: by the run's margin method); nullopt
// where it has none.
std::optional<std::vector<double>> ForecastOf(const BacktestMatch& m, Forecaster f,
                                              MarginMethod margin);

// Probabilities stated for single outcomes, in buckets of five points (0-4, ..., 95-100), and
// how often the outcome happened: every outcome of every match is one forecast.
struct ProbabilityBucket {
  int forecasts = 0;
  int happened = 0;
  double probability_sum = 0;
  double MeanProbability() const;  // NaN when empty
  double Frequency() const;        // happened / forecasts; NaN when empty
};
inline constexpr int kProbabilityBuckets = 20;
int ProbabilityBucketOf(double p);

// Tips of one kind (or in one calibration bucket) and how many of them won.
struct HitRecord {
  int tips = 0;
  int won = 0;
  int64_t percent_sum = 0;  // sum of the tip percentages
  void Add(int percent, bool win);
  double HitRate() const;      // won / tips; NaN without tips
  double MeanPercent() const;  // NaN without tips
};

// Flat one-unit stakes in the order the bets were placed: the bank starts at 0, a won bet adds
// odds - 1, a lost one takes 1.
class BettingRecord {
 public:
  void Add(double odds, bool won);
  int Bets() const { return bets_; }
  double Stakes() const { return bets_; }
  double Returns() const { return returns_; }  // the payouts of the won bets, stakes included
  double Profit() const { return returns_ - bets_; }
  double Roi() const;  // profit / stakes in percent; NaN without bets
  int LongestLosingRun() const { return longest_losing_run_; }
  // The largest fall of the running bank below its highest point so far (the start counts as
  // a high point of 0).
  double MaxDrawdown() const { return max_drawdown_; }

 private:
  int bets_ = 0;
  double returns_ = 0;
  double bank_ = 0, peak_ = 0, max_drawdown_ = 0;
  int losing_run_ = 0, longest_losing_run_ = 0;
};

// Tip percentages in buckets of 10: 0-9, ..., 80-89, 90 and more.
inline constexpr int kCalibrationBuckets = 10;
int CalibrationBucket(int tip_percent);

// The figures of one league, or of all leagues together.
struct BacktestGroup {
  int league = 0;  // ID_LIGA; 0 for all leagues
  int matches = 0;
  // Per tip kind: Single, DoubleChance, ThreeWay, Under, Over (indexed by KindIndex).
  std::array<HitRecord, 5> kinds{};
  // Single and double-chance tips (under and over in under/over mode) by tip percentage. A
  // three-way tip's 100 % only says that one of the three outcomes happens, so it stays out.
  std::array<HitRecord, kCalibrationBuckets> calibration{};
  ForecastScores tips_all, naive_all;                 // all matches
  ForecastScores tips_odds, market_odds, naive_odds;  // the matches with the bookmaker's odds
  BettingRecord tip_bets;    // every single and double-chance (under/over) tip with odds
  BettingRecord value_bets;  // every bet the value filter accepts
  // All forecasters on the matches with the market's odds (each where it has a forecast),
  // indexed by Forecaster; the market by each margin method (indexed by MarginMethod).
  std::array<ForecastScores, kForecasters> forecasters{};
  std::array<ForecastScores, 3> margins{};
  std::array<std::array<ProbabilityBucket, kProbabilityBuckets>, kForecasters> reliability{};
  // One unit on every single outcome (1, 0, 2; under, over) whose odds pass the value filter's
  // range and that the forecaster rates at least the filter's PROFIT points above the odds'
  // implied percentage. The market, as the odds without their margin, never finds any.
  std::array<BettingRecord, kForecasters> value_against{};
};

size_t KindIndex(TipKind kind);

// All leagues first, then one group per league in ascending ID_LIGA. Bets go into the banks in
// the order of the matches. `value`: which value bets are staked (PROFIT and odds).
std::vector<BacktestGroup> ScoreBacktest(const std::vector<BacktestMatch>& matches,
                                         const ValueFilter& value,
                                         MarginMethod margin = kDefaultMarginMethod);

}  // namespace morvela
