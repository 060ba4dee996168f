#pragma once
// A CountBuffer owned by the test, attached to a PlotRecord of the same size.

#include <cstdint>
#include <vector>

#include "engine/plot_record.h"

class CountGrid {
 public:
  CountGrid(PlotRecord& record, int32_t sizeX, int32_t sizeY, int16_t fill = 0)
      : cells_(static_cast<size_t>(sizeY), std::vector<int16_t>(static_cast<size_t>(sizeX), fill)) {
    for (auto& row : cells_) rowPointers_.push_back(row.data());
    buffer_ = CountBuffer{rowPointers_.data(), sizeX, sizeY};
    record.sizeX = sizeX;
    record.sizeY = sizeY;
    record.rows = &buffer_;
  }
  CountGrid(const CountGrid&) = delete;
  CountGrid& operator=(const CountGrid&) = delete;

  // Row 0 is the top image line.
  int16_t& At(int32_t row, int32_t column) { return cells_[row][column]; }

 private:
  std::vector<std::vector<int16_t>> cells_;
  std::vector<int16_t*> rowPointers_;
  CountBuffer buffer_{};
};
