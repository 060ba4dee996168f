// Round trips, exact output and robustness of the block compressor and
// decompressor.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "files/decoder.h"
#include "files/encoder.h"
#include "files/encoder_huffman.h"
#include "mandelbrot_counts.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(size_t n, uint32_t seed, int range = 256) {
  std::mt19937 random(seed);
  Bytes bytes(n);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random() % range);
  return bytes;
}

Bytes RoundTrip(const Bytes& input, int dicbit) {
  Bytes out;
  EXPECT_TRUE(DecompressBytes(CompressBytes(input, dicbit), out));
  return out;
}

// Decodes chunk by chunk; returns the chunk lengths and counts error reports.
struct ChunkRun {
  std::vector<uint32_t> chunks;
  Bytes bytes;
  int errors = 0;
};

ChunkRun DecodeInChunks(const Bytes& stream) {
  ChunkRun run;
  BlockDecoder decoder;
  const uint8_t* ring = decoder.DecoderStart(stream);
  EXPECT_NE(ring, nullptr);
  EXPECT_EQ(decoder.Dicbit(), 15);
  const BlockDecoder::ErrorHook onError = [&run]() { ++run.errors; };
  for (;;) {
    const uint32_t n = decoder.DecodeChunk(onError);
    if (n == 0) break;
    run.chunks.push_back(n);
    run.bytes.insert(run.bytes.end(), ring, ring + n);
  }
  EXPECT_EQ(decoder.DecodeChunk(onError), 0u);  // stays at the end, no second report
  return run;
}

// Builds streams bit by bit, most significant bit first.
class BitStream {
 public:
  BitStream& Put(int n, uint32_t value) {
    for (int i = n - 1; i >= 0; --i) {
      if (used_ % 8 == 0) bytes_.push_back(0);
      if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> (used_ % 8));
      ++used_;
    }
    return *this;
  }
  // Appends bytes of filler so the decoder does not see the end too early.
  Bytes Bytes_(size_t filler = 4, uint8_t value = 0) const {
    Bytes out = bytes_;
    out.insert(out.end(), filler, value);
    return out;
  }

 private:
  Bytes bytes_;
  int used_ = 0;
};

TEST(BlockCodecTest, ExactStreamsOfSmallInputs) {
  // No input: nothing at all.
  EXPECT_TRUE(CompressBytes({}, 13).empty());
  // One byte: block of 1 code; code-length code and literal code in their
  // one-symbol forms (TBIT 0, TBIT 0, CBIT 0, CBIT 0x41); position code
  // one-symbol 0; the literal takes no bits; 7 zero bits close the byte.
  EXPECT_EQ(CompressBytes(Bytes{0x41}, 13), (Bytes{0x00, 0x01, 0x00, 0x00, 0x04, 0x10, 0x00}));
  EXPECT_EQ(CompressBytes(Bytes{0x41, 0x41}, 13),
            (Bytes{0x00, 0x02, 0x00, 0x00, 0x04, 0x10, 0x00}));
  // "aaaa": literal 'a' then a match of 3 at distance 1. Literal/length code
  // {97: 0, 256: 1}; code-length code {2: 0, 3: 1} written as n=4, lengths
  // 0 0 1, two zero bits, 1; lengths 257 with zero runs of 97 and 158;
  // position code one-symbol 0; codes 0, 1.
  EXPECT_EQ(CompressBytes(Bytes{'a', 'a', 'a', 'a'}, 13),
            (Bytes{0x00, 0x02, 0x20, 0x04, 0x30, 0x11, 0x36, 0x45, 0x40, 0x10}));
  // The dictionary size shows only in the position code's count field.
  EXPECT_EQ(CompressBytes(Bytes{'a', 'a', 'a', 'a'}, 10),
            CompressBytes(Bytes{'a', 'a', 'a', 'a'}, 13));
  for (const Bytes& input : {Bytes{0x41}, Bytes{0x41, 0x41}, Bytes{'a', 'a', 'a', 'a'}}) {
    EXPECT_EQ(RoundTrip(input, 13), input);
  }
}

