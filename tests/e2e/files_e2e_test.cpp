// Files and the clipboard end to end: saving a plot with its data file and
// opening it again, BMP files, parameter files from the command line and
// from drops, copying and pasting, with names in Japanese and with spaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "colour/image_builder.h"
#include "colour/palette.h"
#include "engine/fpu_precision.h"
#include "engine/plain/real_plotters.h"
#include "files/data_file.h"
#include "files/parameter_text.h"
#include "files_e2e_support.h"
#include "picture_checks.h"
#include "res/resource.h"
#include "zirn_driver.h"

namespace {

using e2e::Picture;
using e2e::ZirnProcess;
using e2e_files::ChooseFile;
using e2e_files::TakeMessage;
using e2e_files::TestFolder;

constexpr const char* kFirstPlotTitle = "Mandel  (x=-2 y=-2 h=4) 400x400";
constexpr uint32_t kBackground = e2e::Rgb(0, 0, 51);
constexpr const char* kNotParameterText = "Zirn のパラメータではありません";
// A file name with Japanese characters, one of them with the second byte
// 0x5C ("表"), and a space.
constexpr const char* kJapaneseName = "表示 テスト.PMF";

bool WaitForPlot(const ZirnProcess& zirn) { return zirn.WaitForTitle(kFirstPlotTitle, 30000); }

bool StartFirstPlot(ZirnProcess& zirn, const std::string& commandLine = "") {
  if (!zirn.Launch(commandLine)) return false;
  zirn.PostCommand(IDM_START);
  return WaitForPlot(zirn);
}

bool ShowsDefaultView(const ZirnProcess& zirn) {
  static const Picture expected = e2e::DefaultViewPicture();
  return e2e::ShowsSoon(zirn, expected);
}

// Every pixel of the 400 x 400 picture has one colour.
bool ShowsOneColour(const ZirnProcess& zirn, uint32_t colour) {
  return e2e::WaitUntil(
      [&] { return e2e::CountColour(zirn.CaptureClient(), colour, 0, 0, 399, 399) == 400 * 400; });
}

bool TitleStartsWith(const ZirnProcess& zirn, const std::string& start) {
  return zirn.WaitForTitleMatching([&](const std::string& t) { return t.rfind(start, 0) == 0; },
                                   30000);
}

// Saves the plot on display through "Save as PMF" under `name` and returns
// the text of the data file's message.
std::string SaveParameters(ZirnProcess& zirn, const std::string& name) {
  zirn.PostCommand(IDM_SAVE_PMF);
  if (!ChooseFile(zirn, name)) return "(no dialog)";
  return TakeMessage(zirn);
}

void OpenParameters(ZirnProcess& zirn, const std::string& name) {
  zirn.PostCommand(IDM_OPEN_PMF);
  ASSERT_TRUE(ChooseFile(zirn, name));
}

// The parameter text of the whole view at 400 x 400 with a palette whose
// 16 entries are all (r, g, b).
std::string WholeViewText(const char* dataFileName = "", int r = -1, int g = 0, int b = 0) {
  SetDefaultPalette();
  if (r >= 0) {
    for (int i = 0; i < kPaletteSize; ++i) SetPaletteEntry(i, r, g, b);
  }
  PlotRecord record;
  record.sizeX = record.sizeY = 400;
  char text[kParameterTextSize];
  WriteParameterText(text, sizeof text, record, dataFileName);
  SetDefaultPalette();
  return text;
}

TEST(FilesE2e, SavedParameterFileOpensAgainFromItsDataFile) {
  TestFolder folder;
  ZirnProcess zirn;
  ASSERT_TRUE(StartFirstPlot(zirn));
  const std::string message = SaveParameters(zirn, folder.File("plot"));
  const std::string dataFile = folder.File("plot.DTL");
  unsigned long compressed = 0, total = 0;
  ASSERT_EQ(std::sscanf(message.c_str(), "保存終了\nCompression: %lu / %lu", &compressed, &total),
            2)
      << message;
  EXPECT_EQ(total, 400u * 400u);  // limit 100: one byte per count
  EXPECT_EQ(compressed, e2e_files::ReadBytes(dataFile).size());
  EXPECT_NE(message.find("Data File: " + dataFile), std::string::npos) << message;
  EXPECT_TRUE(e2e_files::Exists(folder.File("plot.PMF")));
  EXPECT_TRUE(WaitForPlot(zirn)) << zirn.Title();
  zirn.PostClose();

  // Opened again it shows the same picture from the stored counts.
  ZirnProcess again;
  ASSERT_TRUE(again.Launch());
  OpenParameters(again, folder.File("plot.PMF"));
  EXPECT_TRUE(again.WaitForTitle(std::string("plot.PMF ") + kFirstPlotTitle)) << again.Title();
  EXPECT_TRUE(ShowsDefaultView(again));
  // A palette tool stays open across the next load.
  again.PostCommand(IDM_KEYBOARD_TOOL);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e_files::PaletteToolShown(again); }));
  OpenParameters(again, folder.File("plot.PMF"));
  EXPECT_TRUE(again.WaitForTitle(std::string("plot.PMF ") + kFirstPlotTitle)) << again.Title();
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e_files::PaletteToolShown(again); }));
  again.PostCommand(IDM_TIMER_INFO);
  EXPECT_EQ(TakeMessage(again).rfind("計算／処理時間 : ", 0), 0u);
}

