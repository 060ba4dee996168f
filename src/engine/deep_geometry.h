#pragma once
// The exact coordinates of a deep view's pixels: column j has real part
// x + j*step and image line r (0 = top) imaginary part y + (sizeY-1-r)*step,
// with step = shownHeight / sizeY, each formed from the record's precise
// coordinates at no less than their full width and then rounded once to the
// plot's precision. Nothing is accumulated, so every pixel is where the view
// says it is, however many columns lie before it.

#include <cstdint>
#include <type_traits>

#include "engine/deep_real.h"
#include "engine/plot_record.h"

template <typename Real>
class DeepPixelGrid {
  // The wider of the plot's precision and the precise coordinates' width.
  using Wide = std::conditional_t<(std::numeric_limits<Real>::digits > kDeepBits), Real, DeepReal>;

 public:
  explicit DeepPixelGrid(const PlotRecord& record)
      : left_(ExactCoordinate(record.x, record.preciseX)),
        bottom_(ExactCoordinate(record.y, record.preciseY)),
        step_(Wide(record.shownHeight) / record.sizeY),
        sizeY_(record.sizeY) {}

  Real Column(int32_t column) const { return Real(left_ + step_ * column); }
  Real Line(int32_t line) const { return Real(bottom_ + step_ * (sizeY_ - 1 - line)); }
  Real Step() const { return Real(step_); }

 private:
  Wide left_;
  Wide bottom_;
  Wide step_;
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
