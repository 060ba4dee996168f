#pragma once
// The compressor's sliding window and its longest-match finder: a Patricia
// trie over the strings of the window whose internal nodes remember a recent
// position below them, kept current by percolating positions upward lazily.

#include <cstdint>

#include "files/block_format.h"

class EncoderTrie {
 public:
  // Obtains the window and the trie arrays for 2^dicbit bytes of dictionary.
  bool Allocate(int dicbit, MemoryBudget& budget);
  void Release();
  // Empties the trie (every root childless, every leaf detached).
  void Init();

  // Enters the string at pos; leaves the longest earlier match in
  // matchlen/matchpos (reusing the previous match when matchlen >= 4).
  void InsertNode();
  // Removes the string at pos, the oldest one, which leaves the window.
  void DeleteNode();

  // Window of 2 * DICSIZ + MAXMATCH bytes; new input goes in at DICSIZ.
  uint8_t* Text() { return text_.Data(); }
  int32_t dicsiz = 0;
  int32_t pos = 0;
  int32_t matchlen = 0;
  int32_t matchpos = 0;

 private:
  int32_t Hash(int32_t node, uint8_t byte) const { return node + (byte << hashShift_) + 2 * dicsiz; }
  int32_t Child(int32_t q, uint8_t byte);
  void MakeChild(int32_t q, uint8_t byte, int32_t r);
  void Unlink(int32_t node);
  void ReplaceInChain(int32_t old, int32_t node);
  void Split(int32_t old);

  int hashShift_ = 0;
  int32_t avail_ = 0;  // head of the free list of internal nodes
  FallibleArray<uint8_t> text_;
  FallibleArray<uint8_t> level_;       // common prefix length below an internal node
  FallibleArray<uint8_t> childCount_;  // counted modulo 256; only 0..2 matters
  FallibleArray<int32_t> position_;    // recent position below a node, 0x8000: to percolate
  FallibleArray<int32_t> parent_;
  FallibleArray<int32_t> previous_;
  FallibleArray<int32_t> next_;        // free list, leaf successors and hash chains
};
