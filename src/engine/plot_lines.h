#pragma once
// The line loop the four plotters share: lines from the bottom up, columns
// left to right, coordinates advanced by repeated addition of the step, live
// drawing and the message step every 32 pixels.

#include <atomic>
#include <cstdint>

#include "engine/engine_state.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"

constexpr int32_t kPixelsPerMessageStep = 32;

// countPixel(cx, cy) gives a pixel's count; advance(v, step) the next
// coordinate. A pixel long enough to take messages itself sets *stopCode
// (when given) to a stop code that came meanwhile; its count is then not
// stored and the loop ends with that code.
template <typename Coordinate, typename CountPixel, typename Advance>
int PlotLines(UiHost& host, PlotRecord& record, uint32_t limit, Coordinate left, Coordinate bottom,
              Coordinate step, CountPixel countPixel, Advance advance,
              const int* stopCode = nullptr) {
  PlotProgress& progress = g_engine.progress;
  progress.rowsTotal.store(record.sizeY, std::memory_order_relaxed);
  progress.rowsDone.store(0, std::memory_order_relaxed);
  const bool live = (record.flags & kFlagLiveDrawing) != 0;
  Coordinate cy = bottom;
  for (int32_t line = record.sizeY - 1; line >= 0; --line) {
    Count* row = record.rows->rows[line];
    Coordinate cx = left;
    for (int32_t column = 0; column < record.sizeX; ++column) {
      const int32_t count = countPixel(cx, cy);
      if (stopCode != nullptr && *stopCode != kPlotComplete) return *stopCode;
      row[column] = static_cast<Count>(count);
      if (live) {
        const uint32_t colour = host.LiveColour(record, count, static_cast<int32_t>(limit));
        host.DrawPixel(column, line, colour);
      }
      if (column % kPixelsPerMessageStep == 0) {
        int stopCode = kPlotExit;
        if (host.PumpOneMessage(&stopCode) != 0) return stopCode;
      }
      cx = advance(cx, step);
    }
    cy = advance(cy, step);
    progress.rowsDone.fetch_add(1, std::memory_order_relaxed);
  }
  return kPlotComplete;
}
