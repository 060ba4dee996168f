#pragma once
// Saving that never destroys a good file: the new contents go to a temporary
// file in the target's folder, and only a complete, flushed temporary file
// replaces the target. File names are narrow (ANSI, possibly Shift-JIS) and go
// to the C runtime unchanged.

#include <cstddef>
#include <cstdio>
#include <string>

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
  // target is then left as it was.
  bool Commit();

  const std::string& TemporaryName() const { return temporaryName_; }

 private:
  friend bool CommitTogether(SafeFileWriter& first, SafeFileWriter& second);

  std::string targetName_;
  std::string temporaryName_;
  std::FILE* file_ = nullptr;
  bool finished_ = false;  // Finish succeeded
};

// Commits two writers as one: both targets are replaced, or, when either
// file failed or cannot be put in place, both stay as they were.
bool CommitTogether(SafeFileWriter& first, SafeFileWriter& second);

// Replaces target by source. Where a rename cannot overwrite (Windows), the
// target is first renamed to a backup name, which is moved back if the second
// rename fails and removed once the new file is in place.
bool ReplaceFileKeepingBackup(const char* source, const char* target);

// Looks for the existing file whose last path component equals that of path
// ignoring ASCII case, and copies its full name into found (at most
// foundSize - 1 bytes). An exact match is preferred. False when there is none
// or the name does not fit.
bool FindFileIgnoringCase(const char* path, char* found, size_t foundSize);

bool FileExistsNarrow(const char* path);
