#include "engine/plain/real_plotters.h"

#include "engine/fpu_precision.h"
#include "engine/plot_lines.h"
#include "engine/plot_start.h"

// The squares and the cross product are carried from the escape test into the
// next step, so each iteration costs three multiplications. A sum of exactly 4
// does not escape.
int32_t JuliaCount(long double zx, long double zy, long double cr, long double ci, uint32_t limit) {
  long double xx = zx * zx;
  long double yy = zy * zy;
  long double xy = zx * zy;
  uint32_t count = 0;
  while (!(xx + yy > 4)) {
    zx = (xx - yy) + cr;
    zy = 2 * xy + ci;
    xx = zx * zx;
    yy = zy * zy;
    xy = zx * zy;
    if (++count >= limit) break;
  }
  return static_cast<int32_t>(count);
}

// The Mandelbrot iteration is the Julia iteration of c started at c itself.
int32_t MandelbrotCount(long double cx, long double cy, uint32_t limit) {
  return JuliaCount(cx, cy, cx, cy, limit);
}

namespace {

long double AddStep(long double value, long double step) { return value + step; }

// Setup common to both plotters; countPixel(cx, cy, limit) counts one pixel.
template <typename CountPixel>
int PlotReal(UiHost& host, PlotRecord& record, CountPixel countPixel) {
  if (!CountBufferFits(record)) return kPlotRefused;
  ExtendedPrecisionScope precision;
  const uint32_t limit = BeginPlot(record);
  return PlotLines(
      host, record, limit, record.x, record.y, RealStep(record),
      [&](long double cx, long double cy) { return countPixel(cx, cy, limit); }, AddStep);
}

}  // namespace

int PlotMandelbrot(UiHost& host, PlotRecord& record) {
  return PlotReal(host, record, MandelbrotCount);
}

int PlotJulia(UiHost& host, PlotRecord& record) {
  const long double cr = record.juliaR;
  const long double ci = record.juliaI;
  return PlotReal(host, record, [cr, ci](long double zx, long double zy, uint32_t limit) {
    return JuliaCount(zx, zy, cr, ci, limit);
  });
}
