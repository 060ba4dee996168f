#pragma once
// The picture on display: one resizable memory block holding a packed
// device-independent bitmap (40-byte BITMAPINFOHEADER, colour table of RGBQUAD
// entries, pixel rows bottom line first, each padded to 4 bytes).
// A failed resize leaves the block empty ("none"), as a failed GlobalReAlloc
// would; the next successful resize makes a fresh block.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

class DibBlock {
 public:
  DibBlock() = default;
  DibBlock(const DibBlock&) = delete;
  DibBlock& operator=(const DibBlock&) = delete;
  ~DibBlock() { std::free(data_); }

  // Resizes keeping the leading bytes; false (and empty) when memory is refused.
  bool Resize(size_t size) {
    if (size == 0) size = 1;
    void* grown = std::realloc(data_, size);
    if (grown == nullptr) {
      std::free(data_);
      data_ = nullptr;
      size_ = 0;
      return false;
    }
    data_ = static_cast<uint8_t*>(grown);
    size_ = size;
    return true;
  }
  void Release() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
  }

  bool Empty() const { return data_ == nullptr; }
  uint8_t* Data() { return data_; }
  const uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// Little-endian field access within a byte block.
inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void WriteLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void WriteLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
