#include "engine/plot_record.h"

#include <gtest/gtest.h>

TEST(PlotRecord, CopyRegionCopiesOnlyTheRegion) {
  PlotRecord source;
  source.x = -0.75L;
  source.y = 0.1L;
  source.height = 0.5;
  source.shownHeight = 0.25;
  source.juliaR = 0.3L;
  source.sizeX = 640;
  source.flags = kFlagJulia;
  PlotRecord destination;
  destination.limit = 999;
  CopyRegion(destination, source);
  EXPECT_EQ(destination.x, -0.75L);
  EXPECT_EQ(destination.y, 0.1L);
  EXPECT_EQ(destination.height, 0.5);
  EXPECT_EQ(destination.shownHeight, 0.25);
  EXPECT_EQ(destination.juliaR, 0);
  EXPECT_EQ(destination.sizeX, 400);
  EXPECT_EQ(destination.limit, 999);
  EXPECT_EQ(destination.flags, 0u);
}

TEST(PlotRecord, ResetViewKeepsSizesFlagsAndBuffer) {
  CountBuffer buffer{};
  PlotRecord record;
  record.sizeX = 640;
  record.sizeY = record.shownSizeY = 480;
  record.flags = kFlagJulia | kFlagLiveDrawing;
  record.returnHeight = 0.01;
  record.rows = &buffer;
  record.x = record.y = record.juliaI = 1;
  record.height = record.shownHeight = 0.001;
  record.limit = 5000;
  record.lower = record.upper = 10;
  record.colourMethod = 4;
  ResetView(record);
  const PlotRecord fresh;  // the whole view of a new record
  EXPECT_EQ(record.x, fresh.x);
  EXPECT_EQ(record.y, fresh.y);
  EXPECT_EQ(record.juliaI, 0);
  EXPECT_EQ(record.height, 4);
  EXPECT_EQ(record.shownHeight, 4);
  EXPECT_EQ(record.limit, 100);
  EXPECT_EQ(record.lower + record.upper, 0);
  EXPECT_EQ(record.colourMethod, 1);
  EXPECT_EQ(record.sizeX, 640);
  EXPECT_EQ(record.sizeY, 480);
  EXPECT_EQ(record.flags, kFlagJulia | kFlagLiveDrawing);
  EXPECT_EQ(record.returnHeight, 0.01);
  EXPECT_EQ(record.rows, &buffer);
}
