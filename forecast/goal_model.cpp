#include "forecast/goal_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace morvela {

namespace {

double Poisson(int k, double rate) {
  return std::exp(k * std::log(rate) - rate - std::lgamma(k + 1.0));
}

// A weighted match with its clubs as indexes into the fit's arrays.
struct FitMatch {
  size_t home, away;
  int x, y;
  double w;
};

// A low score's correction is 1 + c * rho, its weight w.
struct LowScore {
  double c, w;
};

// The rho in [lo, hi] maximising the sum of w * log(1 + c * rho). The sum is concave where
// every correction is positive, so its slope falls: the answer is a bound where the slope
// keeps its sign, else the slope's root, found by Newton's steps kept inside a shrinking
// bracket. A dozen slope evaluations replace the sixty logarithm sums of a section search.
double MaximiseLowScoreLikelihood(const std::vector<LowScore>& low, double lo, double hi) {
  // The corrections stay positive strictly inside (lo, hi) after these cuts.
  for (const LowScore& s : low) {
    if (s.c > 0) lo = std::max(lo, -1 / s.c);
    if (s.c < 0) hi = std::min(hi, -1 / s.c);
  }
  auto slope = [&](double rho, double* curvature) {
    double g = 0, h = 0;
    for (const LowScore& s : low) {
      const double q = s.c / (1 + s.c * rho);
      g += s.w * q;
      h -= s.w * q * q;
    }
    if (curvature) *curvature = h;
    return g;
  };
  const auto feasible = [&](double rho) {
    for (const LowScore& s : low)
      if (1 + s.c * rho <= 0) return false;
    return true;
  };
  if (feasible(lo) && slope(lo, nullptr) <= 0) return lo;
  if (feasible(hi) && slope(hi, nullptr) >= 0) return hi;
  double a = lo, b = hi, rho = std::clamp(0.0, lo, hi);
  if (rho <= a || rho >= b) rho = (a + b) / 2;
  for (int i = 0; i < 100; ++i) {
    double h = 0;
    const double g = slope(rho, &h);
    if (g > 0) a = rho;
    if (g < 0) b = rho;
    if (g == 0 || b - a < 1e-15) break;
    double next = h < 0 ? rho - g / h : (a + b) / 2;
    if (!(next > a && next < b)) next = (a + b) / 2;
    if (std::abs(next - rho) < 1e-15) break;
    rho = next;
  }
  return rho;
}

double Percentile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

}  // namespace

double DecayWeight(double days_before, double decay_per_day) {
  return std::exp(-decay_per_day * days_before);
}

double LowScoreCorrection(int x, int y, double lambda, double mu, double rho) {
  if (x == 0 && y == 0) return 1 - lambda * mu * rho;
  if (x == 0 && y == 1) return 1 + lambda * rho;
  if (x == 1 && y == 0) return 1 + mu * rho;
  if (x == 1 && y == 1) return 1 - rho;
  return 1;
}

ScoreMatrix::ScoreMatrix(double lambda, double mu, double rho, int home_before, int away_before)
    : home_before_(home_before), away_before_(away_before) {
  // A fit on a handful of matches can give rates of 0 or in the hundreds; a match has neither,
  // and the matrix would be empty.
  lambda = std::clamp(lambda, 0.01, 8.0);
  mu = std::clamp(mu, 0.01, 8.0);
  double sum = 0;
  for (int x = 0; x <= kMaxGoals; ++x)
    for (int y = 0; y <= kMaxGoals; ++y) {
      const double v = std::max(
          0.0, LowScoreCorrection(x, y, lambda, mu, rho) * Poisson(x, lambda) * Poisson(y, mu));
      p_[x * (kMaxGoals + 1) + y] = v;
      sum += v;
    }
  for (double& v : p_) v /= sum;
}

double ScoreMatrix::At(int x, int y) const {
  x -= home_before_;
  y -= away_before_;
  if (x < 0 || y < 0 || x > kMaxGoals || y > kMaxGoals) return 0;
  return p_[x * (kMaxGoals + 1) + y];
}

std::array<double, 3> ScoreMatrix::Outcomes() const {
  std::array<double, 3> o{};
  for (int x = 0; x <= kMaxGoals; ++x)
    for (int y = 0; y <= kMaxGoals; ++y) {
      const int diff = (x + home_before_) - (y + away_before_);
      o[diff > 0 ? 0 : diff == 0 ? 1 : 2] += p_[x * (kMaxGoals + 1) + y];
    }
  return o;
}

