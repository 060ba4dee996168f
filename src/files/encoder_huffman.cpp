#include "files/encoder_huffman.h"

bool HuffmanBuilder::Allocate(MemoryBudget& budget) {
  bool ok = left_.Allocate(2 * NC - 1, budget) && right_.Allocate(2 * NC - 1, budget) &&
            heap_.Allocate(NC + 1, budget) && sortOrder_.Allocate(NC, budget);
  if (!ok) Release();
  return ok;
}

void HuffmanBuilder::Release() {
  left_.Release();
  right_.Release();
  heap_.Release();
  sortOrder_.Release();
}

// Sends entry i down the min-heap. Ties keep the left child and keep the
// sifted entry above an equal child; both rules shape the tree and so the
// output bytes.
void HuffmanBuilder::DownHeap(int i) {
  const int32_t k = heap_[i];
  int j;
  while ((j = 2 * i) <= heapSize_) {
    if (j < heapSize_ && freq_[heap_[j]] > freq_[heap_[j + 1]]) ++j;
    if (freq_[k] <= freq_[heap_[j]]) break;
    heap_[i] = heap_[j];
    i = j;
  }
  heap_[i] = k;
}

// Counts the leaves per depth (deeper than 16 counted as 16), then shortens
// the code until the lengths fit a complete 16-bit prefix code, and hands the
// longest lengths to the least frequent symbols.
void HuffmanBuilder::MakeLengths(int root) {
  for (int32_t& count : lengthCount_) count = 0;
  // Depth-first walk with an explicit stack: a skewed tree may be NC deep.
  int32_t stackNode[2 * NC];
  int32_t stackDepth[2 * NC];
  int top = 0;
  stackNode[top] = root;
  stackDepth[top++] = 0;
  while (top > 0) {
    --top;
    const int32_t node = stackNode[top];
    const int32_t depth = stackDepth[top];
    if (node < n_) {
      ++lengthCount_[depth < kMaxCodeLength ? depth : kMaxCodeLength];
      continue;
    }
    stackNode[top] = right_[node];
    stackDepth[top++] = depth + 1;
    stackNode[top] = left_[node];
    stackDepth[top++] = depth + 1;
  }
  uint32_t sum = 0;
  for (int i = kMaxCodeLength; i > 0; --i) sum += static_cast<uint32_t>(lengthCount_[i]) << (kMaxCodeLength - i);
  while (sum != (1u << kMaxCodeLength)) {
    --lengthCount_[kMaxCodeLength];
    for (int i = kMaxCodeLength - 1; i > 0; --i) {
      if (lengthCount_[i] != 0) {
        --lengthCount_[i];
        lengthCount_[i + 1] += 2;
        break;
      }
    }
    --sum;
  }
  int next = 0;
  for (int i = kMaxCodeLength; i > 0; --i) {
    for (int k = lengthCount_[i]; k > 0; --k) len_[sortOrder_[next++]] = static_cast<uint8_t>(i);
  }
}

void HuffmanBuilder::MakeCodes() {
  uint16_t start[kMaxCodeLength + 2];
  start[1] = 0;
  for (int i = 1; i <= kMaxCodeLength; ++i) start[i + 1] = static_cast<uint16_t>((start[i] + lengthCount_[i]) << 1);
  for (int i = 0; i < n_; ++i) {
    if (len_[i] != 0) code_[i] = start[len_[i]]++;
  }
}

int HuffmanBuilder::MakeTree(int n, int32_t* freq, uint8_t* len, uint16_t* code) {
  n_ = n;
  freq_ = freq;
  len_ = len;
  code_ = code;
  heapSize_ = 0;
  heap_[1] = 0;
  for (int i = 0; i < n; ++i) {
    len[i] = 0;
    if (freq[i] != 0) heap_[++heapSize_] = i;
  }
  if (heapSize_ < 2) {
    code[heap_[1]] = 0;
    return heap_[1];
  }
  for (int i = heapSize_ / 2; i >= 1; --i) DownHeap(i);
  int sorted = 0;
  int avail = n;
  int k;
  do {
    const int32_t i = heap_[1];  // least frequent
    if (i < n) sortOrder_[sorted++] = i;
    heap_[1] = heap_[heapSize_--];
    DownHeap(1);
    const int32_t j = heap_[1];  // next least frequent
    if (j < n) sortOrder_[sorted++] = j;
    k = avail++;
    freq[k] = freq[i] + freq[j];
    heap_[1] = k;
    DownHeap(1);
    left_[k] = i;
    right_[k] = j;
  } while (heapSize_ > 1);
  MakeLengths(k);
  MakeCodes();
  return k;
}
