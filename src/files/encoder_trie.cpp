#include "files/encoder_trie.h"

// Node numbers: 0 is "none"; 1 .. DICSIZ-1 are internal nodes; DICSIZ + c are
// the 256 roots, one per first byte; the leaves are the window positions
// DICSIZ .. 2*DICSIZ-1 themselves (roots and leaves never share an array slot
// that both use: roots only have level, child count and position).

namespace {
constexpr int32_t kNone = 0;
constexpr int32_t kPercolate = 0x8000;  // position still to be passed up
}  // namespace

bool EncoderTrie::Allocate(int dicbit, MemoryBudget& budget) {
  Release();
  dicsiz = int32_t{1} << dicbit;
  hashShift_ = dicbit - 9;
  const size_t d = static_cast<size_t>(dicsiz);
  const size_t hashEnd = 3 * d + (d / 512 + 1) * 255;  // highest hash slot
  bool ok = text_.Allocate(2 * d + MAXMATCH, budget) && level_.Allocate(d + 256, budget) &&
            childCount_.Allocate(d + 256, budget) && position_.Allocate(d + 256, budget) &&
            parent_.Allocate(2 * d, budget) && previous_.Allocate(2 * d, budget) &&
            next_.Allocate(hashEnd + 1, budget);
  if (!ok) Release();
  return ok;
}

void EncoderTrie::Release() {
  text_.Release();
  level_.Release();
  childCount_.Release();
  position_.Release();
  parent_.Release();
  previous_.Release();
  next_.Release();
}

void EncoderTrie::Init() {
  for (int32_t i = dicsiz; i < dicsiz + 256; ++i) {
    level_[i] = 1;
    position_[i] = kNone;
  }
  for (int32_t i = dicsiz; i < 2 * dicsiz; ++i) parent_[i] = kNone;
  avail_ = 1;
  for (int32_t i = 1; i < dicsiz - 1; ++i) next_[i] = i + 1;
  next_[dicsiz - 1] = kNone;
  for (size_t i = 2 * static_cast<size_t>(dicsiz); i < next_.Count(); ++i) next_[i] = kNone;
}

int32_t EncoderTrie::Child(int32_t q, uint8_t byte) {
  int32_t r = next_[Hash(q, byte)];
  parent_[kNone] = q;  // sentinel: a failed search ends at node 0
  while (parent_[r] != q) r = next_[r];
  return r;
}

void EncoderTrie::MakeChild(int32_t q, uint8_t byte, int32_t r) {
  const int32_t h = Hash(q, byte);
  const int32_t t = next_[h];
  next_[h] = r;
  next_[r] = t;
  previous_[t] = r;
  previous_[r] = h;
  parent_[r] = q;
  ++childCount_[q];
}

void EncoderTrie::Unlink(int32_t node) {
  const int32_t before = previous_[node];
  const int32_t after = next_[node];
  next_[before] = after;
  previous_[after] = before;
}

// Puts node in old's place in old's hash chain.
void EncoderTrie::ReplaceInChain(int32_t old, int32_t node) {
  int32_t t = previous_[old];
  previous_[node] = t;
  next_[t] = node;
  t = next_[old];
  next_[node] = t;
  previous_[t] = node;
}

void EncoderTrie::Split(int32_t old) {
  uint8_t* text = text_.Data();
  const int32_t node = avail_;
  avail_ = next_[node];
  childCount_[node] = 0;
  ReplaceInChain(old, node);
  parent_[node] = parent_[old];
  level_[node] = static_cast<uint8_t>(matchlen);
  position_[node] = pos;
  MakeChild(node, text[matchpos + matchlen], old);
  MakeChild(node, text[pos + matchlen], pos);
}

void EncoderTrie::InsertNode() {
  uint8_t* text = text_.Data();
  int32_t q;
  int32_t r;
  if (matchlen >= 4) {
    // The string at pos shares matchlen-1 bytes with the one after the last
    // match: start from that leaf instead of from the root.
    --matchlen;
    r = (matchpos + 1) | dicsiz;
    while ((q = parent_[r]) == kNone) r = next_[r];  // replaced leaves point at successors
    while (level_[q] >= matchlen) {
      r = q;
      q = parent_[q];
    }
    int32_t t = q;
    while (position_[t] & kPercolate) {
      position_[t] = pos;
      t = parent_[t];
    }
    if (t < dicsiz) position_[t] = pos | kPercolate;
  } else {
    q = text[pos] + dicsiz;
    const uint8_t c = text[pos + 1];
    if ((r = Child(q, c)) == kNone) {
      MakeChild(q, c, pos);
      matchlen = 1;
      return;
    }
    matchlen = 2;
  }
  for (;;) {
    int32_t candidateLength;
    if (r >= dicsiz) {
      candidateLength = MAXMATCH;
      matchpos = r;
    } else {
      candidateLength = level_[r];
      matchpos = position_[r] & ~kPercolate;
    }
    if (matchpos >= pos) matchpos -= dicsiz;
    const uint8_t* t1 = &text[pos + matchlen];
    const uint8_t* t2 = &text[matchpos + matchlen];
    while (matchlen < candidateLength) {
      if (*t1 != *t2) {
        Split(r);
        return;
      }
      ++matchlen;
      ++t1;
      ++t2;
    }
    if (matchlen >= MAXMATCH) break;
    position_[r] = pos;
    q = r;
    if ((r = Child(q, *t1)) == kNone) {
      MakeChild(q, *t1, pos);
      return;
    }
    ++matchlen;
  }
  // A full-length match: the new leaf takes the old one's place, and the old
  // leaf points at it so that a later reuse of the old match finds the node.
  ReplaceInChain(r, pos);
  parent_[pos] = q;
  parent_[r] = kNone;
  next_[r] = pos;
}

void EncoderTrie::DeleteNode() {
  const uint8_t* text = text_.Data();
  if (parent_[pos] == kNone) return;
  Unlink(pos);
  const int32_t r = parent_[pos];
  parent_[pos] = kNone;
  if (r >= dicsiz) return;  // a root keeps any number of children
  if (--childCount_[r] > 1) return;
  // r has one child left: it is removed and the child moves up. First pass
  // the most recent position below r on to the ancestors that wait for one.
  int32_t t = position_[r] & ~kPercolate;
  if (t >= pos) t -= dicsiz;
  int32_t s = t;
  int32_t q = parent_[r];
  int32_t u;
  while ((u = position_[q]) & kPercolate) {
    u &= ~kPercolate;
    if (u >= pos) u -= dicsiz;
    if (u > s) s = u;
    position_[q] = s | dicsiz;
    q = parent_[q];
  }
  if (q < dicsiz) {
    if (u >= pos) u -= dicsiz;
    if (u > s) s = u;
    position_[q] = s | dicsiz | kPercolate;
  }
  s = Child(r, text[t + level_[r]]);
  Unlink(s);
  ReplaceInChain(r, s);
  parent_[s] = parent_[r];
  parent_[r] = kNone;
  next_[r] = avail_;
  avail_ = r;
}
