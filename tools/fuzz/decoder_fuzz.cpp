// Fuzzes the block decompressor with arbitrary bytes: it must stay inside its
// arrays, report a malformed stream at most once and then stay at the end.
// The same bytes, taken as data, must also survive a compress/decompress
// round trip.

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <span>
#include <vector>

#include "files/decoder.h"
#include "files/encoder.h"

namespace {

constexpr size_t kMaxOutput = 1 << 20;

void DecodeArbitraryBytes(std::span<const uint8_t> input) {
  BlockDecoder decoder;
  const uint8_t* ring = decoder.DecoderStart(input);
  if (ring == nullptr) std::abort();
  int errors = 0;
  const BlockDecoder::ErrorHook onError = [&errors]() { ++errors; };
  size_t produced = 0;
  unsigned sum = 0;
  while (produced < kMaxOutput) {
    const uint32_t n = decoder.DecodeChunk(onError);
    if (n == 0) break;
    if (n > (1u << decoder.Dicbit())) std::abort();
    for (uint32_t i = 0; i < n; ++i) sum += ring[i];  // every byte handed out is readable
    produced += n;
  }
  if (errors > 1) std::abort();
  if (errors == 1 && (decoder.DecodeChunk(onError) != 0 || errors != 1)) std::abort();
  (void)sum;
}

void RoundTrip(std::span<const uint8_t> input) {
  const int dicbit = input.empty() ? 13 : 10 + input[0] % 4;
  std::vector<uint8_t> out;
  if (!DecompressBytes(CompressBytes(input, dicbit), out)) std::abort();
  if (out.size() != input.size() || !std::equal(out.begin(), out.end(), input.begin())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  DecodeArbitraryBytes(input);
  RoundTrip(input);
  return 0;
}
