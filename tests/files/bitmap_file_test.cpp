#include "files/bitmap_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "fake_ui_host.h"
#include "test_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Append32(Bytes& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
void Append16(Bytes& bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

Bytes InfoHeader(int32_t width, int32_t height, uint16_t bitCount, uint32_t coloursUsed = 0,
                 uint32_t imageSize = 0) {
  Bytes header;
  Append32(header, 40);
  Append32(header, static_cast<uint32_t>(width));
  Append32(header, static_cast<uint32_t>(height));
  Append16(header, 1);
  Append16(header, bitCount);
  Append32(header, 0);  // compression
  Append32(header, imageSize);
  Append32(header, 0);
  Append32(header, 0);
  Append32(header, coloursUsed);
  Append32(header, 0);
  return header;
}

Bytes CoreHeader(uint16_t width, uint16_t height, uint16_t bitCount) {
  Bytes header;
  Append32(header, 12);
  Append16(header, width);
  Append16(header, height);
  Append16(header, 1);
  Append16(header, bitCount);
  return header;
}

// A whole file: file header, info header, colour table, gap, pixel rows.
Bytes BitmapFile(const Bytes& header, const Bytes& table, const Bytes& rows, uint32_t bitsOffset = 0,
                 size_t gap = 0) {
  Bytes file = {'B', 'M'};
  Append32(file, static_cast<uint32_t>(14 + header.size() + table.size() + gap + rows.size()));
  Append32(file, 0);
  Append32(file, bitsOffset);
  file.insert(file.end(), header.begin(), header.end());
  file.insert(file.end(), table.begin(), table.end());
  file.insert(file.end(), gap, 0xEE);
  file.insert(file.end(), rows.begin(), rows.end());
  return file;
}

Bytes Sequence(size_t n, uint8_t start = 1) {
  Bytes bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(start + i);
  return bytes;
}

class BitmapFileTest : public ::testing::Test {
 protected:
  // Writes the bytes to a file and reads it with ReadBitmapFile.
  bool Load(const Bytes& file) {
    const std::string name = folder_.File("in.bmp");
    EXPECT_TRUE(WriteWholeFile(name, file));
    return ReadBitmapFile(name.c_str(), dib_, &bitsOffset_, host_);
  }
  uint32_t Field(size_t offset) const { return ReadLe32(dib_.Data() + offset); }
  Bytes Block() const { return Bytes(dib_.Data(), dib_.Data() + dib_.Size()); }

  TempFolder folder_;
  FakeUiHost host_;
  DibBlock dib_;
  uint16_t bitsOffset_ = 0;
};

// A 5 x 3 picture of 4 bits per pixel: rows of 4 bytes.
TEST_F(BitmapFileTest, WrittenSixteenColourFileHasItsLayoutAndReadsBack) {
  const Bytes original = BitmapFile(InfoHeader(5, 3, 4, 16, 12), Sequence(64), Sequence(12, 100));
  const Bytes block(original.begin() + 14, original.end());
  dib_.Resize(block.size());
  std::memcpy(dib_.Data(), block.data(), block.size());

  const std::string name = folder_.File("out.bmp");
  ASSERT_TRUE(WriteBitmapFile(name.c_str(), dib_));
  const Bytes written = ReadWholeFile(name);
  ASSERT_EQ(written.size(), 14 + block.size());
  EXPECT_EQ(written[0], 'B');
  EXPECT_EQ(written[1], 'M');
  EXPECT_EQ(ReadLe32(&written[2]), 14 + block.size());
  EXPECT_EQ(ReadLe32(&written[6]), 0u);
  EXPECT_EQ(ReadLe32(&written[10]), 118u);
  EXPECT_EQ(Bytes(written.begin() + 14, written.end()), block);

  DibBlock again;
  uint16_t offset = 0;
  ASSERT_TRUE(ReadBitmapFile(name.c_str(), again, &offset, host_));
  EXPECT_EQ(offset, 104);
  EXPECT_EQ(Bytes(again.Data(), again.Data() + again.Size()), block);
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(BitmapFileTest, CoreHeaderIsWidenedWithQuadColourTable) {
  const Bytes triples = Sequence(48);
  const Bytes rows = Sequence(8, 200);  // 3 x 2 pixels, rows of 4 bytes
  ASSERT_TRUE(Load(BitmapFile(CoreHeader(3, 2, 4), triples, rows)));
  EXPECT_EQ(bitsOffset_, 40 + 64);
  ASSERT_EQ(dib_.Size(), 40u + 64 + 8);
  EXPECT_EQ(Field(kHeaderSizeField), 40u);
  EXPECT_EQ(Field(kWidthField), 3u);
  EXPECT_EQ(Field(kHeightField), 2u);
  EXPECT_EQ(ReadLe16(dib_.Data() + kBitCountField), 4);
  EXPECT_EQ(Field(kCompressionField), 0u);
  EXPECT_EQ(Field(kImageSizeField), 8u);
  EXPECT_EQ(Field(kColoursUsedField), 16u);
  EXPECT_EQ(Field(kColoursImportantField), 16u);
  for (int entry = 0; entry < 16; ++entry) {
    const uint8_t* quad = dib_.Data() + 40 + 4 * entry;
    EXPECT_EQ(quad[0], triples[3 * entry]);
    EXPECT_EQ(quad[1], triples[3 * entry + 1]);
    EXPECT_EQ(quad[2], triples[3 * entry + 2]);
    EXPECT_EQ(quad[3], 0);
  }
  EXPECT_EQ(Bytes(dib_.Data() + 104, dib_.Data() + 112), rows);
}

TEST_F(BitmapFileTest, ColourCountAndImageSizeComeFromTheBitCountWhenFieldsAreZero) {
  ASSERT_TRUE(Load(BitmapFile(InfoHeader(8, 2, 4), Sequence(64), Sequence(8))));
  EXPECT_EQ(Field(kColoursUsedField), 16u);
  EXPECT_EQ(Field(kImageSizeField), 8u);
  EXPECT_EQ(bitsOffset_, 104);

  FakeUiHost host;
  EXPECT_TRUE(RequireSixteenColours(dib_, host));
  EXPECT_TRUE(host.messages.empty());

  // A larger stored image size (as in a run-length file) is kept and read.
  ASSERT_TRUE(Load(BitmapFile(InfoHeader(8, 2, 4, 0, 20), Sequence(64), Sequence(20))));
  EXPECT_EQ(Field(kImageSizeField), 20u);
  EXPECT_EQ(dib_.Size(), 104u + 20);
}

TEST_F(BitmapFileTest, TrueColourHasNoTableAndIsNotSixteenColour) {
  const Bytes rows = Sequence(8);  // 2 x 1 pixels of 24 bits: 6 bytes padded to 8
  ASSERT_TRUE(Load(BitmapFile(InfoHeader(2, 1, 24), {}, rows)));
  EXPECT_EQ(bitsOffset_, 40);
  EXPECT_EQ(Bytes(dib_.Data() + 40, dib_.Data() + 48), rows);

  EXPECT_FALSE(RequireSixteenColours(dib_, host_));
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].text, "１６色ＤＩＢではありません");
  EXPECT_EQ(host_.messages[0].caption, "Zirn");
  EXPECT_EQ(host_.messages[0].icon, MessageIcon::Error);

  DibBlock none;
  EXPECT_FALSE(RequireSixteenColours(none, host_));
}

