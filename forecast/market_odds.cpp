#include "forecast/market_odds.h"

#include <cmath>
#include <functional>

namespace morvela {

namespace {

// The root of a function that falls from positive to negative on [lo, hi], by bisection; the
// sums below are smooth and monotone, so sixty halvings reach double precision.
double FallingRoot(double lo, double hi, const std::function<double(double)>& f) {
  for (int i = 0; i < 60; ++i) {
    const double mid = (lo + hi) / 2;
    (f(mid) > 0 ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

std::vector<double> Proportional(const std::vector<double>& implied, double booksum) {
  std::vector<double> p;
  for (double v : implied) p.push_back(v / booksum);
  return p;
}

std::vector<double> Power(const std::vector<double>& implied) {
  auto sum_at = [&implied](double k) {
    double s = 0;
    for (double v : implied) s += std::pow(v, k);
    return s - 1;
  };
  // Every implied probability lies below 1, so the sum falls with k; at k = 1 it is the
  // booksum (above 1), and a k of 50 brings any realistic market below 1.
  const double k = FallingRoot(1, 50, sum_at);
  std::vector<double> p;
  for (double v : implied) p.push_back(std::pow(v, k));
  return p;
}

// Shin's probability of an outcome with implied probability pi in a market with booksum
// `booksum` and insider share z.
double ShinProbability(double pi, double booksum, double z) {
  return (std::sqrt(z * z + 4 * (1 - z) * pi * pi / booksum) - z) / (2 * (1 - z));
}

std::vector<double> Shin(const std::vector<double>& implied, double booksum) {
  auto sum_at = [&](double z) {
    double s = 0;
    for (double v : implied) s += ShinProbability(v, booksum, z);
    return s - 1;
  };
  // At z = 0 the probabilities sum to sqrt(booksum) > 1; the sum falls as z grows.
  const double z = FallingRoot(0, 0.99, sum_at);
  std::vector<double> p;
  for (double v : implied) p.push_back(ShinProbability(v, booksum, z));
  return p;
}

// The bisections leave the sum a hair off 1; the callers add these probabilities into scores,
// so they get an exact distribution.
std::vector<double> Normalised(std::vector<double> p) {
  double s = 0;
  for (double v : p) s += v;
  for (double& v : p) v /= s;
  return p;
}

}  // namespace

std::string_view MarginMethodName(MarginMethod method) {
  switch (method) {
    case MarginMethod::kProportional:
      return "proportional";
    case MarginMethod::kPower:
      return "power";
    case MarginMethod::kShin:
      return "shin";
  }
  return "";
}

std::optional<MarginMethod> MarginMethodFromName(std::string_view name) {
  for (MarginMethod m : kMarginMethods)
    if (MarginMethodName(m) == name) return m;
  return std::nullopt;
}

std::optional<std::vector<double>> RemoveMargin(std::span<const double> odds, MarginMethod method) {
  if (odds.size() < 2) return std::nullopt;
  std::vector<double> implied;
  double booksum = 0;
  for (double o : odds) {
    if (!(o > 1) || !std::isfinite(o)) return std::nullopt;
    implied.push_back(1 / o);
    booksum += implied.back();
  }
  if (booksum <= 1) return Proportional(implied, booksum);
  switch (method) {
    case MarginMethod::kProportional:
      return Proportional(implied, booksum);
    case MarginMethod::kPower:
      return Normalised(Power(implied));
    case MarginMethod::kShin:
      return Normalised(Shin(implied, booksum));
  }
  return std::nullopt;
}

std::optional<std::vector<double>> RemoveMargin(std::span<const std::optional<double>> odds,
                                                MarginMethod method) {
  std::vector<double> values;
  for (const std::optional<double>& o : odds) {
    if (!o) return std::nullopt;
    values.push_back(*o);
  }
  return RemoveMargin(values, method);
}

}  // namespace morvela
