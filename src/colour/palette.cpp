#include "colour/palette.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "engine/plot_progress.h"
#include "engine/plot_record.h"

namespace {

// The colouring subsystem's program-wide state: the palette on display, the
// palette last read from parameter text, and the assignment tables.
struct ColourState {
  PaletteEntry program[kPaletteSize];
  PaletteEntry staged[kPaletteSize];  // all levels 0 until a palette section is read
  ColourTables tables;
};

ColourState g_colour;

bool ValidIndex(int index) { return index >= 0 && index < kPaletteSize; }

// Out-of-range indices read as black and are never written.
void ReadEntry(const PaletteEntry* palette, int index, int32_t* red, int32_t* green,
               int32_t* blue) {
  const PaletteEntry entry = ValidIndex(index) ? palette[index] : PaletteEntry{0, 0, 0};
  *red = entry.red;
  *green = entry.green;
  *blue = entry.blue;
}

void WriteEntry(PaletteEntry* palette, int index, int32_t red, int32_t green, int32_t blue) {
  if (ValidIndex(index)) palette[index] = PaletteEntry{red, green, blue};
}

// Table position 0..999 of a count inside the range; divisor is span + 1.
int64_t TablePosition(int64_t pos, int64_t span) {
  const int64_t divisor = span + 1;
  // A zero divisor is reachable only for a count below lower with a range
  // that an earlier plot left behind; such counts take the lowest position.
  int64_t t = divisor == 0 ? 0 : pos * 1000 / divisor;
  if (t < 0) t = 0;
  if (t > kColourTableSize - 1) t = kColourTableSize - 1;
  return t;
}

int32_t IndexFromTable(const uint16_t* table, int64_t pos, int64_t span) {
  return static_cast<int32_t>(table[TablePosition(pos, span)] * 15 / 1000 + 1);
}

int32_t LinearIndex(int64_t pos, int64_t span) {
  const int64_t p = pos < 0 ? 0 : pos;
  // span is 0 only when pos < 0 (pos < span), where p is 0 and the band is the lowest.
  const int64_t band = span == 0 ? 0 : p * 16 / span;
  return static_cast<int32_t>((band + 1) % 16);
}

}  // namespace

void GetPaletteEntry(int index, int32_t* red, int32_t* green, int32_t* blue) {
  ReadEntry(g_colour.program, index, red, green, blue);
}

void SetPaletteEntry(int index, int32_t red, int32_t green, int32_t blue) {
  WriteEntry(g_colour.program, index, red, green, blue);
}

void GetStagedEntry(int index, int32_t* red, int32_t* green, int32_t* blue) {
  ReadEntry(g_colour.staged, index, red, green, blue);
}

void SetStagedEntry(int index, int32_t red, int32_t green, int32_t blue) {
  WriteEntry(g_colour.staged, index, red, green, blue);
}

void ApplyStagedPalette() {
  for (int i = 0; i < kPaletteSize; ++i) g_colour.program[i] = g_colour.staged[i];
}

// Bit 0 of the index is blue, bit 1 red, bit 2 green; the upper eight
// entries are the bright versions, and entry 8 is grey instead of a second black.
void SetDefaultPalette() {
  for (int i = 0; i < kPaletteSize; ++i) {
    const int32_t on = i < 8 ? 7 : 15;
    g_colour.program[i] = PaletteEntry{(i & 2) ? on : 0, (i & 4) ? on : 0, (i & 1) ? on : 0};
  }
  g_colour.program[8] = PaletteEntry{4, 4, 4};
  std::srand(static_cast<unsigned>(std::time(nullptr)));
}

// The arguments advance by repeated addition in double precision; the start
// of 1e-20 keeps the square root's argument off zero.
void BuildColourTables() {
  double root = 1e-20;
  double angle = 0;
  for (int t = 0; t < kColourTableSize; ++t) {
    g_colour.tables.squareRoot[t] = static_cast<uint16_t>(std::sqrt(root) * 1000);
    g_colour.tables.sine[t] = static_cast<uint16_t>(std::sin(angle) * 1000);
    root += 0.001;
    angle += 0.0015707963267948967;
  }
}

const ColourTables& GetColourTables() { return g_colour.tables; }

int RandomModulo16() { return std::rand() % 16; }

const char* MethodName(int i) {
  static const char* const kNames[] = {"sqrt()", "sin(pai/2)", "linear", "mod15+1"};
  if (i < 0 || i >= static_cast<int>(sizeof kNames / sizeof kNames[0])) return nullptr;
  return kNames[i];
}

// Scans the part of the buffer that both the record and the buffer cover, so
// a record whose size changed after its counts were made never reads past them.
void FindCountRange(PlotRecord& record) {
  int32_t lo = record.limit;
  int32_t hi = 1;
  const CountBuffer* buffer = record.rows;
  if (buffer != nullptr && buffer->rows != nullptr) {
    const int32_t sizeY = record.sizeY < buffer->sizeY ? record.sizeY : buffer->sizeY;
    const int32_t sizeX = record.sizeX < buffer->sizeX ? record.sizeX : buffer->sizeX;
    for (int32_t row = 0; row < sizeY; ++row) {
      const Count* counts = buffer->rows[row];
      for (int32_t column = 0; column < sizeX; ++column) {
        const int32_t c = counts[column];
        if (c > hi) hi = c;
        if (c < lo) lo = c;
      }
    }
  }
  record.lower = lo > 0 ? lo - 1 : 0;
  record.upper = hi;
}

namespace {

// Counts above the largest a plot of the record's arithmetic gives are not
// counts: they get index 0.
uint32_t LargestCount(const PlotRecord& record) {
  return record.plottedArithmetic == kPlottedDeep ? kMaximumDeepLimit : kMaximumLimit;
}

}  // namespace

// 64-bit intermediates: the range fields may hold anything an earlier plot or
// the caller left there, and the products must not overflow.
int32_t AssignColour(PlotRecord& record, int32_t count, int32_t limit) {
  int32_t index = 0;
  if (count >= 0 && static_cast<uint32_t>(count) <= LargestCount(record)) {
    const int64_t pos = static_cast<int64_t>(count) - record.lower;
    const int64_t span =
        static_cast<int64_t>(record.upper != 0 ? record.upper : limit) - record.lower;
    if (pos < span) {
      switch (record.colourMethod) {
        case kMethodSquareRoot:
          index = IndexFromTable(g_colour.tables.squareRoot, pos, span);
          break;
        case kMethodSine:
          index = IndexFromTable(g_colour.tables.sine, pos, span);
          break;
        case kMethodLinear:
          index = LinearIndex(pos, span);
          break;
        default:
          index = count % 15 + 1;
          break;
      }
    }
  }
  record.colourIndex = index;
  return index;
}

uint32_t CountColour(PlotRecord& record, int32_t count, int32_t limit) {
  const PaletteEntry& entry = g_colour.program[AssignColour(record, count, limit)];
  return static_cast<uint32_t>(LevelIntensity(entry.red)) |
         (static_cast<uint32_t>(LevelIntensity(entry.green)) << 8) |
         (static_cast<uint32_t>(LevelIntensity(entry.blue)) << 16);
}
