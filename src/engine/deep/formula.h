#pragma once
// The iteration z <- z^2 + c seen from a reference orbit Z (Z' = Z^2 + C): a
// pixel's point is z = Z + dz and its constant c = C + dc, and then
//   dz' = (2Z + dz) dz + dc,
// exactly, for any size of dz. Only the small deltas are held per pixel, in
// 80-bit numbers whose exponent reaches far below any pixel step; the
// reference alone needs the deep arithmetic. While dz is small beside 2Z the
// step is linear, dz' = A dz + B dc with A = 2Z and B = 1, which the
// approximation tables (bla.h) compose into long skips.

struct DeltaPoint {
  long double x;
  long double y;
};

// One step of the delta: dz' = (2Z + dz) dz + dc.
inline DeltaPoint PerturbedStep(DeltaPoint reference, DeltaPoint dz, DeltaPoint dc) {
  const long double sx = 2 * reference.x + dz.x;
  const long double sy = 2 * reference.y + dz.y;
  return {sx * dz.x - sy * dz.y + dc.x, sx * dz.y + sy * dz.x + dc.y};
}

inline long double SquaredSize(DeltaPoint point) { return point.x * point.x + point.y * point.y; }

// The linear step's coefficient of dz at reference point Z (that of dc is 1).
inline DeltaPoint LinearCoefficient(DeltaPoint reference) {
  return {2 * reference.x, 2 * reference.y};
}

// The same in doubles, for deltas large enough that every product of a step
// stays in the normal range of double (pixel.cpp): a step then costs
// about half as much as in 80 bits.
struct DoublePoint {
  double x;
  double y;
};

inline DoublePoint PerturbedStep(DoublePoint reference, DoublePoint dz, DoublePoint dc) {
  const double sx = 2 * reference.x + dz.x;
  const double sy = 2 * reference.y + dz.y;
  return {sx * dz.x - sy * dz.y + dc.x, sx * dz.y + sy * dz.x + dc.y};
}

inline double SquaredSize(DoublePoint point) { return point.x * point.x + point.y * point.y; }
