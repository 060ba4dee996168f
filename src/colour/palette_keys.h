#pragma once
// Single-key palette editing and the palette as text, as the keyboard palette
// tool uses them. Both work on the program palette.

#include <cstddef>

// What PaletteKey changed.
enum PaletteKeyResult : int {
  kPaletteUnchanged = 0,     // nothing changed, or the key is not a palette key
  kPaletteChanged = 1,       // at least one level of one entry changed
  kPaletteEntryChanged = 2,  // only the current entry moved
};

// Applies one typed character (7-bit code) to the program palette and the
// current entry. Upper-case letters act as lower-case ones. After every
// handled key the current entry wraps into 0..15 and every level of the
// palette is clamped into 0..15.
int PaletteKey(int character, int* currentEntry);

// The palette text needs 255 characters and the terminator.
constexpr size_t kPaletteTextSize = 256;

// " Pal  R  G  B \n", then one line per entry from 15 down to 0, the current
// entry in brackets: "[%2d:%3d%3d%3d]\n", the others " %2d:%3d%3d%3d \n".
// Writes at most size bytes, always terminated when size > 0.
void FormatPaletteText(char* buffer, size_t size, int currentEntry);
