#include "files/double_byte_text.h"

namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

}  // namespace

int NextTrailByteState(int state, unsigned char byte) {
  // A byte that cannot be a second byte ends the character without starting
  // one: the bytes that are not trail bytes are never lead bytes either.
  if (state == kAfterLeadByte) return IsTrailByte(byte) ? kAfterDoubleByte : kAfterSingleByte;
  return IsLeadByte(byte) ? kAfterLeadByte : kAfterSingleByte;
}

int TrailByteState(const char* text, size_t n) {
  if (n < 1) return kAfterSingleByte;
  int state = kAfterSingleByte;
  for (size_t i = 0; i < n; ++i) {
    if (text[i] == '\0') return kAfterSingleByte;  // shorter than n bytes
    state = NextTrailByteState(state, static_cast<unsigned char>(text[i]));
  }
  return state;
}

size_t FileNamePartOffset(const char* path, bool alsoSlash) {
  // One forward scan finds the same separator as a backward search that asks
  // TrailByteState at each "\": the last one that begins a character.
  size_t offset = 0;
  int state = kAfterSingleByte;
  for (size_t i = 0; path[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    const bool separator = c == '\\' || (alsoSlash && c == '/');
    state = NextTrailByteState(state, c);
    if (separator && i > 0 && state != kAfterDoubleByte) offset = i + 1;
  }
  return offset;
}

const char* FileNamePart(const char* path) { return path + FileNamePartOffset(path); }

void LowerCaseDoubleByteAware(char* text) {
  int state = kAfterSingleByte;
  for (char* p = text; *p != '\0'; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    state = NextTrailByteState(state, c);
    if (state != kAfterDoubleByte && c >= 'A' && c <= 'Z') *p = static_cast<char>(c - 'A' + 'a');
  }
}
