// The compressor's block buffer and the writing of one block: its Huffman
// tables, then its codes.

#include "files/encoder.h"

namespace {
// 0 for position 0, else 1 + the index of the highest set bit.
int BitLength(uint32_t value) {
  int bits = 0;
  while (value != 0) {
    value >>= 1;
    ++bits;
  }
  return bits;
}
}  // namespace

// Codes are kept in groups of up to eight behind a flag byte whose bits mark
// the matches; a block is sent when a new group could no longer fit.
void BlockEncoder::Output(uint32_t symbol, uint32_t position) {
  if ((outputMask_ >>= 1) == 0) {
    outputMask_ = 0x80;
    if (outputPos_ >= bufferSize_ - 24) {  // room for a flag byte and 8 matches of 3 bytes
      SendBlock();
      outputPos_ = 0;
    }
    flagPos_ = outputPos_++;
    buffer_[flagPos_] = 0;
  }
  buffer_[outputPos_++] = static_cast<uint8_t>(symbol);
  ++cFreq_[symbol];
  if (symbol >= 256) {
    buffer_[flagPos_] |= static_cast<uint8_t>(outputMask_);
    buffer_[outputPos_++] = static_cast<uint8_t>(position >> 8);
    buffer_[outputPos_++] = static_cast<uint8_t>(position);
    ++pFreq_[BitLength(position)];
  }
}

// Walks the literal/length lengths up to the last non-zero one as the items
// the code-length code codes: a non-zero length, or a run of zero lengths.
namespace {
template <typename OnLength, typename OnZeroRun>
void VisitCodeLengths(const uint8_t* lengths, int n, OnLength onLength, OnZeroRun onZeroRun) {
  int i = 0;
  while (i < n) {
    const int k = lengths[i++];
    if (k != 0) {
      onLength(k);
      continue;
    }
    int count = 1;
    while (i < n && lengths[i] == 0) {
      ++i;
      ++count;
    }
    onZeroRun(count);
  }
}

int CodeLengthCount(const uint8_t* lengths) {
  int n = NC;
  while (n > 0 && lengths[n - 1] == 0) --n;
  return n;
}
}  // namespace

// Frequencies of the code-length code: zero runs of 1-2 as that many 0s,
// 3-18 as one 1 (plus 4 bits), 19 as 0 and 1, 20 or more as one 2 (plus CBIT
// bits); a length k as k + 2.
void BlockEncoder::CountCodeLengthFrequencies() {
  for (int i = 0; i < NT; ++i) tFreq_[i] = 0;
  VisitCodeLengths(
      cLen_.Data(), CodeLengthCount(cLen_.Data()), [this](int k) { ++tFreq_[k + 2]; },
      [this](int count) {
        if (count <= 2) {
          tFreq_[0] += count;
        } else if (count <= 18) {
          ++tFreq_[1];
        } else if (count == 19) {
          ++tFreq_[0];
          ++tFreq_[1];
        } else {
          ++tFreq_[2];
        }
      });
}

// Lengths of a small code: the count, then each length in 3 bits, or above 6
// as k - 4 one bits and a zero. Behind the special index a 2-bit count of the
// zero lengths up to index 5 is written instead of those lengths.
void BlockEncoder::WriteSmallTable(int n, int nbit, int specialIndex) {
  while (n > 0 && ptLen_[n - 1] == 0) --n;
  PutBits(nbit, static_cast<uint32_t>(n));
  int i = 0;
  while (i < n) {
    const int k = ptLen_[i++];
    if (k <= 6) {
      PutBits(3, static_cast<uint32_t>(k));
    } else {
      PutBits(k - 3, (1u << (k - 3)) - 2);
    }
    if (i == specialIndex) {
      while (i < 6 && ptLen_[i] == 0) ++i;
      PutBits(2, static_cast<uint32_t>(i - 3) & 3);
    }
  }
}

void BlockEncoder::WriteCodeLengths() {
  const int n = CodeLengthCount(cLen_.Data());
  PutBits(CBIT, static_cast<uint32_t>(n));
  auto putSymbol = [this](int t) { PutBits(ptLen_[t], ptCode_[t]); };
  VisitCodeLengths(
      cLen_.Data(), n, [&](int k) { putSymbol(k + 2); },
      [&](int count) {
        if (count <= 2) {
          for (int j = 0; j < count; ++j) putSymbol(0);
        } else if (count <= 18) {
          putSymbol(1);
          PutBits(4, static_cast<uint32_t>(count - 3));
        } else if (count == 19) {
          putSymbol(0);
          putSymbol(1);
          PutBits(4, 15);
        } else {
          putSymbol(2);
          PutBits(CBIT, static_cast<uint32_t>(count - 20));
        }
      });
}

void BlockEncoder::EncodePosition(uint32_t position) {
  const int c = BitLength(position);
  PutBits(ptLen_[c], ptCode_[c]);
  if (c > 1) PutBits(c - 1, position & ((1u << (c - 1)) - 1));
}

void BlockEncoder::SendBlock() {
  int root = huffman_.MakeTree(NC, cFreq_.Data(), cLen_.Data(), cCode_.Data());
  const uint32_t size = static_cast<uint32_t>(cFreq_[root]);  // codes in the block
  PutBits(16, size);
  if (root >= NC) {
    CountCodeLengthFrequencies();
    root = huffman_.MakeTree(NT, tFreq_.Data(), ptLen_.Data(), ptCode_.Data());
    if (root >= NT) {
      WriteSmallTable(NT, TBIT, 3);
    } else {
      PutBits(TBIT, 0);
      PutBits(TBIT, static_cast<uint32_t>(root));
    }
    WriteCodeLengths();
  } else {
    // One symbol only: it is coded with zero bits.
    PutBits(TBIT, 0);
    PutBits(TBIT, 0);
    PutBits(CBIT, 0);
    PutBits(CBIT, static_cast<uint32_t>(root));
  }
  root = huffman_.MakeTree(np_, pFreq_.Data(), ptLen_.Data(), ptCode_.Data());
  if (root >= np_) {
    WriteSmallTable(np_, PBIT, -1);
  } else {
    PutBits(PBIT, 0);
    PutBits(PBIT, static_cast<uint32_t>(root));
  }
  size_t pos = 0;
  uint32_t flags = 0;
  for (uint32_t i = 0; i < size; ++i) {
    if (i % 8 == 0) {
      flags = buffer_[pos++];
    } else {
      flags <<= 1;
    }
    if (flags & 0x80) {
      const int symbol = buffer_[pos++] + 256;
      PutBits(cLen_[symbol], cCode_[symbol]);
      uint32_t position = static_cast<uint32_t>(buffer_[pos++]) << 8;
      position += buffer_[pos++];
      EncodePosition(position);
    } else {
      const int symbol = buffer_[pos++];
      PutBits(cLen_[symbol], cCode_[symbol]);
    }
  }
  for (int i = 0; i < NC; ++i) cFreq_[i] = 0;
  for (int i = 0; i < np_; ++i) pFreq_[i] = 0;
}
