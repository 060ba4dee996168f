#include "engine/fpu_precision.h"

uint16_t FpuControlWord() {
  uint16_t control = 0;
  __asm__ volatile("fnstcw %0" : "=m"(control));
  return control;
}

void RestoreFpuControl(uint16_t control) { __asm__ volatile("fldcw %0" : : "m"(control)); }

uint16_t SetExtendedPrecision() {
  const uint16_t saved = FpuControlWord();
  // Bits 8-9 are the precision control; 11 selects the 64-bit mantissa.
  RestoreFpuControl(static_cast<uint16_t>(saved | 0x0300));
  return saved;
}