TEST(BlockCodecTest, CodesOfZeroBitsAtTheEndAreStillDecoded) {
  // The last match of this input is coded with zero bits only, inside the
  // final 16 bits of the stream: it still belongs to the stream, and the
  // chunk holding it continues the dictionary of the bytes before it.
  const Bytes input = {0x00, 0x01, 0x10, 0x80, 0x00, 0x00, 0x10, 0x80, 0x00, 0x00,
                       0x28, 0x00, 0x01, 0x10, 0x80, 0x61, 0x03, 0x1A, 0xC2, 0x11,
                       0xF6, 0x60, 0x00, 0x00, 0x28, 0x00, 0x00, 0x28, 0x00, 0x00};
  for (int dicbit = 10; dicbit <= 13; ++dicbit) {
    const ChunkRun run = DecodeInChunks(CompressBytes(input, dicbit));
    EXPECT_EQ(run.bytes, input);
    EXPECT_EQ(run.chunks.size(), 1u);
  }
}

TEST(BlockCodecTest, HuffmanLengthsAreLimitedTo16Bits) {
  // Fibonacci frequencies make a tree 30 levels deep.
  HuffmanBuilder builder;
  MemoryBudget budget;
  ASSERT_TRUE(builder.Allocate(budget));
  std::vector<int32_t> freq(2 * NC - 1, 0);
  int32_t a = 1, b = 1;
  for (int symbol = 100; symbol < 130; ++symbol) {
    freq[symbol] = a;
    const int32_t next = a + b;
    a = b;
    b = next;
  }
  std::vector<uint8_t> len(NC);
  std::vector<uint16_t> code(NC);
  const int root = builder.MakeTree(NC, freq.data(), len.data(), code.data());
  EXPECT_GE(root, NC);
  uint64_t kraft = 0;
  for (int symbol = 0; symbol < NC; ++symbol) {
    EXPECT_LE(len[symbol], 16);
    EXPECT_EQ(len[symbol] != 0, symbol >= 100 && symbol < 130);
    if (len[symbol] != 0) kraft += uint64_t{1} << (16 - len[symbol]);
  }
  EXPECT_EQ(kraft, uint64_t{1} << 16);  // complete prefix code
  EXPECT_EQ(len[129], 1);               // the most frequent symbol keeps the shortest code
  EXPECT_EQ(len[100], 16);
  // Canonical codes: a longer code never starts with a shorter one.
  for (int x = 100; x < 130; ++x) {
    for (int y = 100; y < 130; ++y) {
      if (x != y && len[x] <= len[y]) {
        EXPECT_NE(code[y] >> (len[y] - len[x]), code[x]) << x << " " << y;
      }
    }
  }
}

TEST(BlockCodecTest, EmptyStreamGivesNoChunk) {
  const ChunkRun run = DecodeInChunks({});
  EXPECT_TRUE(run.chunks.empty());
  EXPECT_EQ(run.errors, 0);
}

TEST(BlockCodecTest, RepeatedByteUsesOneSymbolBlocks) {
  const Bytes input(100000, 0x07);
  const Bytes stream = CompressBytes(input, 13);
  EXPECT_LT(stream.size(), 200u);
  EXPECT_EQ(RoundTrip(input, 13), input);
}

TEST(BlockCodecTest, RoundTripsOfEveryDictionarySize) {
  const Bytes random = RandomBytes(70000, 1);
  const Bytes skewed = RandomBytes(150000, 2, 5);
  const std::vector<uint16_t> counts = MandelbrotCounts(320, 240, 1000);
  const Bytes twoBytes = CountBytes(counts, 2);
  for (int dicbit = 10; dicbit <= 14; ++dicbit) {
    SCOPED_TRACE(dicbit);
    EXPECT_EQ(RoundTrip(random, dicbit), random);
    EXPECT_EQ(RoundTrip(skewed, dicbit), skewed);
    EXPECT_EQ(RoundTrip(twoBytes, dicbit), twoBytes);
  }
}

TEST(BlockCodecTest, RoundTripsOfCountDataOfSeveralSizes) {
  struct Plot {
    int sizeX, sizeY, limit;
    double x, y, height;
  };
  for (const Plot& p :
       {Plot{32, 32, 100, -2, -2, 4}, Plot{400, 400, 255, -2, -2, 4},
        Plot{640, 480, 1000, -0.8, 0.05, 0.2}, Plot{500, 400, 30000, -2.5, -1.25, 2.5}}) {
    SCOPED_TRACE(p.sizeX);
    const Bytes input = CountBytes(MandelbrotCounts(p.sizeX, p.sizeY, p.limit, p.x, p.y, p.height),
                                   p.limit >= 256 ? 2 : 1);
    const Bytes stream = CompressBytes(input, 13);
    EXPECT_LT(stream.size(), input.size() / 2);
    Bytes out;
    EXPECT_TRUE(DecompressBytes(stream, out));
    EXPECT_EQ(out, input);
  }
}

