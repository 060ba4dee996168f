// The data file: byte layout, save and load with their codes, messages and
// progress, names beside the parameter file, and saves that fail.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fake_ui_host.h"
#include "files/data_file.h"
#include "files/decoder.h"
#include "files/encoder.h"
#include "files/file_names.h"
#include "files/safe_file.h"
#include "mandelbrot_counts.h"
#include "test_files.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

// A record with its own count buffer, released at the end of the test.
class Plot {
 public:
  Plot(int32_t sizeX, int32_t sizeY, int32_t limit) {
    record.sizeX = sizeX;
    record.sizeY = sizeY;
    record.limit = limit;
    record.rows = AllocateCountBuffer(record);
  }
  ~Plot() { FreeCountBuffer(record); }
  void Fill(const std::vector<uint16_t>& counts) {
    for (int32_t row = 0; row < record.sizeY; ++row) {
      for (int32_t column = 0; column < record.sizeX; ++column) {
        CountAt(record, row, column) =
            static_cast<Count>(counts[static_cast<size_t>(row) * record.sizeX + column]);
      }
    }
  }
  std::vector<uint16_t> Counts() const {
    std::vector<uint16_t> counts;
    for (int32_t row = 0; row < record.sizeY; ++row) {
      for (int32_t column = 0; column < record.sizeX; ++column) {
        counts.push_back(static_cast<uint16_t>(CountAt(record, row, column)));
      }
    }
    return counts;
  }
  PlotRecord record;
};

Bytes Decompressed(const std::string& path) {
  Bytes out;
  EXPECT_TRUE(DecompressBytes(ReadWholeFile(path), out));
  return out;
}

std::string SavedMessage(unsigned long compressed, unsigned long total, const std::string& name) {
  char text[512];
  std::snprintf(text, sizeof text, "保存終了\nCompression: %lu / %lu\nData File: %s", compressed,
                total, name.c_str());
  return text;
}

TEST(DataFileNamesTest, DataFileBesideTheParameterFile) {
  EXPECT_EQ(FinalComponentOffset("C:\\W\\A.B.PMF"), 5u);
  EXPECT_EQ(FinalComponentOffset("A.PMF"), 0u);
  EXPECT_EQ(FinalComponentOffset("\\A.PMF"), 0u);  // the first byte is never a separator
  const DataFileNames names = DataFileNamesFor("C:\\W\\A.B.PMF");
  EXPECT_EQ(names.bareName, "A.B.DTL");
  EXPECT_EQ(names.path, "C:\\W\\A.B.DTL");
  std::string lookup;
  ASSERT_TRUE(DataFileLookupName("C:\\W\\A.B.PMF", &lookup));
  EXPECT_EQ(lookup, "C:\\W\\A.B.dtl");
  EXPECT_EQ(DataFileNamesFor("C:\\W\\plot.txt.PMF").bareName, "plot.txt.DTL");
  EXPECT_EQ(DataFileNamesFor("C:\\W\\plot").path, "C:\\W\\plot.DTL");
  // A dot in a folder name is not the extension.
  EXPECT_FALSE(DataFileLookupName("C:\\a.b\\plot", &lookup));
  EXPECT_EQ(DataFileNamesFor("C:\\a.b\\plot").bareName, "plot.DTL");
}

TEST(DataFileNamesTest, SecondByteOfADoubleByteCharacterIsNoSeparator) {
  // 0x95 0x5C is one character whose second byte looks like a backslash.
  EXPECT_EQ(DataFileNamesFor("C:\\W\\\x95\x5C.PMF").bareName, "\x95\x5C.DTL");
  EXPECT_EQ(DataFileNamesFor("C:\\\x95\x5C\\A.PMF").bareName, "A.DTL");
  EXPECT_EQ(DataFileNamesFor("\x95\x5C\x95\x5C.PMF").bareName, "\x95\x5C\x95\x5C.DTL");
  // A lead byte followed by a byte that cannot be a trail byte: the pair is
  // two single bytes and the backslash after them separates.
  EXPECT_EQ(DataFileNamesFor("x\x81\x1F\\A.PMF").bareName, "A.DTL");
}

