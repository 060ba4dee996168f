// Zooming by mouse selection and switching between the Mandelbrot set and
// Julia sets, end to end: the inverted marks on the window, the region or
// point in the title, and the plots the right button and Enter start.
#include <gtest/gtest.h>

#include "shell/selection_report.h"
#include "zoom_e2e_support.h"

namespace {

using e2e::Picture;
using e2e::ZirnProcess;
using namespace e2e_zoom;

constexpr const char* kZoomReport = "Mandel  (x=-1.9 y=1.3 h=0.5)";
constexpr const char* kZoomTitle = "Mandel  (x=-1.9 y=1.3 h=0.5) 400x400";
constexpr const char* kNoZoomReport = "Mandel  (x=-2 y=-2 h=4)";

PlotRecord ZoomedRecord() {
  PlotRecord record;
  record.x = -1.9L;
  record.y = 1.3L;
  record.height = record.shownHeight = 0.5;
  return record;
}

// The Julia constant that picking (x, y) on the whole view gives.
PlotRecord JuliaOfPoint(int x, int y) {
  PlotRecord picked;
  SelectionToPoint(picked, SelectionRect{x, y, x, y}, ScrollOrigin{});
  PlotRecord julia;
  julia.flags = kFlagJulia;
  julia.juliaR = picked.x;
  julia.juliaI = picked.y;
  return julia;
}

// A click elsewhere erases the mark, leaving the picture as it was pixel
// for pixel, and selects nothing.
void ClickErasesTheMark(const ZirnProcess& zirn, const Picture& before, int x, int y) {
  Press(zirn, x, y);
  EXPECT_TRUE(ShowsMark(zirn, before, NothingMarked()));
  Release(zirn, x, y);
  EXPECT_TRUE(zirn.WaitForTitle(kNoZoomReport)) << zirn.Title();
}

TEST(ZoomE2e, BlockSelectionFollowsTheImageProportionAndTheRightButtonPlotsIt) {
  ZirnProcess zirn;
  Picture before;
  ASSERT_TRUE(LaunchWithFirstPlot(zirn, &before));
  Press(zirn, 10, 20);
  MoveTo(zirn, 250, 70);  // the mouse's x is not used: 50 rows high, 50 columns wide
  EXPECT_TRUE(ShowsMark(zirn, before, BlockMarked(10, 20, 60, 70)));
  Release(zirn, 250, 70);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomReport)) << zirn.Title();
  EXPECT_TRUE(ShowsMark(zirn, before, BlockMarked(10, 20, 60, 70)));  // the mark stays

  zirn.PostMouse(WM_RBUTTONDOWN, 200, 200);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomTitle)) << zirn.Title();
  EXPECT_TRUE(ShowsPicture(zirn, e2e::CorePicture(ZoomedRecord())));
  EXPECT_FALSE(Greyed(zirn, IDM_FLIP));
}

TEST(ZoomE2e, LineCursorDrawsAnOutlineUpwardAndEnterPlotsTheSameRegion) {
  ZirnProcess zirn;
  Picture before;
  ASSERT_TRUE(LaunchWithFirstPlot(zirn, &before));
  zirn.PostCommand(IDM_LINE_CURSOR);
  Press(zirn, 10, 70);
  MoveTo(zirn, 0, 40);
  EXPECT_TRUE(ShowsMark(zirn, before, OutlineMarked(10, 40, 40, 70)));
  MoveTo(zirn, 0, 20);
  EXPECT_TRUE(ShowsMark(zirn, before, OutlineMarked(10, 20, 60, 70)));
  Release(zirn, 0, 20);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomReport)) << zirn.Title();

  ClickErasesTheMark(zirn, before, 300, 300);

  Drag(zirn, 10, 70, 0, 20);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomReport)) << zirn.Title();
  zirn.PostCharacter('\r');
  ASSERT_TRUE(zirn.WaitForTitle(kZoomTitle)) << zirn.Title();
  EXPECT_TRUE(ShowsPicture(zirn, e2e::CorePicture(ZoomedRecord())));
}

