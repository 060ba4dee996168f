#include "files/encoder.h"

#include <cstring>

namespace {
constexpr size_t kBlockBufferSize = 16 * 1024;
constexpr size_t kSmallestBlockBuffer = 4 * 1024;
}  // namespace

bool BlockEncoder::AllocateStorage(int dicbit) {
  np_ = dicbit + 1;
  if (!trie_.Allocate(dicbit, budget_) || !huffman_.Allocate(budget_) || !cLen_.Allocate(NC, budget_) ||
      !cCode_.Allocate(NC, budget_) || !ptLen_.Allocate(NPT, budget_) || !ptCode_.Allocate(NPT, budget_) ||
      !cFreq_.Allocate(2 * NC - 1, budget_) || !pFreq_.Allocate(2 * np_ - 1, budget_) ||
      !tFreq_.Allocate(2 * NT - 1, budget_)) {
    ReleaseStorage();
    return false;
  }
  // The block buffer may shrink by tenths down to about 4 KB.
  for (size_t size = kBlockBufferSize; size >= kSmallestBlockBuffer; size = size / 10 * 9) {
    if (buffer_.Allocate(size, budget_)) {
      bufferSize_ = size;
      return true;
    }
  }
  ReleaseStorage();
  return false;
}

void BlockEncoder::ReleaseStorage() {
  trie_.Release();
  huffman_.Release();
  buffer_.Release();
  cLen_.Release();
  cCode_.Release();
  ptLen_.Release();
  ptCode_.Release();
  cFreq_.Release();
  pFreq_.Release();
  tFreq_.Release();
  bufferSize_ = 0;
}

bool BlockEncoder::Start(int dicbit, int progressMode, ProgressHook progress) {
  if (started_) EncoderFinish();
  if (dicbit < 10 || dicbit > 14 || !AllocateStorage(dicbit)) return false;
  trie_.Init();
  progress_ = std::move(progress);
  progressMode_ = progressMode;
  started_ = true;
  state_ = kFirstFill;
  remainder_ = 0;
  lastmatchlen_ = 0;
  lastmatchpos_ = 0;
  refill_ = 0;
  totalIn_ = 0;
  outputPos_ = 0;
  outputMask_ = 0;
  flagPos_ = 0;
  buffer_[0] = 0;
  subBitBuf_ = 0;
  bitCount_ = 8;
  compressedSize_ = 0;
  return true;
}

bool BlockEncoder::EncoderStart(std::FILE* out, int dicbit, int progressMode, ProgressHook progress) {
  if (!Start(dicbit, progressMode, std::move(progress))) return false;
  file_ = out;
  vector_ = nullptr;
  return true;
}

bool BlockEncoder::EncoderStart(std::vector<uint8_t>* out, int dicbit, int progressMode, ProgressHook progress) {
  if (!Start(dicbit, progressMode, std::move(progress))) return false;
  file_ = nullptr;
  vector_ = out;
  return true;
}

void BlockEncoder::EncoderPutByte(uint8_t byte) {
  if (!started_) return;
  uint8_t* text = trie_.Text();
  const int32_t dicsiz = trie_.dicsiz;
  switch (state_) {
    case kFirstFill:
      text[dicsiz + remainder_++] = byte;
      if (remainder_ < dicsiz + MAXMATCH) return;
      state_ = kCoding;
      refill_ = 0;
      Code(kStartCoding);
      return;
    case kRefillMain:
    case kRefillMatch:
      text[dicsiz + MAXMATCH + refill_++] = byte;
      if (refill_ < dicsiz) return;
      remainder_ += refill_;
      totalIn_ += static_cast<uint32_t>(refill_);
      refill_ = 0;
      Code(state_ == kRefillMain ? kResumeMain : kResumeMatch);
      return;
    default:
      return;  // not started, or the stream is complete
  }
}

uint32_t BlockEncoder::EncoderFinish(uint32_t* totalIn) {
  if (!started_) {
    if (totalIn != nullptr) *totalIn = 0;
    return 0;
  }
  const bool anyInput = state_ != kFirstFill || remainder_ > 0;
  // Code what is at hand: no more input will come, so a slide resumes with
  // however many bytes the refill had received, possibly none.
  while (anyInput && state_ != kFinished) {
    if (state_ == kFirstFill) {
      state_ = kCoding;
      Code(kStartCoding);
    } else {
      const Resume how = state_ == kRefillMain ? kResumeMain : kResumeMatch;
      remainder_ += refill_;
      totalIn_ += static_cast<uint32_t>(refill_);
      refill_ = 0;
      Code(how);
    }
  }
  if (totalIn != nullptr) *totalIn = totalIn_;
  const uint32_t written = compressedSize_;
  ReleaseStorage();
  progress_ = nullptr;
  started_ = false;
  state_ = kFirstFill;
  remainder_ = 0;
  return written;
}

