#include "files/bitmap_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "engine/ui_host.h"
#include "files/file_messages.h"
#include "files/safe_file.h"

namespace {

constexpr uint16_t kBitmapType = 0x4D42;  // "BM"
constexpr size_t kRgbTripleSize = 3;
constexpr size_t kCoreWidthField = 4;
constexpr size_t kCoreHeightField = 6;
constexpr size_t kCorePlanesField = 8;

// Where the reader takes its bytes from: a file or memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to n bytes; the count read, or -1 on a read error.
  virtual long long Read(uint8_t* to, size_t n) = 0;
  // Moves to an absolute position; beyond the end, reads return nothing.
  virtual void Seek(uint64_t position) = 0;
};

class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  long long Read(uint8_t* to, size_t n) override {
    if (pastEnd_ || n == 0) return 0;
    const size_t got = std::fread(to, 1, n, file_);
    if (std::ferror(file_)) return -1;
    return static_cast<long long>(got);
  }
  void Seek(uint64_t position) override {
    pastEnd_ = position > static_cast<uint64_t>(LONG_MAX) ||
               std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0;
  }

 private:
  std::FILE* file_;
  bool pastEnd_ = false;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
  long long Read(uint8_t* to, size_t n) override {
    const size_t got = std::min(n, size_ - position_);
    if (got != 0) std::memcpy(to, bytes_ + position_, got);
    position_ += got;
    return static_cast<long long>(got);
  }
  void Seek(uint64_t position) override {
    position_ = static_cast<size_t>(std::min<uint64_t>(position, size_));
  }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t position_ = 0;
};

// Rewrites a 12-byte core header in the buffer as the equivalent 40-byte header.
void WidenCoreHeader(uint8_t* header, uint32_t colourCount) {
  const uint16_t width = ReadLe16(header + kCoreWidthField);
  const uint16_t height = ReadLe16(header + kCoreHeightField);
  const uint16_t planes = ReadLe16(header + kCorePlanesField);
  const uint16_t bitCount = ReadLe16(header + kCoreBitCountField);
  std::memset(header, 0, kInfoHeaderSize);
  WriteLe32(header + kHeaderSizeField, kInfoHeaderSize);
  WriteLe32(header + kWidthField, width);
  WriteLe32(header + kHeightField, height);
  WriteLe16(header + kPlanesField, planes);
  WriteLe16(header + kBitCountField, bitCount);
  WriteLe32(header + kColoursUsedField, colourCount);
  WriteLe32(header + kColoursImportantField, colourCount);
}

// The image size the block must hold: the uncompressed rows, or the header's
// image-size field when that is larger. False when the width or height is
// negative or the size does not fit in 32 bits.
bool ImageSizeOf(const uint8_t* header, uint32_t* imageSize) {
  const int32_t width = static_cast<int32_t>(ReadLe32(header + kWidthField));
  const int32_t height = static_cast<int32_t>(ReadLe32(header + kHeightField));
  if (width < 0 || height < 0) return false;
  const uint64_t rowBytes = DibRowBytes(ReadLe16(header + kBitCountField), static_cast<uint32_t>(width));
  if (height != 0 && rowBytes > UINT32_MAX / static_cast<uint64_t>(height)) return false;
  *imageSize = std::max(static_cast<uint32_t>(rowBytes * static_cast<uint64_t>(height)),
                        ReadLe32(header + kImageSizeField));
  return true;
}

// Reads the colour table into place behind the header. A core file holds
// RGBTRIPLEs, widened here from the last entry to the first so that no entry
// is overwritten before it is moved. Entries the file does not supply are 0.
void ReadColourTable(ByteSource& source, uint8_t* table, uint32_t colourCount, bool core) {
  const size_t entrySize = core ? kRgbTripleSize : kRgbQuadSize;
  const size_t tableBytes = entrySize * colourCount;
  const long long got = source.Read(table, tableBytes);
  const size_t supplied = got < 0 ? 0 : static_cast<size_t>(got);
  std::memset(table + supplied, 0, tableBytes - supplied);
  if (!core) return;
  for (uint32_t entry = colourCount; entry-- > 0;) {
    const uint8_t* triple = table + kRgbTripleSize * entry;
    const uint8_t blue = triple[0], green = triple[1], red = triple[2];
    uint8_t* quad = table + kRgbQuadSize * entry;
    quad[0] = blue;
    quad[1] = green;
    quad[2] = red;
    quad[3] = 0;
  }
}

