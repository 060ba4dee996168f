#include "shell/selection_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../commands/command_test_fixture.h"
#include "engine/deep/real.h"

namespace {

// The default record at 400 x 400: x = y = -2, height 4, step 0.01.
PlotRecord WholeView() {
  PlotRecord record;
  return record;
}

TEST(SelectionToRegionTest, BlockOnTheUnscrolledDefaultPicture) {
  for (const SelectionRect rect :
       {SelectionRect{10, 20, 110, 70}, SelectionRect{110, 70, 10, 20}}) {
    PlotRecord record = WholeView();
    SelectionToRegion(record, rect, ScrollOrigin{});
    EXPECT_EQ(record.x, -1.9L);
    EXPECT_EQ(record.y, 1.3L);
    EXPECT_EQ(record.height, 0.5);
    EXPECT_EQ(record.shownHeight, 0.5);
    EXPECT_EQ(record.pending, 1);
  }
}

TEST(SelectionToRegionTest, ScrollPositionsShiftTheRectangle) {
  PlotRecord record = WholeView();
  record.sizeY = 300;  // the next plot's size; the step uses the shown size
  SelectionToRegion(record, SelectionRect{0, 0, 40, 20}, ScrollOrigin{100, 200});
  EXPECT_EQ(record.x, -1.0L);
  EXPECT_EQ(record.y, -0.2L);
  EXPECT_EQ(record.height, 0.2);
  EXPECT_EQ(record.shownSizeY, 300);
}

TEST(SelectionToRegionTest, UnderTwoPixelsHighSelectsNothing) {
  for (const SelectionRect rect : {SelectionRect{}, SelectionRect{10, 20, 12, 21}}) {
    PlotRecord record = WholeView();
    record.pending = 1;
    SelectionToRegion(record, rect, ScrollOrigin{});
    EXPECT_EQ(record.pending, 0);
    EXPECT_EQ(record.x, -2);
    EXPECT_EQ(record.height, 4);
  }
  PlotRecord record = WholeView();
  SelectionToRegion(record, SelectionRect{10, 20, 12, 22}, ScrollOrigin{});
  EXPECT_EQ(record.pending, 1);
}

TEST(SelectionToRegionTest, CornerKeepsEighteenDigitsAndHeightFifteen) {
  PlotRecord record = WholeView();
  record.shownHeight = 1.0 / 3;
  record.shownSizeY = 7;
  SelectionToRegion(record, SelectionRect{1, 0, 5, 3}, ScrollOrigin{});
  char text[64];
  std::snprintf(text, sizeof text, "%.18Lg", record.x);
  EXPECT_EQ(record.x, std::strtold(text, nullptr));
  const long double exact = -2 + static_cast<long double>(1.0 / 3) / 7;
  EXPECT_NEAR(static_cast<double>(record.x - exact), 0.0, 1e-17);
  EXPECT_EQ(record.height, 0.142857142857143);
}

TEST(SelectionToPointTest, CrossHairGivesThePointAndNoRegion) {
  PlotRecord record = WholeView();
  record.pending = 1;
  SelectionToPoint(record, SelectionRect{150, 50, 150, 50}, ScrollOrigin{});
  EXPECT_EQ(record.x, -0.5L);
  EXPECT_EQ(record.y, 1.5L);
  EXPECT_EQ(record.height, 0);
  EXPECT_EQ(record.shownHeight, 0);
  EXPECT_EQ(record.pending, 0);
}

TEST(SelectionReportTextTest, RegionOrPointByTheArmedStart) {
  PlotRecord zoom;
  zoom.x = -1.9L;
  zoom.y = 1.3L;
  zoom.height = 0.5;
  char text[64];
  FormatSelectionReport(zoom, text, sizeof text);
  EXPECT_EQ(std::string(text), " (x=-1.9 y=1.3 h=0.5)");
  zoom.flags = kFlagJuliaStart;
  FormatSelectionReport(zoom, text, sizeof text);
  EXPECT_EQ(std::string(text), " (x=-1.9 y=1.3)");
}

using SelectionReportTest = CommandTest;

TEST_F(SelectionReportTest, CopiesTheCurrentRecordIntoTheZoomAndShowsTheResult) {
  g_commands.current.limit = 250;
  g_commands.current.colourMethod = 3;
  ReportSelection(host.ui, SelectionRect{8, 16, 40, 48}, ScrollOrigin{});
  const PlotRecord& zoom = g_commands.zoom;
  EXPECT_EQ(zoom.pending, 1);
  EXPECT_EQ(zoom.limit, 250);
  EXPECT_EQ(zoom.colourMethod, 3);
  EXPECT_EQ(zoom.rows, nullptr);
  ASSERT_FALSE(host.ui.titles.empty());
  // 64 x 64 test pictures: step 4 / 64.
  EXPECT_EQ(host.ui.titles.back(), "Mandel  (x=-1.5 y=-1 h=2)");

  // A click: the unchanged region, nothing waiting.
  ReportSelection(host.ui, SelectionRect{30, 30, 30, 30}, ScrollOrigin{});
  EXPECT_EQ(zoom.pending, 0);
  EXPECT_EQ(host.ui.titles.back(), "Mandel  (x=-2 y=-2 h=4)");

  g_commands.current.flags |= kFlagJuliaStart;
  ReportSelection(host.ui, SelectionRect{32, 16, 32, 16}, ScrollOrigin{});
  EXPECT_EQ(host.ui.titles.back(), "Julia  (x=0 y=1)");
  EXPECT_EQ(zoom.height, 0);
}

}  // namespace

