// Pasting parameters and palettes: the text is read from its header on, the
// plot it describes is computed, a palette alone re-colours the plot on
// display, and texts that are not parameter texts change nothing.

#include <gtest/gtest.h>

#include <string>

#include "colour/palette.h"
#include "command_test_fixture.h"
#include "fake_file_command_host.h"

namespace {

class PasteCommandTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    SetDefaultPalette();
    StartPlot(files.commands);
  }

  // The clipboard text that copying the parameters of `record` gives.
  static std::string CopiedText(const PlotRecord& record) {
    char text[kParameterTextSize];
    WriteParameterText(text, sizeof text, record, "");
    return text;
  }

  FakeFileCommandHost files;
};

TEST_F(PasteCommandTest, CopiedParametersPastedBackComputeTheSamePlot) {
  PlotRecord julia = g_commands.current;
  julia.flags |= kFlagJulia;
  julia.x = -1.234567890123456789L;
  julia.y = 0.1L;
  julia.height = 0.123456789012345;
  julia.juliaR = -0.8L;
  julia.juliaI = 0.156L;
  julia.limit = 300;
  julia.colourMethod = 3;
  files.clipboardText = "Dear friend, try this one:\r\n" + CopiedText(julia);
  files.openTool = IDM_SCROLLBAR_TOOL;
  PasteParametersFlow(files);
  EXPECT_EQ(files.sent, std::vector<int>{IDM_START});
  const PlotRecord& shown = g_commands.current;
  EXPECT_NE(shown.flags & kFlagJulia, 0u);
  EXPECT_NEAR(static_cast<double>(shown.x), -1.234567890123456789, 1e-17);
  EXPECT_DOUBLE_EQ(shown.height, 0.123456789012345);
  EXPECT_EQ(shown.juliaI, 0.156L);
  EXPECT_EQ(shown.limit, 300);
  EXPECT_EQ(shown.colourMethod, 3);
  EXPECT_EQ(shown.rows != nullptr, true);
  EXPECT_TRUE(g_commands.plotDone);
  EXPECT_EQ(files.calls, (std::vector<std::string>{"hide tool", "show tool 145"}));
}

TEST_F(PasteCommandTest, PastedTextWithoutJuliaKeysGivesAMandelbrotPlot) {
  const std::string mandelbrot = CopiedText(g_commands.current);
  g_commands.current.flags |= kFlagJulia;
  files.clipboardText = mandelbrot;
  PasteParametersFlow(files);
  EXPECT_EQ(g_commands.current.flags & kFlagJulia, 0u);
}

TEST_F(PasteCommandTest, TextsThatAreNotParameterTextsChangeNothing) {
  files.clipboardText = "just a note\r\n% with a percent line\r\n";
  PasteParametersFlow(files);
  PastePaletteFlow(files);
  EXPECT_EQ(files.calls, (std::vector<std::string>{"not parameter text", "not parameter text"}));
  files.clipboardText.clear();  // no text on the clipboard
  files.calls.clear();
  PasteParametersFlow(files);
  EXPECT_EQ(files.calls, std::vector<std::string>{"not parameter text"});
  files.clipboardMemory = false;
  files.calls.clear();
  PasteParametersFlow(files);
  EXPECT_TRUE(files.calls.empty());
  EXPECT_TRUE(files.sent.empty());
  EXPECT_EQ(g_commands.pending.pending, 0);
}

TEST_F(PasteCommandTest, APastedPaletteRecoloursWithoutComputing) {
  SetPaletteEntry(5, 15, 15, 0);
  files.clipboardText = CopiedText(g_commands.current);
  SetDefaultPalette();
  const int builds = files.commands.bitmapBuilds;
  const CountBuffer* counts = g_commands.current.rows;
  PastePaletteFlow(files);
  EXPECT_EQ(files.sent, std::vector<int>{IDM_REPLOT});
  EXPECT_EQ(files.commands.bitmapBuilds, builds + 1);
  EXPECT_EQ(g_commands.current.rows, counts);  // the same counts, not computed again
  int32_t r = 0, g = 0, b = 0;
  GetPaletteEntry(5, &r, &g, &b);
  EXPECT_EQ(r, 15);
  EXPECT_EQ(g, 15);
  EXPECT_EQ(b, 0);

  files.sent.clear();
  files.clipboardText = "%Zirn parameter file\r\n x-1\r\n%end\r\n";
  PastePaletteFlow(files);
  EXPECT_TRUE(files.sent.empty());
  EXPECT_EQ(g_commands.current.x, -2);
}

}  // namespace
