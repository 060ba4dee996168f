#include <gtest/gtest.h>

#include "engine/engine_state.h"
#include "engine/plot_record.h"
#include "engine_test_fixture.h"

using CountBufferTest = EngineTest;

TEST_F(CountBufferTest, AllocatesRowsOfTheRecordShape) {
  PlotRecord record = RecordWithBuffer(6, 4, 0);
  ASSERT_NE(record.rows, nullptr);
  EXPECT_EQ(record.rows->sizeX, 6);
  EXPECT_EQ(record.rows->sizeY, 4);
  EXPECT_EQ(LiveCountBufferCount(), 1);
  CountAt(record, 0, 0) = 30000;
  CountAt(record, 3, 5) = -1;  // last count of the bottom row is addressable
  EXPECT_EQ(CountAt(record, 3, 5), -1);
  CountBuffer* buffer = record.rows;
  FreeCountBuffer(record);
  EXPECT_EQ(record.rows, buffer) << "FreeCountBuffer leaves clearing to the caller";
  EXPECT_EQ(LiveCountBufferCount(), 0);
  record.rows = nullptr;
  FreeCountBuffer(record);  // no buffer: nothing to do, nothing to report
}

// Failing at the record node, the row array, and each row in turn must give
// none and leave nothing allocated (LeakSanitizer checks the rows).
TEST_F(CountBufferTest, FailureAtAnyAllocationReleasesWhatWasObtained) {
  PlotRecord record;
  record.sizeX = 8;
  record.sizeY = 3;
  for (int succeeding = 0; succeeding < 5; ++succeeding) {
    g_engine.buffers.allocationsBeforeFailure = succeeding;
    EXPECT_EQ(AllocateCountBuffer(record), nullptr) << succeeding;
    EXPECT_EQ(LiveCountBufferCount(), 0);
  }
  g_engine.buffers.allocationsBeforeFailure = 5;
  record.rows = AllocateCountBuffer(record);
  EXPECT_NE(record.rows, nullptr);
  g_engine.buffers.allocationsBeforeFailure = -1;
  DiscardCountBuffer(record);
  EXPECT_EQ(record.rows, nullptr);
}

TEST_F(CountBufferTest, MisuseIsReportedAndHarmless) {
  PlotRecord record = RecordWithBuffer(4, 4);
  PlotRecord copy = record;  // shares the buffer; only one copy may release it
  FreeCountBuffer(record);
  ExpectReports(0);
  FreeCountBuffer(copy);
  ExpectReports(1);
  PlotRecord grown = RecordWithBuffer(4, 4);
  grown.sizeY = 400;  // releasing 400 rows would read past the row array
  FreeCountBuffer(grown);
  ExpectReports(1);
  PlotRecord shrunk = RecordWithBuffer(4, 40);
  shrunk.sizeY = 2;  // releasing 2 rows would leak 38
  FreeCountBuffer(shrunk);
  ExpectReports(1);
  EXPECT_EQ(LiveCountBufferCount(), 0);
}

TEST(CountBufferMisuse, DefaultHandlerAborts) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        PlotRecord record;
        record.rows = AllocateCountBuffer(record);
        PlotRecord copy = record;
        FreeCountBuffer(record);
        FreeCountBuffer(copy);
      },
      "count buffer misuse");
}
