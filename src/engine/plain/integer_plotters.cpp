#include "engine/plain/integer_plotters.h"

#include <atomic>

#include "engine/engine_state.h"
#include "engine/fpu_precision.h"
#include "engine/plain/fixed_point.h"
#include "engine/plot_lines.h"
#include "engine/plot_start.h"

FixedRegion ToFixedRegion(const PlotRecord& record) {
  FixedRegion region;
  region.left = ToFixed(record.x);
  region.bottom = ToFixed(record.y);
  region.height = ToFixed(record.height);
  region.step = record.sizeY > 0 ? region.height / record.sizeY : 0;
  return region;
}

bool FitsFixedRange(const PlotRecord& record, bool julia) {
  auto inRange = [](long double v) { return v >= -8 && v < 8; };  // false for NaN
  const long double height = record.height;
  const long double width = height / record.sizeY * record.sizeX;
  if (!inRange(record.x) || !inRange(record.y) || !inRange(record.x + width) ||
      !inRange(record.y + height)) {
    return false;
  }
  if (!julia) return true;
  const long double modulusSquared = record.juliaR * record.juliaR + record.juliaI * record.juliaI;
  return modulusSquared < 16;
}

// The squares of the current point are carried from the escape test into the
// next step, so each iteration costs three multiplications.
int32_t MandelbrotCountInteger(int32_t cx, int32_t cy) {
  const uint32_t limit = g_engine.progress.effectiveLimit.load(std::memory_order_relaxed);
  int32_t x = cx;
  int32_t y = cy;
  uint32_t count = 0;
  for (;;) {
    const int64_t xx = FixedProduct(x, x);
    const int64_t yy = FixedProduct(y, y);
    if (FixedEscaped(xx, yy) || count + 1 > limit) return static_cast<int32_t>(count);
    ++count;
    const int32_t nextY = WrapAdd(ProductToFixed(FixedProduct(x, y), 27), cy);
    x = WrapAdd(ProductToFixed(xx - yy, kFixedFractionBits), cx);
    y = nextY;
  }
}

int32_t JuliaCountInteger(int32_t zx, int32_t zy, int32_t cr, int32_t ci) {
  const uint32_t limit = g_engine.progress.effectiveLimit.load(std::memory_order_relaxed);
  int32_t x = zx;
  int32_t y = zy;
  int64_t xx = FixedProduct(x, x);
  int64_t yy = FixedProduct(y, y);
  uint32_t count = 0;
  for (;;) {
    const int32_t nextY = WrapAdd(ProductToFixed(FixedProduct(x, y), 27), ci);
    x = WrapAdd(ProductToFixed(xx - yy, kFixedFractionBits), cr);
    y = nextY;
    xx = FixedProduct(x, x);
    yy = FixedProduct(y, y);
    if (FixedEscaped(xx, yy) || count + 1 > limit) return static_cast<int32_t>(count);
    ++count;
  }
}

namespace {

int PlotInteger(UiHost& host, PlotRecord& record, bool julia) {
  if (!CountBufferFits(record)) return kPlotRefused;
  ExtendedPrecisionScope precision;  // exact conversions of the 80-bit coordinates
  const uint32_t limit = BeginPlot(record);
  FixedRegion region{};
  if (!IntegerRegion(record, julia, &region)) return kPlotRefused;
  if (!julia) {
    return PlotLines(host, record, limit, region.left, region.bottom, region.step,
                     MandelbrotCountInteger, WrapAdd);
  }
  const int32_t cr = ToFixed(record.juliaR);
  const int32_t ci = ToFixed(record.juliaI);
  return PlotLines(
      host, record, limit, region.left, region.bottom, region.step,
      [cr, ci](int32_t zx, int32_t zy) { return JuliaCountInteger(zx, zy, cr, ci); }, WrapAdd);
}

}  // namespace

int PlotMandelbrotInteger(UiHost& host, PlotRecord& record) {
  return PlotInteger(host, record, false);
}

int PlotJuliaInteger(UiHost& host, PlotRecord& record) { return PlotInteger(host, record, true); }
