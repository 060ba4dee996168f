#pragma once
// Scanning narrow text that may hold Shift-JIS double-byte characters. The
// second byte of such a character can be 0x5C ("\"), so a backslash is a
// folder separator only where the scan says it begins a character.

#include <cstddef>

// States of a Shift-JIS scan, each telling what the next byte is.
enum TrailByteScan : int {
  kAfterSingleByte = 0,  // the next byte begins a character
  kAfterLeadByte = 1,    // the next byte is the second byte of a double-byte character
  kAfterDoubleByte = 2,  // the next byte follows a complete double-byte character
};

// The state after one more byte.
int NextTrailByteState(int state, unsigned char byte);

// The state after the first n bytes of text: what the byte at position n is.
// 0 when n is below 1 or the text is shorter than n bytes.
int TrailByteState(const char* text, size_t n);

// Offset of the text behind the last "\" that is a real separator (or, with
// alsoSlash, the last "/" too); the byte at position 0 is never taken as one.
// 0 when there is none.
size_t FileNamePartOffset(const char* path, bool alsoSlash = false);

// The file-name part of a path: the text behind its last real "\"; the whole
// path when there is none. A path ending in "\" gives the empty text.
const char* FileNamePart(const char* path);

// Lower-cases the ASCII letters of text in place, leaving the second bytes
// of double-byte characters alone (they may lie in the range of "A" to "Z").
void LowerCaseDoubleByteAware(char* text);
