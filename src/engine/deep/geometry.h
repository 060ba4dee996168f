#pragma once
// The coordinates of a deep view's pixels: column j has real part
// x + j*step and image line r (0 = top) imaginary part y + (sizeY-1-r)*step,
// with step = shownHeight / sizeY, all at the plot's precision. That
// precision resolves the step with the guard bits of precision.h to
// spare, so the few roundings leave every pixel within a tiny part of a step
// of where the view says it is, however many columns lie before it: nothing
// is accumulated. The record's own full width is used only to read its
// corners and height, once per grid.

#include <cstdint>

#include "engine/deep/real.h"
#include "engine/plot_record.h"

template <typename Real>
class DeepPixelGrid {
 public:
  explicit DeepPixelGrid(const PlotRecord& record)
      : left_(ExactCoordinate(record.x, record.preciseX)),
        bottom_(ExactCoordinate(record.y, record.preciseY)),
        step_(Real(ExactHeight(record.shownHeight, record.preciseShownHeight)) / record.sizeY),
        sizeY_(record.sizeY) {}

  Real Column(int32_t column) const { return left_ + step_ * column; }
  Real Line(int32_t line) const { return bottom_ + step_ * (sizeY_ - 1 - line); }
  const Real& Step() const { return step_; }

 private:
  Real left_;
  Real bottom_;
  Real step_;
  int32_t sizeY_;
};

// The record's Julia constant at the plot's precision.
template <typename Real>
Real DeepJuliaR(const PlotRecord& record) {
  return Real(ExactCoordinate(record.juliaR, record.preciseJuliaR));
}
template <typename Real>
Real DeepJuliaI(const PlotRecord& record) {
  return Real(ExactCoordinate(record.juliaI, record.preciseJuliaI));
}
