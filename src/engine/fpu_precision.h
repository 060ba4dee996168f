#pragma once
// The plotters need the x87 unit at 64-bit mantissa precision. Linux and Wine
// start that way, but real Windows may start at 53 bits.

#include <cstdint>

// Sets the x87 precision control to 64 bits and returns the previous control word.
uint16_t SetExtendedPrecision();
void RestoreFpuControl(uint16_t control);
uint16_t FpuControlWord();

// Sets 64-bit precision for its lifetime.
class ExtendedPrecisionScope {
 public:
  ExtendedPrecisionScope() : saved_(SetExtendedPrecision()) {}
  ~ExtendedPrecisionScope() { RestoreFpuControl(saved_); }
  ExtendedPrecisionScope(const ExtendedPrecisionScope&) = delete;
  ExtendedPrecisionScope& operator=(const ExtendedPrecisionScope&) = delete;

 private:
  uint16_t saved_;
};