// A block selection on a view 1e-200 high moves the corner by exactly the
// pixels selected, rounded to the digits the new view needs; the 80-bit
// fields round the precise values.
TEST(SelectionToRegionTest, DeepViewsGetTheCornerOfExactArithmetic) {
  PlotRecord record;
  record.sizeX = record.sizeY = record.shownSizeY = 400;
  record.height = record.shownHeight = 4e-200;
  const DeepReal x("-0.743643887037158704752191506114774"), y = DeepReal(1) / 7;
  SetExactCoordinate(record.x, record.preciseX, x);
  SetExactCoordinate(record.y, record.preciseY, y);
  SelectionToRegion(record, SelectionRect{150, 250, 190, 290}, ScrollOrigin{5, 0});

  const DeepReal step = DeepReal(4e-200) / 400;
  const DeepReal exactX = x + 155 * step, exactY = y + (400 - 290) * step;
  const DeepReal newStep = DeepReal(record.height) / 400;
  EXPECT_EQ(record.height, 4e-201);
  EXPECT_LE(abs(ToDeepReal(record.preciseX) - exactX), newStep / 1000);
  EXPECT_LE(abs(ToDeepReal(record.preciseY) - exactY), newStep / 1000);
  EXPECT_EQ(record.x, RoundToLongDouble(record.preciseX));
  EXPECT_NE(ToDeepReal(record.preciseY), DeepReal(record.y));  // more than 80 bits kept
}

// Ten 4-line drags around the centre of a view 1e-300 high centred on c = i
// go to 1e-320, below the doubles, and stay centred on i to a thousandth of
// a pixel: the corner near 0 needs few digits, but is moved by the exact
// height, not by the double's rounding of it.
TEST(SelectionToRegionTest, RepeatedZoomsPastTheDoublesStayOnThePointZoomedInto) {
  PlotRecord record;
  record.sizeX = record.sizeY = record.shownSizeY = 400;
  SetExactHeight(record.height, record.preciseHeight, DeepReal("1e-300"));
  SetExactHeight(record.shownHeight, record.preciseShownHeight, DeepReal("1e-300"));
  SetExactCoordinate(record.x, record.preciseX, DeepReal("-5e-301"));
  SetExactCoordinate(record.y, record.preciseY, 1 - DeepReal("5e-301"));
  for (int k = 0; k < 10; ++k) {
    ASSERT_TRUE(SelectionToRegion(record, SelectionRect{198, 198, 202, 202}, ScrollOrigin{}));
  }
  const DeepReal height = ExactHeight(record.height, record.preciseHeight);
  EXPECT_EQ(height, DeepReal("1e-320"));
  EXPECT_EQ(record.height, RoundToDouble(record.preciseHeight));
  const DeepReal step = height / 400;
  EXPECT_LE(abs(ExactCoordinate(record.x, record.preciseX) + height / 2), step / 1000);
  EXPECT_LE(abs(ExactCoordinate(record.y, record.preciseY) + height / 2 - 1), step / 1000);
}