TEST(DataFileTest, BytesPerCountFollowTheEffectiveLimitOfTheArithmetic) {
  struct Case {
    int32_t limit;
    PlottedArithmetic arithmetic;
    int bytes;
  };
  for (const Case& c :
       {Case{255, kPlottedReal, 1}, Case{256, kPlottedReal, 2}, Case{30000, kPlottedInteger, 2},
        Case{1000000, kPlottedReal, 2}, Case{0, kPlottedReal, 1},  // effective limit 1
        Case{-5, kPlottedReal, 2},                                 // effective limit 30000
        Case{65535, kPlottedDeep, 2}, Case{65536, kPlottedDeep, 4}, Case{-5, kPlottedDeep, 4},
        Case{255, kPlottedDeep, 1}}) {
    PlotRecord record;
    record.limit = c.limit;
    record.plottedArithmetic = c.arithmetic;
    EXPECT_EQ(DataBytesPerCount(record), c.bytes) << c.limit << " " << c.arithmetic;
  }
}

// Deep counts of a limit above 65535 take four bytes, lowest byte plane
// first. A data file loads with the counts it was written with whatever
// arithmetic is chosen: its width comes from the stream, and two-byte counts
// above 32767 are unsigned.
TEST(DataFileTest, DeepCountsTakeFourBytesAndEveryWidthLoadsInEveryArithmetic) {
  TempFolder folder;
  Plot plot(64, 48, 1000000);
  plot.record.plottedArithmetic = kPlottedDeep;
  Bytes planes(4 * 64 * 48);
  for (int32_t k = 0; k < 64 * 48; ++k) {
    const uint32_t count = static_cast<uint32_t>(k) * 20011u % 1000001u;
    CountAt(plot.record, k / 64, k % 64) = static_cast<Count>(count);
    for (int plane = 0; plane < 4; ++plane)
      planes[plane * 64 * 48 + k] = count >> (8 * plane) & 0xFF;
  }
  FakeUiHost host;
  const std::string path = folder.File("deep.DTL");
  ASSERT_EQ(SaveDataFile(host, plot.record, path.c_str()), kDataSaved);
  EXPECT_EQ(Decompressed(path), planes);

  struct Case {
    int32_t limit;
    PlottedArithmetic savedWith;
    uint32_t largest;
  };
  // Deep 4 bytes; 80-bit counts of the same limit in 2 bytes; deep 2 bytes
  // with counts above 32767.
  for (const Case& c : {Case{1000000, kPlottedDeep, 1000000}, Case{1000000, kPlottedReal, 30000},
                        Case{60000, kPlottedDeep, 60000}}) {
    Plot saved(64, 48, c.limit);
    saved.record.plottedArithmetic = c.savedWith;
    for (int32_t k = 0; k < 64 * 48; ++k)
      CountAt(saved.record, k / 64, k % 64) = static_cast<Count>(k * 20011u % (c.largest + 1));
    ASSERT_EQ(SaveDataFile(host, saved.record, path.c_str()), kDataSaved);
    for (PlottedArithmetic chosen : {kPlottedReal, kPlottedInteger, kPlottedDeep}) {
      SCOPED_TRACE(testing::Message() << c.limit << " " << c.savedWith << " " << chosen);
      Plot loaded(64, 48, c.limit);
      loaded.record.plottedArithmetic = chosen;
      ASSERT_EQ(LoadDataFile(host, loaded.record, path.c_str()), kDataLoaded);
      for (int32_t k = 0; k < 64 * 48; ++k) {
        ASSERT_EQ(CountAt(loaded.record, k / 64, k % 64), CountAt(saved.record, k / 64, k % 64));
      }
      // Counts only the deep arithmetic gives are coloured as its counts.
      if (c.savedWith == kPlottedDeep) {
        EXPECT_EQ(loaded.record.plottedArithmetic, kPlottedDeep);
      }
    }
  }
  for (const auto& message : host.messages) EXPECT_EQ(message.caption, "File Saved");
}

