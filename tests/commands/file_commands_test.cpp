// The file commands: parameter files saved with their data file and opened
// again from it, computed when the data file is missing or broken, the name
// rules of drops and the command line, BMP files, and the palette tools kept
// around every palette change.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "colour/image_builder.h"
#include "colour/palette.h"
#include "command_test_fixture.h"
#include "fake_file_command_host.h"
#include "test_files.h"

namespace {

std::vector<Count> Counts(const PlotRecord& record) {
  std::vector<Count> counts;
  if (record.rows == nullptr) return counts;
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column)
      counts.push_back(CountAt(record, row, column));
  }
  return counts;
}

bool HasMessageStartingWith(const FakeUiHost& ui, const std::string& start) {
  for (const FakeUiHost::Message& m : ui.messages) {
    if (m.text.rfind(start, 0) == 0) return true;
  }
  return false;
}

class FileCommandTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    SetDefaultPalette();
    g_image.fileName[0] = '\0';
    // A deep enough view that the counts differ from pixel to pixel.
    StagePlot(-0.75L, 0.05L, 0.2);
  }

  void StagePlot(long double x, long double y, double height) {
    g_commands.pending = g_commands.current;
    g_commands.pending.x = x;
    g_commands.pending.y = y;
    g_commands.pending.height = height;
    g_commands.pending.pending = 1;
    StartPlot(files.commands);
  }

  // Saves the plot on display as folder/name through the save command.
  void SaveAs(const std::string& name) {
    files.chosenName = folder.File(name);
    SaveParametersFlow(files);
  }

  void Open(const std::string& path) {
    files.chosenName = path;
    files.sent.clear();
    OpenParametersFlow(files);
  }

  FakeUiHost& Ui() { return files.commands.ui; }

  TempFolder folder;
  FakeFileCommandHost files;
};

TEST_F(FileCommandTest, SavedParameterFileOpensFromItsDataFileWithoutComputing) {
  const std::vector<Count> computed = Counts(g_commands.current);
  SaveAs("plot");
  EXPECT_TRUE(FileExists(folder.File("plot.PMF")));
  EXPECT_TRUE(FileExists(folder.File("plot.DTL")));
  ASSERT_TRUE(HasMessageStartingWith(Ui(), "保存終了\nCompression: "));
  EXPECT_NE(Ui().messages.back().text.find(" / 4096\nData File: "), std::string::npos)
      << Ui().messages.back().text;

  StagePlot(-2, -2, 4);  // something else on display
  Open(folder.File("plot.PMF"));
  EXPECT_EQ(files.sent, std::vector<int>{IDM_LOAD_DATA_FILE});
  EXPECT_TRUE(g_commands.plotDone);
  EXPECT_EQ(g_commands.lastRead.endMode, kEndOfText);
  EXPECT_EQ(g_commands.current.x, -0.75L);
  EXPECT_EQ(Counts(g_commands.current), computed);
  EXPECT_NE(g_commands.tickStart, 0u);
  EXPECT_GT(g_commands.tickDrawn, g_commands.tickComputed);
  EXPECT_EQ(g_commands.current.shownHeight, 0.2);
  ASSERT_FALSE(Ui().titles.empty());
  // The name part of the path before the region (on Windows the whole title).
  EXPECT_NE(Ui().titles.back().find("plot.PMF Mandel  (x=-0.75"), std::string::npos)
      << Ui().titles.back();
  EXPECT_EQ(HistoryCount(), 2);
}

TEST_F(FileCommandTest, WithoutItsDataFileTheParameterFileIsComputed) {
  const std::vector<Count> computed = Counts(g_commands.current);
  SaveAs("plot.pmf");
  EXPECT_TRUE(FileExists(folder.File("plot.pmf")));
  ASSERT_EQ(std::remove(folder.File("plot.DTL").c_str()), 0);
  StagePlot(-2, -2, 4);
  Open(folder.File("plot.pmf"));
  EXPECT_EQ(files.sent, std::vector<int>{IDM_START});
  EXPECT_EQ(Counts(g_commands.current), computed);
}

