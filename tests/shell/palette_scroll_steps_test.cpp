// How the scroll-bar palette tool's bars move a level or the entry.
#include "shell/palette_scroll_steps.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollStepsTest, ComponentBarsMoveTheLevelInvertedAndClamped) {
  int32_t level = 13;
  EXPECT_TRUE(StepComponentLevel(kScrollPageUp, 0, &level));
  EXPECT_EQ(level, 15);
  level = 2;
  EXPECT_TRUE(StepComponentLevel(kScrollPageDown, 0, &level));
  EXPECT_EQ(level, 0);
  EXPECT_TRUE(StepComponentLevel(kScrollLineDown, 0, &level));
  EXPECT_EQ(level, 0);
  EXPECT_TRUE(StepComponentLevel(kScrollLineUp, 0, &level));
  EXPECT_EQ(level, 1);
  EXPECT_TRUE(StepComponentLevel(kScrollThumbTrack, 3, &level));
  EXPECT_EQ(level, 12);
  EXPECT_FALSE(StepComponentLevel(8, 0, &level));  // end of scroll
  EXPECT_EQ(level, 12);
}

TEST(ScrollStepsTest, SelectorMovesByOneOrToTheThumbAndIgnoresPages) {
  int entry = 0;
  EXPECT_TRUE(StepSelectorEntry(kScrollLineUp, 0, &entry));
  EXPECT_EQ(entry, 0);
  EXPECT_TRUE(StepSelectorEntry(kScrollThumbPosition, 15, &entry));
  EXPECT_TRUE(StepSelectorEntry(kScrollLineDown, 0, &entry));
  EXPECT_EQ(entry, 15);
  EXPECT_FALSE(StepSelectorEntry(kScrollPageDown, 0, &entry));
  EXPECT_FALSE(StepSelectorEntry(kScrollPageUp, 0, &entry));
  EXPECT_EQ(entry, 15);
}

}  // namespace
