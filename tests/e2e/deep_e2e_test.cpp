// Deep views end to end: a parameter file far past the 80-bit wall, zooming
// there with the mouse, saving with the data file and reopening, and the
// parameters through the clipboard. Every view is centred on c = i, which
// lies on the boundary of the set, so every depth shows structure.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "colour/palette.h"
#include "engine/deep/real.h"
#include "files/parameter_text.h"
#include "files_e2e_support.h"
#include "picture_checks.h"
#include "res/resource.h"
#include "zirn_driver.h"
#include "zoom_e2e_support.h"

namespace {

using e2e::Picture;
using e2e::ZirnProcess;
using e2e_files::ChooseFile;
using e2e_files::TakeMessage;
using e2e_files::TestFolder;

constexpr int kSize = 400;
constexpr int kPlotTimeoutMs = 60000;

// A 400 x 400 view `height` high centred on c = i, limit 1000.
PlotRecord ViewAroundI(const DeepReal& height) {
  PlotRecord record;
  record.sizeX = record.sizeY = record.shownSizeY = kSize;
  SetExactHeight(record.height, record.preciseHeight, height);
  SetExactHeight(record.shownHeight, record.preciseShownHeight, height);
  record.limit = 1000;
  SetExactCoordinate(record.x, record.preciseX, -height / 2);
  SetExactCoordinate(record.y, record.preciseY, 1 - height / 2);
  return record;
}

// The text of record with the default palette, as a file would hold it.
std::string ParameterText(const PlotRecord& record) {
  SetDefaultPalette();
  char text[kParameterTextSize];
  WriteParameterText(text, sizeof text, record, "");
  return text;
}

// The record zirn.exe plots for a text: the text keeps the digits the view
// needs, not every digit of the record it was written from.
PlotRecord ReadBack(const std::string& text) {
  char buffer[kParameterTextSize] = {};
  text.copy(buffer, sizeof buffer - 1);
  PlotRecord record;
  ReadParameterText(buffer, record);
  return record;
}

// The text up to its limit key: the region, the height and the constant.
std::string RegionLines(const std::string& text) { return text.substr(0, text.find(" m")); }

// The picture has structure: at least four colours, none covering 90 %.
bool ShowsStructure(const Picture& picture) {
  if (picture.width < kSize || picture.height < kSize) return false;
  std::set<uint32_t> colours;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) colours.insert(picture.At(x, y));
  if (colours.size() < 4) return false;
  for (uint32_t colour : colours) {
    if (e2e::CountColour(picture, colour, 0, 0, kSize - 1, kSize - 1) > kSize * kSize * 9 / 10)
      return false;
  }
  return true;
}

bool TitleStartsWith(const ZirnProcess& zirn, const std::string& start) {
  return zirn.WaitForTitleMatching([&](const std::string& t) { return t.rfind(start, 0) == 0; },
                                   kPlotTimeoutMs);
}

// Opens the parameter file `name` in the folder, holding `text`, and waits for
// its plot's title and then for what the core computes for the text (which is
// *shown then). The title comes first: a nearly flat picture could otherwise
// pass for a window that has not yet painted anything.
bool OpensShowingCorePicture(ZirnProcess& zirn, const TestFolder& folder, const std::string& name,
                             const std::string& text, Picture* shown) {
  if (!e2e_files::WriteText(folder.File(name), text)) return false;
  if (!zirn.Launch("\"" + folder.File(name) + "\"")) return false;
  EXPECT_TRUE(TitleStartsWith(zirn, name + " ")) << zirn.Title();
  *shown = e2e::CorePicture(ReadBack(text));
  return e2e_zoom::ShowsPicture(zirn, *shown);
}

std::string ModeInfo(const ZirnProcess& zirn) {
  zirn.PostCommand(IDM_MODE_INFO);
  return TakeMessage(zirn);
}

// Saves the view on display as "saved" (with its data file), closes the
// window and returns the save's closing message.
std::string SaveAndClose(const ZirnProcess& zirn, const TestFolder& folder) {
  zirn.PostCommand(IDM_SAVE_PMF);
  if (!ChooseFile(zirn, folder.File("saved"))) return "";
  const std::string message = TakeMessage(zirn);
  zirn.PostClose();
  return message;
}

// Opens what SaveAndClose saved and waits for `computed` to show.
bool ReopensShowing(ZirnProcess& again, const TestFolder& folder, const Picture& computed) {
  if (!again.Launch("\"" + folder.File("saved.PMF") + "\"")) return false;
  EXPECT_TRUE(TitleStartsWith(again, "saved.PMF Mandel")) << again.Title();
  return e2e_zoom::ShowsPicture(again, computed);
}

