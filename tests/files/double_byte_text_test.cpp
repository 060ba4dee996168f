// Shift-JIS scanning of paths: the scan state, the file-name part of a path
// and the case folding that leaves second bytes alone.

#include <gtest/gtest.h>

#include <string>

#include "files/double_byte_text.h"
#include "files/file_names.h"

namespace {

// "C:\dir\" then the character 0x95 0x5C (its second byte is "\") and ".PMF".
const std::string kTrailBackslashPath = "C:\\dir\\\x95\x5C.PMF";

TEST(TrailByteState, TellsWhatTheByteAtNIs) {
  const char* text =
      "\x82\xA0"
      "a";
  EXPECT_EQ(TrailByteState(text, 1), kAfterLeadByte);
  EXPECT_EQ(TrailByteState(text, 2), kAfterDoubleByte);
  EXPECT_EQ(TrailByteState(text, 3), kAfterSingleByte);
  EXPECT_EQ(TrailByteState("plain\\text", 6), kAfterSingleByte);
  EXPECT_EQ(TrailByteState(text, 0), kAfterSingleByte);
  EXPECT_EQ(TrailByteState(text, 4), kAfterSingleByte);  // text shorter than n
  // A lead byte followed by a byte that cannot be a second byte ends there.
  EXPECT_EQ(TrailByteState("\x82 ", 2), kAfterSingleByte);
  // Two characters in a row, the second with a trail byte that looks like a lead byte.
  EXPECT_EQ(TrailByteState("\x82\x82\x82", 3), kAfterLeadByte);
}

TEST(FileNamePart, SkipsABackslashThatIsASecondByte) {
  EXPECT_STREQ(FileNamePart(kTrailBackslashPath.c_str()), "\x95\x5C.PMF");
  EXPECT_STREQ(FileNamePart("C:\\W\\A.B.PMF"), "A.B.PMF");
  const std::string folderEndsInTrail = "C:\\\x95\x5C\\name.pmf";
  EXPECT_STREQ(FileNamePart(folderEndsInTrail.c_str()), "name.pmf");
}

TEST(FileNamePart, WholeTextWithoutASeparatorAndEmptyBehindAFinalOne) {
  EXPECT_STREQ(FileNamePart("name.pmf"), "name.pmf");
  EXPECT_STREQ(FileNamePart("\\name.pmf"), "\\name.pmf");  // position 0 is never a separator
  EXPECT_STREQ(FileNamePart("C:\\dir\\"), "");
  EXPECT_STREQ(FileNamePart("C:/dir/a.pmf"), "C:/dir/a.pmf");  // only "\" separates here
}

TEST(FileNamePart, TheDataFileNamesShareTheScan) {
  EXPECT_EQ(FinalComponentOffset(kTrailBackslashPath.c_str()), 7u);
  EXPECT_EQ(FinalComponentOffset("C:/dir/a.pmf"), 7u);  // the data file also takes "/"
  EXPECT_EQ(DataFileNamesFor(kTrailBackslashPath.c_str()).bareName, "\x95\x5C.DTL");
}

TEST(LowerCaseDoubleByteAware, FoldsAsciiLettersOnly) {
  // 0x83 0x41 is a katakana character whose second byte is "A".
  std::string text = "C:\\\x83\x41\\NAME.PMF";
  LowerCaseDoubleByteAware(text.data());
  EXPECT_EQ(text, "c:\\\x83\x41\\name.pmf");
}

}  // namespace
