#include "commands/plot_control.h"

#include <gtest/gtest.h>

#include "command_test_fixture.h"
#include "engine/ui_host.h"
#include "res/resource.h"

namespace {

using PlotControlTest = CommandTest;

TEST(ChoosePlotterTest, FlagsPickThePlotter) {
  EXPECT_EQ(ChoosePlotter(0), Plotter::Mandelbrot);
  EXPECT_EQ(ChoosePlotter(kFlagJulia), Plotter::Julia);
  EXPECT_EQ(ChoosePlotter(kFlagInteger | kFlagIntegerShadow), Plotter::MandelbrotInteger);
  EXPECT_EQ(ChoosePlotter(kFlagJulia | kFlagInteger), Plotter::JuliaInteger);
  // The armed Julia start alone is still a Mandelbrot picture.
  EXPECT_EQ(ChoosePlotter(kFlagJuliaStart), Plotter::Mandelbrot);
}

TEST(ApplyStartRequestsTest, ArmedJuliaStartTakesThePickedPointOverTheWholeView) {
  PlotRecord record;
  record.x = 0.25L;
  record.y = -0.5L;
  record.height = record.shownHeight = 0.1;
  record.lower = 3;
  record.upper = 90;
  record.flags = kFlagJuliaStart | kFlagLiveDrawing;
  PlotRecord zoom;
  zoom.x = -0.75L;
  zoom.y = 0.125L;
  zoom.pending = 1;
  ApplyStartRequests(record, zoom, false);
  EXPECT_EQ(record.flags, kFlagJulia | kFlagLiveDrawing);
  EXPECT_EQ(record.juliaR, -0.75L);
  EXPECT_EQ(record.juliaI, 0.125L);
  EXPECT_EQ(record.x, -2);
  EXPECT_EQ(record.y, -2);
  EXPECT_EQ(record.height, 4);
  EXPECT_EQ(record.shownHeight, 4);
  EXPECT_EQ(record.lower, 0);
  EXPECT_EQ(record.upper, 0);
  EXPECT_EQ(zoom.pending, 1);  // the Julia start does not consume a zoom
}

TEST(ApplyStartRequestsTest, WaitingZoomIsTakenOnceAndIntegerFlagsFollowTheSetting) {
  PlotRecord record;
  record.limit = 250;
  PlotRecord zoom;
  zoom.x = -1.9L;
  zoom.y = 1.3L;
  zoom.height = zoom.shownHeight = 0.5;
  zoom.limit = 7;
  zoom.pending = 1;
  ApplyStartRequests(record, zoom, true);
  EXPECT_EQ(record.x, -1.9L);
  EXPECT_EQ(record.y, 1.3L);
  EXPECT_EQ(record.height, 0.5);
  EXPECT_EQ(record.limit, 250);  // only the region comes from the zoom
  EXPECT_EQ(record.flags, kFlagInteger | kFlagIntegerShadow);
  EXPECT_EQ(zoom.pending, 0);

  ApplyStartRequests(record, zoom, false);
  EXPECT_EQ(record.flags, 0u);
}

TEST_F(PlotControlTest, InitialiseGivesTheWholeViewAt400) {
  g_commands.current.flags = kFlagJulia;
  g_commands.tickStart = 5;
  InitialiseRecords(host);
  const PlotRecord& current = g_commands.current;
  EXPECT_EQ(current.flags, 0u);
  EXPECT_EQ(current.x, -2);
  EXPECT_EQ(current.height, 4);
  EXPECT_EQ(current.limit, 100);
  EXPECT_EQ(current.sizeX, 400);
  EXPECT_EQ(current.sizeY, 400);
  EXPECT_EQ(current.shownSizeY, 400);
  EXPECT_EQ(current.rows, nullptr);
  EXPECT_EQ(g_commands.pending.sizeX, 400);
  EXPECT_EQ(g_commands.pending.pending, 0);
  EXPECT_EQ(g_commands.tickStart, 0u);
}

TEST_F(PlotControlTest, CompletedPlotIsShownTitledAndPushed) {
  StartPlot(host);
  const std::vector<std::string> expected = {"progress on",    "reduced menu", "progress off",
                                             "main menu",      "make bitmap",  "invalidate",
                                             "empty selection"};
  EXPECT_EQ(host.calls, expected);
  EXPECT_FALSE(g_commands.plotRunning);
  EXPECT_TRUE(g_commands.plotDone);
  EXPECT_EQ(HistoryCount(), 1);
  EXPECT_NE(g_commands.current.rows, nullptr);
  EXPECT_EQ(g_commands.current.upper, 100);  // the centre never escapes
  EXPECT_EQ(g_commands.current.lower, 0);
  ASSERT_FALSE(host.ui.titles.empty());
  EXPECT_EQ(host.ui.titles.back(), "Mandel  (x=-2 y=-2 h=4) 64x64");
  EXPECT_EQ(g_commands.tickStart, 1010u);
  EXPECT_EQ(g_commands.tickComputed, 1020u);
  EXPECT_EQ(g_commands.tickDrawn, 1030u);
}

TEST_F(PlotControlTest, FailedPictureStillKeepsTheCounts) {
  host.bitmapSucceeds = false;
  StartPlot(host);
  EXPECT_FALSE(g_commands.plotDone);
  EXPECT_FALSE(host.Called("invalidate"));
  EXPECT_EQ(HistoryCount(), 1);
  EXPECT_EQ(g_commands.tickDrawn, 0u);
}

TEST_F(PlotControlTest, FlipExchangesTheTwoViewsWithoutComputing) {
  StartPlot(host);
  StartRegion(-1, -1, 2);
  ASSERT_EQ(HistoryCount(), 2);
  const int pumps = host.ui.pumpCalls;

  FlipView(host);
  EXPECT_EQ(g_commands.current.x, -2);
  EXPECT_EQ(g_commands.current.height, 4);
  EXPECT_EQ(host.ui.titles.back(), "Mandel  (x=-2 y=-2 h=4) 64x64");
  EXPECT_EQ(HistoryCount(), 2);
  FlipView(host);
  EXPECT_EQ(g_commands.current.x, -1);
  EXPECT_EQ(host.ui.titles.back(), "Mandel  (x=-1 y=-1 h=2) 64x64");
  EXPECT_EQ(host.ui.pumpCalls, pumps);
  EXPECT_EQ(g_commands.pending.pending, 0);
}

TEST_F(PlotControlTest, FlipWithOneViewLeavesTheHistory) {
  StartPlot(host);
  CountBuffer* shown = g_commands.current.rows;
  const int builds = host.bitmapBuilds;
  FlipView(host);
  EXPECT_EQ(HistoryCount(), 1);
  EXPECT_EQ(g_commands.current.rows, shown);
  EXPECT_EQ(host.bitmapBuilds, builds);
}

TEST_F(PlotControlTest, ThirdPlotDropsTheOldestView) {
  StartPlot(host);
  StartRegion(-1, -1, 2);
  StartRegion(-0.5L, -0.5L, 1);
  EXPECT_EQ(HistoryCount(), 2);
  EXPECT_EQ(LiveCountBufferCount(), 2);
  FlipView(host);
  EXPECT_EQ(g_commands.current.x, -1);
}

TEST_F(PlotControlTest, StopRestoresThePreviousViewAndDropsTheOlderOne) {
  StartPlot(host);
  StartRegion(-1, -1, 2);
  const PlotRecord shown = g_commands.current;
  host.ui.titles.clear();
  host.ui.pumpCalls = 0;
  host.ui.stopAtPump = 3;
  host.ui.stopCode = kPlotStop;
  StartRegion(-0.5L, -0.5L, 1);

  EXPECT_EQ(g_commands.current.x, shown.x);
  EXPECT_EQ(g_commands.current.height, shown.height);
  EXPECT_EQ(g_commands.current.rows, shown.rows);
  EXPECT_EQ(HistoryCount(), 1);
  EXPECT_FALSE(g_commands.plotRunning);
  EXPECT_EQ(host.calls.back(), "main menu");
  EXPECT_EQ(host.ui.titles.back(), "Mandel  (x=-1 y=-1 h=2) 64x64");
  EXPECT_EQ(g_commands.tickStart + g_commands.tickComputed + g_commands.tickDrawn, 0u);
  EXPECT_EQ(LiveCountBufferCount(), 1);
  EXPECT_TRUE(host.ui.messages.empty());
}

TEST_F(PlotControlTest, ExitReleasesTheAttemptAndClosesTheWindow) {
  StartPlot(host);
  host.calls.clear();
  host.ui.pumpCalls = 0;
  host.ui.stopAtPump = 1;
  host.ui.stopCode = kPlotExit;
  StartRegion(-1, -1, 2);
  EXPECT_EQ(g_commands.current.rows, nullptr);
  EXPECT_FALSE(g_commands.plotRunning);
  EXPECT_EQ(host.calls.back(), "post close");
  EXPECT_FALSE(host.Called("main menu"));
  EXPECT_EQ(LiveCountBufferCount(), 1);  // the view before the start, in the history
}

TEST_F(PlotControlTest, IntegerModeRefusesATooFineRegion) {
  StartPlot(host);
  const PlotRecord shown = g_commands.current;
  g_commands.integerMode = true;
  StartRegion(-0.5L, -0.5L, 1e-9);
  ASSERT_EQ(host.ui.messages.size(), 1u);
  EXPECT_EQ(host.ui.messages[0].text, "この領域は整数モードでは演算できません");
  EXPECT_EQ(host.ui.messages[0].caption, "Zirn");
  EXPECT_EQ(host.ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(g_commands.current.x, shown.x);
  EXPECT_EQ(g_commands.current.flags, shown.flags);
  EXPECT_EQ(host.ui.titles.back(), "Mandel  (x=-2 y=-2 h=4) 64x64");
  EXPECT_EQ(HistoryCount(), 1);
  EXPECT_EQ(g_commands.tickComputed, 0u);
}

TEST_F(PlotControlTest, NoMemoryEndsTheProgramWithoutPlotting) {
  g_engine.buffers.allocationsBeforeFailure = 0;
  StartPlot(host);
  EXPECT_TRUE(host.Called("memory error"));
  EXPECT_EQ(host.quitCode, 3);
  EXPECT_FALSE(host.Called("progress on"));
  EXPECT_EQ(host.ui.pumpCalls, 0);
  EXPECT_FALSE(g_commands.plotRunning);
}

TEST_F(PlotControlTest, StartInsideARunningPlotIsIgnored) {
  g_commands.plotRunning = true;
  StartPlot(host);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(HistoryCount(), 0);
}

TEST_F(PlotControlTest, ReplotTakesOnlyTheStagedMethodAndKeepsTheCounts) {
  StartPlot(host);
  CountBuffer* counts = g_commands.current.rows;
  g_commands.pending = g_commands.current;
  g_commands.pending.colourMethod = 3;
  g_commands.pending.limit = 999;
  g_commands.pending.pending = 1;
  host.calls.clear();
  host.ui.titles.clear();
  const int pumps = host.ui.pumpCalls;

  ReplotImage(host);
  EXPECT_EQ(g_commands.current.colourMethod, 3);
  EXPECT_EQ(g_commands.current.limit, 100);
  EXPECT_EQ(g_commands.current.rows, counts);
  EXPECT_EQ(g_commands.pending.pending, 0);
  EXPECT_EQ(host.ui.pumpCalls, pumps);
  EXPECT_EQ(HistoryCount(), 1);
  const std::vector<std::string> titles = {"upper limit =    100 lower limit =      0",
                                           "Mandel  (x=-2 y=-2 h=4) 64x64"};
  EXPECT_EQ(host.ui.titles, titles);
  const std::vector<std::string> calls = {"wait cursor", "make bitmap", "invalidate",
                                          "restore cursor", "empty selection"};
  EXPECT_EQ(host.calls, calls);
}

TEST_F(PlotControlTest, ReplotAndFlipNeedAPictureOfTheCounts) {
  ReplotImage(host);
  FlipView(host);
  EXPECT_TRUE(host.calls.empty());
  StartPlot(host);
  g_image.imagePresent = false;  // a BMP load failed afterwards
  host.calls.clear();
  ReplotImage(host);
  EXPECT_TRUE(host.calls.empty());
}

}  // namespace
