#include "commands/file_command_names.h"

#include <cstring>
#include <string>

#include "files/double_byte_text.h"

namespace {

constexpr size_t kExtensionLength = 4;  // ".pmf", ".bmp"

std::string LowerCaseCopy(const char* name) {
  std::string copy(name);
  LowerCaseDoubleByteAware(copy.data());
  return copy;
}

// A lower-case extension for the test, from ".PMF" or ".pmf".
std::string LowerCaseExtension(const char* extension) { return LowerCaseCopy(extension); }

}  // namespace

bool HasExtensionAtLastDot(const char* name, const char* lowerExtension) {
  const std::string lower = LowerCaseCopy(name);
  const size_t dot = lower.rfind('.');
  return dot != std::string::npos &&
         lower.compare(dot, kExtensionLength, lowerExtension, kExtensionLength) == 0;
}

void CutExtensionForSaveDialog(char* name) {
  char* dot = std::strrchr(name, '.');
  if (dot != nullptr) {
    *dot = '\0';
  } else {
    name[0] = '\0';
  }
}

bool AppendMissingExtension(char* name, size_t size, const char* extension) {
  if (HasExtensionAtLastDot(name, LowerCaseExtension(extension).c_str())) return true;
  const size_t length = std::strlen(name);
  const size_t added = std::strlen(extension);
  if (length + added >= size) return false;
  std::memcpy(name + length, extension, added + 1);  // length + added < size, checked above
  return true;
}

bool TakeParameterFileName(const char* given, char* out, size_t outSize) {
  if (outSize == 0) return false;
  out[0] = '\0';
  if (!HasExtensionAtLastDot(given, ".pmf")) return false;
  const size_t end = static_cast<size_t>(std::strrchr(given, '.') - given) + kExtensionLength;
  size_t length = 0;
  for (size_t i = 0; i < end && given[i] != '\0'; ++i) {
    if (given[i] == '"') continue;
    if (length + 1 >= outSize) {
      out[0] = '\0';
      return false;
    }
    out[length++] = given[i];
  }
  out[length] = '\0';
  return true;
}
