#pragma once
// A CountBuffer owned by the test, attached to a PlotRecord of the same size.

#include <cstdint>
#include <vector>

#include "engine/plot_record.h"

class CountGrid {
 public:
  CountGrid(PlotRecord& record, int32_t sizeX, int32_t sizeY, Count fill = 0)
      : cells_(static_cast<size_t>(sizeY), std::vector<Count>(static_cast<size_t>(sizeX), fill)) {
    for (auto& row : cells_) rowPointers_.push_back(row.data());
    buffer_ = CountBuffer{rowPointers_.data(), sizeX, sizeY};
    record.sizeX = sizeX;
    record.sizeY = sizeY;
    record.rows = &buffer_;
  }
  CountGrid(const CountGrid&) = delete;
  CountGrid& operator=(const CountGrid&) = delete;

  // Row 0 is the top image line.
  Count& At(int32_t row, int32_t column) { return cells_[row][column]; }

 private:
  std::vector<std::vector<Count>> cells_;
  std::vector<Count*> rowPointers_;
  CountBuffer buffer_{};
};
