#include "files/file_names.h"

#include <cstring>

#include "files/double_byte_text.h"
#include "files/safe_file.h"

namespace {

constexpr size_t kFoundNameSize = 4096;

}  // namespace

size_t FinalComponentOffset(const char* path) { return FileNamePartOffset(path, true); }

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
