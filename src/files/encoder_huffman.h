#pragma once
// Huffman code construction for the compressor: lengths limited to 16 bits
// and canonical codes, built the same way every time so that the stream is
// reproducible byte for byte.

#include <cstdint>

#include "files/block_format.h"

class HuffmanBuilder {
 public:
  bool Allocate(MemoryBudget& budget);
  void Release();

  // Builds the code of the n symbols from freq (which needs 2n-1 entries: the
  // tree's nodes get their frequencies behind the symbols). Returns the root:
  // a node number >= n for a real tree; a symbol < n when fewer than two
  // symbols occur (that symbol, or 0 when none does), whose code is then 0 and
  // all lengths stay 0.
  int MakeTree(int n, int32_t* freq, uint8_t* len, uint16_t* code);

 private:
  void DownHeap(int i);
  void MakeLengths(int root);
  void MakeCodes();

  FallibleArray<int32_t> left_;   // 2 * NC - 1 entries
  FallibleArray<int32_t> right_;
  FallibleArray<int32_t> heap_;   // NC + 1 entries, slots from 1
  FallibleArray<int32_t> sortOrder_;  // symbols in the order they left the heap
  int32_t lengthCount_[kMaxCodeLength + 1] = {};
  int heapSize_ = 0;
  int n_ = 0;
  int32_t* freq_ = nullptr;
  uint8_t* len_ = nullptr;
  uint16_t* code_ = nullptr;
};
