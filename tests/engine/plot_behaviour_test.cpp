// What the four plotters share: line order, the message step and its stop
// codes, progress, the effective limit and live drawing.

#include <gtest/gtest.h>

#include <algorithm>

#include "colour/palette.h"
#include "engine/plain/integer_plotters.h"
#include "engine/plain/real_plotters.h"
#include "engine/plot_progress.h"
#include "engine_test_fixture.h"
#include "fake_ui_host.h"

namespace {

struct Plotter {
  const char* name;
  int (*plot)(UiHost&, PlotRecord&);
  uint32_t flags;
};

const Plotter kPlotters[] = {
    {"Mandelbrot", PlotMandelbrot, 0},
    {"Julia", PlotJulia, kFlagJulia},
    {"MandelbrotInteger", PlotMandelbrotInteger, kFlagInteger | kFlagIntegerShadow},
    {"JuliaInteger", PlotJuliaInteger, kFlagJulia | kFlagInteger | kFlagIntegerShadow},
};

class PlotBehaviourTest : public EngineTest, public ::testing::WithParamInterface<Plotter> {
 protected:
  // From -2 - 2i, 4 wide, so that the integer plotters accept every shape.
  PlotRecord Record(int32_t sizeX, int32_t sizeY) {
    PlotRecord record = RecordWithBuffer(sizeX, sizeY);
    record.flags = GetParam().flags;
    record.height = 4.0 * sizeY / sizeX;
    return record;
  }
  int Plot(UiHost& host, PlotRecord& record) { return GetParam().plot(host, record); }
};

}  // namespace

TEST_P(PlotBehaviourTest, DefaultViewCentreReachesTheLimit) {
  PlotRecord record = Record(400, 400);
  FakeUiHost host;
  ASSERT_EQ(Plot(host, record), kPlotComplete);
  EXPECT_EQ(CountAt(record, 199, 200), 100);
  EXPECT_EQ(g_engine.progress.rowsDone, 400);
  EXPECT_EQ(g_engine.progress.rowsTotal, 400);
  EXPECT_EQ(host.pumpCalls, 400 * 13);
  DiscardCountBuffer(record);
}

// Deep plots count further; these plotters and every file they write keep to
// 30000 at any limit.
TEST_P(PlotBehaviourTest, LimitIsClampedToOneThroughThirtyThousand) {
  for (const int32_t limit : {0, 30001, 1000000, -5}) {
    PlotRecord record = Record(32, 32);
    record.limit = limit;
    record.shownHeight = 1;
    FakeUiHost host;
    ASSERT_EQ(Plot(host, record), kPlotComplete);
    EXPECT_EQ(record.shownHeight, record.height);
    const uint32_t effective = limit == 0 ? 1 : 30000;
    EXPECT_EQ(g_engine.progress.effectiveLimit, effective);
    Count lowest = INT32_MAX, highest = INT32_MIN;
    for (int32_t row = 0; row < 32; ++row) {
      for (int32_t column = 0; column < 32; ++column) {
        lowest = std::min(lowest, CountAt(record, row, column));
        highest = std::max(highest, CountAt(record, row, column));
      }
    }
    EXPECT_EQ(lowest, 0) << limit;
    EXPECT_EQ(highest, static_cast<Count>(effective)) << limit;
    EXPECT_EQ(record.limit, limit);
    DiscardCountBuffer(record);
  }
}

// Pumps fall at columns 0 and 32 of each 64-pixel line: the fifth is column 0
// of the third line from the bottom, the sixth its column 32.
TEST_P(PlotBehaviourTest, StopEndsThePlotAtTheRequestingPump) {
  for (const int stopAt : {5, 6}) {
    for (const int code : {kPlotStop, kPlotExit}) {
      PlotRecord record = Record(64, 8);
      FakeUiHost host;
      host.stopAtPump = stopAt;
      host.stopCode = code;
      EXPECT_EQ(Plot(host, record), code);
      EXPECT_EQ(host.pumpCalls, stopAt);
      EXPECT_EQ(g_engine.progress.rowsDone, 2);
      EXPECT_EQ(g_engine.progress.rowsTotal, 8);
      const int32_t lastComputed = stopAt == 5 ? 0 : 32;
      for (int32_t row = 0; row < 8; ++row) {
        for (int32_t column = 0; column < 64; ++column) {
          const bool computed = row >= 6 || (row == 5 && column <= lastComputed);
          EXPECT_EQ(CountAt(record, row, column) >= 0, computed) << row << ", " << column;
        }
      }
      DiscardCountBuffer(record);
    }
  }
}

TEST_P(PlotBehaviourTest, LiveDrawingPaintsEveryPixelWithItsCountColour) {
  SetDefaultPalette();
  BuildColourTables();
  PlotRecord record = Record(64, 4);
  record.flags |= kFlagLiveDrawing;
  record.colourMethod = 4;  // "mod15+1": count 0 is index 1, the limit index 0
  FakeUiHost host;
  host.recordPixels = true;
  ASSERT_EQ(Plot(host, record), kPlotComplete);
  ASSERT_EQ(host.pixels.size(), 64u * 4u);
  size_t next = 0;
  for (int32_t row = 3; row >= 0; --row) {
    for (int32_t column = 0; column < 64; ++column, ++next) {
      const FakeUiHost::Pixel& pixel = host.pixels[next];
      ASSERT_EQ(pixel.column, column);
      ASSERT_EQ(pixel.row, row);
      PlotRecord colouring = record;
      EXPECT_EQ(pixel.colour, CountColour(colouring, CountAt(record, row, column), 100));
    }
  }
  // Bottom-left corner -2 - 2i escapes at once: index 1, blue level 7.
  EXPECT_EQ(host.pixels.front().colour, 0x770000u);
  DiscardCountBuffer(record);
}

TEST_P(PlotBehaviourTest, RecordWithoutItsOwnBufferIsReportedNotPlotted) {
  PlotRecord record = Record(32, 32);
  FakeUiHost host;
  record.sizeX = 64;
  EXPECT_EQ(Plot(host, record), kPlotRefused);
  ExpectReports(1);
  record.sizeX = 32;
  PlotRecord stale = record;
  DiscardCountBuffer(record);
  EXPECT_EQ(Plot(host, stale), kPlotRefused);
  ExpectReports(1);
  EXPECT_EQ(Plot(host, record), kPlotRefused);  // no buffer at all
  ExpectReports(1);
  EXPECT_EQ(host.pumpCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(AllPlotters, PlotBehaviourTest, ::testing::ValuesIn(kPlotters),
                         [](const ::testing::TestParamInfo<Plotter>& info) {
                           return std::string(info.param.name);
                         });

TEST(PlotProgress, TitleIsRowsDoneOverRowsTotal) {
  char title[kProgressTitleSize];
  EXPECT_TRUE(FormatProgressTitle(title, sizeof title, 1, 400));
  EXPECT_STREQ(title, "1 / 400");
  EXPECT_TRUE(FormatProgressTitle(title, sizeof title, INT32_MIN, INT32_MIN));
  EXPECT_STREQ(title, "-2147483648 / -2147483648");
  EXPECT_FALSE(FormatProgressTitle(title, 5, 123, 400));
  EXPECT_STREQ(title, "123 ");
  EXPECT_FALSE(FormatProgressTitle(title, 0, 1, 2));
}