TEST(DataFileTest, LayoutOfOneAndTwoBytesPerCount) {
  TempFolder folder;
  const std::vector<uint16_t> counts = MandelbrotCounts(64, 48, 255);
  for (int32_t limit : {255, 256}) {
    SCOPED_TRACE(limit);
    Plot plot(64, 48, limit);
    plot.Fill(counts);
    CountAt(plot.record, 0, 0) = 0x1234;  // only a 2-byte file keeps the high byte
    FakeUiHost host;
    const std::string path = folder.File("layout.DTL");
    ASSERT_EQ(SaveDataFile(host, plot.record, path.c_str()), kDataSaved);
    std::vector<uint16_t> expected = counts;
    expected[0] = 0x1234;
    EXPECT_EQ(Decompressed(path), CountBytes(expected, limit >= 256 ? 2 : 1));
  }
}

TEST(DataFileTest, SaveAndLoadWithMessagesProgressAndMessageSteps) {
  TempFolder folder;
  Plot plot(640, 480, 1000);
  const std::vector<uint16_t> counts = MandelbrotCounts(640, 480, 1000, -0.8, 0.05, 0.2);
  plot.Fill(counts);
  FakeUiHost host;
  host.stopAtPump = 1;  // a stop taken during the save is ignored
  const std::string path = folder.File("deep.DTL");
  ASSERT_EQ(SaveDataFile(host, plot.record, path.c_str()), kDataSaved);
  EXPECT_EQ(host.pumpCalls, 2 * 480);
  const unsigned long compressed = ReadWholeFile(path).size();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, SavedMessage(compressed, 614400, path));
  EXPECT_EQ(host.messages[0].caption, "File Saved");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::Information);
  ASSERT_GE(host.titles.size(), 3u);
  EXPECT_EQ(host.titles.front(), "8448 / 614400");  // coding starts after DICSIZ + 256 bytes
  EXPECT_EQ(host.titles.back(), "614400 / 614400");

  Plot loaded(640, 480, 1000);
  FakeUiHost loadHost;
  EXPECT_EQ(LoadDataFile(loadHost, loaded.record, path.c_str()), kDataLoaded);
  EXPECT_EQ(loaded.Counts(), counts);
  EXPECT_TRUE(loadHost.messages.empty());
  ASSERT_EQ(loadHost.titles.size(), 614400u / 32768u + 1);
  EXPECT_EQ(loadHost.titles.front(), "32768 / 614400");
  EXPECT_EQ(loadHost.titles.back(), "614400 / 614400");
}

TEST(DataFileTest, LongerAndShorterDataThanTheParametersImply) {
  TempFolder folder;
  const std::string path = folder.File("plot.DTL");
  Plot saved(64, 32, 1000);
  std::vector<uint16_t> counts = MandelbrotCounts(64, 32, 1000);
  counts[5] = 700;
  saved.Fill(counts);
  FakeUiHost host;
  ASSERT_EQ(SaveDataFile(host, saved.record, path.c_str()), kDataSaved);

  // Every file the program writes holds each count whole: a stream longer
  // (limit lowered by hand) or shorter (more rows than stored, or a file cut
  // short) than whole counts is reported and not taken.
  Plot lower(64, 32, 100);
  EXPECT_EQ(LoadDataFile(host, lower.record, path.c_str()), kDataMalformed);
  Plot taller(64, 40, 1000);
  EXPECT_EQ(LoadDataFile(host, taller.record, path.c_str()), kDataMalformed);
  const Bytes whole = ReadWholeFile(path);
  const std::string cut = folder.File("cut.DTL");
  ASSERT_TRUE(WriteWholeFile(cut, Bytes(whole.begin(), whole.begin() + whole.size() / 2)));
  EXPECT_EQ(LoadDataFile(host, saved.record, cut.c_str()), kDataMalformed);
  ASSERT_EQ(host.messages.size(), 4u);  // the save, then one report for each
  for (size_t i = 1; i < 4; ++i) EXPECT_EQ(host.messages[i].text, "Unknown data file format ..");
  std::vector<uint16_t> lowBytes = counts;
  for (uint16_t& c : lowBytes) c &= 0xFF;

  // A file saved with one byte per count read with a limit of 500: high bytes 0.
  Plot small(64, 32, 100);
  small.Fill(lowBytes);
  ASSERT_EQ(SaveDataFile(host, small.record, path.c_str()), kDataSaved);
  Plot higher(64, 32, 500);
  EXPECT_EQ(LoadDataFile(host, higher.record, path.c_str()), kDataLoaded);
  EXPECT_EQ(higher.Counts(), lowBytes);
}

