#include "files/safe_file.h"

#include <sys/stat.h>

#include <cstring>

#ifndef _WIN32
#include <dirent.h>
#endif

namespace {

constexpr int kNameAttempts = 100;

// targetName + suffix + a number, the first such name no file has yet.
// Appending ASCII to a name is safe for double-byte names too.
bool UnusedNameBeside(const std::string& targetName, const char* suffix, std::string* name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string candidate = targetName + suffix + std::to_string(attempt);
    struct stat info;
    if (stat(candidate.c_str(), &info) != 0) {
      *name = std::move(candidate);
      return true;
    }
  }
  return false;
}

bool TargetIsWritable(const char* targetName) {
  struct stat info;
  if (stat(targetName, &info) != 0) return true;  // a new file
  std::FILE* existing = std::fopen(targetName, "r+b");
  if (existing == nullptr) return false;
  std::fclose(existing);
  return true;
}

#ifndef _WIN32
bool EqualIgnoringAsciiCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a);
    unsigned char cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
    if (ca != cb) return false;
    if (ca == 0) return true;
  }
}
#endif

bool CopyName(const std::string& name, char* found, size_t foundSize) {
  if (foundSize == 0 || name.size() >= foundSize) return false;
  std::memcpy(found, name.c_str(), name.size() + 1);
  return true;
}

}  // namespace

SafeFileWriter::SafeFileWriter(const char* targetName) : targetName_(targetName) {
  if (!TargetIsWritable(targetName)) return;
  if (!UnusedNameBeside(targetName_, ".zt", &temporaryName_)) return;
  file_ = std::fopen(temporaryName_.c_str(), "wb");
  if (file_ == nullptr) temporaryName_.clear();
}

SafeFileWriter::~SafeFileWriter() {
  if (file_ != nullptr) std::fclose(file_);
  if (!temporaryName_.empty()) std::remove(temporaryName_.c_str());
}

bool SafeFileWriter::Write(const void* bytes, size_t n) {
  if (file_ == nullptr) return false;
  return n == 0 || std::fwrite(bytes, 1, n, file_) == n;
}

bool SafeFileWriter::Finish() {
  if (file_ == nullptr) return finished_;
  bool written = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  written = std::fclose(file_) == 0 && written;
  file_ = nullptr;
  finished_ = written;
  return written;
}

bool SafeFileWriter::Commit() {
  if (!Finish() || temporaryName_.empty()) return false;
  if (!ReplaceFileKeepingBackup(temporaryName_.c_str(), targetName_.c_str())) return false;
  temporaryName_.clear();  // now the target: nothing to remove
  return true;
}

// The first target is moved aside, not replaced, so that it can come back
// when the second file cannot be put in place.
bool CommitTogether(SafeFileWriter& first, SafeFileWriter& second) {
  if (!first.Finish() || !second.Finish() || first.temporaryName_.empty()) return false;
  const char* target = first.targetName_.c_str();
  const bool hadTarget = FileExistsNarrow(target);
  std::string backupName;
  if (hadTarget && (!UnusedNameBeside(first.targetName_, ".zb", &backupName) ||
                    std::rename(target, backupName.c_str()) != 0)) {
    return false;
  }
  const bool placed = std::rename(first.temporaryName_.c_str(), target) == 0;
  if (placed) first.temporaryName_.clear();
  if (placed && second.Commit()) {
    if (hadTarget) std::remove(backupName.c_str());
    return true;
  }
  if (placed) std::remove(target);
  if (hadTarget) std::rename(backupName.c_str(), target);
  return false;
}

bool ReplaceFileKeepingBackup(const char* source, const char* target) {
  if (std::rename(source, target) == 0) return true;
  if (!FileExistsNarrow(target)) return false;
  std::string backupName;
  if (!UnusedNameBeside(target, ".zb", &backupName)) return false;
  if (std::rename(target, backupName.c_str()) != 0) return false;
  if (std::rename(source, target) != 0) {
    std::rename(backupName.c_str(), target);
    return false;
  }
  std::remove(backupName.c_str());
  return true;
}

bool FileExistsNarrow(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && (info.st_mode & S_IFMT) == S_IFREG;
}

bool FindFileIgnoringCase(const char* path, char* found, size_t foundSize) {
  if (FileExistsNarrow(path)) return CopyName(path, found, foundSize);
#ifdef _WIN32
  // The Windows file system already ignores case.
  return false;
#else
  const char* slash = std::strrchr(path, '/');
  const std::string folder = slash == nullptr ? std::string(".") : std::string(path, slash + 1);
  const char* wanted = slash == nullptr ? path : slash + 1;
  DIR* directory = opendir(folder.c_str());
  if (directory == nullptr) return false;
  bool matched = false;
  while (const dirent* entry = readdir(directory)) {
    if (!EqualIgnoringAsciiCase(entry->d_name, wanted)) continue;
    const std::string candidate =
        slash == nullptr ? std::string(entry->d_name) : folder + entry->d_name;
    if (FileExistsNarrow(candidate.c_str())) {
      matched = CopyName(candidate, found, foundSize);
      break;
    }
  }
  closedir(directory);
  return matched;
#endif
}