std::array<double, 2> ScoreMatrix::UnderOver() const {
  std::array<double, 2> o{};
  for (int x = 0; x <= kMaxGoals; ++x)
    for (int y = 0; y <= kMaxGoals; ++y)
      o[x + y + home_before_ + away_before_ <= 2 ? 0 : 1] += p_[x * (kMaxGoals + 1) + y];
  return o;
}

std::vector<ScoreMatrix::Score> ScoreMatrix::LikelyScores(size_t count) const {
  std::vector<Score> all;
  for (int x = 0; x <= kMaxGoals; ++x)
    for (int y = 0; y <= kMaxGoals; ++y)
      all.push_back({x + home_before_, y + away_before_, p_[x * (kMaxGoals + 1) + y]});
  count = std::min(count, all.size());
  // Ties keep the lower score first, so the order does not depend on the sort.
  std::partial_sort(all.begin(), all.begin() + static_cast<long>(count), all.end(),
                    [](const Score& a, const Score& b) {
                      if (a.probability != b.probability) return a.probability > b.probability;
                      return a.home + a.away != b.home + b.away ? a.home + a.away < b.home + b.away
                                                                : a.home > b.home;
                    });
  all.resize(count);
  return all;
}

GoalModel GoalModel::Fit(std::span<const PlayedGoals> matches, int64_t day,
                         const GoalModelOptions& o, const Promotion& promotion,
                         const GoalModel* start) {
  // Clubs and weighted matches inside the history window.
  std::unordered_map<int64_t, size_t> index;
  std::vector<int64_t> ids;
  auto club = [&](int64_t id) {
    auto [it, added] = index.try_emplace(id, ids.size());
    if (added) ids.push_back(id);
    return it->second;
  };
  std::vector<FitMatch> fit;
  for (const PlayedGoals& m : matches) {
    if (m.day >= day || day - m.day > o.history_days) continue;
    const double w = DecayWeight(static_cast<double>(day - m.day), o.decay_per_day);
    fit.push_back({club(m.home), club(m.away), m.home_goals, m.away_goals, w});
  }
  std::vector<bool> is_new(ids.size(), false);
  for (int64_t id : promotion.new_clubs) {
    const size_t i = club(id);
    is_new.resize(ids.size(), false);
    is_new[i] = true;
  }
  std::vector<size_t> replaced;
  for (int64_t id : promotion.replaced_clubs)
    if (auto it = index.find(id); it != index.end()) replaced.push_back(it->second);

  GoalModel model;
  const size_t n = ids.size();
  if (fit.empty() || n == 0) return model;

  // The per-club sums that do not change between iterations: goals scored and conceded.
  std::vector<double> scored(n, 0), conceded(n, 0);
  double home_goals = 0;
  for (const FitMatch& m : fit) {
    scored[m.home] += m.w * m.x;
    scored[m.away] += m.w * m.y;
    conceded[m.home] += m.w * m.y;
    conceded[m.away] += m.w * m.x;
    home_goals += m.w * m.x;
  }

  std::vector<double> a(n, 1), d(n, 1), exposure(n);
  double g = 1;
  if (start && !start->Empty()) {
    for (size_t i = 0; i < n; ++i)
      if (auto it = start->strengths_.find(ids[i]); it != start->strengths_.end()) {
        a[i] = it->second.attack;
        d[i] = it->second.defence;
      }
    g = start->home_advantage_;
  }
  std::vector<bool> has_matches(n, false);
  for (const FitMatch& m : fit) has_matches[m.home] = has_matches[m.away] = true;
  // A club's prior strength: the geometric mean of the replaced clubs' strengths, else the
  // league's lowest quarter.
  auto prior = [&](const std::vector<double>& a, const std::vector<double>& d) {
    ClubStrength s;
    std::vector<double> av, dv;
    for (size_t i = 0; i < n; ++i)
      if (has_matches[i] && !is_new[i]) {
        av.push_back(a[i]);
        dv.push_back(d[i]);
      }
    if (!replaced.empty()) {
      double la = 0, ld = 0;
      for (size_t i : replaced) {
        la += std::log(a[i]);
        ld += std::log(d[i]);
      }
      s.attack = std::exp(la / static_cast<double>(replaced.size()));
      s.defence = std::exp(ld / static_cast<double>(replaced.size()));
    } else if (!av.empty()) {
      s.attack = Percentile(av, 0.25);
      s.defence = Percentile(dv, 0.75);
    }
    return s;
  };

  // The updates below move the strengths' common scale (a times c, d over c leaves every rate
  // as it was), which the normalisation takes back; the change that decides convergence is that
  // of the normalised strengths.
  std::vector<double> last_a, last_d;
  for (int iteration = 0; iteration < o.max_iterations; ++iteration) {
    model.iterations_ = iteration + 1;
    const ClubStrength p = prior(a, d);
    const double k = o.prior_matches;
    last_a = a;
    last_d = d;
    const double last_g = g;
    // Attack: goals scored over the goals expected at attack 1.
    std::fill(exposure.begin(), exposure.end(), 0);
    for (const FitMatch& m : fit) {
      exposure[m.home] += m.w * d[m.away] * g;
      exposure[m.away] += m.w * d[m.home];
    }
    for (size_t i = 0; i < n; ++i) {
      const double num = scored[i] + (is_new[i] ? k * p.attack : 0);
      const double den = exposure[i] + (is_new[i] ? k : 0);
      a[i] = den > 0 && num > 0 ? num / den : 1e-3;
    }
    // Defence: goals conceded over the goals expected at defence 1.
    std::fill(exposure.begin(), exposure.end(), 0);
    for (const FitMatch& m : fit) {
      exposure[m.away] += m.w * a[m.home] * g;
      exposure[m.home] += m.w * a[m.away];
    }
    for (size_t i = 0; i < n; ++i) {
      const double num = conceded[i] + (is_new[i] ? k * p.defence : 0);
      const double den = exposure[i] + (is_new[i] ? k : 0);
      d[i] = den > 0 && num > 0 ? num / den : 1e-3;
    }
    // Home advantage: home goals over the home goals expected without it.
    double expected_home = 0;
    for (const FitMatch& m : fit) expected_home += m.w * a[m.home] * d[m.away];
    g = expected_home > 0 && home_goals > 0 ? home_goals / expected_home : 1;
    // Only the products a * d are identified; the clubs' mean log attack is held at 0.
    double mean_log = 0;
    for (double v : a) mean_log += std::log(v);
    const double c = std::exp(mean_log / static_cast<double>(n));
    double change = std::abs(g - last_g) / last_g;
    for (size_t i = 0; i < n; ++i) {
      a[i] /= c;
      d[i] *= c;
      change = std::max(
          {change, std::abs(a[i] - last_a[i]) / last_a[i], std::abs(d[i] - last_d[i]) / last_d[i]});
    }
    if (change < 1e-9) break;
  }

  if (o.fit_rho) {
    // Only the scores 0-0, 1-0, 0-1 and 1-1 depend on rho, each through 1 + c * rho.
    std::vector<LowScore> low;
    for (const FitMatch& m : fit) {
      if (m.x > 1 || m.y > 1 || m.w <= 0) continue;
      const double lambda = a[m.home] * d[m.away] * g, mu = a[m.away] * d[m.home];
      const double c = m.x == 0 ? (m.y == 0 ? -lambda * mu : lambda) : (m.y == 0 ? mu : -1.0);
      low.push_back({c, m.w});
    }
    model.rho_ = MaximiseLowScoreLikelihood(low, -0.3, 0.3);
  }
  model.home_advantage_ = g;
  for (size_t i = 0; i < n; ++i) model.strengths_[ids[i]] = {a[i], d[i]};
  return model;
}

ClubStrength GoalModel::LowestQuarter() const {
  std::vector<double> av, dv;
  for (const auto& [id, s] : strengths_) {
    av.push_back(s.attack);
    dv.push_back(s.defence);
  }
  if (av.empty()) return {};
  return {Percentile(av, 0.25), Percentile(dv, 0.75)};
}

GoalModel::Rates GoalModel::ExpectedGoals(int64_t home, int64_t away) const {
  auto strength = [this](int64_t id) {
    auto it = strengths_.find(id);
    return it == strengths_.end() ? LowestQuarter() : it->second;
  };
  const ClubStrength h = strength(home), v = strength(away);
  return {h.attack * v.defence * home_advantage_, v.attack * h.defence};
}

}  // namespace morvela
