#pragma once
// Runs a function template at one of the deep tiers: visit receives a
// std::type_identity of the DeepRealOf type of the tier.

#include <cstddef>
#include <iterator>
#include <type_traits>
#include <utility>

#include "engine/deep/precision.h"
#include "engine/deep/real.h"

namespace deep_tiers_detail {

// Tries the tiers from the index-th on; the widest takes what none took.
template <size_t Index, typename Visit>
decltype(auto) VisitFrom(unsigned tier, Visit&& visit) {
  using Tier = std::type_identity<DeepRealOf<kDeepTiers[Index]>>;
  if constexpr (Index + 1 == std::size(kDeepTiers)) {
    return visit(Tier{});
  } else {
    if (tier == kDeepTiers[Index]) return visit(Tier{});
    return VisitFrom<Index + 1>(tier, std::forward<Visit>(visit));
  }
}

}  // namespace deep_tiers_detail

template <typename Visit>
decltype(auto) VisitDeepTier(unsigned tier, Visit&& visit) {
  return deep_tiers_detail::VisitFrom<0>(DeepTierAtLeast(tier), std::forward<Visit>(visit));
}
