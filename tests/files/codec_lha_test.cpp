// A stream written with a 13-bit dictionary is a standard -lh5- stream: an
// independent archiver, used as a black box, unpacks it from a minimal
// level-0 archive built here.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "files/encoder.h"
#include "mandelbrot_counts.h"
#include "test_files.h"

namespace {

#ifdef _WIN32
TEST(LhaInteropTest, StandardArchiverUnpacksOurStreams) {
  GTEST_SKIP() << "no archiver on Windows";
}
#else
using Bytes = std::vector<uint8_t>;

// CRC-16 with the reflected polynomial 0xA001, initial value 0.
uint16_t Crc16(const Bytes& data) {
  uint16_t crc = 0;
  for (uint8_t byte : data) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

void PutLe(Bytes& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Level-0 header: size and checksum of the rest, method, packed and original
// sizes, DOS time, attribute, level, name, CRC of the original; then the
// packed data and the archive's closing zero byte.
Bytes Level0Archive(const Bytes& original, const Bytes& packed) {
  const std::string name = "counts.bin";
  Bytes body = {'-', 'l', 'h', '5', '-'};
  PutLe(body, static_cast<uint32_t>(packed.size()), 4);
  PutLe(body, static_cast<uint32_t>(original.size()), 4);
  PutLe(body, 0x5A210000, 4);
  body.push_back(0x20);
  body.push_back(0);
  body.push_back(static_cast<uint8_t>(name.size()));
  body.insert(body.end(), name.begin(), name.end());
  PutLe(body, Crc16(original), 2);
  uint8_t checksum = 0;
  for (uint8_t b : body) checksum = static_cast<uint8_t>(checksum + b);
  Bytes archive;
  archive.reserve(2 + body.size() + packed.size() + 1);
  archive.push_back(static_cast<uint8_t>(body.size()));
  archive.push_back(checksum);
  archive.insert(archive.end(), body.begin(), body.end());
  archive.insert(archive.end(), packed.begin(), packed.end());
  archive.push_back(0);
  return archive;
}

TEST(LhaInteropTest, StandardArchiverUnpacksOurStreams) {
  // By its own name: Debian's jlha-utils also installs an "lha", whose "pq"
  // prints a header before the data.
  if (std::system("command -v lhasa >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "lhasa is not installed";
  std::mt19937 random(11);
  Bytes noisy(70000);
  for (uint8_t& b : noisy) b = static_cast<uint8_t>(random() % 6 == 0 ? random() : random() % 4);
  const std::vector<Bytes> inputs = {
      Bytes{0x41},
      Bytes{'a', 'a', 'a', 'a'},
      Bytes(50000, 9),
      noisy,
      CountBytes(MandelbrotCounts(640, 480, 1000, -0.8, 0.05, 0.2), 2),
  };
  TempFolder folder;
  for (size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(i);
    const std::string number = std::to_string(i);
    const std::string archive = folder.File(number + ".lzh");
    const std::string unpacked = folder.File(number + ".bin");
    ASSERT_TRUE(WriteWholeFile(archive, Level0Archive(inputs[i], CompressBytes(inputs[i], 13))));
    const std::string command = "lhasa pq '" + archive + "' > '" + unpacked + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadWholeFile(unpacked), inputs[i]);
  }
}
#endif

}  // namespace
