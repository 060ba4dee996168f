// The benchmarks' entry: without a filter, every benchmark but the long
// public deep-zoom plots (Public/...) runs.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  bool filtered = false;
  for (int k = 1; k < argc; ++k) {
    if (std::strncmp(argv[k], "--benchmark_filter", 18) == 0) filtered = true;
  }
  char allButPublic[] = "--benchmark_filter=-^Public/";
  if (!filtered) args.push_back(allButPublic);
  args.push_back(nullptr);
  int count = static_cast<int>(args.size()) - 1;
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
