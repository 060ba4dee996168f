#pragma once
// The block decompressor: reads the stream that BlockEncoder writes, with the
// largest dictionary that memory allows (so streams written with any smaller
// dictionary decode too), and hands the bytes over one chunk of at most one
// dictionary at a time. The stream has no length field: it ends where the
// input is exhausted and the last block's codes are all decoded (the writer
// pads the last byte with zero bits). A malformed stream is reported through the caller's
// error hook, once, and never makes the decoder read or write outside its
// arrays.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <vector>

#include "files/block_format.h"

class BlockDecoder {
 public:
  using ErrorHook = std::function<void()>;

  BlockDecoder() = default;
  // A budget below the needs makes the decoder pick a smaller dictionary or
  // fail to start.
  explicit BlockDecoder(MemoryBudget budget) : budget_(budget) {}
  BlockDecoder(const BlockDecoder&) = delete;
  BlockDecoder& operator=(const BlockDecoder&) = delete;
  ~BlockDecoder() { DecoderEnd(); }

  // Obtains the storage and reads the first 16 bits. Returns the ring that
  // the chunks are decoded into, or null when even a 1 KB dictionary cannot
  // be had (nothing stays allocated then). The decoder owns the file from a
  // successful start on and closes it in DecoderEnd.
  const uint8_t* DecoderStart(std::FILE* in);
  const uint8_t* DecoderStart(std::span<const uint8_t> in);
  // Decodes the next chunk into the ring from offset 0 and returns its
  // length: DICSIZ for a full chunk, fewer at the end, 0 when the stream is
  // exhausted or malformed. A malformed stream calls onError once and gives
  // 0, and so does every later call.
  uint32_t DecodeChunk(const ErrorHook& onError);
  void DecoderEnd();

  int Dicbit() const { return dicbit_; }

 private:
  bool Start();
  bool AllocateStorage();
  void ReleaseStorage();

  // Bit reader.
  void FillBuf(int n);
  uint32_t GetBits(int n);
  uint8_t NextInputByte();
  // The input is exhausted and the current block is complete: no further
  // block fits in the less than 16 bits left. Codes still owed by the block
  // are decoded even when their bits are all zero, so a chunk never ends
  // early in the middle of the stream (the next chunk starts at ring offset
  // 0 and would see a wrong dictionary).
  bool StreamEnded() const { return inputEnded_ && blocksize_ == 0; }

  // Block headers and symbols (false / negative on a malformed stream).
  bool ReadBlockHeader();
  bool ReadSmallTable(int nn, int nbit, int specialIndex);
  bool ReadCodeLengths();
  bool SetSingleSymbol(uint32_t symbol, int nchar, uint8_t* bitLength, uint16_t* table, int tableSize);
  bool MakeTable(int nchar, const uint8_t* bitLength, int tableBits, uint16_t* table);
  uint32_t WalkTree(uint32_t entry, uint32_t nchar, uint32_t mask) const;
  int DecodeSymbol();
  int DecodePosition();
  uint32_t CopyPending(uint32_t r);

  MemoryBudget budget_;
  FallibleArray<uint16_t> cTable_;   // 4096 entries: 12-bit lookup
  FallibleArray<uint16_t> ptTable_;  // 256 entries: 8-bit lookup
  FallibleArray<uint8_t> cLen_;
  FallibleArray<uint8_t> ptLen_;
  FallibleArray<uint16_t> left_;     // tree nodes for codes longer than the lookup
  FallibleArray<uint16_t> right_;
  FallibleArray<uint8_t> ring_;
  int dicbit_ = 0;
  uint32_t dicsiz_ = 0;
  int np_ = 0;

  std::FILE* file_ = nullptr;
  std::span<const uint8_t> memory_;
  size_t memoryPos_ = 0;
  bool started_ = false;

  uint32_t bitBuf_ = 0;     // 16-bit look-ahead
  uint32_t subBitBuf_ = 0;  // byte holder
  int bitCount_ = 0;        // unread bits in the holder
  bool inputEnded_ = false;

  uint32_t blocksize_ = 0;  // codes left in the current block
  uint32_t pendingCopies_ = 0;
  uint32_t copyFrom_ = 0;
  bool broken_ = false;
};

// Whole-buffer decoding for tests, fuzzing and benchmarks: at most maxOutput
// bytes are produced. False when the stream is malformed (out then holds what
// was decoded before the fault) or no storage could be had.
bool DecompressBytes(std::span<const uint8_t> input, std::vector<uint8_t>& out,
                     size_t maxOutput = static_cast<size_t>(-1));
