// The goal model: Dixon and Coles' model of a match's score, fitted to a league's past matches.
//
// Each club has an attack strength a and a defence weakness d; a match of home club h against
// away club v has Poisson goal rates lambda = a_h * d_v * g for the home side and
// mu = a_v * d_h for the away side, g the league's home advantage. The low scores 0-0, 1-0, 0-1
// and 1-1, which two independent Poisson counts get wrong, are corrected by Dixon and Coles'
// factor tau with one parameter rho. Older matches count less: a match played t days before
// the day of the forecast has the weight exp(-decay * t).
//
// The fit is the weighted maximum likelihood of the Poisson part (strengths and home advantage,
// by the closed-form coordinate updates of the Poisson likelihood), then rho maximising the
// whole weighted likelihood with the rates held. Clubs new to the league start from a prior:
// a few pseudo-matches at the strengths of the clubs they replace, which their own matches
// outweigh as the season goes on.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace morvela {

// A played match as the fit sees it; days are day numbers (days since 1970-01-01).
struct PlayedGoals {
  int64_t day = 0;
  int64_t home = 0, away = 0;  // club ids
  int home_goals = 0, away_goals = 0;
};

struct GoalModelOptions {
  double decay_per_day = 0.002;  // a match a year old weighs exp(-0.73), about half
  int history_days = 4 * 365;    // older matches are left out (their weight is below 0.06)
  double prior_matches = 3;      // pseudo-matches of a new club's prior
  int max_iterations = 300;
  bool fit_rho = true;  // false leaves rho at 0: the plain independent Poisson model
};

// Attack strength and defence weakness of a club (1 is a club of the league's average).
struct ClubStrength {
  double attack = 1, defence = 1;
};

// The weight of a match played `days_before` days before the forecast's day.
double DecayWeight(double days_before, double decay_per_day);

// Dixon and Coles' low-score factor of the score x:y at rates lambda and mu; 1 for every score
// other than 0-0, 1-0, 0-1 and 1-1.
double LowScoreCorrection(int x, int y, double lambda, double mu, double rho);

// The probabilities of the scores of a match, up to kMaxGoals goals a side (the rest, well
// below 1e-4 for football's rates, is spread by normalising the matrix to sum 1).
class ScoreMatrix {
 public:
  static constexpr int kMaxGoals = 10;
  // Home goals at rate lambda, away goals at rate mu, the low scores corrected by rho; the
  // goals already scored (`home_before`, `away_before`) are added to every score, so that the
  // matrix of a match's remaining goals gives the final score's chances.
  ScoreMatrix(double lambda, double mu, double rho, int home_before = 0, int away_before = 0);

  // Probability of home goals x and away goals y of the final score.
  double At(int x, int y) const;
  // Home win, draw, away win.
  std::array<double, 3> Outcomes() const;
  // Two goals or fewer, three or more.
  std::array<double, 2> UnderOver() const;
  // The most likely final scores, most likely first.
  struct Score {
    int home = 0, away = 0;
    double probability = 0;
  };
  std::vector<Score> LikelyScores(size_t count) const;

 private:
  int home_before_, away_before_;
  std::array<double, (kMaxGoals + 1) * (kMaxGoals + 1)> p_{};
};

// A fitted model of one league on one day.
class GoalModel {
 public:
  // Fits the model to `matches` played before `day` (later ones are ignored). The clubs of
  // `promotion.new_clubs` are pulled towards the mean strength of `promotion.replaced_clubs`
  // (the league's lowest quarter when none of those is known) with the weight of
  // options.prior_matches matches.
  struct Promotion {
    std::vector<int64_t> new_clubs, replaced_clubs;
  };
  // `start`, when given, is where the iterations begin (a fit of the league on a nearby day):
  // the result is the same optimum to within the options' tolerance, reached in far fewer steps.
  static GoalModel Fit(std::span<const PlayedGoals> matches, int64_t day,
                       const GoalModelOptions& options, const Promotion& promotion = {},
                       const GoalModel* start = nullptr);

  // The clubs' fitted strengths; a club absent from the data and from the priors is absent.
  const std::map<int64_t, ClubStrength>& Strengths() const { return strengths_; }
  double HomeAdvantage() const { return home_advantage_; }
  double Rho() const { return rho_; }
  bool Empty() const { return strengths_.empty(); }
  // How many rounds of updates the fit took (options.max_iterations when it did not settle).
  int Iterations() const { return iterations_; }

  struct Rates {
    double home = 0, away = 0;
  };
  // The goal rates of a match; a club the model does not know gets the league's lowest quarter
  // (its attack the 25th percentile, its defence the 75th).
  Rates ExpectedGoals(int64_t home, int64_t away) const;
  ClubStrength LowestQuarter() const;

 private:
  std::map<int64_t, ClubStrength> strengths_;
  double home_advantage_ = 1, rho_ = 0;
  int iterations_ = 0;
};

}  // namespace morvela