// Opens the parameter file `name` holding `text` and expects the title of a
// Mandelbrot view with `region`, and the core's picture of it with structure.
void OpenAndExpectStructure(ZirnProcess& zirn, TestFolder& folder, const std::string& name,
                            const std::string& text, const std::string& region) {
  ASSERT_TRUE(e2e_files::WriteText(folder.File(name), text));
  ASSERT_TRUE(zirn.Launch("\"" + folder.File(name) + "\""));
  ASSERT_TRUE(TitleStartsWith(zirn, name + " Mandel  " + region)) << zirn.Title();
  const Picture computed = e2e::CorePicture(ReadBack(text));
  EXPECT_TRUE(e2e_zoom::ShowsPicture(zirn, computed));
  EXPECT_TRUE(ShowsStructure(computed));
}

TEST(DeepE2e, ADeepParameterFileOpensWithItsPicture) {
  TestFolder folder;
  const PlotRecord view = ViewAroundI(1e-100);
  const std::string text = ParameterText(view);
  EXPECT_GT(text.size(), 200u);  // each coordinate carries its hundred digits
  ZirnProcess zirn;
  OpenAndExpectStructure(zirn, folder, "deep.PMF", text, "(x=-5e-101 y=1 h=1e-100) 400x400");
  EXPECT_NE(ModeInfo(zirn).find("plot  : multi-precision, reference "), std::string::npos);
}

TEST(DeepE2e, ZoomingByDraggingGoesPastTheWallWithStructureAtEveryStep) {
  TestFolder folder;
  ASSERT_TRUE(e2e_files::WriteText(folder.File("start.PMF"), ParameterText(ViewAroundI(1e-14))));
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch("\"" + folder.File("start.PMF") + "\""));
  ASSERT_TRUE(TitleStartsWith(zirn, "start.PMF Mandel")) << zirn.Title();
  for (const char* height : {"1e-16", "1e-18", "1e-20"}) {
    // A block 4 pixels high around the centre: 100 times closer to c = i.
    e2e_zoom::Drag(zirn, 198, 198, 202, 202);
    ASSERT_TRUE(zirn.WaitForTitleMatching([&](const std::string& t) {
      return t.find(std::string("h=") + height + ")") != std::string::npos;
    })) << zirn.Title();
    zirn.PostMouse(WM_RBUTTONDOWN, 0, 0);
    ASSERT_TRUE(TitleStartsWith(zirn, "Mandel  (x=")) << zirn.Title();
    ASSERT_TRUE(zirn.WaitForTitleMatching(
        [&](const std::string& t) {
          return t.find(std::string("h=") + height + ") 400x400") != std::string::npos;
        },
        kPlotTimeoutMs))
        << zirn.Title();
    Picture shown;
    EXPECT_TRUE(e2e::WaitUntil([&] { return ShowsStructure(shown = zirn.CaptureClient()); }))
        << height;
  }
  EXPECT_NE(ModeInfo(zirn).find("plot  : multi-precision, reference "), std::string::npos);
}

TEST(DeepE2e, SavedWithItsDataFileADeepViewReopensWithoutComputing) {
  TestFolder folder;
  const std::string text = ParameterText(ViewAroundI(1e-60));
  ZirnProcess zirn;
  Picture computed;
  ASSERT_TRUE(OpensShowingCorePicture(zirn, folder, "view.PMF", text, &computed));
  EXPECT_EQ(SaveAndClose(zirn, folder).rfind("保存終了\n", 0), 0u);

  ZirnProcess again;
  EXPECT_TRUE(ReopensShowing(again, folder, computed));
  EXPECT_NE(ModeInfo(again).find("plot  : multi-precision (data file)\n"), std::string::npos);
  // The saved text names the same view, digit for digit.
  const std::vector<uint8_t> saved = e2e_files::ReadBytes(folder.File("saved.PMF"));
  EXPECT_EQ(RegionLines(std::string(saved.begin(), saved.end())), RegionLines(text));
}

// A limit of a million: the deep counts take four bytes a count in the data
// file, and the saved view comes back from it without computing.
TEST(DeepE2e, AMillionIterationsSaveWithFourBytesACountAndReopenWithoutComputing) {
  TestFolder folder;
  PlotRecord view = ViewAroundI(1e-30);
  view.limit = 1000000;
  const std::string text = ParameterText(view);
  EXPECT_NE(text.find(" n1000000 "), std::string::npos);
  ZirnProcess zirn;
  Picture computed;
  ASSERT_TRUE(OpensShowingCorePicture(zirn, folder, "million.PMF", text, &computed));
  EXPECT_NE(SaveAndClose(zirn, folder).find(" / 640000\n"), std::string::npos);  // 400 x 400 x 4

  ZirnProcess again;
  EXPECT_TRUE(ReopensShowing(again, folder, computed));
  const std::string mode = ModeInfo(again);
  EXPECT_NE(mode.find("limit :   1000000\n"), std::string::npos) << mode;
  EXPECT_NE(mode.find("plot  : multi-precision (data file)\n"), std::string::npos) << mode;
}