uint64_t Fnv1a64(const Bytes& bytes) {
  uint64_t hash = 0xCBF29CE484222325u;
  for (const uint8_t b : bytes) hash = (hash ^ b) * 0x100000001B3u;
  return hash;
}

// The data file's stream must stay exactly what it is: any change of the
// match finder's tie rules, of lazy matching, of block ends or of the code
// lengths changes these sizes and checksums. The counts of a lower limit
// are those of a higher one cut at that limit.
TEST(BlockCodecTest, ExactStreamsOfWholeCountSets) {
  struct Pinned {
    int sizeX, sizeY, limit;
    double x, y, height;
    uint64_t inputHash;
    size_t streamSize;
    uint64_t streamHash;
  };
  const Pinned pinned[] = {
      {640, 480, 200, -0.8, 0.05, 0.2, 0x76BE38A934942399u, 22154, 0x0E2EC69A5AAA5365u},
      {640, 480, 1000, -0.8, 0.05, 0.2, 0xA96DBB24154297BAu, 30957, 0xD9AEDC1F894D46EDu},
      {4000, 4000, 200, -2.5, -1.25, 2.5, 0x3CC3496839F2A8C6u, 566897, 0xC4DC7D406F52735Au},
      {4000, 4000, 1000, -2.5, -1.25, 2.5, 0x90FB7C59AD5095C8u, 663764, 0xC85F29CB884A6CE2u},
  };
  std::vector<uint16_t> counts;
  for (const Pinned& p : pinned) {
    SCOPED_TRACE(testing::Message() << p.sizeX << " x " << p.sizeY << ", limit " << p.limit);
    if (counts.size() != static_cast<size_t>(p.sizeX) * p.sizeY) {
      counts = MandelbrotCounts(p.sizeX, p.sizeY, 1000, p.x, p.y, p.height);
    }
    std::vector<uint16_t> cut = counts;
    for (uint16_t& c : cut) c = std::min<uint16_t>(c, static_cast<uint16_t>(p.limit));
    const Bytes input = CountBytes(cut, p.limit >= 256 ? 2 : 1);
    // A different input is a fault of the count maker, not of the coder.
    ASSERT_EQ(Fnv1a64(input), p.inputHash);
    const Bytes stream = CompressBytes(input, 13);
    EXPECT_EQ(stream.size(), p.streamSize);
    EXPECT_EQ(Fnv1a64(stream), p.streamHash);
  }
}