TEST(DataFileTest, NegativeLimitKeepsCountsAbove255) {
  TempFolder folder;
  const std::string path = folder.File("negative.DTL");
  Plot plot(40, 30, -5);
  plot.Fill(MandelbrotCounts(40, 30, 30000));
  FakeUiHost host;
  ASSERT_EQ(SaveDataFile(host, plot.record, path.c_str()), kDataSaved);
  Plot loaded(40, 30, -5);
  EXPECT_EQ(LoadDataFile(host, loaded.record, path.c_str()), kDataLoaded);
  EXPECT_EQ(loaded.Counts(), plot.Counts());
  EXPECT_EQ(loaded.Counts()[15 * 40 + 15], 30000);  // c = 0 - 0.13i never escapes
}

TEST(DataFileTest, LoadCodes) {
  TempFolder folder;
  FakeUiHost host;
  Plot plot(32, 32, 100);
  for (int32_t row = 0; row < 32; ++row) CountAt(plot.record, row, 3) = 9;
  // Empty file: no counts, reported as a malformed stream.
  const std::string empty = folder.File("empty.DTL");
  ASSERT_TRUE(WriteWholeFile(empty, Bytes{}));
  EXPECT_EQ(LoadDataFile(host, plot.record, empty.c_str()), kDataMalformed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Unknown data file format ..");
  host.messages.clear();
  // Missing file: code 2, no message.
  EXPECT_EQ(LoadDataFile(host, plot.record, folder.File("missing.dtl").c_str()), kDataCannotOpen);
  EXPECT_TRUE(host.messages.empty());
  // Malformed: code 1 and one message.
  const std::string broken = folder.File("broken.DTL");
  ASSERT_TRUE(WriteWholeFile(broken, Bytes{0x00, 0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0x12, 0x34}));
  EXPECT_EQ(LoadDataFile(host, plot.record, broken.c_str()), kDataMalformed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Unknown data file format ..");
  EXPECT_EQ(host.messages[0].caption, "Zirn");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::Information);
  // No decompressor memory.
  EXPECT_EQ(LoadDataFile(host, plot.record, empty.c_str(), MemoryBudget(1000)),
            kDataNoDecompressorMemory);
}

TEST(DataFileTest, SaveCodesKeepTheOldFile) {
  TempFolder folder;
  Plot plot(64, 64, 100);
  plot.Fill(MandelbrotCounts(64, 64, 100));
  const std::string path = folder.File("keep.DTL");
  const std::string old = "old contents";
  ASSERT_TRUE(WriteWholeFile(path, old));
  FakeUiHost host;
  // Not even a 1 KB dictionary: code 3, and the old file is still there.
  EXPECT_EQ(SaveDataFile(host, plot.record, path.c_str(), MemoryBudget(20000)),
            kDataNoCompressorMemory);
  EXPECT_EQ(ReadWholeFile(path), Bytes(old.begin(), old.end()));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "File write error.  code:3\n" + path);
  EXPECT_EQ(host.messages[0].caption, "Error");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::Error);
  // A folder that does not exist: code 2.
  const std::string nowhere = folder.File("missing-folder") + "/x.DTL";
  EXPECT_EQ(SaveDataFile(host, plot.record, nowhere.c_str()), kDataCannotCreate);
  EXPECT_EQ(host.messages.back().text, "File write error.  code:2\n" + nowhere);
}