TEST(FilesE2e, TheDataFileIsUsedInsteadOfComputingAndItsAbsenceComputes) {
  TestFolder folder;
  const std::string text = WholeViewText("plot.DTL");
  ASSERT_TRUE(e2e_files::WriteText(folder.File("plot.PMF"), text));
  // Counts that no computation gives: every count 7.
  PlotRecord record;
  record.sizeX = record.sizeY = 400;
  record.rows = AllocateCountBuffer(record);
  ASSERT_NE(record.rows, nullptr);
  for (int32_t row = 0; row < 400; ++row)
    for (int32_t column = 0; column < 400; ++column) CountAt(record, row, column) = 7;
  e2e::NeverStopHost host;
  ASSERT_EQ(SaveDataFile(host, record, folder.File("plot.DTL").c_str()), kDataSaved);
  FreeCountBuffer(record);

  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  OpenParameters(zirn, folder.File("plot.PMF"));
  ASSERT_TRUE(TitleStartsWith(zirn, "plot.PMF Mandel")) << zirn.Title();
  // Every count is the same, so the whole picture has one colour.
  EXPECT_TRUE(e2e::WaitUntil([&] {
    const Picture shown = zirn.CaptureClient();
    return shown.width >= 400 && shown.height >= 400 && shown.At(0, 0) != kBackground &&
           e2e::CountColour(shown, shown.At(0, 0), 0, 0, 399, 399) == 400 * 400;
  }));

  ASSERT_TRUE(e2e_files::Remove(folder.File("plot.DTL")));
  OpenParameters(zirn, folder.File("plot.PMF"));
  EXPECT_TRUE(zirn.WaitForTitle(std::string("plot.PMF ") + kFirstPlotTitle, 30000)) << zirn.Title();
  EXPECT_TRUE(ShowsDefaultView(zirn));
}

TEST(FilesE2e, WrongAndMissingParameterFilesAreReported) {
  TestFolder folder;
  ASSERT_TRUE(
      e2e_files::WriteText(folder.File("note.PMF"), "a note\r\n% not a parameter file\r\n"));
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  OpenParameters(zirn, folder.File("note.PMF"));
  EXPECT_EQ(TakeMessage(zirn), kNotParameterText);
  EXPECT_EQ(zirn.Title(), "Zirn");
  zirn.PostClose();

  const std::string missing = folder.File("missing.pmf");
  ZirnProcess fromCommandLine;
  ASSERT_TRUE(fromCommandLine.Launch("\"" + missing + "\""));
  EXPECT_EQ(TakeMessage(fromCommandLine), "Cannot open file '" + missing + "' ..");
}

TEST(FilesE2e, SavedBitmapOpensWithTheSamePicture) {
  TestFolder folder;
  ZirnProcess zirn;
  ASSERT_TRUE(StartFirstPlot(zirn));
  zirn.PostCommand(IDM_SAVE_BMP);
  ASSERT_TRUE(ChooseFile(zirn, folder.File("picture")));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e_files::Exists(folder.File("picture.BMP")); }));
  zirn.PostClose();

  ZirnProcess again;
  ASSERT_TRUE(again.Launch());
  again.PostCommand(IDM_OPEN_BMP);
  ASSERT_TRUE(ChooseFile(again, folder.File("picture.BMP")));
  EXPECT_TRUE(again.WaitForTitle("Zirn " + folder.File("picture.BMP") + "  400x400"))
      << again.Title();
  EXPECT_TRUE(ShowsDefaultView(again));
}

