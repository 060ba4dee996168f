#include <gtest/gtest.h>

#include "engine/engine_state.h"
#include "engine/plot_record.h"
#include "engine_test_fixture.h"

using PlotHistoryTest = EngineTest;

namespace {

PlotRecord Numbered(PlotRecord record, int32_t limit) {
  record.limit = limit;
  return record;
}

}  // namespace

TEST_F(PlotHistoryTest, ThirdPushReleasesTheFirstBuffer) {
  const PlotRecord first = Numbered(RecordWithBuffer(4, 4), 1);
  const PlotRecord second = Numbered(RecordWithBuffer(4, 4), 2);
  const PlotRecord third = Numbered(RecordWithBuffer(4, 4), 3);
  PushHistory(first);
  PushHistory(second);
  EXPECT_EQ(HistoryCount(), 2);
  EXPECT_EQ(LiveCountBufferCount(), 3);
  PushHistory(third);
  EXPECT_EQ(HistoryCount(), 2);
  EXPECT_EQ(LiveCountBufferCount(), 2);
  PlotRecord stale = first;
  FreeCountBuffer(stale);  // already released by the push
  ExpectReports(1);

  PlotRecord popped;
  PopHistory(popped);
  EXPECT_EQ(popped.limit, 3);
  EXPECT_EQ(popped.rows, third.rows);
  PopHistory(popped);
  EXPECT_EQ(popped.limit, 2);
  EXPECT_EQ(HistoryCount(), 0);
  // Popping the empty history yields the first entry again.
  PopHistory(popped);
  EXPECT_EQ(popped.limit, 2);
  EXPECT_EQ(HistoryCount(), 0);
  PushHistory(popped);
  PushHistory(third);
}

// The start of a plot trims the history with a push and a pop of the current
// record; repeated starts must keep at most two buffers and free each once.
TEST_F(PlotHistoryTest, PlotCyclesKeepAtMostTwoBuffers) {
  PlotRecord current;
  for (int plot = 0; plot < 5; ++plot) {
    PushHistory(current);
    PopHistory(current);
    EXPECT_LE(HistoryCount(), 1);
    current.rows = AllocateCountBuffer(current);
    ASSERT_NE(current.rows, nullptr);
    EXPECT_LE(LiveCountBufferCount(), 2);
    PushHistory(current);  // completed
  }
  EXPECT_EQ(LiveCountBufferCount(), 2);
  ReleaseHistory();
  EXPECT_EQ(HistoryCount(), 0);
  EXPECT_EQ(LiveCountBufferCount(), 0);
  PopHistory(current);  // the empty history hands out no released buffer
  EXPECT_EQ(current.rows, nullptr);
}

TEST_F(PlotHistoryTest, SharedBufferIsReleasedOnlyWhenNoEntryKeepsIt) {
  const PlotRecord shown = RecordWithBuffer(4, 4);
  PushHistory(shown);
  PushHistory(shown);
  PushHistory(RecordWithBuffer(4, 4));  // drops one copy of `shown`, not its buffer
  EXPECT_EQ(LiveCountBufferCount(), 2);
  PushHistory(shown);  // drops the other copy while the new entry keeps it
  EXPECT_EQ(LiveCountBufferCount(), 2);
  ReleaseHistory();
  EXPECT_EQ(LiveCountBufferCount(), 0);
}
