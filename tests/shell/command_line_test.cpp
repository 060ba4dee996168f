#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Taken {
  bool namesFile;
  std::string fileName;
};

Taken Take(const char* commandLine) {
  char fileName[256] = "left over";
  const bool namesFile = TakeCommandLineFile(commandLine, fileName, sizeof fileName);
  return {namesFile, fileName};
}

TEST(CommandLine, NoTextOrNoDotNamesNoFileAndEmptiesTheName) {
  for (const char* text : {static_cast<const char*>(nullptr), "", "bareword", "C:\\dir\\file"}) {
    const Taken taken = Take(text);
    EXPECT_FALSE(taken.namesFile) << (text ? text : "(null)");
    EXPECT_EQ(taken.fileName, "");
  }
}

TEST(CommandLine, ExeExtensionInAnyCaseOrAsPrefixNamesNoFile) {
  for (const char* text : {"C:\\ZIRN\\ZIRN.EXE", "zirn.exe", "a.ExE", "tool.exe1", "x.y.exe"}) {
    EXPECT_FALSE(Take(text).namesFile) << text;
  }
}

TEST(CommandLine, OtherTextIsKeptExactlyQuotesAndCaseIncluded) {
  EXPECT_EQ(Take("View.PMF").fileName, "View.PMF");
  EXPECT_EQ(Take("\"C:\\My Files\\Deep Zoom.PMF\"").fileName, "\"C:\\My Files\\Deep Zoom.PMF\"");
  // Short extensions and a dot only in a directory name still name a file
  // here; opening decides whether it is a parameter file.
  EXPECT_TRUE(Take("a.ex").namesFile);
  EXPECT_TRUE(Take("C:\\dir.exe2\\..\\file").namesFile);
  EXPECT_TRUE(Take("C:\\v1.2\\file").namesFile);
  EXPECT_TRUE(Take("name.").namesFile);
}

TEST(CommandLine, DoubleByteNameIsKept) {
  const char* name = "\x83\x7d\x83\x93\x83\x66\x83\x8b.PMF";  // katakana in Shift-JIS
  EXPECT_EQ(Take(name).fileName, name);
}

TEST(CommandLine, NameThatDoesNotFitIsIgnored) {
  const std::string fits = std::string(251, 'a') + ".pmf";
  EXPECT_EQ(Take(fits.c_str()).fileName, fits);
  const std::string tooLong = std::string(252, 'a') + ".pmf";
  const Taken taken = Take(tooLong.c_str());
  EXPECT_FALSE(taken.namesFile);
  EXPECT_EQ(taken.fileName, "");
}

}  // namespace