void BlockEncoder::ShowProgress() {
  if (progressMode_ == kProgressShown && progress_) progress_();
}

void BlockEncoder::ClampMatch() {
  if (trie_.matchlen > remainder_) trie_.matchlen = remainder_;
}

// Moves to the next position. At the window's end the upper half slides down
// and false asks the caller for up to DICSIZ more bytes.
bool BlockEncoder::Advance() {
  --remainder_;
  if (++trie_.pos == 2 * trie_.dicsiz) {
    uint8_t* text = trie_.Text();
    std::memmove(text, text + trie_.dicsiz, static_cast<size_t>(trie_.dicsiz) + MAXMATCH);
    return false;
  }
  return true;
}

// Lazy matching: the match found at the previous position is coded only when
// the current position does not find a longer one.
bool BlockEncoder::EmitCode() {
  if (trie_.matchlen > lastmatchlen_ || lastmatchlen_ < THRESHOLD) {
    Output(trie_.Text()[trie_.pos - 1], 0);
    return true;
  }
  Output(static_cast<uint32_t>(lastmatchlen_ + (256 - THRESHOLD)),
         static_cast<uint32_t>(trie_.pos - lastmatchpos_ - 2) & static_cast<uint32_t>(trie_.dicsiz - 1));
  return ContinueMatch();
}

// Enters the remaining strings covered by the match being coded.
bool BlockEncoder::ContinueMatch() {
  while (--lastmatchlen_ > 0) {
    if (!Advance()) {
      state_ = kRefillMatch;
      return false;
    }
    trie_.DeleteNode();
    trie_.InsertNode();
  }
  ClampMatch();
  return true;
}

void BlockEncoder::Code(Resume how) {
  if (how == kStartCoding) {
    ShowProgress();
    totalIn_ += static_cast<uint32_t>(remainder_);
    trie_.matchlen = 0;
    trie_.pos = trie_.dicsiz;
    trie_.InsertNode();
    ClampMatch();
  } else {
    trie_.pos = trie_.dicsiz;
    ShowProgress();
    trie_.DeleteNode();
    trie_.InsertNode();
    if (how == kResumeMain) {
      ClampMatch();
      if (!EmitCode()) return;
    } else if (!ContinueMatch()) {
      return;
    }
  }
  while (remainder_ > 0) {
    lastmatchlen_ = trie_.matchlen;
    lastmatchpos_ = trie_.matchpos;
    if (!Advance()) {
      state_ = kRefillMain;
      return;
    }
    trie_.DeleteNode();
    trie_.InsertNode();
    ClampMatch();
    if (!EmitCode()) return;
  }
  SendBlock();
  PutBits(7, 0);  // completes the last byte
  state_ = kFinished;
}

void BlockEncoder::PutOutputByte(uint8_t byte) {
  if (file_ != nullptr) {
    std::putc(byte, file_);
  } else if (vector_ != nullptr) {
    vector_->push_back(byte);
  }
  ++compressedSize_;
}

// Writes the low n bits of x (n <= 16), most significant first.
void BlockEncoder::PutBits(int n, uint32_t x) {
  x &= (1u << n) - 1;
  if (n < bitCount_) {
    bitCount_ -= n;
    subBitBuf_ |= x << bitCount_;
    return;
  }
  n -= bitCount_;
  PutOutputByte(static_cast<uint8_t>(subBitBuf_ | (x >> n)));
  if (n >= 8) {
    n -= 8;
    PutOutputByte(static_cast<uint8_t>(x >> n));
  }
  bitCount_ = 8 - n;
  subBitBuf_ = (x << bitCount_) & 0xFF;
}

std::vector<uint8_t> CompressBytes(std::span<const uint8_t> input, int dicbit) {
  std::vector<uint8_t> out;
  BlockEncoder encoder;
  if (!encoder.EncoderStart(&out, dicbit)) return out;
  for (uint8_t byte : input) encoder.EncoderPutByte(byte);
  encoder.EncoderFinish();
  return out;
}
