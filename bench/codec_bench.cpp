// Throughput of the block compressor and decompressor on plot counts, and of
// the whole data-file save and load of a 4000 x 4000 plot.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "../tests/files/mandelbrot_counts.h"
#include "engine/plot_record.h"
#include "files/data_file.h"
#include "files/decoder.h"
#include "files/encoder.h"
#include "silent_host.h"

namespace {

struct PlotCase {
  int sizeX, sizeY, limit;
};

// A region near the boundary, as a deep plot would be: counts up to the limit
// with fine structure, interior areas and smooth bands.
const std::vector<uint16_t>& Counts(const PlotCase& plot) {
  static std::map<std::pair<int, int>, std::vector<uint16_t>> cache;
  auto& counts = cache[{plot.sizeX, plot.limit}];
  if (counts.empty())
    counts = MandelbrotCounts(plot.sizeX, plot.sizeY, plot.limit, -0.8, 0.05, 0.2);
  return counts;
}

const std::vector<uint8_t>& Stream(const PlotCase& plot) {
  static std::map<std::pair<int, int>, std::vector<uint8_t>> cache;
  auto& stream = cache[{plot.sizeX, plot.limit}];
  if (stream.empty()) stream = CompressBytes(CountBytes(Counts(plot), 2), 13);
  return stream;
}

const PlotCase kLarge{4000, 4000, 1000};
const PlotCase kWindow{640, 480, 1000};

void Compress(benchmark::State& state, const PlotCase& plot) {
  const std::vector<uint8_t> input = CountBytes(Counts(plot), 2);
  size_t compressed = 0;
  for (auto _ : state) {
    std::vector<uint8_t> out = CompressBytes(input, 13);
    compressed = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
  state.counters["ratio"] = static_cast<double>(compressed) / static_cast<double>(input.size());
  state.counters["compressed_bytes"] = static_cast<double>(compressed);
}

void Decompress(benchmark::State& state, const PlotCase& plot) {
  const std::vector<uint8_t>& stream = Stream(plot);
  size_t produced = 0;
  for (auto _ : state) {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(plot.sizeX) * plot.sizeY * 2);
    DecompressBytes(stream, out);
    produced = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * produced));
  state.counters["ratio"] = static_cast<double>(stream.size()) / static_cast<double>(produced);
}

struct LargePlot {
  LargePlot() {
    record.sizeX = kLarge.sizeX;
    record.sizeY = kLarge.sizeY;
    record.limit = kLarge.limit;
    record.rows = AllocateCountBuffer(record);
    const std::vector<uint16_t>& counts = Counts(kLarge);
    for (int32_t row = 0; row < record.sizeY; ++row) {
      for (int32_t column = 0; column < record.sizeX; ++column) {
        CountAt(record, row, column) =
            static_cast<Count>(counts[static_cast<size_t>(row) * record.sizeX + column]);
      }
    }
  }
  ~LargePlot() { FreeCountBuffer(record); }
  PlotRecord record;
};

std::string BenchFileName() { return std::string(P_tmpdir) + "/zirn-codec-bench.DTL"; }

void SaveLargeDataFile(benchmark::State& state) {
  LargePlot plot;
  SilentHost host;
  const std::string name = BenchFileName();
  for (auto _ : state) {
    if (SaveDataFile(host, plot.record, name.c_str()) != kDataSaved)
      state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLarge.sizeX * kLarge.sizeY *
                          2);
}

void LoadLargeDataFile(benchmark::State& state) {
  LargePlot plot;
  SilentHost host;
  const std::string name = BenchFileName();
  if (SaveDataFile(host, plot.record, name.c_str()) != kDataSaved)
    state.SkipWithError("save failed");
  for (auto _ : state) {
    if (LoadDataFile(host, plot.record, name.c_str()) != kDataLoaded)
      state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLarge.sizeX * kLarge.sizeY *
                          2);
  std::remove(name.c_str());
}

BENCHMARK_CAPTURE(Compress, plot_640x480, kWindow)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decompress, plot_640x480, kWindow)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Compress, plot_4000x4000, kLarge)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(Decompress, plot_4000x4000, kLarge)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(SaveLargeDataFile)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LoadLargeDataFile)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
