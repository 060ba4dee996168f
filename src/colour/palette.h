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

void GetPaletteEntry(int index, int32_t* red, int32_t* green, int32_t* blue);
void SetPaletteEntry(int index, int32_t red, int32_t green, int32_t blue);
void GetStagedEntry(int index, int32_t* red, int32_t* green, int32_t* blue);
void SetStagedEntry(int index, int32_t red, int32_t green, int32_t blue);
void ApplyStagedPalette();

// The default palette, then the random generator seeded from the clock.
void SetDefaultPalette();
// The square-root and sine tables; called once at start, before any plot.
void BuildColourTables();

// Name of colour method i + 1 for i = 0..3; nullptr above.
const char* MethodName(int i);

void FindCountRange(PlotRecord& record);
int32_t AssignColour(PlotRecord& record, int32_t count, int32_t limit);
// 0x00BBGGRR of the entry AssignColour chose.
uint32_t CountColour(PlotRecord& record, int32_t count, int32_t limit);

// 8-bit intensity of a level: level * 17, modulo 256.
inline uint8_t LevelIntensity(int32_t level) { return static_cast<uint8_t>(level * 17); }