// A 24-bit BMP of 64 x 64 pixels, all of one colour.
std::vector<uint8_t> TrueColourBitmap() {
  constexpr uint32_t kSide = 64;
  std::vector<uint8_t> bmp(54 + kSide * kSide * 3, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  WriteLe32(&bmp[2], static_cast<uint32_t>(bmp.size()));
  WriteLe32(&bmp[10], 54);  // pixel rows behind the two headers
  WriteLe32(&bmp[14], 40);  // info header size
  WriteLe32(&bmp[18], kSide);
  WriteLe32(&bmp[22], kSide);
  WriteLe16(&bmp[26], 1);
  WriteLe16(&bmp[28], 24);
  for (size_t i = 54; i < bmp.size(); i += 3) {
    bmp[i] = 0x20;      // blue
    bmp[i + 1] = 0xC0;  // green
    bmp[i + 2] = 0x40;  // red
  }
  return bmp;
}

bool Greyed(const ZirnProcess& zirn, int item) {
  const int state = zirn.MenuItemState(item);
  return state != -1 && (state & MF_GRAYED) != 0;
}

TEST(FilesE2e, ATrueColourBitmapTurnsOffThePlotCommandsAndABrokenOneIsReported) {
  TestFolder folder;
  const std::vector<uint8_t> bmp = TrueColourBitmap();
  ASSERT_TRUE(e2e_files::WriteBytes(folder.File("true.bmp"), bmp.data(), bmp.size()));
  ASSERT_TRUE(e2e_files::WriteText(folder.File("broken.bmp"), "BM but nothing else"));
  ZirnProcess zirn;
  ASSERT_TRUE(StartFirstPlot(zirn));
  EXPECT_FALSE(Greyed(zirn, IDM_SAVE_PMF));
  zirn.PostCommand(IDM_KEYBOARD_TOOL);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e_files::PaletteToolShown(zirn); }));
  zirn.PostCommand(IDM_OPEN_BMP);
  ASSERT_TRUE(ChooseFile(zirn, folder.File("true.bmp")));
  ASSERT_TRUE(zirn.WaitForTitle("Zirn " + folder.File("true.bmp") + "  64x64")) << zirn.Title();
  Picture shown;
  EXPECT_TRUE(e2e::WaitUntil([&] {
    shown = zirn.CaptureClient();
    // However much of it the client area shows (a narrow window wraps its menu).
    const int width = std::min(shown.width, 64);
    const int height = std::min(shown.height, 64);
    return width > 0 && height > 0 &&
           e2e::CountColour(shown, e2e::Rgb(0x40, 0xC0, 0x20), 0, 0, width - 1, height - 1) ==
               width * height;
  })) << shown.width
      << "x" << shown.height;
  // The window grew to take a wrapped menu bar: the picture shows whole.
  EXPECT_GE(shown.height, 64);
  EXPECT_FALSE(e2e_files::PaletteToolShown(zirn));
  EXPECT_TRUE(Greyed(zirn, IDM_SAVE_PMF));
  EXPECT_TRUE(Greyed(zirn, IDM_REPLOT));
  EXPECT_FALSE(Greyed(zirn, IDM_SAVE_BMP));

  zirn.PostCommand(IDM_OPEN_BMP);
  ASSERT_TRUE(ChooseFile(zirn, folder.File("broken.bmp")));
  EXPECT_EQ(TakeMessage(zirn), "File Read error ..");
}

TEST(FilesE2e, ACommandLineParameterFileInQuotesOpensAtStart) {
  TestFolder folder;
  const std::string path = folder.File(kJapaneseName);
  ASSERT_TRUE(e2e_files::WriteText(path, WholeViewText()));
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch("\"" + path + "\""));
  EXPECT_TRUE(zirn.WaitForTitle(std::string(kJapaneseName) + " " + kFirstPlotTitle, 30000))
      << zirn.Title();
  EXPECT_TRUE(ShowsDefaultView(zirn));
}

TEST(FilesE2e, CommandLinesThatNameNoParameterFileOpenNothing) {
  TestFolder folder;
  ASSERT_TRUE(e2e_files::WriteText(folder.File("plot.bmp"), WholeViewText()));
  for (const std::string& line :
       {folder.File("other.exe"), std::string("hello"), folder.File("plot.bmp")}) {
    SCOPED_TRACE(line);
    ZirnProcess zirn;
    ASSERT_TRUE(zirn.Launch(line));
    EXPECT_TRUE(e2e_files::NoDialogFor(zirn, 1500));
    EXPECT_EQ(zirn.Title(), "Zirn");
  }
}

