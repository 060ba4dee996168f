#include "engine/deep_rows.h"

#include "engine/fpu_precision.h"

void ComputeDeepLines(const DeepRowsSetup& setup, RowQueue& queue) {
  ExtendedPrecisionScope precision;  // each thread has its own x87 control word
  for (int32_t line = queue.TakeLine(); line >= 0; line = queue.TakeLine()) {
    Count* row = queue.Row(line);
    const long double dy = setup.lineOffsets[line];
    for (int32_t column = 0; column < queue.sizeX(); ++column) {
      if (queue.Stopping()) return;
      const DeltaPoint delta = {setup.columnOffsets[column], dy};
      row[column] = static_cast<Count>(DeepPixelCount(setup.pixel, delta));
    }
    queue.FinishLine(line);
  }
}
