// The decompressor's block headers, decoding tables and symbol decoding.
// Every count, length and symbol read from the stream is checked against the
// array it is used on, so a malformed stream ends in an error report instead
// of a stray access.

#include "files/decoder.h"

namespace {
constexpr uint32_t kTreeNodeLimit = 2 * NC - 1;  // size of the left/right arrays
constexpr uint32_t kBadSymbol = 0xFFFFFFFF;
}  // namespace

// A one-symbol code: every table entry is the symbol, coded with no bits.
bool BlockDecoder::SetSingleSymbol(uint32_t symbol, int nchar, uint8_t* bitLength, uint16_t* table,
                                   int tableSize) {
  if (symbol >= static_cast<uint32_t>(nchar)) return false;
  for (int i = 0; i < nchar; ++i) bitLength[i] = 0;
  for (int i = 0; i < tableSize; ++i) table[i] = static_cast<uint16_t>(symbol);
  return true;
}

bool BlockDecoder::ReadBlockHeader() {
  blocksize_ = GetBits(16);
  if (blocksize_ == 0) return false;  // the writer never sends an empty block
  return ReadSmallTable(NT, TBIT, 3) && ReadCodeLengths() && ReadSmallTable(np_, PBIT, -1);
}

// Lengths of a small code (the code-length code or the position code) for nn
// symbols, then its 8-bit table. A count of 0 gives a one-symbol code of
// length 0.
bool BlockDecoder::ReadSmallTable(int nn, int nbit, int specialIndex) {
  const int n = static_cast<int>(GetBits(nbit));
  if (n == 0) return SetSingleSymbol(GetBits(nbit), nn, ptLen_.Data(), ptTable_.Data(), 256);
  if (n > nn) return false;
  int i = 0;
  while (i < n) {
    int c = static_cast<int>(bitBuf_ >> 13);
    if (c == 7) {  // 7 and more: one more for every 1 bit behind the first three
      uint32_t mask = 1u << 12;
      while (mask & bitBuf_) {
        mask >>= 1;
        ++c;
      }
    }
    if (c > kMaxCodeLength) return false;
    FillBuf(c < 7 ? 3 : c - 3);
    ptLen_[i++] = static_cast<uint8_t>(c);
    if (i == specialIndex) {
      for (int zeros = static_cast<int>(GetBits(2)); zeros > 0 && i < nn; --zeros) ptLen_[i++] = 0;
    }
  }
  while (i < nn) ptLen_[i++] = 0;
  return MakeTable(nn, ptLen_.Data(), 8, ptTable_.Data());
}

// Literal/length code lengths, themselves coded with the code-length code.
bool BlockDecoder::ReadCodeLengths() {
  const int n = static_cast<int>(GetBits(CBIT));
  if (n == 0) return SetSingleSymbol(GetBits(CBIT), NC, cLen_.Data(), cTable_.Data(), 4096);
  if (n > NC) return false;
  int i = 0;
  while (i < n) {
    const uint32_t c = WalkTree(ptTable_[bitBuf_ >> 8], NT, 1u << 7);
    if (c == kBadSymbol) return false;
    FillBuf(ptLen_[c]);
    if (c <= 2) {
      const int run = c == 0 ? 1 : c == 1 ? static_cast<int>(GetBits(4)) + 3 : static_cast<int>(GetBits(CBIT)) + 20;
      if (run > NC - i) return false;  // zero run past the alphabet's end
      for (int k = 0; k < run; ++k) cLen_[i++] = 0;
    } else {
      cLen_[i++] = static_cast<uint8_t>(c - 2);
    }
  }
  while (i < NC) cLen_[i++] = 0;
  return MakeTable(NC, cLen_.Data(), 12, cTable_.Data());
}