TEST(BlockCodecTest, LengthsAroundTheWindowBoundaries) {
  const Bytes source = CountBytes(MandelbrotCounts(200, 200, 300), 2);
  const size_t dicsiz = 1024;
  for (size_t n : {dicsiz + 255, dicsiz + 256, dicsiz + 257, 2 * dicsiz + 255, 2 * dicsiz + 256,
                   3 * dicsiz + 256 + 1, size_t{3}, size_t{255}, size_t{256}, size_t{257}}) {
    const Bytes input(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_EQ(RoundTrip(input, 10), input) << n;
  }
}

TEST(BlockCodecTest, ChunksAreFullDictionariesAndMatchesContinueAcrossThem) {
  // Long runs give matches of 256 that cross every chunk end.
  Bytes input(100000, 0);
  for (size_t i = 0; i < input.size(); i += 4099) input[i] = static_cast<uint8_t>(i);
  const ChunkRun run = DecodeInChunks(CompressBytes(input, 13));
  EXPECT_EQ(run.errors, 0);
  EXPECT_EQ(run.bytes, input);
  ASSERT_EQ(run.chunks.size(), 4u);
  for (size_t i = 0; i + 1 < run.chunks.size(); ++i) EXPECT_EQ(run.chunks[i], 32768u);
  EXPECT_EQ(run.chunks.back(), 100000u - 3 * 32768u);
}

TEST(BlockCodecTest, CallerRegainsControlEveryDictionary) {
  const Bytes input = RandomBytes(50000, 3, 16);
  Bytes stream;
  BlockEncoder encoder;
  size_t fed = 0;
  std::vector<size_t> progressAt;
  ASSERT_TRUE(
      encoder.EncoderStart(&stream, 12, kProgressShown, [&]() { progressAt.push_back(fed); }));
  for (uint8_t b : input) {
    ++fed;
    encoder.EncoderPutByte(b);
  }
  const size_t outputBeforeFinish = stream.size();
  uint32_t totalIn = 0;
  const uint32_t written = encoder.EncoderFinish(&totalIn);
  EXPECT_EQ(written, stream.size());
  EXPECT_EQ(totalIn, input.size());
  ASSERT_GE(progressAt.size(), 2u);
  EXPECT_EQ(progressAt[0], 4096u + 256u);  // coding starts with the first full window
  for (size_t i = 1; i < progressAt.size(); ++i)
    EXPECT_LE(progressAt[i] - progressAt[i - 1], 4096u);
  EXPECT_GT(outputBeforeFinish, 0u);  // blocks go out while the input still comes
  Bytes out;
  EXPECT_TRUE(DecompressBytes(stream, out));
  EXPECT_EQ(out, input);
}

TEST(BlockCodecTest, FileStreamsRoundTrip) {
  const Bytes input = CountBytes(MandelbrotCounts(300, 200, 500), 2);
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  BlockEncoder encoder;
  ASSERT_TRUE(encoder.EncoderStart(file, 13, 0));
  for (uint8_t b : input) encoder.EncoderPutByte(b);
  const uint32_t written = encoder.EncoderFinish();
  EXPECT_EQ(static_cast<long>(written), std::ftell(file));
  std::rewind(file);
  BlockDecoder decoder;
  const uint8_t* ring = decoder.DecoderStart(file);
  ASSERT_NE(ring, nullptr);
  Bytes out;
  while (uint32_t n = decoder.DecodeChunk({})) out.insert(out.end(), ring, ring + n);
  decoder.DecoderEnd();  // closes the file
  EXPECT_EQ(out, input);
}

// The smallest budget with which start succeeds.
template <typename Starts>
size_t SmallestBudget(Starts starts) {
  size_t low = 0, high = size_t{1} << 22;
  while (low + 1 < high) {
    const size_t middle = (low + high) / 2;
    (starts(middle) ? high : low) = middle;
  }
  return high;
}

TEST(BlockCodecTest, EncoderBlockBufferFallsBackByTenths) {
  auto startsWith = [](size_t budget) {
    BlockEncoder encoder{MemoryBudget(budget)};
    Bytes out;
    return encoder.EncoderStart(&out, 13, 0);
  };
  const size_t least = SmallestBudget(startsWith);
  struct Case {
    size_t extra, bufferSize;
  };
  for (const Case& c : {Case{0, 4131}, Case{4589 - 4131, 4131}, Case{4590 - 4131, 4590},
                        Case{16384 - 4131, 16384}}) {
    BlockEncoder encoder{MemoryBudget(least + c.extra)};
    Bytes stream;
    ASSERT_TRUE(encoder.EncoderStart(&stream, 13, 0));
    EXPECT_EQ(encoder.BlockBufferSize(), c.bufferSize);
    const Bytes input = RandomBytes(60000, 4, 7);
    for (uint8_t b : input) encoder.EncoderPutByte(b);
    encoder.EncoderFinish();
    Bytes out;
    EXPECT_TRUE(DecompressBytes(stream, out));
    EXPECT_EQ(out, input);
  }
  // One byte short: the start fails, writes nothing and keeps nothing.
  MemoryBudget budget(least - 1);
  BlockEncoder encoder{budget};
  Bytes stream;
  EXPECT_FALSE(encoder.EncoderStart(&stream, 13, 0));
  encoder.EncoderPutByte(1);
  EXPECT_EQ(encoder.EncoderFinish(), 0u);
  EXPECT_TRUE(stream.empty());
  // The smaller dictionaries fit where 13 bits do not.
  BlockEncoder smaller{MemoryBudget(least - 1)};
  EXPECT_TRUE(smaller.EncoderStart(&stream, 12, 0));
}

TEST(BlockCodecTest, DecoderTakesTheLargestDictionaryThatFits) {
  static const Bytes kEmpty;
  auto startsWith = [](size_t budget) {
    BlockDecoder decoder{MemoryBudget(budget)};
    return decoder.DecoderStart(kEmpty) != nullptr;
  };
  const size_t least = SmallestBudget(startsWith);
  // A random part repeated at distance 5000: positions of 13 bits.
  Bytes input = RandomBytes(5000, 5);
  input.insert(input.end(), input.begin(), input.end());
  const Bytes stream12 = CompressBytes(input, 12);
  const Bytes stream13 = CompressBytes(input, 13);
  BlockDecoder decoder{MemoryBudget(least + 4096 - 1024)};
  const uint8_t* ring = decoder.DecoderStart(stream12);
  ASSERT_NE(ring, nullptr);
  EXPECT_EQ(decoder.Dicbit(), 12);
  Bytes out;
  while (uint32_t n = decoder.DecodeChunk({})) out.insert(out.end(), ring, ring + n);
  EXPECT_EQ(out, input);
  // Positions of 13 bits do not fit a 12-bit decoder's alphabet.
  ASSERT_NE(decoder.DecoderStart(stream13), nullptr);
  int errors = 0;
  while (decoder.DecodeChunk([&errors]() { ++errors; }) != 0) {
  }
  EXPECT_EQ(errors, 1);
  BlockDecoder starved{MemoryBudget(least - 1)};
  EXPECT_EQ(starved.DecoderStart(stream12), nullptr);
}

TEST(BlockCodecTest, MalformedHeadersAreReportedOnce) {
  struct Case {
    const char* what;
    Bytes stream;
  };
  const Case cases[] = {
      {"empty block", BitStream().Put(16, 0).Put(16, 0xFFFF).Bytes_()},
      {"code-length code incomplete",
       BitStream().Put(16, 1).Put(5, 2).Put(3, 1).Put(3, 0).Bytes_()},
      {"code-length code over-full",
       BitStream().Put(16, 1).Put(5, 3).Put(3, 1).Put(3, 1).Put(3, 1).Put(2, 0).Bytes_()},
      {"code-length count above its alphabet", BitStream().Put(16, 1).Put(5, 20).Bytes_(8, 0xFF)},
      {"code length above 16",
       BitStream().Put(16, 1).Put(5, 1).Put(3, 7).Put(10, 0x3FF).Put(1, 0).Bytes_()},
      {"code length of 20 ones", BitStream().Put(16, 1).Put(5, 1).Put(16, 0xFFFF).Bytes_(4, 0xFF)},
      {"one-symbol code-length code outside", BitStream().Put(16, 1).Put(5, 0).Put(5, 19).Bytes_()},
      {"literal count above its alphabet",
       BitStream().Put(16, 1).Put(5, 0).Put(5, 3).Put(9, 511).Bytes_()},
      {"zero run past the alphabet",
       BitStream().Put(16, 1).Put(5, 0).Put(5, 2).Put(9, 510).Put(9, 511).Bytes_()},
      {"zero run past the end after lengths",
       BitStream().Put(16, 1).Put(5, 0).Put(5, 2).Put(9, 510).Put(9, 400).Put(9, 100).Bytes_()},
      // Ends right behind the header: symbol 510 would otherwise be decoded.
      {"one-symbol literal outside",
       BitStream().Put(16, 1).Put(5, 0).Put(5, 0).Put(9, 0).Put(9, 510).Put(4, 0).Put(4, 0).Bytes_(
           0)},
      {"literal code incomplete", BitStream().Put(16, 1).Put(5, 0).Put(5, 3).Put(9, 1).Bytes_()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BlockDecoder decoder;
    ASSERT_NE(decoder.DecoderStart(c.stream), nullptr);
    int errors = 0;
    const BlockDecoder::ErrorHook onError = [&errors]() { ++errors; };
    EXPECT_EQ(decoder.DecodeChunk(onError), 0u);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(decoder.DecodeChunk(onError), 0u);
    EXPECT_EQ(errors, 1);
  }
}

TEST(BlockCodecTest, TruncatedAndDamagedStreamsStayInBounds) {
  const Bytes input = CountBytes(MandelbrotCounts(160, 120, 400), 2);
  const Bytes stream = CompressBytes(input, 13);
  // Cut anywhere: what is decoded never exceeds the input and at most one
  // error is reported.
  for (size_t cut = 0; cut < stream.size(); cut += stream.size() / 50) {
    const ChunkRun run =
        DecodeInChunks(Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut)));
    EXPECT_LE(run.errors, 1);
    EXPECT_LE(run.bytes.size(), input.size() + 65535u * 256u);
  }
  // The whole stream minus its last byte keeps nearly everything.
  const ChunkRun almost = DecodeInChunks(Bytes(stream.begin(), stream.end() - 1));
  EXPECT_EQ(almost.errors, 0);
  ASSERT_GE(almost.bytes.size(), input.size() - 1000);
  EXPECT_TRUE(std::equal(input.begin(), input.end() - 1000, almost.bytes.begin()));
  // Flipped bits.
  std::mt19937 random(9);
  for (int trial = 0; trial < 200; ++trial) {
    Bytes damaged = stream;
    damaged[random() % damaged.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
    const ChunkRun run = DecodeInChunks(damaged);
    EXPECT_LE(run.errors, 1);
  }
}

}  // namespace
