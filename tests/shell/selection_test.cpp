#include "shell/selection.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace {

using Pixels = std::set<std::pair<int, int>>;

// The pixels an inverting fill of the area changes, as a toggle on `pixels`.
void Invert(Pixels& pixels, const InvertedArea& area) {
  EXPECT_GE(area.width, 0);
  EXPECT_GE(area.height, 0);
  for (int y = area.top; y < area.top + area.height; ++y) {
    for (int x = area.left; x < area.left + area.width; ++x) {
      const auto p = std::make_pair(x, y);
      if (!pixels.erase(p)) pixels.insert(p);
    }
  }
}

Pixels Block(const SelectionRect& rect) {
  Pixels pixels;
  Invert(pixels, BlockMark(rect));
  return pixels;
}

TEST(SelectionTest, MousePointIsTwoSignedSixteenBitNumbers) {
  const ClientPoint p = MousePoint(0xFFF6FFFBu);
  EXPECT_EQ(p.x, -5);
  EXPECT_EQ(p.y, -10);
  const ClientPoint q = MousePoint((300u << 16) | 7000u);
  EXPECT_EQ(q.x, 7000);
  EXPECT_EQ(q.y, 300);
}

TEST(SelectionTest, ProportionRuleFollowsTheHeightToTheRightOfThePress) {
  const ClientPoint press{100, 300};
  const ClientPoint up = ProportionalEnd(press, 180, 640, 480);
  EXPECT_EQ(up.x, 260);
  EXPECT_EQ(up.y, 180);
  EXPECT_EQ(ProportionalEnd(press, 420, 640, 480).x, 260);  // downward: same width
  // The quotient truncates before the absolute value: -7 * 3 / 2 is -10.
  EXPECT_EQ(ProportionalEnd(ClientPoint{0, 0}, 7, 3, 2).x, 10);
  EXPECT_EQ(ProportionalEnd(ClientPoint{0, 0}, -7, 3, 2).x, 10);
  // Captured moves outside the window are used as they come.
  EXPECT_EQ(ProportionalEnd(ClientPoint{10, 5}, -32768, 4000, 32).x, 10 + 32773 * 125);
  EXPECT_EQ(ProportionalEnd(ClientPoint{10, 5}, 50, 400, 0).x, 10);
}

TEST(SelectionTest, NegativeExtentsReachLeftAndUp) {
  const InvertedArea a = NormalisedArea(10, 20, -4, -6);
  EXPECT_EQ(a.left, 6);
  EXPECT_EQ(a.top, 14);
  EXPECT_EQ(a.width, 4);
  EXPECT_EQ(a.height, 6);
}

// Moving the end back and forth, in every direction across the anchor,
// leaves exactly the current block inverted.
TEST(SelectionTest, BlockStripsTurnTheOldBlockIntoTheNewOne) {
  SelectionRect rect{20, 30, 20, 30};
  Pixels shown;
  const ClientPoint ends[] = {{25, 40}, {35, 34}, {12, 26}, {28, 18}, {20, 30}, {5, 45}, {21, 31}};
  for (const ClientPoint end : ends) {
    InvertedArea strips[2];
    BlockStrips(rect, end, strips);
    Invert(shown, strips[0]);
    Invert(shown, strips[1]);
    rect = WithEnd(rect, end);
    EXPECT_EQ(shown, Block(rect)) << end.x << "," << end.y;
  }
  Invert(shown, BlockMark(rect));
  EXPECT_TRUE(shown.empty());
}

TEST(SelectionTest, OutlineRunsFromTheAnchorRoundTheCorners) {
  ClientPoint path[kOutlinePoints];
  OutlinePath(SelectionRect{10, 20, 110, 70}, path);
  const std::pair<int, int> expected[] = {{10, 20}, {110, 20}, {110, 70}, {10, 70}, {10, 20}};
  for (int i = 0; i < kOutlinePoints; ++i) {
    EXPECT_EQ(std::make_pair(path[i].x, path[i].y), expected[i]) << i;
  }
}

TEST(SelectionTest, PointsAndDrawingKinds) {
  EXPECT_TRUE(IsSinglePoint(SelectionRect{}));
  EXPECT_TRUE(IsSinglePoint(PointSelection(ClientPoint{4, 9})));
  EXPECT_FALSE(IsSinglePoint(SelectionRect{4, 9, 4, 10}));
  EXPECT_EQ(DrawingShape(kDrawBlock | kContinueFromAnchor), kDrawBlock);
}

TEST(SelectionTest, PickedPointShowsTinyPartsAsZero) {
  char text[64];
  FormatPickedPoint(-0.75L, 1e-17L, text, sizeof text);
  EXPECT_EQ(std::string(text), " (x=-0.75 y=0)");
  FormatPickedPoint(-1e-17L, 2e-16L, text, sizeof text);
  EXPECT_EQ(std::string(text), " (x=0 y=2e-16)");
}

}  // namespace
