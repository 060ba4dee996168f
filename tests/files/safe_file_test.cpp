#include "files/safe_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "test_files.h"

#ifdef _WIN32
#include <io.h>
#define CloseDescriptor _close
#else
#include <unistd.h>
#define CloseDescriptor close
#endif

namespace {

TEST(SafeFileWriter, CommitCreatesAndReplacesTargetWithoutLeftovers) {
  TempFolder folder;
  const std::string target = folder.File("out.bin");
  {
    SafeFileWriter writer(target.c_str());
    ASSERT_TRUE(writer.IsOpen());
    EXPECT_NE(writer.TemporaryName(), target);
    ASSERT_TRUE(writer.Write("first", 5));
    EXPECT_FALSE(FileExists(target));  // nothing visible before the commit
    EXPECT_TRUE(writer.Commit());
  }
  EXPECT_EQ(ReadWholeFile(target), std::vector<uint8_t>({'f', 'i', 'r', 's', 't'}));
  {
    SafeFileWriter writer(target.c_str());
    ASSERT_TRUE(writer.IsOpen());
    std::fputs("2nd", writer.File());
    EXPECT_TRUE(writer.Commit());
  }
  EXPECT_EQ(ReadWholeFile(target), std::vector<uint8_t>({'2', 'n', 'd'}));
  EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(SafeFileWriter, AbandonedOrFailedWriteKeepsTheOldFile) {
  TempFolder folder;
  const std::string target = folder.File("keep.bin");
  ASSERT_TRUE(WriteWholeFile(target, std::string("good")));
  {
    SafeFileWriter writer(target.c_str());
    ASSERT_TRUE(writer.Write("partial", 7));
  }  // no commit: the temporary file goes away
  EXPECT_EQ(ReadWholeFile(target), std::vector<uint8_t>({'g', 'o', 'o', 'd'}));
  EXPECT_EQ(folder.EntryCount(), 1u);
  {
    SafeFileWriter writer(target.c_str());
    ASSERT_TRUE(writer.Write("bad", 3));     // still in the stream's buffer
    CloseDescriptor(fileno(writer.File()));  // so flushing it fails
    EXPECT_FALSE(writer.Commit());
  }
  EXPECT_EQ(ReadWholeFile(target), std::vector<uint8_t>({'g', 'o', 'o', 'd'}));
  EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(SafeFileWriter, TwoFilesCommittedTogetherOrNotAtAll) {
  TempFolder folder;
  const std::string one = folder.File("one.bin");
  const std::string two = folder.File("two.bin");
  for (const bool secondFails : {true, false}) {
    ASSERT_TRUE(WriteWholeFile(one, std::string("old")));
    SafeFileWriter first(one.c_str());
    SafeFileWriter second(two.c_str());
    ASSERT_TRUE(first.Write("new", 3) && second.Write("new", 3));
    if (secondFails) {  // closed first: an open file cannot be removed on Windows
      ASSERT_TRUE(second.Finish());
      std::remove(second.TemporaryName().c_str());
    }
    EXPECT_EQ(CommitTogether(first, second), !secondFails);
    const std::string expected = secondFails ? "old" : "new";
    EXPECT_EQ(ReadWholeFile(one), std::vector<uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(FileExists(two), !secondFails);
    EXPECT_EQ(folder.EntryCount(), secondFails ? 1u : 2u);
  }
}

// Temporary files that earlier saves could not remove never stop a save.
TEST(SafeFileWriter, LeftoverTemporaryFilesAreClearedWhenTheyRunOut) {
  TempFolder folder;
  const std::string target = folder.File("out.bin");
  for (int i = 0; i < 100; ++i)
    ASSERT_TRUE(WriteWholeFile(target + ".zt" + std::to_string(i), std::string("stale")));
  SafeFileWriter writer(target.c_str());
  ASSERT_TRUE(writer.Write("new", 3));
  EXPECT_TRUE(writer.Commit());
  EXPECT_EQ(ReadWholeFile(target), std::vector<uint8_t>({'n', 'e', 'w'}));
  EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(SafeFileWriter, UnwritableFolderFailsCleanly) {
  TempFolder folder;
  const std::string target = folder.File("missing/out.bin");
  SafeFileWriter writer(target.c_str());
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_FALSE(writer.Write("x", 1));
  EXPECT_FALSE(writer.Commit());
}

TEST(FindFileIgnoringCase, FindsTheFileWhateverTheCaseOfItsName) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder.File("Deep.DTL"), std::string("x")));
  char found[256];
  ASSERT_TRUE(FindFileIgnoringCase(folder.File("deep.dtl").c_str(), found, sizeof found));
  EXPECT_TRUE(FileExistsNarrow(found));
  EXPECT_TRUE(std::filesystem::equivalent(found, folder.File("Deep.DTL")));

  EXPECT_FALSE(FindFileIgnoringCase(folder.File("other.dtl").c_str(), found, sizeof found));
  char tiny[4];
  EXPECT_FALSE(FindFileIgnoringCase(folder.File("Deep.DTL").c_str(), tiny, sizeof tiny));
}

TEST(FindFileIgnoringCase, PrefersTheExactName) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder.File("a.dtl"), std::string("lower")));
  ASSERT_TRUE(WriteWholeFile(folder.File("A.DTL"), std::string("upper")));  // same file on Windows
  char found[256];
  ASSERT_TRUE(FindFileIgnoringCase(folder.File("a.dtl").c_str(), found, sizeof found));
  EXPECT_STREQ(found, folder.File("a.dtl").c_str());
}

}  // namespace