TEST(FilesE2e, DroppedParameterFilesOpenAndOtherFilesAreIgnored) {
  TestFolder folder;
  const std::string upper = folder.File("UPPER.PMF");
  const std::string japanese = folder.File(kJapaneseName);
  ASSERT_TRUE(e2e_files::WriteText(upper, WholeViewText()));
  ASSERT_TRUE(e2e_files::WriteText(japanese, WholeViewText()));
  ASSERT_TRUE(e2e_files::WriteText(folder.File("picture.BMP"), "BM"));
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());

  ASSERT_TRUE(e2e_files::DropFiles(zirn, {folder.File("picture.BMP"), upper}));
  EXPECT_TRUE(e2e_files::NoDialogFor(zirn, 1500));
  EXPECT_EQ(zirn.Title(), "Zirn");  // only the first file of a drop is looked at

  ASSERT_TRUE(e2e_files::DropFiles(zirn, {upper, folder.File("picture.BMP")}));
  EXPECT_TRUE(zirn.WaitForTitle(std::string("UPPER.PMF ") + kFirstPlotTitle, 30000))
      << zirn.Title();

  ASSERT_TRUE(e2e_files::DropFiles(zirn, {japanese}));
  EXPECT_TRUE(zirn.WaitForTitle(std::string(kJapaneseName) + " " + kFirstPlotTitle, 30000))
      << zirn.Title();
}

// Key "O" asks for live drawing: finished lines appear while the plot runs,
// the bottom line first. Palette entry 0 (counts at the limit, every pixel of
// the slow view) is white and every other entry black, so white can only come
// from the new plot.
TEST(FilesE2e, LiveDrawingShowsFinishedLinesWhileThePlotRuns) {
  TestFolder folder;
  std::string text = e2e_files::SlowPlotText(" O");
  text.insert(text.rfind("%end"),
              " p16\r\n 0F0F0F 000000 000000 000000 000000 000000 000000 000000\r\n"
              " 000000 000000 000000 000000 000000 000000 000000 000000\r\n");
  const std::string live = folder.File("live.PMF");
  ASSERT_TRUE(e2e_files::WriteText(live, text));
  ZirnProcess zirn;
  ASSERT_TRUE(StartFirstPlot(zirn));
  ASSERT_TRUE(e2e_files::DropFiles(zirn, {live}));
  const auto plotting = [&] { return zirn.Title().find(" / 400") != std::string::npos; };
  ASSERT_TRUE(e2e::WaitUntil(plotting)) << zirn.Title();
  Picture shown;
  EXPECT_TRUE(e2e::WaitUntil([&] {
    shown = zirn.CaptureClient();
    return shown.height >= 400 && shown.At(0, 399) == e2e::Rgb(255, 255, 255);
  }));
  EXPECT_TRUE(plotting()) << "the plot ended before its lines were seen: " << zirn.Title();
  zirn.PostCommand(IDM_STOP);
  EXPECT_TRUE(zirn.WaitForTitle(std::string("live.PMF ") + kFirstPlotTitle)) << zirn.Title();
}

TEST(FilesE2e, AFileDroppedDuringAPlotIsNotOpened) {
  TestFolder folder;
  const std::string deep = folder.File("deep.pmf");
  ASSERT_TRUE(e2e_files::WriteText(deep, e2e_files::SlowPlotText()));
  const std::string dropped = folder.File("dropped.PMF");
  ASSERT_TRUE(e2e_files::WriteText(dropped, WholeViewText()));
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch("\"" + deep + "\""));
  // The progress title shows the plot running.
  ASSERT_TRUE(zirn.WaitForTitleMatching([](const std::string& t) {
    return t.find(" / 400") != std::string::npos;
  })) << zirn.Title();
  ASSERT_TRUE(e2e_files::DropFiles(zirn, {dropped}));
  zirn.PostCommand(IDM_STOP);
  EXPECT_TRUE(zirn.WaitForTitleMatching(
      [](const std::string& t) { return t.find(" / ") == std::string::npos; }));
  EXPECT_TRUE(e2e_files::NoDialogFor(zirn, 1500));
  EXPECT_EQ(zirn.Title().find("dropped.PMF"), std::string::npos) << zirn.Title();

  // Dropped again once the plot has ended, it opens.
  ASSERT_TRUE(e2e_files::DropFiles(zirn, {dropped}));
  EXPECT_TRUE(zirn.WaitForTitle(std::string("dropped.PMF ") + kFirstPlotTitle, 30000))
      << zirn.Title();
}