TEST(ZoomE2e, BlockMovedBackAndForthLeavesOnlyTheCurrentRectangleInverted) {
  ZirnProcess zirn;
  Picture before;
  ASSERT_TRUE(LaunchWithFirstPlot(zirn, &before));
  Press(zirn, 100, 100);
  MoveTo(zirn, 0, 180);
  MoveTo(zirn, 0, 60);
  EXPECT_TRUE(ShowsMark(zirn, before, BlockMarked(100, 60, 140, 100)));
  MoveTo(zirn, 0, 130);
  EXPECT_TRUE(ShowsMark(zirn, before, BlockMarked(100, 100, 130, 130)));
  Release(zirn, 0, 130);
  ASSERT_TRUE(zirn.WaitForTitle("Mandel  (x=-1 y=0.7 h=0.3)")) << zirn.Title();
  ClickErasesTheMark(zirn, before, 200, 200);
}

TEST(ZoomE2e, WithClearOnPressTheOldMarkIsLeftOnScreen) {
  ZirnProcess zirn;
  Picture before;
  ASSERT_TRUE(LaunchWithFirstPlot(zirn, &before));
  Drag(zirn, 10, 20, 0, 70);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomReport)) << zirn.Title();
  zirn.PostCommand(IDM_CLEAR_ON_PRESS);
  Drag(zirn, 200, 200, 0, 250);
  ASSERT_TRUE(zirn.WaitForTitle("Mandel  (x=0 y=-0.5 h=0.5)")) << zirn.Title();
  const Marked old = BlockMarked(10, 20, 60, 70);
  const Marked current = BlockMarked(200, 200, 250, 250);
  EXPECT_TRUE(ShowsMark(zirn, before, [&](int x, int y) { return old(x, y) || current(x, y); }));
}

TEST(ZoomE2e, OnePixelHighDragIsNoZoomAndTheRightButtonDoesNothing) {
  ZirnProcess zirn;
  ASSERT_TRUE(LaunchWithFirstPlot(zirn));
  Drag(zirn, 10, 20, 10, 21);
  ASSERT_TRUE(zirn.WaitForTitle(kNoZoomReport)) << zirn.Title();
  zirn.PostMouse(WM_RBUTTONDOWN, 200, 200);
  zirn.PostCharacter('\r');
  ASSERT_TRUE(AllPostedHandled(zirn));
  EXPECT_EQ(zirn.Title(), kNoZoomReport);
  EXPECT_TRUE(Greyed(zirn, IDM_FLIP));  // nothing was plotted

  // Start itself computes the same view again.
  zirn.PostCommand(IDM_START);
  ASSERT_TRUE(zirn.WaitForTitle(kWholeViewTitle)) << zirn.Title();
  EXPECT_TRUE(e2e::WaitUntil([&] { return !Greyed(zirn, IDM_FLIP); }));
}

TEST(ZoomE2e, ShiftPressContinuesFromTheOldAnchor) {
  ZirnProcess zirn;
  Picture before;
  ASSERT_TRUE(LaunchWithFirstPlot(zirn, &before));
  Drag(zirn, 10, 20, 0, 70);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomReport)) << zirn.Title();
  EXPECT_TRUE(ShowsMark(zirn, before, BlockMarked(10, 20, 60, 70)));

  Press(zirn, 100, 120, MK_SHIFT);
  EXPECT_TRUE(ShowsMark(zirn, before, BlockMarked(10, 20, 100, 120)));
  // The width still follows the distance from the press point.
  MoveTo(zirn, 0, 100);
  EXPECT_TRUE(ShowsMark(zirn, before, BlockMarked(10, 20, 120, 100)));
  Release(zirn, 0, 100);
  ASSERT_TRUE(zirn.WaitForTitle("Mandel  (x=-1.9 y=1 h=0.8)")) << zirn.Title();
  ClickErasesTheMark(zirn, before, 300, 300);
}

