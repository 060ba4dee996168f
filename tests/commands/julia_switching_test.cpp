#include "commands/julia_switching.h"

#include <gtest/gtest.h>

#include <cmath>

#include "command_test_fixture.h"
#include "commands/plot_control.h"
#include "engine/deep/real.h"
#include "res/resource.h"
#include "shell/selection_report.h"

namespace {

TEST(PrepareMandelbrotReturnTest, SquareOfTheReturnHeightCentredOnTheConstant) {
  PlotRecord julia;
  julia.flags = kFlagJulia | kFlagJuliaStart | kFlagLiveDrawing;
  julia.juliaR = -0.75L;
  julia.juliaI = 0.25L;
  julia.height = 4;
  julia.returnHeight = 0.5;
  julia.limit = 300;
  PlotRecord pending;
  PrepareMandelbrotReturn(pending, julia);
  EXPECT_EQ(pending.x, -1.0L);
  EXPECT_EQ(pending.y, 0.0L);
  EXPECT_EQ(pending.height, 0.5);
  EXPECT_EQ(pending.shownHeight, 0.5);
  EXPECT_EQ(pending.juliaR, 0);
  EXPECT_EQ(pending.juliaI, 0);
  EXPECT_EQ(pending.flags, kFlagLiveDrawing);
  EXPECT_EQ(pending.pending, 1);
  EXPECT_EQ(pending.limit, 300);
}

// A constant picked on a view 1e-100 high keeps the digits of that view
// through the Julia start, and the way back centres the deep square on it.
TEST(PrepareMandelbrotReturnTest, APointPickedDeepComesBackAsTheCentreOfTheDeepSquare) {
  PlotRecord mandelbrot;
  mandelbrot.height = mandelbrot.shownHeight = 1e-100;
  SetExactCoordinate(mandelbrot.x, mandelbrot.preciseX, DeepReal(-3) / 4 + DeepReal(1e-60) / 3);
  SetExactCoordinate(mandelbrot.y, mandelbrot.preciseY, DeepReal(1) / 9);
  PlotRecord zoom = mandelbrot;
  SelectionToPoint(zoom, SelectionRect{200, 100, 200, 100}, ScrollOrigin{});
  const DeepReal step = DeepReal(1e-100) / 400;
  const DeepReal pickedX = ToDeepReal(mandelbrot.preciseX) + 200 * step;
  EXPECT_LE(abs(ToDeepReal(zoom.preciseX) - pickedX), step / 1000);

  PlotRecord julia = mandelbrot;
  julia.flags |= kFlagJuliaStart;
  julia.returnHeight = 1e-100;
  ApplyStartRequests(julia, zoom, kArithmeticReal);
  EXPECT_EQ(ToDeepReal(julia.preciseJuliaR), ToDeepReal(zoom.preciseX));
  EXPECT_EQ(julia.x, -2);

  PlotRecord pending;
  PrepareMandelbrotReturn(pending, julia);
  EXPECT_EQ(ExactCoordinate(pending.x, pending.preciseX),
            ToDeepReal(zoom.preciseX) - DeepReal(1e-100) / 2);
  EXPECT_EQ(ExactCoordinate(pending.juliaR, pending.preciseJuliaR), 0);
}

TEST(PrepareMandelbrotReturnTest, UnsetOrNanReturnHeightUsesTheHeight) {
  for (double unset : {0.0, -1.0, std::nan("")}) {
    PlotRecord julia;
    julia.flags = kFlagJulia;
    julia.juliaR = 1;
    julia.height = 4;
    julia.returnHeight = unset;
    PlotRecord pending;
    PrepareMandelbrotReturn(pending, julia);
    EXPECT_EQ(pending.returnHeight, 4) << unset;
    EXPECT_EQ(pending.x, -1.0L) << unset;
    EXPECT_EQ(pending.y, -2.0L) << unset;
  }
  PlotRecord julia;
  julia.returnHeight = 1e-300;  // a deep view's height is kept
  PlotRecord pending;
  PrepareMandelbrotReturn(pending, julia);
  EXPECT_EQ(pending.height, 1e-300);
  // ... at any depth, where only the precise form holds it
  SetExactHeight(julia.returnHeight, julia.preciseReturnHeight, DeepReal("1e-1000"));
  PrepareMandelbrotReturn(pending, julia);
  EXPECT_EQ(ExactHeight(pending.height, pending.preciseHeight), DeepReal("1e-1000"));
  EXPECT_EQ(ExactHeight(pending.shownHeight, pending.preciseShownHeight), DeepReal("1e-1000"));
}

class JuliaSwitchingTest : public CommandTest {
 protected:
  const PlotRecord& Current() const { return g_commands.current; }
};

TEST_F(JuliaSwitchingTest, JuliaSetBeforeAnyPlotComputesTheWholeViewThenArms) {
  g_commands.current.x = 0.5L;  // staged elsewhere; the whole view is computed
  g_commands.current.height = 0.25;
  ArmJuliaStart(host);
  EXPECT_TRUE(g_commands.plotDone);
  EXPECT_EQ(host.bitmapBuilds, 1);
  EXPECT_EQ(Current().x, -2);
  EXPECT_EQ(Current().flags, kFlagJuliaStart);
  EXPECT_EQ(Current().returnHeight, 4);
  EXPECT_NE(Current().rows, nullptr);
  EXPECT_EQ(HistoryCount(), 1);
  EXPECT_TRUE(host.Called("empty selection"));
  ASSERT_FALSE(host.ui.titles.empty());
  EXPECT_EQ(host.ui.titles.back(), "Julia ");

  // The newest history entry carries the armed start too.
  PlotRecord newest;
  PopHistory(newest);
  EXPECT_EQ(newest.flags, kFlagJuliaStart);
  PushHistory(newest);
}

TEST_F(JuliaSwitchingTest, JuliaSetAfterAPlotOnlyArmsAndNothingOnAJuliaSet) {
  StartRegion(-1, -1, 2);
  ArmJuliaStart(host);
  EXPECT_EQ(host.bitmapBuilds, 1);
  EXPECT_EQ(Current().returnHeight, 2);
  EXPECT_EQ(Current().flags & kFlagJuliaStart, kFlagJuliaStart);

  g_commands.current.flags = kFlagJulia;
  const size_t titles = host.ui.titles.size();
  ArmJuliaStart(host);
  EXPECT_EQ(Current().flags, kFlagJulia);
  EXPECT_EQ(host.ui.titles.size(), titles);
}

TEST_F(JuliaSwitchingTest, JuliaSetWithAStoppedFirstPlotArmsWithoutHistory) {
  host.ui.stopAtPump = 1;
  ArmJuliaStart(host);
  EXPECT_FALSE(g_commands.plotDone);
  EXPECT_EQ(HistoryCount(), 0);
  EXPECT_EQ(Current().flags, kFlagJuliaStart);
  EXPECT_EQ(Current().rows, nullptr);
}

TEST_F(JuliaSwitchingTest, MandelbrotSetPostsTheStartOnlyFromAJuliaSetOrArmedRecord) {
  ReturnToMandelbrot(host);
  EXPECT_TRUE(host.posted.empty());
  EXPECT_EQ(g_commands.pending.pending, 0);

  g_commands.current.flags = kFlagJuliaStart;
  g_commands.current.returnHeight = 4;
  ReturnToMandelbrot(host);
  ASSERT_EQ(host.posted.size(), 1u);
  EXPECT_EQ(host.posted[0], IDM_START);
  EXPECT_EQ(g_commands.pending.pending, 1);
  EXPECT_EQ(g_commands.pending.x, -2);
  EXPECT_EQ(g_commands.pending.flags, 0u);
}

TEST_F(JuliaSwitchingTest, JuliaStartValuePlotsTheMandelbrotSquareAndArmsAgain) {
  ReturnAndArmJuliaStart(host);  // not a Julia set: nothing
  EXPECT_EQ(host.bitmapBuilds, 0);

  StartRegion(-2, -2, 4);
  ArmJuliaStart(host);
  g_commands.zoom.x = -0.5L;
  g_commands.zoom.y = 0.5L;
  StartPlot(host);  // the Julia set of the picked point
  ASSERT_EQ(Current().flags, kFlagJulia);
  ASSERT_EQ(Current().returnHeight, 4);
  g_commands.current.returnHeight = 1;

  ReturnAndArmJuliaStart(host);
  EXPECT_EQ(host.bitmapBuilds, 3);
  EXPECT_EQ(Current().x, -1.0L);
  EXPECT_EQ(Current().y, 0.0L);
  EXPECT_EQ(Current().height, 1);
  EXPECT_EQ(Current().flags, kFlagJuliaStart);
  PlotRecord newest;
  PopHistory(newest);
  EXPECT_EQ(newest.flags, kFlagJuliaStart);
  PushHistory(newest);
}

}  // namespace
