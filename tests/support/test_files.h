#pragma once
// Files for tests: a fresh temporary folder per test, whole-file reads and
// writes, and the path of the checked-in test data.

#include <cstdint>
#include <string>
#include <vector>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  // Path of a file inside the folder, with the platform's separator.
  std::string File(const std::string& name) const;
  // How many entries the folder holds.
  size_t EntryCount() const;

 private:
  std::string path_;
};

std::vector<uint8_t> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteWholeFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// tests/data/<name>
std::string TestDataPath(const std::string& name);
