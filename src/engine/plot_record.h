#pragma once
// The record that describes one plot, its count buffer, and the two-entry
// history of plots shown.

#include <cstdint>

#include "engine/precise_coordinate.h"

// Option bits of PlotRecord::flags.
enum PlotFlag : uint32_t {
  kFlagJulia = 0x002,          // Julia set of (juliaR, juliaI); clear: Mandelbrot set
  kFlagInteger = 0x008,        // fixed-point plotters
  kFlagIntegerShadow = 0x010,  // set and cleared with kFlagInteger; nothing reads it
  kFlagLiveDrawing = 0x020,    // draw every pixel as soon as it is computed
  kFlagD = 0x200,              // set by the parameter key "D"; no behaviour
  kFlagJuliaStart = 0x400,     // the next start plots the Julia set of the picked point
  kFlagDeep = 0x1000,          // deep arithmetic even where 80 bits resolve the view
};

// The arithmetic that computed a record's counts (PlotRecord::plottedArithmetic).
enum PlottedArithmetic : int32_t {
  kPlottedNone = 0,     // not computed by a plotter (never plotted, or loaded)
  kPlottedReal = 1,     // 80-bit extended reals
  kPlottedInteger = 2,  // 32-bit fixed point
  kPlottedDeep = 3,     // the deep arithmetic, at referenceBits bits
};

// An iteration count: up to 30000 from the 80-bit and integer plotters, up to
// 100,000,000 from the deep arithmetic.
using Count = int32_t;

// sizeY rows of sizeX counts; row 0 is the top image line.
// Each row is its own allocation. The buffer remembers its own shape so that
// a release with a changed record size is caught instead of leaking rows.
struct CountBuffer {
  Count** rows;
  int32_t sizeX;
  int32_t sizeY;
};

struct PlotRecord {
  long double x = -2;      // real part of the left image column
  long double y = -2;      // imaginary part of the bottom image line
  long double juliaR = 0;  // Julia constant
  long double juliaI = 0;
  double height = 4;            // region height for the next plot
  double shownHeight = 4;       // region height of the counts held in rows
  double returnHeight = 0;      // Mandelbrot height to return to from a Julia set
  CountBuffer* rows = nullptr;  // owned by exactly one copy of the record
  int32_t limit = 100;
  int32_t lower = 0;
  int32_t upper = 0;
  int32_t sizeX = 400;
  int32_t sizeY = 400;
  int32_t shownSizeY = 400;
  int32_t colourIndex = 0;
  int32_t colourMethod = 1;
  uint32_t flags = 0;
  int32_t pending = 0;
  // x, y, juliaR and juliaI with every digit a deep view needs; each counts
  // while its 80-bit field holds its rounding (precise_coordinate.h).
  PreciseCoordinate preciseX;
  PreciseCoordinate preciseY;
  PreciseCoordinate preciseJuliaR;
  PreciseCoordinate preciseJuliaI;
  // height, shownHeight and returnHeight at any depth: each counts while its
  // double field holds its rounding, which below the doubles' range is 0 or
  // a subnormal (precise_coordinate.h).
  PreciseCoordinate preciseHeight;
  PreciseCoordinate preciseShownHeight;
  PreciseCoordinate preciseReturnHeight;
  // Set by every plot: the arithmetic of the counts in rows and, for the deep
  // arithmetic, the mantissa bits of its reference (0 otherwise).
  int32_t plottedArithmetic = kPlottedNone;
  int32_t referenceBits = 0;
};

// Count at (row, column) of the record's buffer.
inline Count& CountAt(const PlotRecord& record, int32_t row, int32_t column) {
  return record.rows->rows[row][column];
}

void CopyRegion(PlotRecord& destination, const PlotRecord& source);
void ResetView(PlotRecord& record);
CountBuffer* AllocateCountBuffer(const PlotRecord& record);
void FreeCountBuffer(PlotRecord& record);

void PushHistory(const PlotRecord& record);
void PopHistory(PlotRecord& destination);
int HistoryCount();

// The rows that the count functions expect are missing or do not match: a
// count buffer was released twice, released with a changed size, or a record
// was plotted without its own live buffer. The handler receives a short
// description. The default writes it to stderr and aborts; the window reports
// it as debug output and goes on, and tests install their own to observe the
// report. The engine stays memory-safe after reporting:
// buffers are released by their own shape and unknown buffers are not touched.
using CountBufferMisuseHandler = void (*)(const char* what);
// Installs handler (nullptr: the default) and returns the previous one.
CountBufferMisuseHandler SetCountBufferMisuseHandler(CountBufferMisuseHandler handler);

// FreeCountBuffer, then clears the record's reference.
void DiscardCountBuffer(PlotRecord& record);
// True when the record's rows are a live buffer of the record's own size;
// otherwise reports the misuse and returns false.
bool CountBufferFits(const PlotRecord& record);
// Buffers allocated and not yet released.
int LiveCountBufferCount();

// Program end: pops every history entry and releases its buffer.
void ReleaseHistory();
