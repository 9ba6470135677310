// The blend: a logarithmic pool of several forecasts of the same outcomes,
//   p_i ∝ prod_k q_k,i ^ w_k,
// whose weights are fitted to earlier matches by the smallest mean log loss. A pool of
// forecasts that agree sharpens them; weights above 1 in sum make the pool bolder than its
// members, below 1 more cautious.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace morvela {

// The members of the blend, in the order of its weights.
enum class BlendMember { kMarket = 0, kModel = 1, kTips = 2 };
inline constexpr size_t kBlendMembers = 3;
using BlendWeights = std::array<double, kBlendMembers>;

// The forecasts of one match (each a distribution over the same ordered outcomes, or absent)
// and, for fitting, what happened.
struct BlendSample {
  std::array<std::optional<std::vector<double>>, kBlendMembers> members;
  size_t outcome = 0;
};

// The pooled distribution; members that are absent or whose weight is 0 drop out. nullopt when
// no member is left. Probabilities are floored at 1e-6 before the logarithm, so a member's
// certain 0 does not veto an outcome.
std::optional<std::vector<double>> LogPool(
    const std::array<std::optional<std::vector<double>>, kBlendMembers>& members,
    const BlendWeights& weights);

// The weights in [0, 3] with the smallest mean log loss of the pool over `samples`, by projected
// Newton steps (the pool's log loss is convex in the weights). Samples without every
// member are left out. Without any sample: the market alone (weight 1, others 0).
BlendWeights FitBlendWeights(std::span<const BlendSample> samples);

// Mean log loss of the pool over the samples that have every member; NaN without any.
double MeanPoolLogLoss(std::span<const BlendSample> samples, const BlendWeights& weights);

}  // namespace morvela