TEST(DeepE2e, CopiedParametersOfADeepJuliaViewPasteBackToTheSamePlot) {
  TestFolder folder;
  PlotRecord view = ViewAroundI(1e-40);
  view.flags = kFlagJulia;  // the Julia set of a constant given to 60 digits
  SetExactCoordinate(view.juliaR, view.preciseJuliaR, DeepReal(-3) / 4 + DeepReal(1e-45) / 7);
  SetExactCoordinate(view.juliaI, view.preciseJuliaI, DeepReal(1) / 9);
  SetExactCoordinate(view.x, view.preciseX, DeepReal(-1) / 3);
  SetExactCoordinate(view.y, view.preciseY, DeepReal(1) / 5);
  const std::string text = ParameterText(view);
  ZirnProcess zirn;
  Picture computed;
  ASSERT_TRUE(OpensShowingCorePicture(zirn, folder, "julia.PMF", text, &computed));
  ASSERT_TRUE(e2e::EmptyClipboardContents());
  EXPECT_EQ(zirn.SendCommand(IDM_COPY_PARAMETERS), 0);
  const std::string copied = e2e::ReadClipboardText();
  EXPECT_EQ(RegionLines(copied), RegionLines(text));
  // The first window is gone before the second opens where it stood, so that
  // neither the screen capture nor the clipboard can still see it.
  zirn.PostClose();
  DWORD exitCode = 0;
  ASSERT_TRUE(zirn.WaitForExit(&exitCode));

  ZirnProcess other;
  ASSERT_TRUE(other.Launch());
  other.PostCommand(IDM_PASTE_PARAMETERS);
  ASSERT_TRUE(TitleStartsWith(other, "Julia  (x=")) << other.Title();
  EXPECT_TRUE(e2e_zoom::ShowsPicture(other, computed, 30000)) << other.Title();
}

// Past the doubles: from a view 1e-300 high, ten drags of 4 lines each go
// to 1e-320, where the height is a subnormal double and then only its precise
// form; every step is plotted and shows structure.
TEST(DeeperE2e, ZoomingByDraggingGoesPastTheDoublesWithStructure) {
  TestFolder folder;
  ASSERT_TRUE(e2e_files::WriteText(folder.File("start.PMF"),
                                   ParameterText(ViewAroundI(DeepReal("1e-300")))));
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch("\"" + folder.File("start.PMF") + "\""));
  ASSERT_TRUE(TitleStartsWith(zirn, "start.PMF Mandel  (x=-5e-301 y=1 h=1e-300)")) << zirn.Title();
  for (int exponent = 302; exponent <= 320; exponent += 2) {
    const std::string height = "h=1e-" + std::to_string(exponent);
    e2e_zoom::Drag(zirn, 198, 198, 202, 202);
    ASSERT_TRUE(zirn.WaitForTitleMatching([&](const std::string& t) {
      return t.find(height + ")") != std::string::npos;
    })) << zirn.Title();
    zirn.PostMouse(WM_RBUTTONDOWN, 0, 0);
    ASSERT_TRUE(TitleStartsWith(zirn, "Mandel  (x=")) << zirn.Title();
    ASSERT_TRUE(zirn.WaitForTitleMatching(
        [&](const std::string& t) { return t.find(height + ") 400x400") != std::string::npos; },
        kPlotTimeoutMs))
        << zirn.Title();
    Picture shown;
    EXPECT_TRUE(e2e::WaitUntil([&] { return ShowsStructure(shown = zirn.CaptureClient()); }))
        << height;
  }
}

// A parameter file of a view 1e-1000 high: its y carries a thousand digits
// and its height lies far below the doubles.
TEST(DeeperE2e, AParameterFile1e1000HighOpensWithItsPicture) {
  TestFolder folder;
  PlotRecord view = ViewAroundI(DeepReal("1e-1000"));
  view.limit = 10000;  // pixels 1e-1000 from i escape after about 2700 iterations
  const std::string text = ParameterText(view);
  EXPECT_GT(text.size(), 1000u);
  EXPECT_NE(text.find(" w1e-1000\r\n"), std::string::npos);
  ZirnProcess zirn;
  OpenAndExpectStructure(zirn, folder, "deeper.PMF", text, "(x=-5e-1001 y=1 h=1e-1000) 400x400");
}

}  // namespace
