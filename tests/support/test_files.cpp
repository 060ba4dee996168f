#include "test_files.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<unsigned> serial{0};
  std::random_device random;
  fs::path base = fs::temp_directory_path() /
                  ("zirn-test-" + std::to_string(random()) + "-" + std::to_string(serial++));
  fs::create_directories(base);
  path_ = base.string();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

size_t TempFolder::EntryCount() const {
  size_t count = 0;
  for ([[maybe_unused]] const fs::directory_entry& entry : fs::directory_iterator(path_)) ++count;
  return count;
}

std::string TempFolder::File(const std::string& name) const {
  return (fs::path(path_) / name).string();
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  return WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool FileExists(const std::string& path) { return fs::exists(path); }

std::string TestDataPath(const std::string& name) {
  const char* root = std::getenv("ZIRN_TEST_DATA");
  return (fs::path(root != nullptr ? root : "tests/data") / name).string();
}
