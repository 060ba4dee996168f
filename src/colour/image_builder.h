#pragma once
// The 16-colour picture built from a plot's counts, the exchange of colours
// between the picture's colour table and the program palette, and the entries
// of the logical palette that painting makes from the picture.
//
// "No block" is an empty DibBlock (DibBlock::Empty()): the state a failed
// resize leaves behind. Every function here fails on it without touching
// memory; nothing here makes a fresh block.

#include <cstdint>
#include <vector>

#include "colour/dib_block.h"

struct PlotRecord;

// Offset of the pixel rows of a picture built from counts: header and 16 colours.
constexpr uint16_t kCountImageBitsOffset = 40 + 16 * 4;

// Resizes the block to the 4-bit picture of the record's counts and fills it:
// header, colour table from the program palette, rows bottom line first, the
// padding at the end of each row cleared. Sets *bitsOffset (when given) on
// success. Fails without touching the block when it is empty, when the record
// has no counts covering sizeX x sizeY, or when a size is not positive; a
// refused resize leaves the block empty and fails.
bool BuildImageFromCounts(PlotRecord& record, DibBlock& dib, uint16_t* bitsOffset);

// Writes the program palette as 16 RGBQUAD entries (64 bytes) at `table`.
void WriteProgramColourTable(uint8_t* table);

// Copies the program palette into the colour table of a 4-bit picture (the
// table starts at the header-size offset). Any other bit count: nothing changes.
bool WritePaletteToImage(DibBlock& dib);
// Sets the program palette from the colour table of a 4-bit picture, each
// 8-bit component shifted right by 4. Any other bit count: nothing changes.
bool TakePaletteFromImage(DibBlock& dib);

// The contents of a LOGPALETTE for a picture.
struct DisplayPaletteEntry {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  uint8_t flags;
};
struct DisplayPaletteLayout {
  bool useStockPalette = false;  // colours used is 0: take the stock default palette
  uint16_t version = 0x300;
  std::vector<DisplayPaletteEntry> entries;  // one per colour used, in table order
};

// Fills *layout from a packed DIB of `size` bytes. Fails when the header or the
// colour table it declares does not lie inside the block, or when the colours
// used do not fit the palette's 16-bit entry count.
bool DescribeDisplayPalette(const uint8_t* block, size_t size, DisplayPaletteLayout* layout);
