#pragma once
// Layout rules of the packed device-independent bitmap held in a DibBlock:
// field offsets of the 40-byte BITMAPINFOHEADER (and of the 12-byte
// BITMAPCOREHEADER), the colour count of a header and the padded row length.

#include <cstddef>
#include <cstdint>

constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kRgbQuadSize = 4;

// BITMAPINFOHEADER field offsets.
constexpr size_t kHeaderSizeField = 0;
constexpr size_t kWidthField = 4;
constexpr size_t kHeightField = 8;
constexpr size_t kPlanesField = 12;
constexpr size_t kBitCountField = 14;
constexpr size_t kCompressionField = 16;
constexpr size_t kImageSizeField = 20;
constexpr size_t kXResolutionField = 24;
constexpr size_t kYResolutionField = 28;
constexpr size_t kColoursUsedField = 32;
constexpr size_t kColoursImportantField = 36;
// BITMAPCOREHEADER: 16-bit width, height, planes, bit count.
constexpr size_t kCoreBitCountField = 10;

// Colours in a header's colour table: a 40-byte header's colours-used field
// when it is not 0, otherwise 2, 16 or 256 for 1, 4 or 8 bits per pixel and 0
// (no colour table) for any other bit count. The header size is taken from the
// first field; any size other than 12 is read as the 40-byte form. Returns 0
// when `available` bytes cannot hold the fields the rule reads.
uint32_t DibColourCount(const uint8_t* header, size_t available);

// Bytes per stored row: bitCount * width bits rounded up to a multiple of 32.
// 64-bit so that no width of a 32-bit field can overflow it.
inline uint64_t DibRowBytes(uint32_t bitCount, uint32_t width) {
  return ((static_cast<uint64_t>(bitCount) * width + 31) & ~uint64_t{31}) / 8;
}