TEST_F(FileCommandTest, ABrokenDataFileIsReleasedAndTheParameterFileComputed) {
  const std::vector<Count> computed = Counts(g_commands.current);
  SaveAs("plot");
  const std::vector<uint8_t> whole = ReadWholeFile(folder.File("plot.DTL"));
  // Broken, or cut short.
  for (const std::vector<uint8_t>& damage :
       {std::vector<uint8_t>{0, 0, 0xFF, 0xFF},
        std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2)}) {
    ASSERT_TRUE(WriteWholeFile(folder.File("plot.DTL"), damage));
    Ui().messages.clear();
    Open(folder.File("plot.PMF"));
    EXPECT_EQ(files.sent, (std::vector<int>{IDM_LOAD_DATA_FILE, IDM_START}));
    EXPECT_TRUE(HasMessageStartingWith(Ui(), "Unknown data file format .."));
    EXPECT_EQ(Counts(g_commands.current), computed);
  }
}

TEST_F(FileCommandTest, NoMemoryForTheLoadedCountsEndsTheProgram) {
  SaveAs("plot");
  g_engine.buffers.allocationsBeforeFailure = 0;
  Open(folder.File("plot.PMF"));
  EXPECT_TRUE(files.commands.Called("memory error"));
  EXPECT_EQ(files.commands.quitCode, 3);
  g_engine.buffers.allocationsBeforeFailure = -1;
}

TEST_F(FileCommandTest, WrongOrMissingFilesChangeNothing) {
  ASSERT_TRUE(WriteWholeFile(folder.File("note.pmf"), std::string("hello\r\n% not ours\r\n")));
  const PlotRecord before = g_commands.current;
  Open(folder.File("note.pmf"));
  EXPECT_TRUE(files.Called("not parameter text"));
  Open(folder.File("missing.pmf"));
  ASSERT_FALSE(Ui().messages.empty());
  EXPECT_EQ(Ui().messages.back().text, "Cannot open file '" + folder.File("missing.pmf") + "' ..");
  EXPECT_TRUE(files.sent.empty());
  EXPECT_EQ(g_commands.pending.pending, 0);
  EXPECT_EQ(g_commands.current.x, before.x);
  EXPECT_EQ(files.calls, std::vector<std::string>{"not parameter text"});
  EXPECT_EQ(g_commands.titlePrefix[0], '\0');
}

TEST_F(FileCommandTest, AFileWithoutJuliaKeysGivesAMandelbrotPlotWithItsPalette) {
  SetPaletteEntry(3, 1, 2, 3);
  SaveAs("palette");
  SetDefaultPalette();
  g_commands.current.flags |= kFlagJulia;
  files.openTool = IDM_KEYBOARD_TOOL;
  Open(folder.File("palette.PMF"));
  EXPECT_EQ(g_commands.current.flags & kFlagJulia, 0u);
  int32_t r = 0, g = 0, b = 0;
  GetPaletteEntry(3, &r, &g, &b);
  EXPECT_EQ(r * 100 + g * 10 + b, 123);
  EXPECT_EQ(files.calls, (std::vector<std::string>{"hide tool", "show tool 146"}));
}

// No data file can sit beside a name without an extension: the plot is computed.
TEST_F(FileCommandTest, ADataFileNamedInAFileWithoutExtensionIsComputed) {
  const std::vector<Count> computed = Counts(g_commands.current);
  char text[kParameterTextSize];
  WriteParameterText(text, sizeof text, g_commands.current, "plotfile.DTL");
  ASSERT_TRUE(WriteWholeFile(folder.File("plotfile"), std::string(text)));
  ASSERT_TRUE(WriteWholeFile(folder.File("plotfile.DTL"), std::string("not counts")));
  StagePlot(-2, -2, 4);
  files.openTool = IDM_SCROLLBAR_TOOL;
  Open(folder.File("plotfile"));
  EXPECT_EQ(files.sent, std::vector<int>{IDM_START});
  EXPECT_EQ(g_commands.pending.pending, 0);
  EXPECT_EQ(Counts(g_commands.current), computed);
  EXPECT_TRUE(files.toolVisible);
}

