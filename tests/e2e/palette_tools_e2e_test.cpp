// The palette tools end to end: keys typed into the main window and the
// scroll-bar tool's bars recolour the picture without computing it again;
// one tool at a time, and only over a 16-colour image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colour/palette.h"
#include "engine/plot_record.h"
#include "files/parameter_text.h"
#include "files_e2e_support.h"
#include "zoom_e2e_support.h"

namespace {

using e2e::DialogWindow;
using e2e::Picture;
using e2e::Rgb;
using e2e::ZirnProcess;
using namespace e2e_zoom;

constexpr uint32_t kBlack = Rgb(0, 0, 0);       // entry 0: the inside of the set
constexpr uint32_t kDarkBlue = Rgb(0, 0, 119);  // entry 1

// Puts the tool where it does not cover the picture, and waits until the
// picture is whole again.
void MoveAside(const ZirnProcess& zirn, HWND tool, const Picture& shown) {
  RECT window;
  GetWindowRect(zirn.Window(), &window);
  SetWindowPos(tool, nullptr, window.right + 10, window.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(ShowsPicture(zirn, shown));
}

// Opens a tool and waits for its window, which is not `previous`.
HWND OpenTool(const ZirnProcess& zirn, int command, const Picture& shown, HWND previous = nullptr) {
  zirn.PostCommand(command);
  HWND tool = nullptr;
  e2e::WaitUntil([&] {
    tool = FindPaletteTool(zirn);
    return tool != nullptr && tool != previous;
  });
  if (tool == previous) return nullptr;
  MoveAside(zirn, tool, shown);
  return tool;
}

bool TextShows(HWND tool, int control, const std::string& part) {
  return e2e::WaitUntil(
      [&] { return DialogWindow(tool).ItemText(control).find(part) != std::string::npos; });
}

void Scroll(HWND tool, UINT message, int bar, int code, int position = 0) {
  PostMessageW(tool, message, MAKEWPARAM(code, position),
               reinterpret_cast<LPARAM>(GetDlgItem(tool, bar)));
}

TEST(PaletteToolsE2e, KeysWithTheKeyboardToolOpenRecolourWithoutComputing) {
  ZirnProcess zirn;
  Picture before;
  ASSERT_TRUE(LaunchWithFirstPlot(zirn, &before));
  HWND tool = OpenTool(zirn, IDM_KEYBOARD_TOOL, before);
  ASSERT_NE(tool, nullptr);
  EXPECT_TRUE(TextShows(tool, IDC_TOOL_PALETTE_TEXT, " Pal  R  G  B \n 15: 15 15 15 \n"))
      << DialogWindow(tool).ItemText(IDC_TOOL_PALETTE_TEXT);
  EXPECT_TRUE(TextShows(tool, IDC_TOOL_PALETTE_TEXT, "[ 0:  0  0  0]"));

  for (int i = 0; i < 3; ++i) zirn.PostCharacter('j');
  const Picture reddened = Recoloured(before, kBlack, Rgb(51, 0, 0));
  EXPECT_TRUE(ShowsPicture(zirn, reddened));
  EXPECT_TRUE(TextShows(tool, IDC_TOOL_PALETTE_TEXT, "[ 0:  3  0  0]"));
  zirn.PostCharacter('F');
  EXPECT_TRUE(TextShows(tool, IDC_TOOL_PALETTE_TEXT, "[ 1:  0  0  7]"));
  EXPECT_EQ(zirn.Title(), kWholeViewTitle);
  EXPECT_TRUE(Greyed(zirn, IDM_FLIP));  // still the one plot

  zirn.PostCharacter('q');
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(tool); }));
  zirn.PostCharacter('l');  // no tool: not a palette key any more
  ASSERT_TRUE(AllPostedHandled(zirn));
  EXPECT_TRUE(ShowsPicture(zirn, reddened));
}

