// The name rules of the file commands: extension tests, names around the
// save dialogs, names taken from drops and the command line, the title prefix.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "commands/file_command_names.h"
#include "shell/command_state.h"
#include "shell/titles.h"

namespace {

std::string Appended(const char* name, const char* extension, size_t size = 256) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, "%s", name);
  EXPECT_TRUE(AppendMissingExtension(buffer, size, extension));
  return buffer;
}

std::string Taken(const char* given) {
  char out[256];
  if (!TakeParameterFileName(given, out, sizeof out)) return "(refused)";
  return out;
}

TEST(FileCommandNames, ExtensionTestLooksAtTheLastDotInAnyCase) {
  EXPECT_TRUE(HasExtensionAtLastDot("C:\\a\\plot.PMF", ".pmf"));
  EXPECT_TRUE(HasExtensionAtLastDot("plot.Pmf", ".pmf"));
  EXPECT_FALSE(HasExtensionAtLastDot("plot.pmf.txt", ".pmf"));
  EXPECT_FALSE(HasExtensionAtLastDot("plot", ".pmf"));
  EXPECT_FALSE(HasExtensionAtLastDot("plot.pm", ".pmf"));
  EXPECT_TRUE(HasExtensionAtLastDot("picture.BMP", ".bmp"));
}

TEST(FileCommandNames, SaveDialogStartsFromTheNameWithoutItsExtension) {
  char name[32] = "C:\\w\\plot.PMF";
  CutExtensionForSaveDialog(name);
  EXPECT_STREQ(name, "C:\\w\\plot");
  char bare[32] = "noextension";
  CutExtensionForSaveDialog(bare);
  EXPECT_STREQ(bare, "");
}

TEST(FileCommandNames, ExtensionAppendedUnlessTheChosenNameEndsInIt) {
  EXPECT_EQ(Appended("C:\\w\\plot.pmf", ".PMF"), "C:\\w\\plot.pmf");
  EXPECT_EQ(Appended("C:\\w\\plot.PMF", ".PMF"), "C:\\w\\plot.PMF");
  EXPECT_EQ(Appended("C:\\w\\plot.txt", ".PMF"), "C:\\w\\plot.txt.PMF");
  EXPECT_EQ(Appended("C:\\w\\plot", ".BMP"), "C:\\w\\plot.BMP");
  EXPECT_EQ(Appended("C:\\w\\plot.Bmp", ".BMP"), "C:\\w\\plot.Bmp");
  char full[8] = "abcdef";
  EXPECT_FALSE(AppendMissingExtension(full, sizeof full, ".PMF"));
  EXPECT_STREQ(full, "abcdef");
}

TEST(FileCommandNames, DroppedAndCommandLineNamesLoseTheirQuotes) {
  EXPECT_EQ(Taken("\"C:\\my files\\plot.pmf\""), "C:\\my files\\plot.pmf");
  EXPECT_EQ(Taken("C:\\w\\PLOT.PMF"), "C:\\w\\PLOT.PMF");
  EXPECT_EQ(Taken("C:\\w\\plot.pmfx"), "C:\\w\\plot.pmf");  // ended 4 characters behind the dot
  EXPECT_EQ(Taken("C:\\w\\picture.bmp"), "(refused)");
  EXPECT_EQ(Taken("C:\\w.d\\readme"), "(refused)");
  EXPECT_EQ(Taken("plot"), "(refused)");
  // Shift-JIS: a katakana whose second byte is "A" and one whose second byte is "\".
  const std::string japanese = "\"C:\\\x83\x41 \x95\x5C.PMF\"";
  EXPECT_EQ(Taken(japanese.c_str()), "C:\\\x83\x41 \x95\x5C.PMF");
}

TEST(FileCommandNames, ANameThatDoesNotFitIsRefusedNotCut) {
  const std::string longName = "C:\\" + std::string(300, 'a') + ".pmf";
  EXPECT_EQ(Taken(longName.c_str()), "(refused)");
  const std::string fits = "C:\\" + std::string(247, 'a') + ".pmf";  // 255 characters
  EXPECT_EQ(Taken(fits.c_str()), fits);
}

TEST(FileCommandNames, TitlePrefixCutsLongNamesAfter43Characters) {
  const std::string fifty(50, 'n');
  SetTitlePrefix(fifty.c_str());
  EXPECT_EQ(std::string(g_commands.titlePrefix), std::string(43, 'n') + "~~ ");
  // 42 single bytes and then double-byte characters: the cut keeps whole characters.
  const std::string japanese = std::string(42, 'n') + "\x95\x5C\x95\x5C";
  SetTitlePrefix(japanese.c_str());
  EXPECT_EQ(std::string(g_commands.titlePrefix), std::string(42, 'n') + "~~ ");
  SetTitlePrefix("plot.PMF");
  EXPECT_STREQ(g_commands.titlePrefix, "plot.PMF ");
  g_commands.titlePrefix[0] = '\0';
}

}  // namespace