TEST_F(FileCommandTest, DroppedAndCommandLineNamesOpenOnlyParameterFiles) {
  SaveAs("my plot.PMF");
  const std::string path = folder.File("my plot.PMF");
  files.droppedName = folder.File("picture.bmp");
  OpenDroppedFileFlow(files);
  EXPECT_TRUE(files.sent.empty());
  EXPECT_FALSE(files.Called("bring to front"));
  EXPECT_EQ(std::string(g_commands.text), files.droppedName);

  files.droppedName = path;
  OpenDroppedFileFlow(files);
  EXPECT_TRUE(files.Called("bring to front"));
  EXPECT_EQ(std::string(g_image.fileName), path);
  EXPECT_EQ(files.sent, std::vector<int>{IDM_LOAD_DATA_FILE});

  files.sent.clear();
  std::snprintf(g_image.fileName, sizeof g_image.fileName, "\"%s\"", path.c_str());
  OpenCommandLineFileFlow(files);
  EXPECT_EQ(std::string(g_image.fileName), path);
  EXPECT_EQ(files.sent, std::vector<int>{IDM_LOAD_DATA_FILE});

  files.sent.clear();
  std::snprintf(g_image.fileName, sizeof g_image.fileName, "%s", "C:\\dir.d\\readme");
  OpenCommandLineFileFlow(files);
  EXPECT_TRUE(files.sent.empty());
}

// The save's message step dispatches whatever the user does meanwhile.
TEST_F(FileCommandTest, DuringASaveCommandsWaitAndAnExitClosesAfterIt) {
  const std::vector<Count> computed = Counts(g_commands.current);
  int steps = 0;
  Ui().onPump = [&] {
    ++steps;
    EXPECT_FALSE(CommandMayRun(IDM_START));
    EXPECT_FALSE(CommandMayRun(IDM_OPEN_DROPPED_FILE));
    EXPECT_FALSE(CommandMayRun(steps == 1 ? IDM_EXIT : IDM_STOP));
    EXPECT_FALSE(CloseMayProceed());
    EXPECT_FALSE(files.commands.Called("post close"));
  };
  SaveAs("plot");
  Ui().onPump = nullptr;
  EXPECT_GT(steps, 0);
  EXPECT_EQ(std::count(files.commands.calls.begin(), files.commands.calls.end(), "post close"), 1);
  EXPECT_TRUE(files.commands.posted.empty());  // the exit wins over the drop
  EXPECT_TRUE(CommandMayRun(IDM_START));
  EXPECT_TRUE(CloseMayProceed());

  EXPECT_EQ(Counts(g_commands.current), computed);
  EXPECT_TRUE(FileExists(folder.File("plot.DTL")));

  // Nothing asked for during the save: nothing closes.
  files.commands.calls.clear();
  SaveAs("again");
  EXPECT_FALSE(files.commands.Called("post close"));
}

TEST_F(FileCommandTest, TheLastFileCommandAskedForDuringASaveRunsAfterIt) {
  Ui().onPump = [&] {
    EXPECT_FALSE(CommandMayRun(IDM_OPEN_PMF));
    EXPECT_FALSE(CommandMayRun(IDM_OPEN_DROPPED_FILE));
    EXPECT_FALSE(CommandMayRun(IDM_REPLOT));  // not kept
  };
  SaveAs("plot");
  Ui().onPump = nullptr;
  EXPECT_EQ(files.commands.posted, std::vector<int>{IDM_OPEN_DROPPED_FILE});
  EXPECT_FALSE(files.commands.Called("post close"));

  files.commands.posted.clear();
  SaveAs("again");
  EXPECT_TRUE(files.commands.posted.empty());
}

