// Building the 4-bit picture of a 4000 x 4000 plot, the largest image size,
// under each colour method.

#include <benchmark/benchmark.h>

#include "colour/image_builder.h"
#include "colour/palette.h"
#include "engine/plot_record.h"
#include "colour/dib_block.h"

namespace {

void BuildLargestImage(benchmark::State& state) {
  SetDefaultPalette();
  BuildColourTables();
  PlotRecord record;
  record.sizeX = 4000;
  record.sizeY = 4000;
  record.limit = 1000;
  record.colourMethod = static_cast<int32_t>(state.range(0));
  record.rows = AllocateCountBuffer(record);
  if (record.rows == nullptr) {
    state.SkipWithError("no memory for the count buffer");
    return;
  }
  // Counts that cover the whole range, with a never-escaped block in the middle.
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column) {
      const bool inside = row > 1500 && row < 2500 && column > 1500 && column < 2500;
      CountAt(record, row, column) =
          static_cast<Count>(inside ? record.limit : (row * 7 + column * 3) % record.limit);
    }
  }
  FindCountRange(record);
  DibBlock dib;
  dib.Resize(1064);
  uint16_t bitsOffset = 0;
  for (auto _ : state) {
    if (!BuildImageFromCounts(record, dib, &bitsOffset)) {
      state.SkipWithError("image not built");
      break;
    }
    benchmark::DoNotOptimize(dib.Data());
  }
  state.SetItemsProcessed(state.iterations() * record.sizeX * record.sizeY);
  FreeCountBuffer(record);
}

}  // namespace

BENCHMARK(BuildLargestImage)
    ->ArgName("method")
    ->Arg(kMethodSquareRoot)
    ->Arg(kMethodSine)
    ->Arg(kMethodLinear)
    ->Arg(kMethodModulo)
    ->Unit(benchmark::kMillisecond);