TEST_F(BitmapFileTest, BitsOffsetFieldIsHonoured) {
  const Bytes rows = Sequence(8, 50);
  ASSERT_TRUE(Load(BitmapFile(InfoHeader(2, 2, 8, 2), Sequence(8), rows, 14 + 40 + 8 + 6, 6)));
  EXPECT_EQ(bitsOffset_, 48);
  EXPECT_EQ(Bytes(dib_.Data() + 48, dib_.Data() + 56), rows);
}

TEST_F(BitmapFileTest, TruncatedFileLoadsWithMissingRowsCleared) {
  dib_.Resize(2000);
  std::memset(dib_.Data(), 0xAA, dib_.Size());
  const Bytes rows = Sequence(6, 9);  // one and a half of four 4-byte rows
  ASSERT_TRUE(Load(BitmapFile(InfoHeader(8, 4, 4), Sequence(64), rows)));
  ASSERT_EQ(dib_.Size(), 104u + 16);
  EXPECT_EQ(Bytes(dib_.Data() + 104, dib_.Data() + 110), rows);
  EXPECT_EQ(Bytes(dib_.Data() + 110, dib_.Data() + 120), Bytes(10, 0));

  // A colour table cut short is completed with zeros too.
  std::memset(dib_.Data(), 0xAA, dib_.Size());
  ASSERT_TRUE(Load(BitmapFile(InfoHeader(8, 4, 4), Sequence(10), {})));
  EXPECT_EQ(Bytes(dib_.Data() + 50, dib_.Data() + 120), Bytes(70, 0));
}

