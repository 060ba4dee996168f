#pragma once
// Realistic iteration counts for codec tests and benchmarks, made with a
// plain double-precision loop (independent of the plotters).

#include <cstdint>
#include <vector>

// sizeY rows of sizeX counts, row 0 the top line, of the region with lower
// left corner (x, y) and the given height; points that never escape hold
// limit. The main cardioid and the period-2 bulb are recognised directly.
inline std::vector<uint16_t> MandelbrotCounts(int sizeX, int sizeY, int limit, double x = -2.0, double y = -2.0,
                                              double height = 4.0) {
  std::vector<uint16_t> counts(static_cast<size_t>(sizeX) * static_cast<size_t>(sizeY));
  const double step = height / sizeY;
  for (int row = 0; row < sizeY; ++row) {
    const double ci = y + (sizeY - 1 - row) * step;
    for (int column = 0; column < sizeX; ++column) {
      const double cr = x + column * step;
      const double q = (cr - 0.25) * (cr - 0.25) + ci * ci;
      int n = 0;
      if (q * (q + (cr - 0.25)) <= 0.25 * ci * ci || (cr + 1) * (cr + 1) + ci * ci <= 0.0625) {
        n = limit;
      } else {
        double zr = 0, zi = 0;
        while (n < limit && zr * zr + zi * zi <= 4.0) {
          const double t = zr * zr - zi * zi + cr;
          zi = 2 * zr * zi + ci;
          zr = t;
          ++n;
        }
      }
      counts[static_cast<size_t>(row) * sizeX + column] = static_cast<uint16_t>(n);
    }
  }
  return counts;
}

// The data-file byte order: all low bytes, then (for two bytes per count) all
// high bytes.
inline std::vector<uint8_t> CountBytes(const std::vector<uint16_t>& counts, int bytesPerCount) {
  std::vector<uint8_t> bytes;
  bytes.reserve(counts.size() * bytesPerCount);
  for (uint16_t c : counts) bytes.push_back(static_cast<uint8_t>(c));
  if (bytesPerCount == 2) {
    for (uint16_t c : counts) bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}