TEST_F(FileCommandTest, SavesNeedAPictureAndReportAFailedWrite) {
  files.chosenName = folder.File("nowhere/plot.PMF");
  std::snprintf(g_image.fileName, sizeof g_image.fileName, "%s", "C:\\w\\old.PMF");
  SaveParametersFlow(files);
  EXPECT_EQ(files.nameShownInDialog, "C:\\w\\old");
  EXPECT_TRUE(files.Called("cannot save"));

  // The data file cannot be written: the parameter file is not saved either,
  // which is said once, before the data file's message.
  std::filesystem::create_directory(folder.File("pair.DTL"));
  files.calls.clear();
  Ui().messages.clear();
  SaveAs("pair.PMF");
  EXPECT_FALSE(files.Called("cannot save"));
  ASSERT_EQ(Ui().messages.size(), 2u);
  EXPECT_EQ(Ui().messages[0].text, "ファイルを保存できません。");
  EXPECT_EQ(Ui().messages[1].text, "File write error.  code:2\n" + folder.File("pair.DTL"));
  EXPECT_FALSE(FileExists(folder.File("pair.PMF")));

  g_commands.plotDone = false;
  files.dialogs.clear();
  SaveParametersFlow(files);
  EXPECT_TRUE(files.dialogs.empty());
  g_image.imagePresent = false;
  SaveBitmapFlow(files);
  EXPECT_TRUE(files.dialogs.empty());
}

class BitmapCommandTest : public FileCommandTest {
 protected:
  // The plot on display as a 4-bit BMP with colour 3 changed.
  std::string SaveSixteenColourBitmap(const std::string& name) {
    SetPaletteEntry(3, 15, 0, 15);
    g_image.dib.Resize(kCountImageBitsOffset);
    EXPECT_TRUE(BuildImageFromCounts(g_commands.current, g_image.dib, &g_image.bitsOffset));
    files.chosenName = folder.File(name);
    SaveBitmapFlow(files);
    SetDefaultPalette();
    return g_image.fileName;
  }
};

TEST_F(BitmapCommandTest, SavedBitmapGetsItsExtensionAndOpensWithItsPalette) {
  EXPECT_EQ(SaveSixteenColourBitmap("picture.txt"), folder.File("picture.txt.BMP"));
  EXPECT_EQ(SaveSixteenColourBitmap("picture.Bmp"), folder.File("picture.Bmp"));
  ASSERT_TRUE(FileExists(folder.File("picture.Bmp")));
  StagePlot(-2, -2, 4);
  files.openTool = IDM_KEYBOARD_TOOL;
  files.chosenName = folder.File("picture.Bmp");
  OpenBitmapFlow(files);
  EXPECT_FALSE(g_commands.plotDone);
  EXPECT_EQ(HistoryCount(), 1);
  int32_t r = 0, g = 0, b = 0;
  GetPaletteEntry(3, &r, &g, &b);
  EXPECT_EQ(r * 100 + g * 10 + b, 1515);
  EXPECT_EQ(files.calls, (std::vector<std::string>{"load bitmap", "hide tool",
                                                   "invalidate and erase", "show tool 146"}));
}

TEST_F(BitmapCommandTest, ABitmapWithoutSixteenColoursClosesTheToolAndABrokenOneChangesNothing) {
  // 2 x 1 pixels, 24 bits each.
  std::vector<uint8_t> bmp = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                              0,   0,   0,  2, 0, 0, 0, 1, 0, 0, 0,  1, 0, 24, 0};
  bmp.resize(54 + 8, 0x80);
  for (size_t i = 30; i < 54; ++i) bmp[i] = 0;
  ASSERT_TRUE(WriteWholeFile(folder.File("true.bmp"), bmp));
  ASSERT_TRUE(WriteWholeFile(folder.File("broken.bmp"), std::string("BX nothing")));

  files.openTool = IDM_KEYBOARD_TOOL;
  files.chosenName = folder.File("broken.bmp");
  OpenBitmapFlow(files);
  EXPECT_TRUE(g_commands.plotDone);
  EXPECT_EQ(files.calls, std::vector<std::string>{"load bitmap"});

  files.chosenName = folder.File("true.bmp");
  OpenBitmapFlow(files);
  EXPECT_FALSE(g_commands.plotDone);
  EXPECT_TRUE(files.Called("close tool"));
  EXPECT_EQ(files.openTool, kNoPaletteTool);
}

}  // namespace