TEST(JuliaE2e, JuliaSetBeforeAnyPlotComputesTheWholeViewThenPicksAPoint) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  zirn.PostCommand(IDM_JULIA_SET);
  ASSERT_TRUE(zirn.WaitForTitle("Julia ")) << zirn.Title();
  const Picture before = e2e::DefaultViewPicture();
  ASSERT_TRUE(ShowsPicture(zirn, before));

  Press(zirn, 150, 50);
  EXPECT_TRUE(ShowsMark(zirn, before, CrossHairMarked(150, 50)));
  MoveTo(zirn, 100, 200);  // (-1, 0): the imaginary part shows as 0
  EXPECT_TRUE(zirn.WaitForTitle("Julia  (x=-1 y=0)")) << zirn.Title();
  EXPECT_TRUE(ShowsMark(zirn, before, CrossHairMarked(100, 200)));
  MoveTo(zirn, 150, 150);
  EXPECT_TRUE(zirn.WaitForTitle("Julia  (x=-0.5 y=0.5)")) << zirn.Title();
  Release(zirn, 150, 150);
  EXPECT_TRUE(ShowsMark(zirn, before, CrossHairMarked(150, 150)));  // it stays

  zirn.PostMouse(WM_RBUTTONDOWN, 10, 10);
  ASSERT_TRUE(zirn.WaitForTitle("Julia  (x=-2 y=-2 h=4) 400x400")) << zirn.Title();
  EXPECT_TRUE(ShowsPicture(zirn, e2e::CorePicture(JuliaOfPoint(150, 150))));
  EXPECT_FALSE(Greyed(zirn, IDM_JULIA_START_VALUE));
}

// Zooms to the region of height 0.5, arms the Julia start there, picks
// (-1.65, 1.55) and plots its Julia set.
void PlotJuliaFromZoomedView(ZirnProcess& zirn) {
  ASSERT_TRUE(LaunchWithFirstPlot(zirn));
  Drag(zirn, 10, 20, 0, 70);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomReport)) << zirn.Title();
  zirn.PostMouse(WM_RBUTTONDOWN, 0, 0);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomTitle)) << zirn.Title();
  zirn.PostCommand(IDM_JULIA_SET);
  ASSERT_TRUE(zirn.WaitForTitle("Julia ")) << zirn.Title();
  Drag(zirn, 200, 200, 200, 200);
  ASSERT_TRUE(zirn.WaitForTitle("Julia  (x=-1.65 y=1.55)")) << zirn.Title();
  zirn.PostCharacter('\r');
  ASSERT_TRUE(zirn.WaitForTitle("Julia  (x=-2 y=-2 h=4) 400x400")) << zirn.Title();
}

TEST(JuliaE2e, MandelbrotSetReturnsToTheSquareOfTheEarlierHeightAroundTheConstant) {
  ZirnProcess zirn;
  ASSERT_NO_FATAL_FAILURE(PlotJuliaFromZoomedView(zirn));
  zirn.PostCommand(IDM_MANDELBROT_SET);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomTitle)) << zirn.Title();
  EXPECT_TRUE(Greyed(zirn, IDM_JULIA_START_VALUE));
  // Not armed: the mouse selects a region again.
  Drag(zirn, 0, 400, 0, 200);
  EXPECT_TRUE(zirn.WaitForTitle("Mandel  (x=-1.9 y=1.3 h=0.25)")) << zirn.Title();
}

TEST(JuliaE2e, JuliaStartValueReturnsAndArmsThePickingAgain) {
  ZirnProcess zirn;
  ASSERT_NO_FATAL_FAILURE(PlotJuliaFromZoomedView(zirn));
  zirn.PostCommand(IDM_JULIA_START_VALUE);
  ASSERT_TRUE(zirn.WaitForTitle(kZoomTitle)) << zirn.Title();
  Drag(zirn, 0, 400, 0, 400);  // the lower-left corner of the new picture
  EXPECT_TRUE(zirn.WaitForTitle("Julia  (x=-1.9 y=1.3)")) << zirn.Title();
  zirn.PostMouse(WM_RBUTTONDOWN, 0, 0);
  EXPECT_TRUE(zirn.WaitForTitle("Julia  (x=-2 y=-2 h=4) 400x400")) << zirn.Title();
}

}  // namespace
