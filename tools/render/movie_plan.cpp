#include "movie_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/deep/precision.h"
#include "engine/deep/real.h"
#include "engine/deep/view_precision.h"
#include "engine/plot_arithmetic.h"
#include "engine/plot_progress.h"
#include "engine/deep/view_height.h"

namespace {

// A keyframe this close to the target's height would repeat it.
constexpr double kSameHeight = 1 + 1e-6;

DeepReal Width(const DeepReal& height, int32_t sizeX, int32_t sizeY) {
  return height * sizeX / sizeY;
}

// From the binary exponent and the mantissa: the height may lie far below
// the doubles.
double NaturalLog(const DeepReal& height) {
  int exponent = 0;
  const DeepReal mantissa = boost::multiprecision::frexp(height, &exponent);
  return std::log(mantissa.convert_to<double>()) + exponent * std::log(2.0);
}

void AddKeyframe(MoviePlan* plan, const DeepReal& height) {
  plan->heights.push_back(ToPrecise(height));
  plan->logHeights.push_back(NaturalLog(height));
}

}  // namespace

bool PlanMovie(const PlotRecord& target, const MovieSettings& settings, MoviePlan* plan,
               std::string* error) {
  if (!(settings.factor > 1) || !std::isfinite(settings.factor)) {
    *error = "the zoom factor must be a number above 1";
    return false;
  }
  if (!(settings.startHeight > 0) || !std::isfinite(settings.startHeight)) {
    *error = "the start height must be a number above 0";
    return false;
  }
  if (!PlottableHeight(target)) {
    char deepest[32] = "";
    FormatDeepestHeight(deepest, sizeof deepest);
    *error = std::string("the target's height is not a number from ") + deepest + " to 1.8e+308";
    return false;
  }
  const DeepReal targetHeight = HeightOf(target);
  plan->target = target;
  plan->target.rows = nullptr;
  plan->sizeX = settings.sizeX > 0 ? settings.sizeX : target.sizeX;
  plan->sizeY = settings.sizeY > 0 ? settings.sizeY : target.sizeY;
  const DeepReal left = ExactCoordinate(target.x, target.preciseX);
  const DeepReal bottom = ExactCoordinate(target.y, target.preciseY);
  plan->centreRe = ToPrecise(left + Width(targetHeight, target.sizeX, target.sizeY) / 2);
  plan->centreIm = ToPrecise(bottom + targetHeight / 2);

  // Each height from the one before in the deep arithmetic, which rounds the
  // same everywhere, unlike a library's pow.
  plan->heights.clear();
  plan->logHeights.clear();
  const DeepReal last = targetHeight * DeepReal(kSameHeight);
  DeepReal height = settings.startHeight;
  while (height > last) {
    if (plan->heights.size() == kMostKeyframes) {
      *error = "the movie would have more than 100000 keyframes";
      return false;
    }
    AddKeyframe(plan, height);
    height /= DeepReal(settings.factor);
  }
  AddKeyframe(plan, targetHeight);
  return true;
}

PlotRecord KeyframeRecord(const MoviePlan& plan, size_t k) {
  PlotRecord record = plan.target;
  record.flags &=
      ~(kFlagDeep | kFlagInteger | kFlagIntegerShadow | kFlagLiveDrawing | kFlagJuliaStart);
  const bool targetItself = k + 1 == plan.heights.size() && plan.sizeX == plan.target.sizeX &&
                            plan.sizeY == plan.target.sizeY;
  if (!targetItself) {
    record.sizeX = record.shownSizeY = plan.sizeX;
    record.sizeY = plan.sizeY;
    const DeepReal height = ToDeepReal(plan.heights[k]);
    SetHeight(record, height);
    ShowHeight(record);
    const DeepReal left = ToDeepReal(plan.centreRe) - Width(height, record.sizeX, record.sizeY) / 2;
    const DeepReal bottom = ToDeepReal(plan.centreIm) - height / 2;
    SetExactCoordinate(record.x, record.preciseX, left);
    SetExactCoordinate(record.y, record.preciseY, bottom);
  }
  // Counts beyond the 80-bit plotters' 30000 need the deep arithmetic at
  // every depth, so that all keyframes count to the same limit.
  if (NeedsDeepArithmetic(record) ||
      EffectiveDeepLimit(record.limit) != EffectiveLimit(record.limit)) {
    record.flags |= kFlagDeep;
  }
  return record;
}

bool KeyframeIsDeep(const PlotRecord& keyframe) { return (keyframe.flags & kFlagDeep) != 0; }

unsigned MovieReferenceBits(const MoviePlan& plan) {
  unsigned bits = 0;
  for (size_t k = 0; k < plan.heights.size(); ++k) {
    const PlotRecord keyframe = KeyframeRecord(plan, k);
    if (KeyframeIsDeep(keyframe)) bits = std::max(bits, DeepBitsNeeded(keyframe));
  }
  return DeepTierAtLeast(bits);
}

std::string KeyframeStem(const std::string& folder, size_t k) {
  char name[32];
  std::snprintf(name, sizeof name, "keyframe-%05zu", k);
  if (folder.empty()) return name;
  const char last = folder.back();
  return (last == '/' || last == '\\') ? folder + name : folder + "/" + name;
}