bool ReadBitmap(ByteSource& source, DibBlock& dib, uint16_t* bitsOffset, size_t maxBlockSize) {
  uint8_t fileHeader[kBitmapFileHeaderSize];
  if (source.Read(fileHeader, sizeof fileHeader) != static_cast<long long>(sizeof fileHeader) ||
      ReadLe16(fileHeader) != kBitmapType) {
    return false;
  }
  uint8_t header[kInfoHeaderSize];
  if (source.Read(header, sizeof header) != static_cast<long long>(sizeof header)) return false;

  const uint32_t colourCount = DibColourCount(header, sizeof header);
  const uint32_t headerSize = ReadLe32(header + kHeaderSizeField);
  const bool core = headerSize == kCoreHeaderSize;
  if (core) {
    WidenCoreHeader(header, colourCount);
    source.Seek(kBitmapFileHeaderSize + kCoreHeaderSize);
  } else if (headerSize != kInfoHeaderSize) {
    return false;
  }
  if (colourCount > kMaxColourCount) return false;
  if (ReadLe32(header + kColoursUsedField) == 0) WriteLe32(header + kColoursUsedField, colourCount);

  uint32_t imageSize = 0;
  if (!ImageSizeOf(header, &imageSize)) return false;
  WriteLe32(header + kImageSizeField, imageSize);
  const uint16_t rowsOffset = static_cast<uint16_t>(kInfoHeaderSize + kRgbQuadSize * colourCount);
  const uint64_t blockSize = uint64_t{rowsOffset} + imageSize;
  if (blockSize > maxBlockSize) return false;
  if (!dib.Resize(static_cast<size_t>(blockSize))) return false;

  uint8_t* block = dib.Data();
  std::memcpy(block, header, kInfoHeaderSize);
  ReadColourTable(source, block + kInfoHeaderSize, colourCount, core);
  *bitsOffset = rowsOffset;

  const uint32_t fileBitsOffset = ReadLe32(fileHeader + kBitsOffsetField);
  if (fileBitsOffset != 0) source.Seek(fileBitsOffset);
  const long long got = source.Read(block + rowsOffset, imageSize);
  if (got < 0) return false;
  // Rows a truncated file does not supply are cleared, not left as they were.
  std::memset(block + rowsOffset + got, 0, imageSize - static_cast<size_t>(got));
  return true;
}

}  // namespace

bool ReadBitmapFile(const char* fileName, DibBlock& dib, uint16_t* bitsOffset, UiHost& host) {
  std::FILE* file = std::fopen(fileName, "rb");
  if (file == nullptr) {
    ShowCannotOpenFile(fileName, host);
    return false;
  }
  FileSource source(file);
  const bool read = ReadBitmap(source, dib, bitsOffset, kMaxBitmapBlockSize);
  std::fclose(file);
  return read;
}

bool ReadBitmapBytes(const uint8_t* bytes, size_t size, DibBlock& dib, uint16_t* bitsOffset,
                     size_t maxBlockSize) {
  MemorySource source(bytes, size);
  return ReadBitmap(source, dib, bitsOffset, maxBlockSize);
}

bool WriteBitmapFile(const char* fileName, const DibBlock& dib) {
  if (dib.Empty() || dib.Size() < kInfoHeaderSize) return false;
  const uint8_t* block = dib.Data();
  const uint32_t headerSize = ReadLe32(block + kHeaderSizeField);
  const size_t entrySize = headerSize == kCoreHeaderSize ? kRgbTripleSize : kRgbQuadSize;
  const uint64_t bitsOffset =
      kBitmapFileHeaderSize + uint64_t{headerSize} + entrySize * uint64_t{DibColourCount(block, dib.Size())};
  const uint64_t fileSize = kBitmapFileHeaderSize + uint64_t{dib.Size()};
  if (bitsOffset > UINT32_MAX || fileSize > UINT32_MAX) return false;

  uint8_t fileHeader[kBitmapFileHeaderSize] = {};
  WriteLe16(fileHeader, kBitmapType);
  WriteLe32(fileHeader + kFileSizeField, static_cast<uint32_t>(fileSize));
  WriteLe32(fileHeader + kBitsOffsetField, static_cast<uint32_t>(bitsOffset));

  SafeFileWriter writer(fileName);
  return writer.Write(fileHeader, sizeof fileHeader) && writer.Write(block, dib.Size()) && writer.Commit();
}

bool RequireSixteenColours(const DibBlock& dib, UiHost& host) {
  if (!dib.Empty() && DibColourCount(dib.Data(), dib.Size()) == 16) return true;
  host.ShowMessage("１６色ＤＩＢではありません", "Zirn", MessageIcon::Error);
  return false;
}