#ifndef _WIN32
// Writes beyond a small file-size limit fail (EFBIG) instead of raising a signal.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST(DataFileTest, FailedWritesKeepTheOldFiles) {
  TempFolder folder;
  Plot plot(300, 300, 1000);
  plot.Fill(MandelbrotCounts(300, 300, 1000, -0.8, 0.05, 0.2));
  const std::string path = folder.File("keep.DTL");
  const Bytes old(100000, 0x5A);
  ASSERT_TRUE(WriteWholeFile(path, old));
  FakeUiHost host;
  {
    FileSizeLimit limit(1000);
    EXPECT_EQ(SaveDataFile(host, plot.record, path.c_str()), kDataWriteFailed);
  }
  EXPECT_EQ(ReadWholeFile(path), old);
  EXPECT_EQ(host.messages.back().text, "File write error.  code:4\n" + path);

  const std::string parameterFile = folder.File("keep.PMF");
  ASSERT_TRUE(WriteWholeFile(parameterFile, old));
  {
    FileSizeLimit limit(50);
    EXPECT_EQ(SaveParameterFile(parameterFile.c_str(), plot.record, host), 0);
  }
  EXPECT_EQ(ReadWholeFile(parameterFile), old);
  EXPECT_EQ(ReadWholeFile(path), old);  // no data file was written either
}

// The disk fills up during the data file of a second save under the same
// name: the parameter file must not name the first plot's counts.
TEST(DataFileTest, AFailedSaveLeavesThePreviousPairAsItWas) {
  TempFolder folder;
  Plot first(300, 300, 1000);
  first.Fill(MandelbrotCounts(300, 300, 1000, -0.8, 0.05, 0.2));
  Plot second(320, 240, 2000);
  second.Fill(MandelbrotCounts(320, 240, 2000, -1.8, -0.1, 0.2));
  const std::string parameterFile = folder.File("keep.PMF");
  const std::string dataFile = folder.File("keep.DTL");
  FakeUiHost host;
  ASSERT_EQ(SaveParameterFile(parameterFile.c_str(), first.record, host), 1);
  const Bytes firstText = ReadWholeFile(parameterFile);
  const Bytes firstData = ReadWholeFile(dataFile);
  ASSERT_GT(firstData.size(), 4000u);
  host.messages.clear();
  {
    FileSizeLimit limit(4000);
    EXPECT_EQ(SaveParameterFile(parameterFile.c_str(), second.record, host), kPairNotSaved);
  }
  // Neither file was saved, and both are said so.
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, "ファイルを保存できません。");
  EXPECT_EQ(host.messages[0].caption, "Zirn");
  EXPECT_EQ(host.messages[1].text, "File write error.  code:4\n" + dataFile);
  EXPECT_EQ(ReadWholeFile(parameterFile), firstText);
  EXPECT_EQ(ReadWholeFile(dataFile), firstData);
  EXPECT_EQ(folder.EntryCount(), 2u);  // no temporary file left behind

  ASSERT_EQ(SaveParameterFile(parameterFile.c_str(), second.record, host), 1);
  EXPECT_NE(ReadWholeFile(parameterFile), firstText);
  Plot loaded(320, 240, 2000);
  EXPECT_EQ(LoadDataFile(host, loaded.record, dataFile.c_str()), kDataLoaded);
  EXPECT_EQ(loaded.Counts(), second.Counts());
}
#endif

// Renames as on Windows, never over an existing file; the calls (renames and
// removals together) whose numbers are in g_failingCalls fail, as when a
// scanner holds a file for a moment.
std::set<int> g_failingCalls;
int g_fileCalls = 0;

int RenameFailingAt(const char* from, const char* to) {
  if (g_failingCalls.count(++g_fileCalls) != 0 || std::filesystem::exists(to)) return -1;
  return std::rename(from, to);
}

int RemoveFailingAt(const char* path) {
  if (g_failingCalls.count(++g_fileCalls) != 0) return -1;
  return std::remove(path);
}

