#include "files/safe_file.h"

#include <sys/stat.h>

#include <cstring>

#ifndef _WIN32
#include <dirent.h>
#endif

namespace {

constexpr int kNameAttempts = 100;

FileOperations g_operations;

int RenameFile(const char* from, const char* to) {
  return (g_operations.rename != nullptr ? g_operations.rename : std::rename)(from, to);
}

int RemoveFile(const char* path) {
  return (g_operations.remove != nullptr ? g_operations.remove : std::remove)(path);
}

std::string NumberedName(const std::string& targetName, const char* suffix, int number) {
  return targetName + suffix + std::to_string(number);
}

// targetName + suffix + a number, the first such name no file has yet.
// Appending ASCII to a name is safe for double-byte names too.
bool UnusedNameBeside(const std::string& targetName, const char* suffix, std::string* name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string candidate = NumberedName(targetName, suffix, attempt);
    struct stat info;
    if (stat(candidate.c_str(), &info) != 0) {
      *name = std::move(candidate);
      return true;
    }
  }
  return false;
}

// A temporary file never holds the only copy of anything, so when earlier
// saves left every temporary name taken, those files are removed.
bool TemporaryNameBeside(const std::string& targetName, std::string* name) {
  constexpr const char* kSuffix = ".zt";
  if (UnusedNameBeside(targetName, kSuffix, name)) return true;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt)
    RemoveFile(NumberedName(targetName, kSuffix, attempt).c_str());
  return UnusedNameBeside(targetName, kSuffix, name);
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

FileOperations SetFileOperations(FileOperations operations) {
  const FileOperations previous = g_operations;
  g_operations = operations;
  return previous;
}

SafeFileWriter::SafeFileWriter(const char* targetName) : targetName_(targetName) {
  if (!TargetIsWritable(targetName)) return;
  if (!TemporaryNameBeside(targetName_, &temporaryName_)) return;
  file_ = std::fopen(temporaryName_.c_str(), "wb");
  if (file_ == nullptr) temporaryName_.clear();
}

SafeFileWriter::~SafeFileWriter() {
  if (file_ != nullptr) std::fclose(file_);
  if (!temporaryName_.empty()) RemoveFile(temporaryName_.c_str());
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

bool SafeFileWriter::Commit(CommitReport* report) {
  SafeFileWriter* const writers[] = {this};
  return CommitWriters(writers, report);
}

bool CommitTogether(SafeFileWriter& first, SafeFileWriter& second, CommitReport* report) {
  SafeFileWriter* const writers[] = {&first, &second};
  return CommitWriters(writers, report);
}

bool CommitWriters(std::span<SafeFileWriter* const> writers, CommitReport* report) {
  CommitReport unreported;
  CommitReport& out = report != nullptr ? *report : unreported;
  bool ready = true;
  for (SafeFileWriter* writer : writers) {
    ready = writer->Finish() && !writer->temporaryName_.empty() && ready;
    writer->backupName_.clear();
  }
  // The previous targets go aside first, so that no step below ever leaves a
  // new file beside a previous one under the final names.
  size_t aside = 0;
  for (; ready && aside < writers.size(); ++aside) {
    SafeFileWriter& writer = *writers[aside];
    const char* target = writer.targetName_.c_str();
    if (!FileExistsNarrow(target)) continue;
    std::string backup;
    if (!UnusedNameBeside(writer.targetName_, ".zb", &backup) ||
        RenameFile(target, backup.c_str()) != 0) {
      break;
    }
    writer.backupName_ = std::move(backup);
  }
  // Places writers [from, end) in turn; returns the number placed in all.
  const auto placeFrom = [&writers](size_t from) {
    while (from < writers.size() && RenameFile(writers[from]->temporaryName_.c_str(),
                                               writers[from]->targetName_.c_str()) == 0)
      ++from;
    return from;
  };
  const bool allAside = ready && aside == writers.size();
  size_t placed = allAside ? placeFrom(0) : 0;
  // Take the placed files back, the latest first. One that cannot be taken
  // back keeps its target: the rest are then placed too if they can be.
  while (placed < writers.size() && placed > 0) {
    SafeFileWriter& writer = *writers[placed - 1];
    if (RenameFile(writer.targetName_.c_str(), writer.temporaryName_.c_str()) != 0) {
      placed = placeFrom(placed);
      if (placed < writers.size()) break;  // neither forward nor back
    } else {
      --placed;
    }
  }
  const bool committed = allAside && placed == writers.size();
  for (size_t i = 0; i < placed; ++i) writers[i]->temporaryName_.clear();  // now targets
  for (size_t i = aside; i-- > 0;) {
    SafeFileWriter& writer = *writers[i];
    if (writer.backupName_.empty()) continue;
    if (committed) {
      if (RemoveFile(writer.backupName_.c_str()) != 0) out.leftovers.push_back(writer.backupName_);
    } else if (placed > 0 ||
               RenameFile(writer.backupName_.c_str(), writer.targetName_.c_str()) != 0) {
      // A new file stays under a final name: a previous file put back beside
      // it would pair two saves.
      out.kept.push_back(writer.backupName_);
    }
    writer.backupName_.clear();
  }
  for (SafeFileWriter* writer : writers) {
    if (writer->temporaryName_.empty()) continue;
    if (FileExistsNarrow(writer->temporaryName_.c_str()) &&
        RemoveFile(writer->temporaryName_.c_str()) != 0) {
      out.leftovers.push_back(writer->temporaryName_);
    }
    writer->temporaryName_.clear();
  }
  return committed;
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
