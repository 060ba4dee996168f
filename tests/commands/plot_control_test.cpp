#include "commands/plot_control.h"

#include <gtest/gtest.h>

#include <cstring>

#include "command_test_fixture.h"
#include "engine/deep/real.h"
#include "engine/ui_host.h"
#include "files/parameter_text.h"
#include "shell/selection_report.h"

namespace {

using PlotControlTest = CommandTest;
constexpr const char* kWholeView = "Mandel  (x=-2 y=-2 h=4) 64x64";

TEST(ApplyStartRequestsTest, ArmedJuliaStartWinsOverAZoomAndIntegerFlagsFollowTheSetting) {
  PlotRecord record;
  record.x = 0.25L;
  record.height = record.shownHeight = 0.1;
  record.upper = 90;
  record.flags = kFlagJuliaStart | kFlagLiveDrawing;
  PlotRecord zoom;
  zoom.x = -0.75L;
  zoom.y = 0.125L;
  zoom.pending = 1;
  ApplyStartRequests(record, zoom, kArithmeticInteger);
  EXPECT_EQ(record.flags, kFlagJulia | kFlagLiveDrawing | kFlagInteger | kFlagIntegerShadow);
  EXPECT_EQ(record.juliaR, -0.75L);
  EXPECT_EQ(record.juliaI, 0.125L);
  EXPECT_EQ(record.x, -2);
  EXPECT_EQ(record.shownHeight, 4);
  EXPECT_EQ(record.upper, 0);
  EXPECT_EQ(zoom.pending, 1);

  // Without the armed start the zoom's region (and nothing else) is taken once.
  zoom.height = 0.5;
  zoom.limit = 7;
  ApplyStartRequests(record, zoom, kArithmeticReal);
  EXPECT_EQ(record.x, -0.75L);
  EXPECT_EQ(record.height, 0.5);
  EXPECT_EQ(record.limit, 100);
  EXPECT_EQ(record.flags, kFlagJulia | kFlagLiveDrawing);
  EXPECT_EQ(zoom.pending, 0);
}

TEST_F(PlotControlTest, CompletedPlotIsShownTitledTimedAndPushed) {
  StartPlot(host);
  const std::vector<std::string> expected = {"progress on",    "reduced menu", "progress off",
                                             "main menu",      "make bitmap",  "invalidate",
                                             "empty selection"};
  EXPECT_EQ(host.calls, expected);
  EXPECT_FALSE(g_commands.plotRunning);
  EXPECT_TRUE(g_commands.plotDone);
  EXPECT_EQ(HistoryCount(), 1);
  EXPECT_EQ(g_commands.current.upper, 100);  // the centre never escapes
  EXPECT_EQ(host.ui.titles.back(), kWholeView);
  EXPECT_EQ(g_commands.tickComputed - g_commands.tickStart, 10u);
  EXPECT_EQ(g_commands.tickDrawn - g_commands.tickComputed, 10u);
}

TEST_F(PlotControlTest, FailedPictureStillKeepsTheCounts) {
  host.bitmapSucceeds = false;
  StartPlot(host);
  EXPECT_FALSE(g_commands.plotDone);
  EXPECT_FALSE(host.Called("invalidate"));
  EXPECT_EQ(HistoryCount(), 1);
}

TEST_F(PlotControlTest, FlipExchangesTheTwoViewsWithoutComputing) {
  StartPlot(host);
  FlipView(host);  // one view: nothing to go back to
  EXPECT_EQ(host.bitmapBuilds, 1);
  StartRegion(-1, -1, 2);
  const int pumps = host.ui.pumpCalls;
  FlipView(host);
  EXPECT_EQ(g_commands.current.height, 4);
  EXPECT_EQ(host.ui.titles.back(), kWholeView);
  FlipView(host);
  EXPECT_EQ(host.ui.titles.back(), "Mandel  (x=-1 y=-1 h=2) 64x64");
  EXPECT_EQ(HistoryCount(), 2);
  EXPECT_EQ(host.ui.pumpCalls, pumps);
}

TEST_F(PlotControlTest, StopRestoresThePreviousViewAndDropsTheOlderOne) {
  StartPlot(host);
  StartRegion(-1, -1, 2);
  const PlotRecord shown = g_commands.current;
  host.ui.stopAtPump = host.ui.pumpCalls + 3;
  StartRegion(-0.5L, -0.5L, 1);
  EXPECT_EQ(g_commands.current.height, shown.height);
  EXPECT_EQ(g_commands.current.rows, shown.rows);
  EXPECT_EQ(HistoryCount(), 1);
  EXPECT_FALSE(g_commands.plotRunning);
  EXPECT_EQ(host.calls.back(), "main menu");
  EXPECT_EQ(host.ui.titles.back(), "Mandel  (x=-1 y=-1 h=2) 64x64");
  EXPECT_EQ(g_commands.tickStart + g_commands.tickComputed + g_commands.tickDrawn, 0u);
  EXPECT_EQ(LiveCountBufferCount(), 1);
}

TEST_F(PlotControlTest, ExitReleasesTheAttemptAndClosesTheWindow) {
  StartPlot(host);
  host.calls.clear();
  host.ui.stopAtPump = host.ui.pumpCalls + 1;
  host.ui.stopCode = kPlotExit;
  StartRegion(-1, -1, 2);
  EXPECT_EQ(g_commands.current.rows, nullptr);
  EXPECT_FALSE(g_commands.plotRunning);
  EXPECT_EQ(host.calls.back(), "post close");
  EXPECT_FALSE(host.Called("main menu"));
}

TEST_F(PlotControlTest, CloseConfirmedDuringAPlotClosesEvenWhenThePlotCompletes) {
  StartPlot(host);
  host.calls.clear();
  // The close question answered OK inside a message step; the plot still
  // runs to its end without finding the cleared flag.
  host.ui.onPump = [] { g_commands.plotRunning = false; };
  StartRegion(-1, -1, 2);
  EXPECT_EQ(g_commands.current.rows, nullptr);
  EXPECT_EQ(host.calls.back(), "post close");
  EXPECT_FALSE(host.Called("main menu"));
}

TEST_F(PlotControlTest, IntegerModeRefusesATooFineRegion) {
  StartPlot(host);
  g_commands.arithmetic = kArithmeticInteger;
  StartRegion(-0.5L, -0.5L, 1e-9);
  ASSERT_EQ(host.ui.messages.size(), 1u);
  EXPECT_EQ(host.ui.messages[0].text, "この領域は整数モードでは演算できません");
  EXPECT_EQ(host.ui.messages[0].caption, "Zirn");
  EXPECT_EQ(g_commands.current.flags, 0u);
  EXPECT_EQ(host.ui.titles.back(), kWholeView);
  EXPECT_EQ(HistoryCount(), 1);
}

// A height that is no height, as a dialog or a text gives it (1e999 is
// infinite, 1e-10001 deeper than the deep arithmetic serves), is reported in
// either arithmetic and nothing is computed: the view on display stays, its
// corner with every digit. A drag below the deepest height is refused with a
// message naming it; 1e-307 and 1e-400 go on.
TEST_F(PlotControlTest, HeightsThatAreNoHeightsAreReportedAndTheViewStays) {
  StartPlot(host);
  SetCoordinateFromText("-0.7436438870371587047521915061", g_commands.current.x,
                        g_commands.current.preciseX);
  const PlotRecord shown = g_commands.current;
  for (const ArithmeticSetting arithmetic : {kArithmeticReal, kArithmeticDeep}) {
    g_commands.arithmetic = arithmetic;
    for (const char* text : {"h 1e999 g", "h 1e-10001 g", "h -1 g"}) {
      host.ui.messages.clear();
      const int pumps = host.ui.pumpCalls;
      g_commands.pending = g_commands.current;
      ReadParameterText(text, g_commands.pending);
      g_commands.pending.pending = 1;
      StartPlot(host);
      ASSERT_EQ(host.ui.messages.size(), 1u) << text;
      EXPECT_EQ(host.ui.messages[0].text,
                "この高さでは演算できません (高さは 1e-10000 以上 1.8e+308 以下の数)");
      EXPECT_EQ(host.ui.messages[0].caption, "Zirn");
      EXPECT_EQ(host.ui.pumpCalls, pumps) << text;
      EXPECT_EQ(g_commands.current.height, shown.height);
      EXPECT_EQ(g_commands.current.x, shown.x);
      EXPECT_EQ(std::memcmp(&g_commands.current.preciseX, &shown.preciseX, sizeof shown.preciseX),
                0);
      EXPECT_EQ(HistoryCount(), 1);
    }
  }

  host.ui.messages.clear();
  // A 2-line drag in a view 1e-9999 high would be about 3e-10001 high.
  SetExactHeight(g_commands.current.shownHeight, g_commands.current.preciseShownHeight,
                 DeepReal("1e-9999"));
  ReportSelection(host.ui, SelectionRect{10, 10, 12, 12}, ScrollOrigin{});
  ASSERT_EQ(host.ui.messages.size(), 1u);
  EXPECT_EQ(host.ui.messages[0].text, "これ以上は拡大できません (高さの下限 1e-10000)");
  EXPECT_EQ(g_commands.zoom.pending, 0);
  for (const char* height : {"1e-307", "1e-400"}) {
    SetExactHeight(g_commands.current.shownHeight, g_commands.current.preciseShownHeight,
                   DeepReal(height));
    ReportSelection(host.ui, SelectionRect{10, 10, 12, 12}, ScrollOrigin{});
    EXPECT_EQ(host.ui.messages.size(), 1u);
    EXPECT_EQ(g_commands.zoom.pending, 1);
  }
  // The zoomed height keeps its depth: 2 of the lines of a view 1e-400 high.
  EXPECT_EQ(g_commands.zoom.height, 0);
  EXPECT_EQ(ExactHeight(g_commands.zoom.height, g_commands.zoom.preciseHeight),
            DeepReal("1e-400") * 2 / g_commands.current.shownSizeY);
}

TEST_F(PlotControlTest, NoMemoryEndsTheProgramWithoutPlotting) {
  g_engine.buffers.allocationsBeforeFailure = 0;
  StartPlot(host);
  EXPECT_TRUE(host.Called("memory error"));
  EXPECT_EQ(host.quitCode, 3);
  EXPECT_EQ(host.ui.pumpCalls, 0);
}

TEST_F(PlotControlTest, StartInsideARunningPlotIsIgnored) {
  g_commands.plotRunning = true;
  StartPlot(host);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(HistoryCount(), 0);
}

TEST_F(PlotControlTest, ReplotTakesOnlyTheStagedMethodAndKeepsTheCounts) {
  ReplotImage(host);  // nothing computed yet
  EXPECT_TRUE(host.calls.empty());
  StartPlot(host);
  CountBuffer* counts = g_commands.current.rows;
  g_commands.pending = g_commands.current;
  g_commands.pending.colourMethod = 3;
  g_commands.pending.limit = 999;
  g_commands.pending.pending = 1;
  host.ui.titles.clear();
  const int pumps = host.ui.pumpCalls;
  ReplotImage(host);
  EXPECT_EQ(g_commands.current.colourMethod, 3);
  EXPECT_EQ(g_commands.current.limit, 100);
  EXPECT_EQ(g_commands.current.rows, counts);
  EXPECT_EQ(g_commands.pending.pending, 0);
  EXPECT_EQ(host.ui.pumpCalls, pumps);
  EXPECT_EQ(HistoryCount(), 1);
  const std::vector<std::string> titles = {"upper limit =    100 lower limit =      0", kWholeView};
  EXPECT_EQ(host.ui.titles, titles);
  EXPECT_TRUE(host.Called("restore cursor"));

  g_image.imagePresent = false;  // a BMP load failed afterwards
  host.calls.clear();
  ReplotImage(host);
  FlipView(host);
  EXPECT_TRUE(host.calls.empty());
}

}  // namespace
