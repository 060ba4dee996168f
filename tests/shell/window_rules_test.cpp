#include "shell/window_rules.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/plot_record.h"
#include "res/resource.h"
#include "shell/window_geometry.h"

namespace {

TEST(KeyToScroll, HomeAndEndPageSidewaysArrowsStepLines) {
  bool vertical = true;
  int code = -1;
  ASSERT_TRUE(KeyToScroll(36, true, &vertical, &code));  // Home: a page to the left
  EXPECT_FALSE(vertical);
  EXPECT_EQ(code, kScrollPageUp);
  ASSERT_TRUE(KeyToScroll(35, true, &vertical, &code));  // End: a page to the right
  EXPECT_FALSE(vertical);
  EXPECT_EQ(code, kScrollPageDown);
  ASSERT_TRUE(KeyToScroll(34, true, &vertical, &code));  // Page Down
  EXPECT_TRUE(vertical);
  EXPECT_EQ(code, kScrollPageDown);
  ASSERT_TRUE(KeyToScroll(38, true, &vertical, &code));  // Up arrow
  EXPECT_TRUE(vertical);
  EXPECT_EQ(code, kScrollLineUp);
  ASSERT_TRUE(KeyToScroll(39, true, &vertical, &code));  // Right arrow
  EXPECT_FALSE(vertical);
  EXPECT_EQ(code, kScrollLineDown);
}

TEST(KeyToScroll, EveryNavigationKeyEndsItsScrollOnKeyUpOthersDoNothing) {
  bool vertical;
  int code;
  for (unsigned key = 33; key <= 40; ++key) {
    ASSERT_TRUE(KeyToScroll(key, false, &vertical, &code)) << key;
    EXPECT_EQ(code, kScrollEnd) << key;
  }
  EXPECT_FALSE(KeyToScroll(32, true, &vertical, &code));
  EXPECT_FALSE(KeyToScroll(41, true, &vertical, &code));
  EXPECT_FALSE(KeyToScroll(13, false, &vertical, &code));
}

TEST(StartGesture, NeedsAFinishedPictureAndSomethingToPlot) {
  const GestureState ready{true, true, false, true, false};
  EXPECT_TRUE(StartGestureAllowed(ready));
  GestureState julia = ready;
  julia.zoomPending = false;
  julia.juliaStartArmed = true;
  EXPECT_TRUE(StartGestureAllowed(julia));

  GestureState s = ready;
  s.plotDone = false;
  EXPECT_FALSE(StartGestureAllowed(s));
  s = ready;
  s.imagePresent = false;
  EXPECT_FALSE(StartGestureAllowed(s));
  s = ready;
  s.plotRunning = true;
  EXPECT_FALSE(StartGestureAllowed(s));
  s = ready;
  s.zoomPending = false;
  EXPECT_FALSE(StartGestureAllowed(s));
}

TEST(RouteMouse, ArmedJuliaStartPicksPointsAndPlotsIgnoreTheMouse) {
  EXPECT_EQ(RouteMouse(false, 0), MouseRoute::RegionSelection);
  EXPECT_EQ(RouteMouse(false, kFlagJulia), MouseRoute::RegionSelection);
  EXPECT_EQ(RouteMouse(false, kFlagJuliaStart), MouseRoute::PointPicking);
  EXPECT_EQ(RouteMouse(true, kFlagJuliaStart), MouseRoute::Ignore);
  EXPECT_EQ(RouteMouse(true, 0), MouseRoute::Ignore);
}

TEST(ClassifyCharacter, EnterAlwaysStartsOtherKeysNeedTheKeyboardTool) {
  EXPECT_EQ(ClassifyCharacter(13, false, false), CharacterAction::StartGesture);
  EXPECT_EQ(ClassifyCharacter(0x10D, false, false), CharacterAction::StartGesture);  // low 8 bits
  EXPECT_EQ(ClassifyCharacter('r', true, false), CharacterAction::Ignore);
  EXPECT_EQ(ClassifyCharacter('r', false, true), CharacterAction::Ignore);
  EXPECT_EQ(ClassifyCharacter('q', true, true), CharacterAction::ClosePaletteTool);
  EXPECT_EQ(ClassifyCharacter('Q', true, true), CharacterAction::ClosePaletteTool);
  EXPECT_EQ(ClassifyCharacter('r', true, true), CharacterAction::PaletteKey);
}

std::map<int, bool> Ruled(const MenuInputs& inputs) {
  MenuItemState items[kRuledMenuItems];
  RuledMenuItems(inputs, items);
  std::map<int, bool> states;
  for (const MenuItemState& item : items) states[item.id] = item.enabled;
  return states;
}

TEST(RuledMenuItems, BeforeAnyPictureEverythingRuledIsGreyed) {
  const auto states = Ruled({false, false, false, 0});
  ASSERT_EQ(states.size(), static_cast<size_t>(kRuledMenuItems));
  for (const auto& [id, enabled] : states) EXPECT_FALSE(enabled) << id;
}

TEST(RuledMenuItems, EachItemFollowsItsOwnCondition) {
  auto states = Ruled({false, true, false, 1});
  EXPECT_TRUE(states[IDM_SAVE_BMP]);
  EXPECT_TRUE(states[IDM_COPY_BITMAP]);
  EXPECT_TRUE(states[IDM_SCROLLBAR_TOOL]);
  EXPECT_TRUE(states[IDM_KEYBOARD_TOOL]);
  EXPECT_FALSE(states[IDM_SAVE_PMF]);
  EXPECT_FALSE(states[IDM_FLIP]);

  states = Ruled({true, true, true, 2});
  EXPECT_TRUE(states[IDM_JULIA_START_VALUE]);
  EXPECT_TRUE(states[IDM_SAVE_PMF]);
  EXPECT_TRUE(states[IDM_REPLOT]);
  EXPECT_TRUE(states[IDM_FLIP]);
}

}  // namespace