TEST(PaletteToolsE2e, ScrollBarToolBarsAndSelectorChangeThePaletteAndPicture) {
  ZirnProcess zirn;
  Picture before;
  ASSERT_TRUE(LaunchWithFirstPlot(zirn, &before));
  HWND tool = OpenTool(zirn, IDM_SCROLLBAR_TOOL, before);
  ASSERT_NE(tool, nullptr);
  const DialogWindow dialog(tool);
  EXPECT_TRUE(TextShows(tool, IDC_TOOL_ENTRY, "0"));
  EXPECT_EQ(SendMessageW(GetDlgItem(tool, IDC_TOOL_RED), SBM_GETPOS, 0, 0), 15);

  Scroll(tool, WM_VSCROLL, IDC_TOOL_RED, SB_PAGEUP);
  EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.ItemText(IDC_TOOL_RED_LEVEL) == "4"; }));
  EXPECT_EQ(SendMessageW(GetDlgItem(tool, IDC_TOOL_RED), SBM_GETPOS, 0, 0), 11);
  const Picture reddened = Recoloured(before, kBlack, Rgb(68, 0, 0));
  EXPECT_TRUE(ShowsPicture(zirn, reddened));

  // Entry 1 comes into the bars; entry 0 keeps its edited colour.
  Scroll(tool, WM_HSCROLL, IDC_TOOL_SELECTOR, SB_LINERIGHT);
  EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.ItemText(IDC_TOOL_ENTRY) == "1"; }));
  EXPECT_EQ(dialog.ItemText(IDC_TOOL_RED_LEVEL), "0");
  EXPECT_EQ(dialog.ItemText(IDC_TOOL_BLUE_LEVEL), "7");
  Scroll(tool, WM_VSCROLL, IDC_TOOL_RED, SB_THUMBTRACK, 0);
  const Picture edited = Recoloured(reddened, kDarkBlue, Rgb(255, 0, 119));
  EXPECT_TRUE(ShowsPicture(zirn, edited));
  EXPECT_EQ(zirn.Title(), kWholeViewTitle);

  dialog.Press(IDCANCEL);
  EXPECT_TRUE(WaitForNoPaletteTool(zirn));
  // The keyboard tool goes on from the entry the scroll-bar tool ended with.
  tool = OpenTool(zirn, IDM_KEYBOARD_TOOL, edited);
  ASSERT_NE(tool, nullptr);
  EXPECT_TRUE(TextShows(tool, IDC_TOOL_PALETTE_TEXT, "[ 1: 15  0  7]"));
  EXPECT_TRUE(TextShows(tool, IDC_TOOL_PALETTE_TEXT, " 0:  4  0  0 "));
}

// A whole-view parameter text whose 16 palette entries are all one colour.
std::string OneColourParameterText(int red, int green, int blue) {
  for (int i = 0; i < kPaletteSize; ++i) SetPaletteEntry(i, red, green, blue);
  PlotRecord record;
  char text[kParameterTextSize];
  WriteParameterText(text, sizeof text, record, "");
  SetDefaultPalette();
  return text;
}

// A palette replaced under the scroll-bar tool must come into its bars: a
// stale working colour would be written back over the new palette as soon
// as the selector moves.
TEST(PaletteToolsE2e, ScrollBarToolTakesUpAPaletteReplacedUnderIt) {
  e2e_files::TestFolder folder;
  const std::string file = folder.File("green.pmf");
  ASSERT_TRUE(e2e_files::WriteText(file, OneColourParameterText(0, 15, 0)));
  ZirnProcess zirn;
  Picture before;
  ASSERT_TRUE(LaunchWithFirstPlot(zirn, &before));
  HWND tool = OpenTool(zirn, IDM_SCROLLBAR_TOOL, before);
  ASSERT_NE(tool, nullptr);
  const DialogWindow dialog(tool);
  const auto levelsAre = [&](const char* red, const char* green, const char* blue) {
    return e2e::WaitUntil([&] {
      return dialog.ItemText(IDC_TOOL_RED_LEVEL) == red &&
             dialog.ItemText(IDC_TOOL_GREEN_LEVEL) == green &&
             dialog.ItemText(IDC_TOOL_BLUE_LEVEL) == blue;
    });
  };
  // To entry 1 and back to entry 0, whose colour is then shown again.
  const auto selectorThereAndBack = [&] {
    Scroll(tool, WM_HSCROLL, IDC_TOOL_SELECTOR, SB_LINERIGHT);
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.ItemText(IDC_TOOL_ENTRY) == "1"; }));
    Scroll(tool, WM_HSCROLL, IDC_TOOL_SELECTOR, SB_LINELEFT);
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.ItemText(IDC_TOOL_ENTRY) == "0"; }));
  };

  Scroll(tool, WM_VSCROLL, IDC_TOOL_RED, SB_PAGEUP);  // entry 0 edited: (4, 0, 0)
  ASSERT_TRUE(levelsAre("4", "0", "0"));
  ASSERT_TRUE(e2e::WriteClipboardText(OneColourParameterText(15, 0, 15)));
  zirn.PostCommand(IDM_PASTE_PALETTE);
  EXPECT_TRUE(levelsAre("15", "0", "15"));
  selectorThereAndBack();
  EXPECT_TRUE(levelsAre("15", "0", "15"));

  Scroll(tool, WM_VSCROLL, IDC_TOOL_RED, SB_PAGEDOWN);  // (11, 0, 15)
  ASSERT_TRUE(levelsAre("11", "0", "15"));
  ASSERT_TRUE(e2e_files::DropFiles(zirn, {file}));
  EXPECT_TRUE(levelsAre("0", "15", "0"));
  selectorThereAndBack();
  EXPECT_TRUE(levelsAre("0", "15", "0"));
}

