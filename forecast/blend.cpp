#include "forecast/blend.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace morvela {

namespace {

constexpr double kFloor = 1e-6;

bool Complete(const BlendSample& s) {
  return std::all_of(s.members.begin(), s.members.end(),
                     [](const auto& m) { return m.has_value(); });
}

// The samples as logarithms, member by member, so that a fit's many evaluations are sums.
struct LogSample {
  std::array<std::vector<double>, kBlendMembers> logs;
  size_t outcome;
};

double PoolLogLoss(const LogSample& s, const BlendWeights& w) {
  const size_t n = s.logs[0].size();
  double best = -std::numeric_limits<double>::infinity();
  std::array<double, 3> z{};  // two or three outcomes
  for (size_t i = 0; i < n; ++i) {
    for (size_t k = 0; k < kBlendMembers; ++k) z[i] += w[k] * s.logs[k][i];
    best = std::max(best, z[i]);
  }
  double sum = 0;
  for (size_t i = 0; i < n; ++i) sum += std::exp(z[i] - best);
  return -(z[s.outcome] - best - std::log(sum));
}

}  // namespace

std::optional<std::vector<double>> LogPool(
    const std::array<std::optional<std::vector<double>>, kBlendMembers>& members,
    const BlendWeights& weights) {
  std::optional<std::vector<double>> z;
  for (size_t k = 0; k < kBlendMembers; ++k) {
    if (!members[k] || weights[k] == 0) continue;
    const std::vector<double>& q = *members[k];
    if (!z) z.emplace(q.size(), 0.0);
    if (q.size() != z->size()) return std::nullopt;
    for (size_t i = 0; i < q.size(); ++i) (*z)[i] += weights[k] * std::log(std::max(q[i], kFloor));
  }
  if (!z) return std::nullopt;
  const double best = *std::max_element(z->begin(), z->end());
  double sum = 0;
  for (double& v : *z) sum += (v = std::exp(v - best));
  for (double& v : *z) v /= sum;
  return z;
}

double MeanPoolLogLoss(std::span<const BlendSample> samples, const BlendWeights& weights) {
  double sum = 0;
  int n = 0;
  for (const BlendSample& s : samples) {
    if (!Complete(s)) continue;
    const std::optional<std::vector<double>> p = LogPool(s.members, weights);
    sum += -std::log(std::max((*p)[s.outcome], kFloor));
    ++n;
  }
  return n ? sum / n : std::numeric_limits<double>::quiet_NaN();
}

BlendWeights FitBlendWeights(std::span<const BlendSample> samples) {
  std::vector<LogSample> logs;
  for (const BlendSample& s : samples) {
    if (!Complete(s)) continue;
    LogSample l{{}, s.outcome};
    for (size_t k = 0; k < kBlendMembers; ++k)
      for (double q : *s.members[k]) l.logs[k].push_back(std::log(std::max(q, kFloor)));
    if (l.logs[0].size() > 3 || l.logs[1].size() != l.logs[0].size() ||
        l.logs[2].size() != l.logs[0].size())
      continue;
    logs.push_back(std::move(l));
  }
  BlendWeights w{1, 0, 0};
  if (logs.empty()) return w;
  auto loss = [&logs](const BlendWeights& w) {
    double s = 0;
    for (const LogSample& l : logs) s += PoolLogLoss(l, w);
    return s;
  };
  // Projected Newton steps with step halving: the loss is convex, so a handful of steps reach
  // the box-constrained minimum. Gradient and Hessian of -z_o + log sum exp z, z = sum w_k l_k:
  // g_k = E_p[l_k] - l_k,o and H_kj = Cov_p(l_k, l_j).
  double current = loss(w);
  for (int step = 0; step < 30; ++step) {
    std::array<double, kBlendMembers> g{};
    std::array<std::array<double, kBlendMembers>, kBlendMembers> h{};
    for (const LogSample& l : logs) {
      const size_t n = l.logs[0].size();
      std::array<double, 3> p{};
      double best = -std::numeric_limits<double>::infinity();
      for (size_t i = 0; i < n; ++i) {
        for (size_t k = 0; k < kBlendMembers; ++k) p[i] += w[k] * l.logs[k][i];
        best = std::max(best, p[i]);
      }
      double sum = 0;
      for (size_t i = 0; i < n; ++i) sum += (p[i] = std::exp(p[i] - best));
      std::array<double, kBlendMembers> mean{};
      for (size_t k = 0; k < kBlendMembers; ++k) {
        for (size_t i = 0; i < n; ++i) mean[k] += p[i] / sum * l.logs[k][i];
        g[k] += mean[k] - l.logs[k][l.outcome];
      }
      for (size_t k = 0; k < kBlendMembers; ++k)
        for (size_t j = 0; j < kBlendMembers; ++j) {
          double e = 0;
          for (size_t i = 0; i < n; ++i) e += p[i] / sum * l.logs[k][i] * l.logs[j][i];
          h[k][j] += e - mean[k] * mean[j];
        }
    }
    // Weights held at the lower bound by a gradient that pushes below it stay out of the step.
    std::array<bool, kBlendMembers> free{};
    for (size_t k = 0; k < kBlendMembers; ++k) free[k] = !(w[k] <= 0 && g[k] > 0);
    std::array<double, kBlendMembers> d{};
    // Gaussian elimination on the free block (a small ridge keeps it regular).
    std::array<std::array<double, kBlendMembers + 1>, kBlendMembers> a{};
    for (size_t k = 0; k < kBlendMembers; ++k) {
      for (size_t j = 0; j < kBlendMembers; ++j)
        a[k][j] = free[k] && free[j] ? h[k][j] : (k == j ? 1.0 : 0.0);
      a[k][k] += 1e-9 * static_cast<double>(logs.size());
      a[k][kBlendMembers] = free[k] ? -g[k] : 0;
    }
    for (size_t c = 0; c < kBlendMembers; ++c) {
      size_t pivot = c;
      for (size_t r = c + 1; r < kBlendMembers; ++r)
        if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
      std::swap(a[c], a[pivot]);
      if (std::abs(a[c][c]) < 1e-300) continue;
      for (size_t r = 0; r < kBlendMembers; ++r) {
        if (r == c) continue;
        const double f = a[r][c] / a[c][c];
        for (size_t j = c; j <= kBlendMembers; ++j) a[r][j] -= f * a[c][j];
      }
    }
    for (size_t k = 0; k < kBlendMembers; ++k)
      d[k] = std::abs(a[k][k]) < 1e-300 ? 0 : a[k][kBlendMembers] / a[k][k];
    bool improved = false;
    for (double t = 1; t > 1e-4; t /= 2) {
      BlendWeights next = w;
      for (size_t k = 0; k < kBlendMembers; ++k) next[k] = std::clamp(w[k] + t * d[k], 0.0, 3.0);
      const double l = loss(next);
      if (l < current) {
        improved = current - l > 1e-10 * static_cast<double>(logs.size());
        w = next;
        current = l;
        break;
      }
    }
    if (!improved) break;
  }
  return w;
}

}  // namespace morvela