// A second save under the same name, with up to three of its renames and
// removals failing: the save reports success only with the new pair in
// place; otherwise no parameter file stands beside a data file of another
// save, every previous file is under its own name or named in a message,
// and so is every other file left in the folder.
TEST(DataFileTest, EveryFailedStepOfThePairsReplacementIsRecoveredOrReported) {
  Plot first(40, 30, 300);
  first.Fill(MandelbrotCounts(40, 30, 300));
  Plot second(40, 30, 400);  // another limit: another parameter text
  second.Fill(MandelbrotCounts(40, 30, 400, -1.8, -0.1, 0.2));
  TempFolder oldFolder;
  TempFolder newFolder;
  FakeUiHost host;
  ASSERT_EQ(SaveParameterFile(oldFolder.File("p.PMF").c_str(), first.record, host), 1);
  ASSERT_EQ(SaveParameterFile(newFolder.File("p.PMF").c_str(), second.record, host), 1);
  const Bytes oldText = ReadWholeFile(oldFolder.File("p.PMF"));
  const Bytes oldData = ReadWholeFile(oldFolder.File("p.DTL"));
  const Bytes newText = ReadWholeFile(newFolder.File("p.PMF"));
  const Bytes newData = ReadWholeFile(newFolder.File("p.DTL"));
  constexpr int kCalls = 9;  // as many as the longest replacement makes
  for (int a = 1; a <= kCalls; ++a) {
    for (int b = a; b <= kCalls; ++b) {
      for (int c = b; c <= kCalls; ++c) {
        SCOPED_TRACE(testing::Message() << a << " " << b << " " << c);
        TempFolder folder;
        const std::string text = folder.File("p.PMF");
        const std::string data = folder.File("p.DTL");
        ASSERT_TRUE(WriteWholeFile(text, oldText) && WriteWholeFile(data, oldData));
        host.messages.clear();
        g_failingCalls = {a, b, c};
        g_fileCalls = 0;
        const FileOperations previous = SetFileOperations({RenameFailingAt, RemoveFailingAt});
        const int result = SaveParameterFile(text.c_str(), second.record, host);
        SetFileOperations(previous);

        const Bytes textNow = FileExists(text) ? ReadWholeFile(text) : Bytes();
        const Bytes dataNow = FileExists(data) ? ReadWholeFile(data) : Bytes();
        if (result == kParameterFileSaved) {
          EXPECT_EQ(textNow, newText);
          EXPECT_EQ(dataNow, newData);
        } else {
          EXPECT_EQ(result, kPairNotSaved);
          EXPECT_NE(textNow, newText);
          EXPECT_FALSE(textNow == oldText && dataNow == newData);
        }
        std::string said;
        for (const auto& message : host.messages) said += message.text + "\n";
        bool oldTextFound = textNow == oldText;
        bool oldDataFound = dataNow == oldData;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
          const std::string name = entry.path().string();
          if (name == text || name == data) continue;
          EXPECT_NE(said.find(name), std::string::npos) << name << " not reported in " << said;
          oldTextFound = oldTextFound || ReadWholeFile(name) == oldText;
          oldDataFound = oldDataFound || ReadWholeFile(name) == oldData;
        }
        EXPECT_TRUE(result == kParameterFileSaved || (oldTextFound && oldDataFound));
      }
    }
  }
}

TEST(DataFileTest, ParameterFileNamesItsDataFile) {
  TempFolder folder;
  Plot plot(48, 40, 300);
  plot.Fill(MandelbrotCounts(48, 40, 300));
  FakeUiHost host;
  const std::string parameterFile = folder.File("A.B.PMF");
  ASSERT_EQ(SaveParameterFile(parameterFile.c_str(), plot.record, host), 1);
  const Bytes text = ReadWholeFile(parameterFile);
  EXPECT_NE(std::string(text.begin(), text.end()).find("\r\n f\"A.B.DTL\"\r\n%end"),
            std::string::npos);
  const std::string dataFile = folder.File("A.B.DTL");
  ASSERT_TRUE(FileExists(dataFile));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "File Saved");
  // Opening looks for ".dtl" and finds the ".DTL" that was written.
  std::string found;
  ASSERT_TRUE(FindDataFile(parameterFile.c_str(), &found));
  Plot loaded(48, 40, 300);
  EXPECT_EQ(LoadDataFile(host, loaded.record, found.c_str()), kDataLoaded);
  EXPECT_EQ(loaded.Counts(), plot.Counts());
  std::string lookup;
  ASSERT_TRUE(DataFileLookupName(parameterFile.c_str(), &lookup));
  EXPECT_EQ(LoadDataFile(host, loaded.record, lookup.c_str()), kDataLoaded);
  EXPECT_FALSE(FindDataFile(folder.File("other.PMF").c_str(), &found));
}

}  // namespace