TEST(FilesE2e, SaveAndOpenWithAJapaneseNameWithASpace) {
  TestFolder folder;
  ZirnProcess zirn;
  ASSERT_TRUE(StartFirstPlot(zirn));
  const std::string message = SaveParameters(zirn, folder.File(kJapaneseName));
  EXPECT_EQ(message.rfind("保存終了", 0), 0u) << message;
  EXPECT_TRUE(e2e_files::Exists(folder.File("表示 テスト.DTL")));
  EXPECT_TRUE(WaitForPlot(zirn));
  OpenParameters(zirn, folder.File(kJapaneseName));
  EXPECT_TRUE(zirn.WaitForTitle(std::string(kJapaneseName) + " " + kFirstPlotTitle))
      << zirn.Title();
  EXPECT_TRUE(ShowsDefaultView(zirn));
}

TEST(FilesE2e, CopiedPictureIsThePictureBlock) {
  ZirnProcess zirn;
  ASSERT_TRUE(StartFirstPlot(zirn));
  ASSERT_TRUE(e2e::EmptyClipboardContents());
  EXPECT_EQ(zirn.SendCommand(IDM_COPY_BITMAP), 0);

  // The 4-bit picture the core builds for the same plot.
  ExtendedPrecisionScope precision;
  SetDefaultPalette();
  BuildColourTables();
  PlotRecord record;
  record.sizeX = record.sizeY = 400;
  record.rows = AllocateCountBuffer(record);
  ASSERT_NE(record.rows, nullptr);
  e2e::NeverStopHost host;
  ASSERT_EQ(PlotMandelbrot(host, record), kPlotComplete);
  FindCountRange(record);
  DibBlock dib;
  uint16_t bitsOffset = 0;
  ASSERT_TRUE(dib.Resize(1064) && BuildImageFromCounts(record, dib, &bitsOffset));
  FreeCountBuffer(record);

  const std::vector<uint8_t> copied = e2e_files::ClipboardPicture();
  ASSERT_GE(copied.size(), dib.Size());
  EXPECT_TRUE(std::equal(dib.Data(), dib.Data() + dib.Size(), copied.begin()));
}

TEST(FilesE2e, CopiedParametersPastedIntoAnotherWindowComputeTheSamePlot) {
  ZirnProcess zirn;
  ASSERT_TRUE(StartFirstPlot(zirn));
  ASSERT_TRUE(e2e::EmptyClipboardContents());
  EXPECT_EQ(zirn.SendCommand(IDM_COPY_PARAMETERS), 0);
  const std::string text = e2e::ReadClipboardText();
  EXPECT_EQ(text.rfind("%Zirn parameter file\r\n", 0), 0u) << text;
  EXPECT_EQ(text.find(" f\""), std::string::npos) << text;
  zirn.PostClose();

  ZirnProcess other;
  ASSERT_TRUE(other.Launch());
  other.PostCommand(IDM_PASTE_PARAMETERS);
  EXPECT_TRUE(WaitForPlot(other)) << other.Title();
  EXPECT_TRUE(ShowsDefaultView(other));
  other.PostClose();

  // Text in front of the header, as in a mail, is skipped.
  ASSERT_TRUE(e2e::WriteClipboardText("Here are the parameters:\r\n" + text));
  ZirnProcess third;
  ASSERT_TRUE(third.Launch());
  third.PostCommand(IDM_PASTE_PARAMETERS);
  EXPECT_TRUE(WaitForPlot(third)) << third.Title();
}

TEST(FilesE2e, APastedPaletteRecoloursThePlotAndOtherTextIsRefused) {
  ZirnProcess zirn;
  ASSERT_TRUE(StartFirstPlot(zirn));
  // Every palette entry magenta: the whole picture turns magenta.
  ASSERT_TRUE(e2e::WriteClipboardText(WholeViewText("", 15, 0, 15)));
  zirn.PostCommand(IDM_PASTE_PALETTE);
  EXPECT_TRUE(ShowsOneColour(zirn, e2e::Rgb(255, 0, 255)));
  EXPECT_EQ(zirn.Title(), kFirstPlotTitle);

  // A parameter text longer than any Zirn writes is not taken, and said so.
  std::string longText = WholeViewText();
  longText.insert(longText.find("%end"), "%" + std::string(kParameterTextSize, 'x') + "\r\n");
  ASSERT_TRUE(e2e::WriteClipboardText(longText));
  zirn.PostCommand(IDM_PASTE_PARAMETERS);
  EXPECT_EQ(TakeMessage(zirn), "The clipboard text is too long for parameter text ..");

  ASSERT_TRUE(e2e::WriteClipboardText("just a note, no parameters"));
  zirn.PostCommand(IDM_PASTE_PARAMETERS);
  EXPECT_EQ(TakeMessage(zirn), kNotParameterText);
  zirn.PostCommand(IDM_PASTE_PALETTE);
  EXPECT_EQ(TakeMessage(zirn), kNotParameterText);
}

}  // namespace
