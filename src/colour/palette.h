#pragma once
// The 16-entry program palette, the staged palette filled by parameter text,
// and the rule that maps an iteration count to a palette index.

#include <cstdint>

struct PlotRecord;

struct PaletteEntry {
  int32_t red;
  int32_t green;
  int32_t blue;
};

constexpr int kPaletteSize = 16;

// Indices outside 0..15 read as black and are never written.
void GetPaletteEntry(int index, int32_t* red, int32_t* green, int32_t* blue);
void SetPaletteEntry(int index, int32_t red, int32_t green, int32_t blue);
void GetStagedEntry(int index, int32_t* red, int32_t* green, int32_t* blue);
void SetStagedEntry(int index, int32_t red, int32_t green, int32_t blue);
void ApplyStagedPalette();

// The default palette, then the random generator seeded from the clock.
void SetDefaultPalette();
// The square-root and sine tables; called once at start, before any plot.
void BuildColourTables();

// The assignment tables: entry t of squareRoot is floor(1000 * sqrt(t / 1000)),
// entry t of sine is floor(1000 * sin(t * pi / 2000)).
constexpr int kColourTableSize = 1000;
struct ColourTables {
  uint16_t squareRoot[kColourTableSize];
  uint16_t sine[kColourTableSize];
};
const ColourTables& GetColourTables();

// A random number 0..15 from the generator that SetDefaultPalette seeded.
int RandomModulo16();

// Values of PlotRecord::colourMethod; any other value behaves as kMethodModulo.
enum ColourMethod : int32_t {
  kMethodSquareRoot = 1,  // "sqrt()"
  kMethodSine = 2,        // "sin(pai/2)"
  kMethodLinear = 3,      // "linear"
  kMethodModulo = 4,      // "mod15+1"
};

// Name of colour method i + 1 for i = 0..3; nullptr above.
const char* MethodName(int i);

// Reads only the counts that both the record's size and its buffer cover.
void FindCountRange(PlotRecord& record);
int32_t AssignColour(PlotRecord& record, int32_t count, int32_t limit);
// 0x00BBGGRR of the entry AssignColour chose.
uint32_t CountColour(PlotRecord& record, int32_t count, int32_t limit);

// 8-bit intensity of a level: level * 17, modulo 256.
inline uint8_t LevelIntensity(int32_t level) { return static_cast<uint8_t>(level * 17); }
