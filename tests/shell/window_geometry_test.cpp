#include "shell/window_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollMaximum, IsThePartOfThePictureBeyondTheClientArea) {
  EXPECT_EQ(ScrollMaximum(2000, 700), 1300);
  EXPECT_EQ(ScrollMaximum(400, 400), 0);
  EXPECT_EQ(ScrollMaximum(400, 900), 0);
}

TEST(ScrolledPosition, LineAndPageStepsFollowTheExtent) {
  const ScrollBarState bar{0, 1000, 500};
  EXPECT_EQ(ScrolledPosition(kScrollLineDown, 0, 300, bar), 500 + 300 / 16 + 1);
  EXPECT_EQ(ScrolledPosition(kScrollLineUp, 0, 300, bar), 500 - 19);
  EXPECT_EQ(ScrolledPosition(kScrollPageDown, 0, 301, bar), 500 + 151);
  EXPECT_EQ(ScrolledPosition(kScrollPageUp, 0, 301, bar), 500 - 151);
  EXPECT_EQ(ScrolledPosition(kScrollLineDown, 0, 15, bar), 501);  // never a zero step
}

TEST(ScrolledPosition, ThumbMovesToItsPositionAndOtherCodesStay) {
  const ScrollBarState bar{0, 60000, 10};
  EXPECT_EQ(ScrolledPosition(kScrollThumbTrack, 40000, 300, bar), 40000);  // above 32767
  EXPECT_EQ(ScrolledPosition(kScrollThumbPosition, 7, 300, bar), 7);
  EXPECT_EQ(ScrolledPosition(kScrollEnd, 0, 300, bar), 10);
  EXPECT_EQ(ScrolledPosition(6, 0, 300, bar), 10);  // SB_TOP is not acted on
}

TEST(ScrolledPosition, StopsAtTheRangeEnds) {
  EXPECT_EQ(ScrolledPosition(kScrollPageDown, 0, 400, {0, 120, 100}), 120);
  EXPECT_EQ(ScrolledPosition(kScrollPageUp, 0, 400, {0, 120, 100}), 0);
  EXPECT_EQ(ScrolledPosition(kScrollLineDown, 0, 400, {0, 0, 0}), 0);
}

constexpr FrameMetrics kMetrics{4, 4, 19, 1, 18, 16, 17};
constexpr PixelRect kDesktop{0, 0, 1280, 1024};

TEST(WindowRectForImage, AddsTheFrameAndKeepsThePosition) {
  const PixelRect rect = WindowRectForImage(400, 400, 100, 50, kMetrics, kDesktop);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right - rect.left, 400 + 8);
  EXPECT_EQ(rect.bottom - rect.top, 400 + 8 + 19 + 1 + 18);
}

TEST(WindowRectForImage, WidePictureIsCutAtTheRightWithRoomForTheHorizontalBar) {
  const PixelRect rect = WindowRectForImage(2000, 300, 10, 20, kMetrics, kDesktop);
  EXPECT_EQ(rect.right, 1280);
  EXPECT_EQ(rect.bottom, 20 + 300 + 46 + 16);
}

TEST(WindowRectForImage, TallPictureIsCutAtTheBottomWithRoomForTheVerticalBar) {
  const PixelRect rect = WindowRectForImage(300, 2000, 10, 20, kMetrics, kDesktop);
  EXPECT_EQ(rect.bottom, 1024);
  EXPECT_EQ(rect.right, 10 + 308 + 17);
}

TEST(WindowRectForImage, LargePictureIsCutBothWaysWithoutExtraWidth) {
  const PixelRect rect = WindowRectForImage(2000, 1500, 10, 20, kMetrics, kDesktop);
  EXPECT_EQ(rect.right, 1280);
  EXPECT_EQ(rect.bottom, 1024);
}

TEST(WindowRectForImage, WindowNearTheRightEdgeIsNotMovedButCut) {
  const PixelRect rect = WindowRectForImage(400, 400, 1000, 0, kMetrics, kDesktop);
  EXPECT_EQ(rect.left, 1000);
  EXPECT_EQ(rect.right, 1280);
}

TEST(WindowRectForImage, AddedBarRoomIsCutAgainAtTheRight) {
  // The vertical bar's room would push a nearly screen-wide window past the edge.
  const PixelRect rect = WindowRectForImage(1264, 2000, 0, 0, kMetrics, kDesktop);
  EXPECT_EQ(rect.right, 1280);
}

TEST(PicturePosition, CentresTruncatingTowardZeroAndPinsLargePictures) {
  EXPECT_EQ(PicturePosition(-1, 400, 365), 17);
  EXPECT_EQ(PicturePosition(-1, 401, 94), 153);
  EXPECT_EQ(PicturePosition(-1, 300, 365), 0);
  EXPECT_EQ(PicturePosition(-1, 364, 365), 0);  // (-1) / 2 is 0
  EXPECT_EQ(PicturePosition(12, 400, 365), 12);
  EXPECT_EQ(PicturePosition(-5, 400, 365), 0);
}

}  // namespace
