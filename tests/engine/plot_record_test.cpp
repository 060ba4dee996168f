#include "engine/plot_record.h"

#include <gtest/gtest.h>

#include "engine_test_fixture.h"

using PlotRecordTest = EngineTest;

TEST_F(PlotRecordTest, CopyRegionCopiesOnlyTheRegion) {
  PlotRecord source;
  source.x = -0.75L;
  source.y = 0.1L;
  source.height = 0.5;
  source.shownHeight = 0.25;
  source.juliaR = 0.3L;
  source.sizeX = 640;
  source.limit = 999;
  source.flags = kFlagJulia;
  PlotRecord destination;
  destination.juliaR = -1;
  destination.sizeX = 100;
  destination.colourMethod = 3;
  CopyRegion(destination, source);
  EXPECT_EQ(destination.x, -0.75L);
  EXPECT_EQ(destination.y, 0.1L);
  EXPECT_EQ(destination.height, 0.5);
  EXPECT_EQ(destination.shownHeight, 0.25);
  EXPECT_EQ(destination.juliaR, -1);
  EXPECT_EQ(destination.sizeX, 100);
  EXPECT_EQ(destination.limit, 100);
  EXPECT_EQ(destination.colourMethod, 3);
  EXPECT_EQ(destination.flags, 0u);
}

TEST_F(PlotRecordTest, ResetViewKeepsSizesFlagsAndBuffer) {
  PlotRecord record;
  record.sizeX = 640;
  record.sizeY = 480;
  record.shownSizeY = 480;
  record.flags = kFlagJulia | kFlagLiveDrawing;
  record.returnHeight = 0.01;
  record.colourIndex = 7;
  record.pending = 1;
  record.x = 1;
  record.juliaI = 0.5L;
  record.height = record.shownHeight = 0.001;
  record.limit = 5000;
  record.lower = 10;
  record.upper = 20;
  record.colourMethod = 4;
  ResetView(record);
  EXPECT_EQ(record.x, -2);
  EXPECT_EQ(record.y, -2);
  EXPECT_EQ(record.juliaR, 0);
  EXPECT_EQ(record.juliaI, 0);
  EXPECT_EQ(record.height, 4);
  EXPECT_EQ(record.shownHeight, 4);
  EXPECT_EQ(record.limit, 100);
  EXPECT_EQ(record.lower, 0);
  EXPECT_EQ(record.upper, 0);
  EXPECT_EQ(record.colourMethod, 1);
  EXPECT_EQ(record.sizeX, 640);
  EXPECT_EQ(record.sizeY, 480);
  EXPECT_EQ(record.shownSizeY, 480);
  EXPECT_EQ(record.flags, kFlagJulia | kFlagLiveDrawing);
  EXPECT_EQ(record.returnHeight, 0.01);
  EXPECT_EQ(record.colourIndex, 7);
  EXPECT_EQ(record.pending, 1);
}
