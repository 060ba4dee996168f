#include "colour/palette_keys.h"

#include <cstdio>

#include "colour/palette.h"

namespace {

constexpr int32_t kMaxLevel = 15;

struct Palette {
  PaletteEntry entries[kPaletteSize];
};

Palette ReadPalette() {
  Palette palette;
  for (int i = 0; i < kPaletteSize; ++i) {
    PaletteEntry& e = palette.entries[i];
    GetPaletteEntry(i, &e.red, &e.green, &e.blue);
  }
  return palette;
}

void WritePalette(const Palette& palette) {
  for (int i = 0; i < kPaletteSize; ++i) {
    const PaletteEntry& e = palette.entries[i];
    SetPaletteEntry(i, e.red, e.green, e.blue);
  }
}

bool SameLevels(const Palette& a, const Palette& b) {
  for (int i = 0; i < kPaletteSize; ++i) {
    const PaletteEntry& x = a.entries[i];
    const PaletteEntry& y = b.entries[i];
    if (x.red != y.red || x.green != y.green || x.blue != y.blue) return false;
  }
  return true;
}

int32_t ClampLevel(int32_t level) {
  if (level < 0) return 0;
  return level > kMaxLevel ? kMaxLevel : level;
}

int WrapEntry(int entry) {
  if (entry < 0) return kPaletteSize - 1;
  return entry >= kPaletteSize ? 0 : entry;
}

// Green, red and blue are drawn in that order, so a seeded generator gives
// the same colours as it always has.
void RandomColour(PaletteEntry& entry) {
  entry.green = RandomModulo16();
  entry.red = RandomModulo16();
  entry.blue = RandomModulo16();
}

// The low three bits of the code choose the components that ramp: bit 0
// blue, bit 1 red, bit 2 green.
void Ramp(Palette& palette, int code) {
  for (int i = 0; i < kPaletteSize; ++i) {
    palette.entries[i] = PaletteEntry{(code & 2) ? i : 0, (code & 4) ? i : 0, (code & 1) ? i : 0};
  }
}

void Reverse(Palette& palette) {
  for (int i = 0; i < kPaletteSize / 2; ++i) {
    const PaletteEntry kept = palette.entries[i];
    palette.entries[i] = palette.entries[kPaletteSize - 1 - i];
    palette.entries[kPaletteSize - 1 - i] = kept;
  }
}

void Negate(Palette& palette) {
  for (PaletteEntry& e : palette.entries) {
    e.red = kMaxLevel - e.red;
    e.green = kMaxLevel - e.green;
    e.blue = kMaxLevel - e.blue;
  }
}

// The palette being edited and the current entry. An entry index outside the
// palette edits a scratch entry that is thrown away; the wrap after the key
// brings the index back.
struct KeyTarget {
  Palette palette;
  int entry;
  PaletteEntry scratch;
  PaletteEntry& Current() {
    return (entry >= 0 && entry < kPaletteSize) ? palette.entries[entry] : scratch;
  }
};

// The keys that step one level of the current entry: a letter key and the
// digit beside it on the numeric pad.
struct LevelKey {
  char key;
  char digit;
  int32_t PaletteEntry::*component;
  int32_t step;
};
constexpr LevelKey kLevelKeys[] = {
    {'j', '4', &PaletteEntry::red, +1},   {'k', '5', &PaletteEntry::green, +1},
    {'l', '6', &PaletteEntry::blue, +1},  {'m', '1', &PaletteEntry::red, -1},
    {',', '2', &PaletteEntry::green, -1}, {'.', '3', &PaletteEntry::blue, -1},
};

// Acts on one character; false when the character is not a palette key.
bool ApplyKey(int c, KeyTarget& t) {
  if (c >= 0x21 && c <= 0x27) {
    Ramp(t.palette, c);
    return true;
  }
  for (const LevelKey& k : kLevelKeys) {
    if (c == k.key || c == k.digit) {
      t.Current().*k.component += k.step;
      return true;
    }
  }
  switch (c) {
    case 'f':
      ++t.entry;
      return true;
    case 'v':
      --t.entry;
      return true;
    case ' ':
      RandomColour(t.Current());
      return true;
    case 'a':
      t.entry = RandomModulo16();
      RandomColour(t.Current());
      return true;
    case 'h': {
      PaletteEntry& e = t.Current();
      e = PaletteEntry{e.red / 2, e.green / 2, e.blue / 2};
      return true;
    }
    case 'r':
      Reverse(t.palette);
      return true;
    case 'n':
      Negate(t.palette);
      return true;
    case 'i':
      SetDefaultPalette();  // also seeds the generator again
      t.palette = ReadPalette();
      return true;
    default:
      return false;
  }
}

}  // namespace

int PaletteKey(int character, int* currentEntry) {
  const Palette before = ReadPalette();
  const int entryBefore = *currentEntry;
  int c = character & 0x7F;
  if (c >= 'A' && c <= 'Z') c += 'a' - 'A';

  KeyTarget target{before, entryBefore, {}};
  if (!ApplyKey(c, target)) return kPaletteUnchanged;
  const int entry = WrapEntry(target.entry);
  for (PaletteEntry& e : target.palette.entries) {
    e = PaletteEntry{ClampLevel(e.red), ClampLevel(e.green), ClampLevel(e.blue)};
  }
  WritePalette(target.palette);
  *currentEntry = entry;
  if (!SameLevels(target.palette, before)) return kPaletteChanged;
  return entry != entryBefore ? kPaletteEntryChanged : kPaletteUnchanged;
}

void FormatPaletteText(char* buffer, size_t size, int currentEntry) {
  if (size == 0) return;
  size_t used = static_cast<size_t>(std::snprintf(buffer, size, " Pal  R  G  B \n"));
  for (int i = kPaletteSize - 1; i >= 0 && used < size; --i) {
    int32_t red, green, blue;
    GetPaletteEntry(i, &red, &green, &blue);
    const bool current = i == currentEntry;
    const int written =
        std::snprintf(buffer + used, size - used, "%c%2d:%3d%3d%3d%c\n", current ? '[' : ' ', i,
                      static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue),
                      current ? ']' : ' ');
    if (written < 0) break;
    used += static_cast<size_t>(written);
  }
}
