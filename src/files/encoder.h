#pragma once
// The block compressor: LZ77 over a sliding dictionary of 2^DICBIT bytes with
// lazy matching, coded in blocks of static Huffman codes whose tables travel
// in each block's header. The caller feeds one byte at a time; the coding
// happens in bursts of one dictionary inside EncoderPutByte, so the caller
// regains control at least every DICSIZ input bytes.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <vector>

#include "files/block_format.h"
#include "files/encoder_huffman.h"
#include "files/encoder_trie.h"

constexpr int kProgressShown = 2;  // progress mode that calls the progress hook

class BlockEncoder {
 public:
  using ProgressHook = std::function<void()>;

  BlockEncoder() = default;
  // A budget below the needs makes the starts fail or the block buffer shrink.
  explicit BlockEncoder(MemoryBudget budget) : budget_(budget) {}
  BlockEncoder(const BlockEncoder&) = delete;
  BlockEncoder& operator=(const BlockEncoder&) = delete;

  // Obtains all storage for dictionary bits dicbit (10..14) and prepares an
  // empty stream into out. False, with nothing allocated and nothing
  // written, when storage is refused. With progressMode kProgressShown the
  // hook runs when coding starts and at every window slide.
  bool EncoderStart(std::FILE* out, int dicbit, int progressMode, ProgressHook progress = {});
  bool EncoderStart(std::vector<uint8_t>* out, int dicbit, int progressMode = 0, ProgressHook progress = {});
  void EncoderPutByte(uint8_t byte);
  // Completes the stream, releases all storage and returns the number of
  // compressed bytes; *totalIn (optional) gets the number of input bytes.
  // No input at all writes nothing and returns 0.
  uint32_t EncoderFinish(uint32_t* totalIn = nullptr);

  size_t BlockBufferSize() const { return bufferSize_; }

 private:
  enum State { kFirstFill = 0, kCoding = 1, kRefillMain = 2, kRefillMatch = 3, kFinished = 999 };
  enum Resume { kStartCoding, kResumeMain, kResumeMatch };

  bool Start(int dicbit, int progressMode, ProgressHook progress);
  bool AllocateStorage(int dicbit);
  void ReleaseStorage();

  // Coding loop.
  void Code(Resume how);
  bool Advance();
  bool EmitCode();
  bool ContinueMatch();
  void ClampMatch();
  void ShowProgress();

  // Block buffer and block output.
  void Output(uint32_t symbol, uint32_t position);
  void SendBlock();
  void CountCodeLengthFrequencies();
  void WriteSmallTable(int n, int nbit, int specialIndex);
  void WriteCodeLengths();
  void EncodePosition(uint32_t position);

  // Bit writer.
  void PutBits(int n, uint32_t x);
  void PutOutputByte(uint8_t byte);

  MemoryBudget budget_;
  EncoderTrie trie_;
  HuffmanBuilder huffman_;
  FallibleArray<uint8_t> buffer_;
  FallibleArray<uint8_t> cLen_;
  FallibleArray<uint16_t> cCode_;
  FallibleArray<uint8_t> ptLen_;
  FallibleArray<uint16_t> ptCode_;
  FallibleArray<int32_t> cFreq_;
  FallibleArray<int32_t> pFreq_;
  FallibleArray<int32_t> tFreq_;
  size_t bufferSize_ = 0;
  int np_ = 0;

  std::FILE* file_ = nullptr;
  std::vector<uint8_t>* vector_ = nullptr;
  ProgressHook progress_;
  int progressMode_ = 0;
  bool started_ = false;

  int state_ = kFirstFill;
  int32_t remainder_ = 0;
  int32_t lastmatchlen_ = 0;
  int32_t lastmatchpos_ = 0;
  int32_t refill_ = 0;
  uint32_t totalIn_ = 0;
  size_t outputPos_ = 0;
  uint32_t outputMask_ = 0;
  size_t flagPos_ = 0;

  uint32_t subBitBuf_ = 0;
  int bitCount_ = 8;  // free bits in subBitBuf_
  uint32_t compressedSize_ = 0;
};

// Whole-buffer helpers for tests, benchmarks and tools.
std::vector<uint8_t> CompressBytes(std::span<const uint8_t> input, int dicbit);
