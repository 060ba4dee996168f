#include "shell/titles.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_ui_host.h"
#include "files/image_state.h"
#include "shell/command_state.h"

namespace {

class TitlesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_commands = CommandState{};
    g_image.width = 400;
    g_image.height = 400;
  }
  FakeUiHost ui;
};

TEST_F(TitlesTest, PlotTitlesNameTheSetAndShowAFileNameOnce) {
  SetTitlePrefix("deep.PMF");
  SetRegionTitle(ui);
  SetRegionTitle(ui);
  g_commands.current.flags = kFlagJuliaStart;
  SetPlotTitle(ui, "");
  g_commands.current.flags = kFlagJulia;
  g_commands.current.x = -0.123456789L;
  g_commands.current.height = 1e-7;
  g_image.width = 640;
  g_image.height = 480;
  SetRegionTitle(ui);
  const std::vector<std::string> expected = {"deep.PMF Mandel  (x=-2 y=-2 h=4) 400x400",
                                             "Mandel  (x=-2 y=-2 h=4) 400x400", "Julia ",
                                             "Julia  (x=-0.123457 y=-2 h=1e-07) 640x480"};
  EXPECT_EQ(ui.titles, expected);
}

TEST_F(TitlesTest, LongFileNameIsCutAfter43Characters) {
  SetTitlePrefix(std::string(50, 'a').c_str());
  EXPECT_EQ(std::string(g_commands.titlePrefix), std::string(43, 'a') + "~~ ");
  SetTitlePrefix(std::string(43, 'b').c_str());
  EXPECT_EQ(std::string(g_commands.titlePrefix), std::string(43, 'b') + " ");
}

TEST_F(TitlesTest, FileAndRangeTitles) {
  std::snprintf(g_image.fileName, sizeof g_image.fileName, "%s", "C:\\pictures\\sea.bmp");
  SetFileTitle(ui, 640, 480);
  EXPECT_EQ(ui.titles[0], "Zirn C:\\pictures\\sea.bmp  640x480");
  PlotRecord record;
  record.upper = 30000;
  record.lower = 7;
  char text[64];
  FormatRangeTitle(record, text, sizeof text);
  EXPECT_STREQ(text, "upper limit =  30000 lower limit =      7");
}

TEST_F(TitlesTest, ModeInfoNamesTheSettingForTheNextPlot) {
  PlotRecord record;
  record.sizeX = 640;
  record.sizeY = 480;
  record.upper = 100;
  record.lower = 2;
  char text[kTextBufferSize];
  record.plottedArithmetic = kPlottedReal;
  FormatModeInfo(record, kArithmeticReal, true, text, sizeof text);
  EXPECT_STREQ(text,
               "mode  : Mandelbrot 64 bit real (NDP) \n"
               "size  : X 640, Y 480\n"
               "limit :   100\n"
               "upper :   100\n"
               "lower :   2\n"
               "plot  : 64 bit real (NDP)\n");
  record.flags = kFlagJulia;
  record.plottedArithmetic = kPlottedDeep;
  record.referenceBits = 256;
  FormatModeInfo(record, kArithmeticInteger, true, text, sizeof text);
  EXPECT_EQ(std::string(text).substr(0, 38), "mode  : Julia 32 bit integer 386 code\n");
  EXPECT_NE(std::string(text).find("plot  : multi-precision, reference 256 bits\n"),
            std::string::npos);
  FormatModeInfo(record, kArithmeticDeep, false, text, sizeof text);
  EXPECT_EQ(std::string(text).substr(0, 31), "mode  : Julia multi-precision \n");
  EXPECT_NE(std::string(text).find("plot  : none\n"), std::string::npos);
}

TEST_F(TitlesTest, TimerInfoShowsUnsignedDifferences) {
  char text[kTextBufferSize];
  FormatTimerInfo(0, 0, 0, text, sizeof text);
  EXPECT_STREQ(text, "計算／処理時間 : 0 [msec]\nﾋﾞｯﾄﾏｯﾌﾟ作成 : 0 [msec]");
  FormatTimerInfo(0xFFFFFFF0u, 0x10u, 0x25u, text, sizeof text);  // the tick count wrapped
  EXPECT_STREQ(text, "計算／処理時間 : 32 [msec]\nﾋﾞｯﾄﾏｯﾌﾟ作成 : 21 [msec]");
}

}  // namespace
