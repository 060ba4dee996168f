#include "engine/deep/precise_plotter.h"

#include <memory>
#include <new>

#include "engine/cycle_check.h"
#include "engine/deep/geometry.h"
#include "engine/deep/tiers.h"
#include "engine/plot_lines.h"
#include "engine/plot_start.h"

namespace {

// Every this many iterations a long pixel takes a message.
constexpr uint32_t kPixelIterationsPerMessageStep = 1u << 14;

// The iteration of JuliaCount (plain/real_plotters.cpp) in the deep arithmetic. A
// point that comes back exactly to an earlier one never escapes: it gets the
// limit at once, which is what iterating on would give. A stop that comes
// meanwhile is stored in *stopCode, and the count is then meaningless.
template <typename Real>
int32_t PreciseCount(Real zx, Real zy, const Real& cr, const Real& ci, uint32_t limit, UiHost& host,
                     int* stopCode) {
  const Real four = 4;
  Real xx = zx * zx;
  Real yy = zy * zy;
  Real xy = zx * zy;
  CycleCheck<Real> cycle;
  cycle.Start(zx, zy);
  uint32_t count = 0;
  while (!(xx + yy > four)) {
    if (count % kPixelIterationsPerMessageStep == kPixelIterationsPerMessageStep - 1) {
      int code = kPlotExit;
      if (host.PumpOneMessage(&code) != 0) {
        *stopCode = code;
        return 0;
      }
    }
    zx = xx - yy + cr;
    zy = xy + xy + ci;
    if (++count >= limit || cycle.Repeats(zx, zy)) return static_cast<int32_t>(limit);
    xx = zx * zx;
    yy = zy * zy;
    xy = zx * zy;
  }
  return static_cast<int32_t>(count);
}

// The pixels' coordinates, formed once per column and per line; formed again
// for every pixel when there is no memory to keep them.
template <typename Real>
class PreciseCoordinates {
 public:
  explicit PreciseCoordinates(const PlotRecord& record)
      : grid_(record),
        sizeY_(record.sizeY),
        columns_(new (std::nothrow) Real[static_cast<size_t>(record.sizeX)]),
        lines_(new (std::nothrow) Real[static_cast<size_t>(record.sizeY)]) {
    if (columns_ == nullptr || lines_ == nullptr) return;
    for (int32_t column = 0; column < record.sizeX; ++column)
      columns_[column] = grid_.Column(column);
    for (int32_t line = 0; line < record.sizeY; ++line) lines_[line] = grid_.Line(line);
  }

  Real Column(int32_t column) const {
    return columns_ != nullptr && lines_ != nullptr ? columns_[column] : grid_.Column(column);
  }
  Real Line(int32_t line) const {
    return columns_ != nullptr && lines_ != nullptr ? lines_[line] : grid_.Line(line);
  }

 private:
  DeepPixelGrid<Real> grid_;
  int32_t sizeY_;
  std::unique_ptr<Real[]> columns_;
  std::unique_ptr<Real[]> lines_;
};

template <typename Real>
int PlotAtTier(UiHost& host, PlotRecord& record, uint32_t limit) {
  const bool julia = (record.flags & kFlagJulia) != 0;
  const Real cr = julia ? DeepJuliaR<Real>(record) : Real(0);
  const Real ci = julia ? DeepJuliaI<Real>(record) : Real(0);
  const PreciseCoordinates<Real> coordinates(record);
  const int32_t top = record.sizeY - 1;
  int stopCode = kPlotComplete;
  // PlotLines walks the lines from the bottom up; its coordinates here are
  // the column and the number of lines above the bottom one.
  return PlotLines(
      host, record, limit, int32_t{0}, int32_t{0}, int32_t{1},
      [&](int32_t column, int32_t above) {
        const Real x = coordinates.Column(column);
        const Real y = coordinates.Line(top - above);
        return julia ? PreciseCount(x, y, cr, ci, limit, host, &stopCode)
                     : PreciseCount(x, y, x, y, limit, host, &stopCode);
      },
      [](int32_t index, int32_t step) { return index + step; }, &stopCode);
}

}  // namespace

int PlotPrecise(UiHost& host, PlotRecord& record, unsigned bits) {
  if (!CountBufferFits(record)) return kPlotRefused;
  const uint32_t limit = BeginDeepPlot(record);
  return VisitDeepTier(bits, [&](auto tier) {
    return PlotAtTier<typename decltype(tier)::type>(host, record, limit);
  });
}
