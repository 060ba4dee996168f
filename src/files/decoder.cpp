#include "files/decoder.h"

#include <algorithm>

namespace {
constexpr int kLargestDicbit = 15;
constexpr int kSmallestDicbit = 10;
}  // namespace

bool BlockDecoder::AllocateStorage() {
  if (!cTable_.Allocate(4096, budget_) || !ptTable_.Allocate(256, budget_) || !cLen_.Allocate(NC, budget_) ||
      !ptLen_.Allocate(NPT, budget_) || !left_.Allocate(2 * NC - 1, budget_) ||
      !right_.Allocate(2 * NC - 1, budget_)) {
    ReleaseStorage();
    return false;
  }
  for (int dicbit = kLargestDicbit; dicbit >= kSmallestDicbit; --dicbit) {
    if (ring_.Allocate(size_t{1} << dicbit, budget_)) {
      dicbit_ = dicbit;
      dicsiz_ = uint32_t{1} << dicbit;
      np_ = dicbit + 1;
      return true;
    }
  }
  ReleaseStorage();
  return false;
}

void BlockDecoder::ReleaseStorage() {
  cTable_.Release();
  ptTable_.Release();
  cLen_.Release();
  ptLen_.Release();
  left_.Release();
  right_.Release();
  ring_.Release();
  dicbit_ = 0;
  dicsiz_ = 0;
  np_ = 0;
}

bool BlockDecoder::Start() {
  if (!AllocateStorage()) return false;
  started_ = true;
  // The end flag is cleared before the first fill so that an empty input is
  // seen as ended at once.
  inputEnded_ = false;
  bitBuf_ = 0;
  subBitBuf_ = 0;
  bitCount_ = 0;
  FillBuf(16);
  blocksize_ = 0;
  pendingCopies_ = 0;
  copyFrom_ = 0;
  broken_ = false;
  return true;
}

const uint8_t* BlockDecoder::DecoderStart(std::FILE* in) {
  DecoderEnd();
  file_ = in;
  memory_ = {};
  if (!Start()) {
    file_ = nullptr;  // not ours: the caller still owns and closes it
    return nullptr;
  }
  return ring_.Data();
}

const uint8_t* BlockDecoder::DecoderStart(std::span<const uint8_t> in) {
  DecoderEnd();
  file_ = nullptr;
  memory_ = in;
  memoryPos_ = 0;
  return Start() ? ring_.Data() : nullptr;
}

void BlockDecoder::DecoderEnd() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  memory_ = {};
  memoryPos_ = 0;
  started_ = false;
  ReleaseStorage();
}

uint8_t BlockDecoder::NextInputByte() {
  if (file_ != nullptr) {
    const int c = std::getc(file_);
    if (c != EOF) return static_cast<uint8_t>(c);
  } else if (memoryPos_ < memory_.size()) {
    return memory_[memoryPos_++];
  }
  inputEnded_ = true;  // missing bytes read as 0
  return 0;
}

// Shifts the look-ahead left by n bits (n <= 16) and brings in n new bits.
void BlockDecoder::FillBuf(int n) {
  bitBuf_ = (bitBuf_ << n) & 0xFFFF;
  while (n > bitCount_) {
    n -= bitCount_;
    bitBuf_ |= (subBitBuf_ << n) & 0xFFFF;
    subBitBuf_ = NextInputByte();
    bitCount_ = 8;
  }
  bitCount_ -= n;
  bitBuf_ |= subBitBuf_ >> bitCount_;
}

uint32_t BlockDecoder::GetBits(int n) {
  const uint32_t x = bitBuf_ >> (16 - n);
  FillBuf(n);
  return x;
}

// Continues the copy of a match; stops when the ring is full.
uint32_t BlockDecoder::CopyPending(uint32_t r) {
  uint8_t* ring = ring_.Data();
  const uint32_t mask = dicsiz_ - 1;
  while (pendingCopies_ > 0) {
    ring[r] = ring[copyFrom_];
    copyFrom_ = (copyFrom_ + 1) & mask;
    --pendingCopies_;
    if (++r == dicsiz_) break;
  }
  return r;
}

uint32_t BlockDecoder::DecodeChunk(const ErrorHook& onError) {
  if (!started_ || broken_) return 0;
  auto fail = [&]() -> uint32_t {
    broken_ = true;
    if (onError) onError();
    return 0;
  };
  uint8_t* ring = ring_.Data();
  uint32_t r = CopyPending(0);
  if (r == dicsiz_) return r;
  if (StreamEnded()) return r;
  for (;;) {
    const int c = DecodeSymbol();
    if (c < 0) return fail();
    if (c < 256) {
      ring[r] = static_cast<uint8_t>(c);
      if (++r == dicsiz_) return r;
    } else {
      pendingCopies_ = static_cast<uint32_t>(c - (256 - THRESHOLD));
      const int p = DecodePosition();
      if (p < 0) return fail();
      copyFrom_ = (r - static_cast<uint32_t>(p) - 1) & (dicsiz_ - 1);
      r = CopyPending(r);
      if (r == dicsiz_) return r;
    }
    if (StreamEnded()) return r;
  }
}

bool DecompressBytes(std::span<const uint8_t> input, std::vector<uint8_t>& out, size_t maxOutput) {
  out.clear();
  BlockDecoder decoder;
  const uint8_t* ring = decoder.DecoderStart(input);
  if (ring == nullptr) return false;
  bool failed = false;
  const BlockDecoder::ErrorHook onError = [&failed]() { failed = true; };
  while (out.size() < maxOutput) {
    const uint32_t n = decoder.DecodeChunk(onError);
    if (n == 0) break;
    const size_t take = std::min<size_t>(n, maxOutput - out.size());
    out.insert(out.end(), ring, ring + take);
  }
  decoder.DecoderEnd();
  return !failed;
}