// Builds the lookup table of 2^tableBits entries for a canonical code: codes
// up to tableBits long fill ranges of entries, longer ones hang below their
// entry as trees in left_/right_ (nodes numbered from nchar upward). False
// unless the lengths form a complete prefix code.
bool BlockDecoder::MakeTable(int nchar, const uint8_t* bitLength, int tableBits, uint16_t* table) {
  uint32_t count[kMaxCodeLength + 1] = {};
  uint32_t weight[kMaxCodeLength + 1];
  uint32_t start[kMaxCodeLength + 2];
  for (int i = 0; i < nchar; ++i) {
    if (bitLength[i] > kMaxCodeLength) return false;
    ++count[bitLength[i]];
  }
  start[1] = 0;
  for (int i = 1; i <= kMaxCodeLength; ++i) start[i + 1] = start[i] + (count[i] << (kMaxCodeLength - i));
  if (start[kMaxCodeLength + 1] != (1u << kMaxCodeLength)) return false;

  const int jutBits = kMaxCodeLength - tableBits;
  for (int i = 1; i <= tableBits; ++i) {
    start[i] >>= jutBits;
    weight[i] = 1u << (tableBits - i);
  }
  for (int i = tableBits + 1; i <= kMaxCodeLength; ++i) weight[i] = 1u << (kMaxCodeLength - i);
  const uint32_t tableSize = 1u << tableBits;
  for (uint32_t i = start[tableBits + 1] >> jutBits; i < tableSize; ++i) table[i] = 0;

  uint32_t avail = static_cast<uint32_t>(nchar);
  const uint32_t mask = 1u << (15 - tableBits);
  for (int ch = 0; ch < nchar; ++ch) {
    const int len = bitLength[ch];
    if (len == 0) continue;
    const uint32_t nextCode = start[len] + weight[len];
    if (len <= tableBits) {
      for (uint32_t i = start[len]; i < nextCode; ++i) table[i] = static_cast<uint16_t>(ch);
    } else {
      uint32_t k = start[len];
      uint16_t* p = &table[k >> jutBits];
      for (int i = len - tableBits; i != 0; --i) {
        if (*p == 0) {
          if (avail >= kTreeNodeLimit) return false;
          right_[avail] = left_[avail] = 0;
          *p = static_cast<uint16_t>(avail++);
        } else if (*p < nchar) {
          return false;  // a shorter code is a prefix of this one
        }
        p = (k & mask) ? &right_[*p] : &left_[*p];
        k <<= 1;
      }
      *p = static_cast<uint16_t>(ch);
    }
    start[len] = nextCode;
  }
  return true;
}

// Follows a table entry that is a tree node (>= nchar) down by the look-ahead
// bits from mask downward until a symbol; kBadSymbol when the bits run out.
uint32_t BlockDecoder::WalkTree(uint32_t entry, uint32_t nchar, uint32_t mask) const {
  while (entry >= nchar) {
    if (mask == 0) return kBadSymbol;
    entry = (bitBuf_ & mask) ? right_[entry] : left_[entry];
    mask >>= 1;
  }
  return entry;
}

// Next literal (0..255) or match length symbol (256..509); -1 on a malformed
// block header.
int BlockDecoder::DecodeSymbol() {
  if (blocksize_ == 0 && !ReadBlockHeader()) return -1;
  --blocksize_;
  const uint32_t j = WalkTree(cTable_[bitBuf_ >> 4], NC, 1u << 3);
  if (j == kBadSymbol) return -1;
  FillBuf(cLen_[j]);
  return static_cast<int>(j);
}

// Match distance minus 1: its bit length through the position code, then the
// bits below the leading 1.
int BlockDecoder::DecodePosition() {
  uint32_t j = WalkTree(ptTable_[bitBuf_ >> 8], static_cast<uint32_t>(np_), 1u << 7);
  if (j == kBadSymbol) return -1;
  FillBuf(ptLen_[j]);
  if (j != 0) j = (1u << (j - 1)) + GetBits(static_cast<int>(j) - 1);
  return static_cast<int>(j);
}