TEST_F(BitmapFileTest, UnreadableFilesFailAndLeaveTheBlockAlone) {
  const Bytes kept = Sequence(50);
  dib_.Resize(kept.size());
  std::memcpy(dib_.Data(), kept.data(), kept.size());

  const Bytes table = Sequence(64);
  Bytes notBm = BitmapFile(InfoHeader(8, 2, 4), table, Sequence(8));
  notBm[1] = 'A';
  Bytes v4Header = InfoHeader(8, 2, 4);
  v4Header[0] = 108;
  const Bytes refused[] = {
      notBm,
      Bytes{'B', 'M', 0, 0},                                        // short file header
      BitmapFile(Bytes(39, 40), {}, {}),                            // short info header
      BitmapFile(v4Header, table, Sequence(8)),                     // unknown header size
      BitmapFile(InfoHeader(8, -2, 4), table, Sequence(8)),         // top-down rows
      BitmapFile(InfoHeader(-8, 2, 4), table, Sequence(8)),         // negative width
      BitmapFile(InfoHeader(8, 2, 4, 0x40000000), table, {}),       // 4 x colours overflows
      BitmapFile(InfoHeader(8, 2, 4, kMaxColourCount + 1), {}, {}), // bits offset beyond 16 bits
      BitmapFile(InfoHeader(0x7FFFFFFF, 2, 32), {}, {}),            // row bytes beyond 32 bits
      BitmapFile(InfoHeader(65536, 65536, 32), {}, {}),             // image beyond 32 bits
      BitmapFile(InfoHeader(8, 2, 4, 0, 0xFFFFFFF0), table, {}),    // image size near 4 GiB
      BitmapFile(InfoHeader(8, 2, 4, 0, 1u << 30), table, {}),      // block beyond the limit
  };
  for (const Bytes& file : refused) {
    EXPECT_FALSE(Load(file));
    EXPECT_EQ(Block(), kept);
  }
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(BitmapFileTest, LargestColourTableStillFits) {
  uint16_t offset = 0;
  const Bytes file = BitmapFile(InfoHeader(1, 1, 8, kMaxColourCount), Sequence(4 * kMaxColourCount), Sequence(4));
  ASSERT_TRUE(ReadBitmapBytes(file.data(), file.size(), dib_, &offset));
  EXPECT_EQ(offset, 40 + 4 * kMaxColourCount);
}

TEST_F(BitmapFileTest, MissingFileIsReported) {
  const std::string name = folder_.File("none.bmp");
  EXPECT_FALSE(ReadBitmapFile(name.c_str(), dib_, &bitsOffset_, host_));
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].text, "Cannot open file '" + name + "' ..");
  EXPECT_EQ(host_.messages[0].caption, "Zirn");
  EXPECT_EQ(host_.messages[0].icon, MessageIcon::Error);
}

TEST_F(BitmapFileTest, FailedWriteKeepsTheOldFile) {
  const std::string name = folder_.File("old.bmp");
  ASSERT_TRUE(WriteWholeFile(name, std::string("old picture")));
  DibBlock none;
  EXPECT_FALSE(WriteBitmapFile(name.c_str(), none));
  EXPECT_FALSE(WriteBitmapFile(folder_.File("missing/x.bmp").c_str(), none));
  dib_.Resize(120);
  std::memset(dib_.Data(), 0, 120);
  EXPECT_FALSE(WriteBitmapFile(folder_.File("missing/x.bmp").c_str(), dib_));
  EXPECT_EQ(ReadWholeFile(name), Bytes({'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}));
}

// The checked-in files: ok-*.bmp must read, bad-*.bmp must be refused.
TEST_F(BitmapFileTest, SampleFilesAreReadOrRefusedAsNamed) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TestDataPath("fuzz/bitmap"))) {
    const std::string name = entry.path().filename().string();
    const bool good = name.rfind("ok-", 0) == 0;
    EXPECT_TRUE(good || name.rfind("bad-", 0) == 0) << name;
    EXPECT_EQ(ReadBitmapFile(entry.path().string().c_str(), dib_, &bitsOffset_, host_), good) << name;
    ++files;
  }
  EXPECT_GE(files, 10);
  EXPECT_TRUE(host_.messages.empty());
}

}  // namespace
