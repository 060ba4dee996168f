#pragma once
// BMP files: reading one into the DibBlock, writing the DibBlock out, and the
// 16-colour test of the palette tools. The header layout and the colour-count
// rule shared by all users of the block are in colour/dib_layout.h.

#include <cstddef>
#include <cstdint>

#include "colour/dib_layout.h"
#include "colour/dib_block.h"

class UiHost;

constexpr size_t kBitmapFileHeaderSize = 14;  // BITMAPFILEHEADER
constexpr size_t kFileSizeField = 2;          // in the file header
constexpr size_t kBitsOffsetField = 10;       // in the file header
// The most colours whose table still leaves the pixel offset in 16 bits.
constexpr uint32_t kMaxColourCount = (0xFFFF - kInfoHeaderSize) / kRgbQuadSize;
// A reader of arbitrary bytes must not ask for gigabytes; the largest image
// the program makes itself is far below this.
constexpr size_t kMaxBitmapBlockSize = size_t{1} << 30;

// Reads a BMP file (40-byte or 12-byte header) into dib, always with a
// 40-byte header in memory, and sets *bitsOffset to the offset of its pixel
// rows. Shows "Cannot open file '%s' .." only when the file cannot be opened;
// every other failure is silent. Rows a truncated file does not supply are 0.
// Failures before the resize leave dib untouched; a refused resize empties it.
bool ReadBitmapFile(const char* fileName, DibBlock& dib, uint16_t* bitsOffset, UiHost& host);
// The same from bytes in memory, with a chosen limit on the block size.
bool ReadBitmapBytes(const uint8_t* bytes, size_t size, DibBlock& dib, uint16_t* bitsOffset,
                     size_t maxBlockSize = kMaxBitmapBlockSize);

// Writes dib as a BMP file; an existing file is replaced only by a complete one.
bool WriteBitmapFile(const char* fileName, const DibBlock& dib);

// True when dib holds a 16-colour image; otherwise shows "１６色ＤＩＢではありません".
bool RequireSixteenColours(const DibBlock& dib, UiHost& host);
