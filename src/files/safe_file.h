#pragma once
// Saving that never destroys a good file: the new contents go to a temporary
// file in the target's folder, and only a complete, flushed temporary file
// replaces the target. File names are narrow (ANSI, possibly Shift-JIS) and go
// to the C runtime unchanged.

#include <cstddef>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

// What a commit left behind when it did not go cleanly. Every file named
// here is reported to the user.
struct CommitReport {
  // Previous contents that could not be put back under their own names.
  std::vector<std::string> kept;
  // Temporary and backup files that could not be removed.
  std::vector<std::string> leftovers;
  bool Clean() const { return kept.empty() && leftovers.empty(); }
};

// The renames and removals that put files in place, both 0 on success as in
// the C runtime. Tests install failing ones to drive every failure point.
struct FileOperations {
  int (*rename)(const char* from, const char* to) = nullptr;
  int (*remove)(const char* path) = nullptr;
};
// Installs operations (a null member: the C runtime's) and returns the
// previous ones.
FileOperations SetFileOperations(FileOperations operations);

class SafeFileWriter {
 public:
  // Opens a temporary file beside targetName for binary writing. Fails (IsOpen
  // false) when the temporary file cannot be made or when the target exists
  // but cannot be opened for writing (a read-only file stays untouched).
  explicit SafeFileWriter(const char* targetName);
  // Without a successful Commit the temporary file is removed.
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // The stream to write to (a buffer may be set with setvbuf before writing).
  std::FILE* File() const { return file_; }
  // Writes n bytes; false on a short write or when not open.
  bool Write(const void* bytes, size_t n);
  // Flushes and closes the temporary file without putting it in place; false
  // when any write failed. Commit or CommitTogether puts it in place later.
  bool Finish();
  // Finishes the temporary file and puts it in place of the target. False
  // when any write failed or the target could not be replaced; the old
  // target is then put back (report->kept names it where that failed).
  bool Commit(CommitReport* report = nullptr);

  const std::string& TemporaryName() const { return temporaryName_; }

 private:
  friend bool CommitWriters(std::span<SafeFileWriter* const> writers, CommitReport* report);

  std::string targetName_;
  std::string temporaryName_;
  std::string backupName_;  // the previous target while the commit runs
  std::FILE* file_ = nullptr;
  bool finished_ = false;  // Finish succeeded
};

// Commits writers as one: every existing target is first moved to a backup
// name (a rename cannot overwrite on Windows), then each temporary file takes
// its target's name, the last one deciding. True when all new files are in
// place. Otherwise the new files are taken back and the previous ones put
// back; where a step of that fails, no target is left beside a file of
// another save: the previous files stay under their backup names, listed in
// report->kept. Files that could not be removed go to report->leftovers.
bool CommitWriters(std::span<SafeFileWriter* const> writers, CommitReport* report);
bool CommitTogether(SafeFileWriter& first, SafeFileWriter& second, CommitReport* report = nullptr);

// Looks for the existing file whose last path component equals that of path
// ignoring ASCII case, and copies its full name into found (at most
// foundSize - 1 bytes). An exact match is preferred. False when there is none
// or the name does not fit.
bool FindFileIgnoringCase(const char* path, char* found, size_t foundSize);

bool FileExistsNarrow(const char* path);
