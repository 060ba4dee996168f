#include "files/file_names.h"

#include <cstring>

#include "files/safe_file.h"

namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

constexpr size_t kFoundNameSize = 4096;

}  // namespace

size_t FinalComponentOffset(const char* path) {
  // One forward scan with the Shift-JIS state: a byte right behind a lead
  // byte is the second half of a character, whatever its value.
  size_t offset = 0;
  bool afterLead = false;
  for (size_t i = 0; path[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (afterLead) {
      afterLead = false;
      if (IsTrailByte(c)) continue;
    }
    if (IsLeadByte(c)) {
      afterLead = true;
    } else if ((c == '\\' || c == '/') && i > 0) {
      offset = i + 1;
    }
  }
  return offset;
}

std::string ReplaceExtension(const char* name, const char* extension) {
  const size_t component = FinalComponentOffset(name);
  const char* dot = std::strrchr(name + component, '.');
  std::string result(name, dot != nullptr ? static_cast<size_t>(dot - name) : std::strlen(name));
  return result + extension;
}

DataFileNames DataFileNamesFor(const char* parameterFileName) {
  DataFileNames names;
  names.path = ReplaceExtension(parameterFileName, ".DTL");
  names.bareName = names.path.substr(FinalComponentOffset(names.path.c_str()));
  return names;
}

bool DataFileLookupName(const char* parameterFileName, std::string* name) {
  if (std::strchr(parameterFileName + FinalComponentOffset(parameterFileName), '.') == nullptr) {
    name->clear();
    return false;
  }
  *name = ReplaceExtension(parameterFileName, ".dtl");
  return true;
}

bool FindDataFile(const char* parameterFileName, std::string* found) {
  std::string name;
  if (!DataFileLookupName(parameterFileName, &name)) return false;
  if (FileExistsNarrow(name.c_str())) {
    *found = name;
    return true;
  }
  std::string buffer(kFoundNameSize, '\0');
  if (!FindFileIgnoringCase(name.c_str(), buffer.data(), buffer.size())) return false;
  *found = buffer.c_str();
  return true;
}
