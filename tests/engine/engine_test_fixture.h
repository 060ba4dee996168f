#pragma once
// Base of the engine tests: count-buffer misuse is recorded instead of
// aborting, and every test must leave the history empty and release every
// buffer it allocated.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/plot_record.h"

class EngineTest : public ::testing::Test {
 protected:
  static std::vector<std::string>& Reports() {
    static std::vector<std::string> reports;
    return reports;
  }
  static void RecordReport(const char* what) { Reports().emplace_back(what); }

  void SetUp() override {
    Reports().clear();
    previous_ = SetCountBufferMisuseHandler(RecordReport);
    g_engine.buffers.allocationsBeforeFailure = -1;
    g_engine.largestDeepBlock = SIZE_MAX;
    liveAtStart_ = LiveCountBufferCount();  // a failed test before may have left some
  }

  void TearDown() override {
    ReleaseHistory();
    EXPECT_EQ(LiveCountBufferCount(), liveAtStart_) << "count buffers left alive";
    for (const std::string& report : Reports()) ADD_FAILURE() << "unexpected misuse: " << report;
    SetCountBufferMisuseHandler(previous_);
  }

  // Checks that exactly `count` misuses were reported, then forgets them.
  void ExpectReports(size_t count) {
    EXPECT_EQ(Reports().size(), count);
    Reports().clear();
  }

  // A record of the given size with a fresh buffer, every count set to `fill`.
  static PlotRecord RecordWithBuffer(int32_t sizeX, int32_t sizeY, Count fill = -1) {
    PlotRecord record;
    record.sizeX = sizeX;
    record.sizeY = sizeY;
    record.rows = AllocateCountBuffer(record);
    if (record.rows == nullptr) return record;
    for (int32_t row = 0; row < sizeY; ++row) {
      for (int32_t column = 0; column < sizeX; ++column) CountAt(record, row, column) = fill;
    }
    return record;
  }

 private:
  CountBufferMisuseHandler previous_ = nullptr;
  int liveAtStart_ = 0;
};
