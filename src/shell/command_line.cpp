#include "shell/command_line.h"

#include <cstring>

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True when the three characters after the last dot are "exe" in any case.
// A Shift-JIS trail byte is never a dot and the byte after the dot starts a
// character, so comparing bytes cannot match inside a double-byte character.
bool EndsInExeExtension(const char* text, size_t length, const char* lastDot) {
  const size_t after = length - static_cast<size_t>(lastDot + 1 - text);
  if (after < 3) return false;
  return LowerAscii(lastDot[1]) == 'e' && LowerAscii(lastDot[2]) == 'x' &&
         LowerAscii(lastDot[3]) == 'e';
}

}  // namespace

bool TakeCommandLineFile(const char* commandLine, char* fileName, size_t fileNameSize) {
  if (fileName == nullptr || fileNameSize == 0) return false;
  fileName[0] = '\0';
  if (commandLine == nullptr) return false;
  const size_t length = std::strlen(commandLine);
  // A name that does not fit the 255 characters of the file-name buffer
  // would be cut into another file's name; it is ignored instead.
  if (length == 0 || length >= fileNameSize) return false;
  const char* lastDot = std::strrchr(commandLine, '.');
  if (lastDot == nullptr || EndsInExeExtension(commandLine, length, lastDot)) return false;
  std::memcpy(fileName, commandLine, length + 1);  // length < fileNameSize, checked above
  return true;
}