TEST(PaletteToolsE2e, OneToolAtATimeAndOnlyOverAnImage) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  zirn.PostCommand(IDM_KEYBOARD_TOOL);  // no image yet
  ASSERT_TRUE(AllPostedHandled(zirn));
  EXPECT_EQ(FindPaletteTool(zirn), nullptr);

  zirn.PostCommand(IDM_START);
  ASSERT_TRUE(zirn.WaitForTitle(kWholeViewTitle));
  const Picture shown = e2e::DefaultViewPicture();
  HWND keyboard = OpenTool(zirn, IDM_KEYBOARD_TOOL, shown);
  ASSERT_NE(keyboard, nullptr);
  HWND scrollBars = OpenTool(zirn, IDM_SCROLLBAR_TOOL, shown, keyboard);
  ASSERT_NE(scrollBars, nullptr);
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(keyboard); }));
  EXPECT_NE(GetDlgItem(scrollBars, IDC_TOOL_SELECTOR), nullptr);

  // Asking for the open tool again, or typing "q" to the scroll-bar tool,
  // changes nothing.
  zirn.PostCommand(IDM_SCROLLBAR_TOOL);
  zirn.PostCharacter('q');
  ASSERT_TRUE(AllPostedHandled(zirn));
  EXPECT_EQ(FindPaletteTool(zirn), scrollBars);
}

// A 24-bit BMP of 4 x 2 pixels.
std::vector<uint8_t> TwentyFourBitBitmap() {
  std::vector<uint8_t> bmp(54 + 2 * 12, 0x80);
  const uint32_t fields[][2] = {{2, static_cast<uint32_t>(bmp.size())},
                                {6, 0},
                                {10, 54},
                                {14, 40},
                                {18, 4},
                                {22, 2},
                                {26, 1 | (24u << 16)},
                                {30, 0},
                                {34, 24},
                                {38, 0},
                                {42, 0},
                                {46, 0},
                                {50, 0}};
  for (const auto& field : fields) {
    for (int i = 0; i < 4; ++i) bmp[field[0] + i] = static_cast<uint8_t>(field[1] >> (8 * i));
  }
  bmp[0] = 'B';
  bmp[1] = 'M';
  return bmp;
}

TEST(PaletteToolsE2e, AnImageWithoutSixteenColoursOpensNoTool) {
  e2e_files::TestFolder folder;
  const std::vector<uint8_t> bmp = TwentyFourBitBitmap();
  const std::string path = folder.File("colours.bmp");
  ASSERT_TRUE(e2e_files::WriteBytes(path, bmp.data(), bmp.size()));
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  zirn.PostCommand(IDM_OPEN_BMP);
  ASSERT_TRUE(e2e_files::ChooseFile(zirn, path));
  ASSERT_TRUE(zirn.WaitForTitle("Zirn " + path + "  4x2")) << zirn.Title();

  for (int command : {IDM_KEYBOARD_TOOL, IDM_SCROLLBAR_TOOL}) {
    zirn.PostCommand(command);
    EXPECT_EQ(e2e_files::TakeMessage(zirn), "１６色ＤＩＢではありません") << command;
    EXPECT_EQ(FindPaletteTool(zirn), nullptr);
  }

  // No plot is on display: the mouse selects nothing.
  const std::string title = zirn.Title();
  Drag(zirn, 0, 0, 0, 2);
  ASSERT_TRUE(AllPostedHandled(zirn));
  EXPECT_EQ(zirn.Title(), title);
}

}  // namespace
