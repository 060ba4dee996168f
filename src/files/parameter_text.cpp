#include "files/parameter_text.h"

#include <cstdio>
#include <cstring>

#include "files/file_messages.h"

namespace {

constexpr char kHeader[] = "%Zirn parameter file";
constexpr size_t kHeaderLength = sizeof kHeader - 1;
// The second "%" line is looked for from the end of the header line and its CR LF.
constexpr size_t kSecondLineSearchStart = kHeaderLength + 2;
constexpr char kEndLine[] = "%end";
constexpr int kNotParameterText = -2;

// Length of the text, or capacity when it has no NUL within the buffer.
size_t BoundedLength(const char* text, size_t capacity) {
  const void* end = std::memchr(text, '\0', capacity);
  return end == nullptr ? capacity : static_cast<size_t>(static_cast<const char*>(end) - text);
}

}  // namespace

int TestParameterHeader(char* text, size_t capacity) {
  const size_t length = BoundedLength(text, capacity);
  if (capacity - length < kParameterTextReserve) return kNotParameterText;
  const char* first = static_cast<const char*>(std::memchr(text, '%', length));
  if (first == nullptr) return kNotParameterText;

  text[length] = '\n';
  text[length + 1] = '\0';
  const size_t textLength = length + 1;
  // A text that ends before the search start has no second "%" line (and the
  // search must not start beyond its end).
  const size_t searchStart = static_cast<size_t>(first - text) + kSecondLineSearchStart;
  if (searchStart >= textLength) return kNotParameterText;
  char* second = static_cast<char*>(std::memchr(text + searchStart, '%', textLength - searchStart));
  if (second == nullptr) return kNotParameterText;

  if (std::strncmp(second, kEndLine, sizeof kEndLine - 1) == 0) {
    // The appended LF guarantees a line end.
    char* lineEnd = static_cast<char*>(
        std::memchr(second, '\n', static_cast<size_t>(text + textLength - second)));
    lineEnd[1] = '\0';
  }
  return std::strncmp(first, kHeader, kHeaderLength);
}

bool AppendStartKey(char* text, size_t capacity) {
  static constexpr char kStartKey[] = " g\n";
  const size_t length = BoundedLength(text, capacity);
  if (capacity - length < sizeof kStartKey) return false;
  std::memcpy(text + length, kStartKey, sizeof kStartKey);
  return true;
}

int ReadTextFile(const char* fileName, char* buffer, size_t size, UiHost& host) {
  std::FILE* file = std::fopen(fileName, "rb");
  if (file == nullptr) {
    ShowCannotOpenFile(fileName, host);
    return 0;
  }
  const size_t read = size == 0 ? 0 : std::fread(buffer, 1, size, file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed || size == 0) return 0;
  // A text that fills the whole size may have been cut: refused, and said so,
  // since the longest text Zirn writes fits.
  if (read > size - 1) {
    ShowTooLongForParameters(fileName, host);
    return 0;
  }
  buffer[read] = '\0';
  return 1;
}
