#pragma once
// Runs a function template at one of the deep tiers: visit receives a
// std::type_identity of the DeepRealOf type of the tier.

#include <type_traits>

#include "engine/deep_precision.h"
#include "engine/deep_real.h"

template <typename Visit>
decltype(auto) VisitDeepTier(unsigned tier, Visit&& visit) {
  static_assert(sizeof(kDeepTiers) / sizeof(kDeepTiers[0]) == 8, "a case for every tier");
  switch (DeepTierAtLeast(tier)) {
    case 128:
      return visit(std::type_identity<DeepRealOf<128>>{});
    case 256:
      return visit(std::type_identity<DeepRealOf<256>>{});
    case 384:
      return visit(std::type_identity<DeepRealOf<384>>{});
    case 512:
      return visit(std::type_identity<DeepRealOf<512>>{});
    case 768:
      return visit(std::type_identity<DeepRealOf<768>>{});
    case 1024:
      return visit(std::type_identity<DeepRealOf<1024>>{});
    case 1216:
      return visit(std::type_identity<DeepRealOf<1216>>{});
    default:
      return visit(std::type_identity<DeepRealOf<kWidestDeepTier>>{});
  }
}
