#include "files/parameter_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "colour/palette.h"
#include "engine/deep/real.h"
#include "engine/deep/view_precision.h"
#include "engine/plot_record.h"
#include "engine/run_plot.h"
#include "fake_ui_host.h"
#include "test_files.h"

namespace {

std::string Written(const PlotRecord& record, const char* dataFileName = "") {
  char text[kParameterTextSize];
  std::memset(text, 'Z', sizeof text);
  WriteParameterText(text, sizeof text, record, dataFileName);
  return text;
}

std::string Digits18(long double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.18Lg", value);
  return text;
}

PaletteEntry Staged(int index) {
  PaletteEntry entry{};
  GetStagedEntry(index, &entry.red, &entry.green, &entry.blue);
  return entry;
}

void ExpectStaged(int index, int32_t red, int32_t green, int32_t blue) {
  const PaletteEntry entry = Staged(index);
  EXPECT_EQ(entry.red, red) << "entry " << index;
  EXPECT_EQ(entry.green, green) << "entry " << index;
  EXPECT_EQ(entry.blue, blue) << "entry " << index;
}

void ClearStaged() {
  for (int i = 0; i < kPaletteSize; ++i) SetStagedEntry(i, 0, 0, 0);
}

constexpr char kDefaultPaletteLines[] =
    " 000000 000007 070000 070007 000700 000707 070700 070707\r\n"
    " 040404 00000F 0F0000 0F000F 000F00 000F0F 0F0F00 0F0F0F";

TEST(WriteParameterText, MandelbrotRecordWithAndWithoutDataFile) {
  SetDefaultPalette();
  const PlotRecord record;
  const std::string body = std::string("%Zirn parameter file\r\n x-2\r\n y-2\r\n w4\r\n") +
                           " m1 X400 Y400 n100 l0 u0\r\n p16\r\n" + kDefaultPaletteLines;
  EXPECT_EQ(Written(record), body + "\r\n%end\r\n");
  EXPECT_EQ(Written(record, "C:\\fractals\\deep.dtl"),
            body + "\r\n f\"C:\\fractals\\deep.dtl\"\r\n%end\r\n");
}

TEST(WriteParameterText, JuliaRecordCarriesTheConstant) {
  SetDefaultPalette();
  SetPaletteEntry(15, 1, 10, 15);
  const PlotRecord record{.x = -0.75L,
                          .y = 0.1L,
                          .juliaR = 1.0L / 3.0L,
                          .juliaI = -1e-10L,
                          .height = 1.0 / 3.0,
                          .limit = 30000,
                          .lower = 3,
                          .upper = -12,
                          .sizeX = 640,
                          .sizeY = 480,
                          .colourMethod = 2,
                          .flags = kFlagJulia | kFlagLiveDrawing};
  const std::string expected =
      "%Zirn parameter file\r\n x-0.75\r\n y0.1\r\n w0.333333333333333\r\n"
      " r0.333333333333333333\r\n i-1e-10\r\n m2 X640 Y480 n30000 l3 u-12\r\n p16\r\n"
      " 000000 000007 070000 070007 000700 000707 070700 070707\r\n"
      " 040404 00000F 0F0000 0F000F 000F00 000F0F 0F0F00 010A0F\r\n%end\r\n";
  EXPECT_EQ(Written(record), expected);
}

TEST(WriteParameterText, SmallBufferGetsWholeLineEndsAndNul) {
  char text[23];
  WriteParameterText(text, sizeof text, PlotRecord{}, "");
  EXPECT_STREQ(text, "%Zirn parameter file\r\n");
  WriteParameterText(text, sizeof text - 1, PlotRecord{}, "");
  EXPECT_STREQ(text, "%Zirn parameter file");
  char one[1] = {'Z'};
  WriteParameterText(one, sizeof one, PlotRecord{}, "");
  EXPECT_EQ(one[0], '\0');
}

TEST(ParameterTextRoundTrip, ValuesComeBackToTheirWrittenDigits) {
  SetDefaultPalette();
  SetPaletteEntry(3, 12, 0, 9);
  PlotRecord record{.x = -0.743643887037158704752191506114774L,
                    .y = 0.131825904205311970493132056385139L,
                    .juliaR = -0.8L / 3.0L,
                    .juliaI = 1.0e-300L / 7.0L,
                    .height = 2.0 / 3.0 * 1e-12,
                    .limit = 5000,
                    .lower = 40,
                    .upper = 5000,
                    .sizeX = 1280,
                    .sizeY = 1024,
                    .colourMethod = 3,
                    .flags = kFlagJulia};
  char text[kParameterTextSize] = {};
  WriteParameterText(text, sizeof text, record, "deep.dtl");

  ClearStaged();
  PlotRecord read;  // as the open flow prepares it: Mandelbrot, whole view
  read.lower = 7;
  read.upper = 7;
  const ParameterReadResult result = ReadParameterText(text, read);
  EXPECT_EQ(result.fieldCount, 5);
  EXPECT_EQ(result.endMode, kEndOfText);
  EXPECT_EQ(result.hasDataFile, 1);
  EXPECT_STREQ(result.dataFileName, "deep.dtl");
  EXPECT_EQ(Digits18(read.x), Digits18(record.x));
  EXPECT_EQ(Digits18(read.y), Digits18(record.y));
  EXPECT_EQ(Digits18(read.juliaR), Digits18(record.juliaR));
  EXPECT_EQ(Digits18(read.juliaI), Digits18(record.juliaI));
  char height[2][32];
  std::snprintf(height[0], sizeof height[0], "%.15g", read.height);
  std::snprintf(height[1], sizeof height[1], "%.15g", record.height);
  EXPECT_STREQ(height[0], height[1]);
  EXPECT_EQ(read.shownHeight, read.height);
  EXPECT_EQ(read.flags, kFlagJulia);
  EXPECT_EQ(read.colourMethod, 3);
  EXPECT_EQ(read.sizeX, 1280);
  EXPECT_EQ(read.sizeY, 1024);
  EXPECT_EQ(read.shownSizeY, 400);  // the size before the Y key
  EXPECT_EQ(read.limit, 5000);
  EXPECT_EQ(read.lower, 0);
  EXPECT_EQ(read.upper, 0);
  for (int i = 0; i < kPaletteSize; ++i) {
    int32_t red, green, blue;
    GetPaletteEntry(i, &red, &green, &blue);
    ExpectStaged(i, red, green, blue);
  }

  record.flags = 0;
  WriteParameterText(text, sizeof text, record, "");
  PlotRecord mandelbrot;
  const ParameterReadResult plain = ReadParameterText(text, mandelbrot);
  EXPECT_EQ(mandelbrot.flags, 0u);
  EXPECT_EQ(mandelbrot.juliaR, 0.0L);
  EXPECT_EQ(plain.hasDataFile, 0);
  EXPECT_STREQ(plain.dataFileName, "");
}

// A Julia view 1e-300 high with a 255-character data-file name: the longest
// kind of text. Written, read and written again it gives the same bytes; each
// coordinate read back lies within a thousandth of a pixel of the one written,
// and the 80-bit fields are the roundings of the precise values.
// Below the doubles the height is written with its 15 digits and any
// exponent, and every flow that reads the text gets the view's depth back.
void ExpectDeepViewRoundTrip(const char* heightText, uint32_t flags) {
  PlotRecord record{.limit = 30000, .sizeX = 640, .sizeY = 480, .flags = flags};
  const DeepReal height(heightText);
  SetExactHeight(record.height, record.preciseHeight, height);
  const DeepReal coordinates[4] = {-DeepReal(2) / 3, DeepReal(1) / 7, sqrt(DeepReal(2)) / 5,
                                   -height / 3};
  SetExactCoordinate(record.x, record.preciseX, coordinates[0]);
  SetExactCoordinate(record.y, record.preciseY, coordinates[1]);
  SetExactCoordinate(record.juliaR, record.preciseJuliaR, coordinates[2]);
  SetExactCoordinate(record.juliaI, record.preciseJuliaI, coordinates[3]);
  const std::string name(255, 'n');
  const std::string text = Written(record, name.c_str());
  EXPECT_LT(text.size() + kParameterTextReserve, kParameterFileReadSize);
  EXPECT_NE(text.find(" x-0.666666666666666666666666666666666666666666666"), std::string::npos);
  EXPECT_NE(text.find(std::string(" w") + heightText + "\r\n"), std::string::npos) << heightText;

  std::vector<char> buffer(kParameterTextSize);
  std::memcpy(buffer.data(), text.c_str(), text.size());
  PlotRecord read;
  ReadParameterText(buffer.data(), read);
  EXPECT_EQ(Written(read, name.c_str()), text) << heightText;
  EXPECT_EQ(ExactHeight(read.height, read.preciseHeight), height) << heightText;
  EXPECT_EQ(ExactHeight(read.shownHeight, read.preciseShownHeight), height) << heightText;

  const DeepReal step = height / record.sizeY;
  const long double* fields[4] = {&read.x, &read.y, &read.juliaR, &read.juliaI};
  const PreciseCoordinate* precise[4] = {&read.preciseX, &read.preciseY, &read.preciseJuliaR,
                                         &read.preciseJuliaI};
  const int count = (flags & kFlagJulia) != 0 ? 4 : 2;
  for (int k = 0; k < count; ++k) {
    EXPECT_LE(abs(ToDeepReal(*precise[k]) - coordinates[k]), step / 1000) << heightText << k;
    EXPECT_EQ(*fields[k], RoundToLongDouble(*precise[k])) << heightText << k;
  }
}

TEST(ParameterTextRoundTrip, DeepViewsKeepTheDigitsTheyNeed) {
  SetDefaultPalette();
  for (const char* height : {"1e-300", "1e-400", "1e-1000", "1e-10000"}) {
    ExpectDeepViewRoundTrip(height, kFlagJulia);
    ExpectDeepViewRoundTrip(height, 0);
  }
}

// The counts of the record's view, plotted with a buffer of its own.
std::vector<Count> PlottedCounts(PlotRecord record) {
  record.rows = AllocateCountBuffer(record);
  FakeUiHost host;
  EXPECT_EQ(RunPlot(host, record, PlotOptions{2}), kPlotComplete);
  std::vector<Count> counts;
  for (int32_t row = 0; row < record.sizeY; ++row) {
    counts.insert(counts.end(), record.rows->rows[row], record.rows->rows[row] + record.sizeX);
  }
  DiscardCountBuffer(record);
  return counts;
}

// A Julia view 1e-15 high around the critical point, its constant picked on a
// Mandelbrot view 1e-30 high: the pixels are squared at the first step, so
// the picture depends on the constant to about the square of the pixel step,
// far below the digits the step asks for. Read back, the text plots the same
// counts.
TEST(ParameterTextRoundTrip, DeepJuliaViewsReadBackPlotTheSameCounts) {
  SetDefaultPalette();
  PlotRecord record{.height = 1e-15, .limit = 10000, .sizeX = 32, .sizeY = 32, .flags = kFlagJulia};
  SetCoordinateFromText("-4.9e-16", record.x, record.preciseX);
  SetCoordinateFromText("-5.1e-16", record.y, record.preciseY);
  SetCoordinateFromText("-0.7436438870371587", record.juliaR, record.preciseJuliaR);
  SetCoordinateFromText("0.13182679368138308962027061766598943", record.juliaI,
                        record.preciseJuliaI);
  char buffer[kParameterTextSize] = {};
  const std::string text = Written(record);
  std::memcpy(buffer, text.c_str(), text.size());
  PlotRecord read{.sizeX = 32, .sizeY = 32};
  ReadParameterText(buffer, read);

  const std::vector<Count> counts = PlottedCounts(record);
  EXPECT_GT(std::set<Count>(counts.begin(), counts.end()).size(), 1u);
  EXPECT_EQ(PlottedCounts(read), counts) << text;
}

TEST(ReadParameterText, KeysNeedNoSeparatorsAndOtherTextIsIgnored) {
  PlotRecord record;
  ParameterReadResult result = ReadParameterText("x1y2", record);
  EXPECT_EQ(record.x, 1.0L);
  EXPECT_EQ(record.y, 2.0L);
  EXPECT_EQ(result.fieldCount, 2);

  result = ReadParameterText("% x9 is a comment\nh 0.5 n  250 m4 O D qu1 l7 zx5", record);
  EXPECT_EQ(record.x, 1.0L);
  EXPECT_EQ(record.height, 0.5);
  EXPECT_EQ(record.shownHeight, 0.5);
  EXPECT_EQ(record.limit, 250);
  EXPECT_EQ(record.colourMethod, 4);
  EXPECT_EQ(record.flags, static_cast<uint32_t>(kFlagLiveDrawing | kFlagD));
  EXPECT_EQ(record.lower, 0);
  EXPECT_EQ(result.fieldCount, 3);
  EXPECT_EQ(result.endMode, kEndRecolour);

  result = ReadParameterText("r0.5 i-1 g n7", record);
  EXPECT_EQ(record.flags & kFlagJulia, static_cast<uint32_t>(kFlagJulia));
  EXPECT_EQ(record.juliaR, 0.5L);
  EXPECT_EQ(record.juliaI, -1.0L);
  EXPECT_EQ(record.limit, 250);  // behind the g
  EXPECT_EQ(result.endMode, kEndStart);
  ReadParameterText("M", record);
  EXPECT_EQ(record.flags & kFlagJulia, 0u);
}

TEST(ReadParameterText, NumbersFollowTheDecimalGrammarOnly) {
  PlotRecord record;
  ReadParameterText("x  -1.5e3 y. h+7 n99999999999 m-99999999999", record);
  EXPECT_EQ(record.x, -1500.0L);
  EXPECT_EQ(record.y, 0.0L);
  EXPECT_EQ(record.height, 7.0);
  EXPECT_EQ(record.limit, INT32_MAX);
  EXPECT_EQ(record.colourMethod, INT32_MIN);
  // Not numbers here: the letters are scanned as keys or ignored.
  ReadParameterText("y0x1p4", record);
  EXPECT_EQ(record.y, 0.0L);
  EXPECT_EQ(record.x, 1.0L);
  ReadParameterText("h infinity", record);
  EXPECT_EQ(record.height, 0.0);
  // Beyond the doubles a height is infinite in its precise form too.
  ReadParameterText("h1e999", record);
  EXPECT_EQ(record.preciseHeight.kind, PreciseCoordinate::kInfinite);
}

TEST(ReadParameterText, ImageSizesAreMaskedAndClamped) {
  const struct {
    const char* text;
    int32_t sizeX;
    int32_t sizeY;
  } cases[] = {
      {"X641 Y480", 640, 480}, {"X10 Y31", 32, 32},       {"X5000 Y5000", 4000, 4000},
      {"X65600 Y-5", 64, 32},  {"X-5 Y4001", 4000, 4000}, {"", 400, 400},
  };
  for (const auto& c : cases) {
    PlotRecord record;
    ReadParameterText(c.text, record);
    EXPECT_EQ(record.sizeX, c.sizeX) << c.text;
    EXPECT_EQ(record.sizeY, c.sizeY) << c.text;
  }
}

TEST(ReadParameterText, PaletteSectionFillsTheStagedPalette) {
  ClearStaged();
  PlotRecord record;
  // 20 entries: 16 are read, the rest are scanned as ordinary bytes (the D sets its flag).
  std::string text = "p20";
  for (int i = 0; i < 16; ++i) {
    char entry[8];
    std::snprintf(entry, sizeof entry, " %02X%02X%02X", i, 15 - i, i / 2);
    text += entry;
    if (i == 7) text += "\r\n";
  }
  text += "\r\n 0D0000 0D0000 0D0000 0D0000 n77";
  ReadParameterText(text.c_str(), record);
  for (int i = 0; i < 16; ++i) ExpectStaged(i, i, 15 - i, i / 2);
  EXPECT_EQ(record.flags, static_cast<uint32_t>(kFlagD));
  EXPECT_EQ(record.limit, 77);

  ReadParameterText("p2\t0a0b0c\n 0d0e0f", record);
  ExpectStaged(0, 10, 11, 12);
  ExpectStaged(1, 13, 14, 15);
  // Pairs are not validated, only kept to 8 bits; "ZZ" is 35 * 16 + 35.
  ReadParameterText("p1 FF0aZZ", record);
  ExpectStaged(0, 255, 10, (35 * 16 + 35) & 0xFF);
  // A count of 0 or less reads nothing; an entry cut off by the text's end is not read.
  ReadParameterText("p0 010101 p-3 010101 p2 020202 0304", record);
  ExpectStaged(0, 2, 2, 2);
  ExpectStaged(1, 13, 14, 15);
}

TEST(ReadParameterText, DataFileNameQuotedOrToTheLineEnd) {
  PlotRecord record;
  ParameterReadResult result = ReadParameterText(" f\"my deep.dtl\" n12\r\n", record);
  EXPECT_EQ(result.hasDataFile, 1);
  EXPECT_STREQ(result.dataFileName, "my deep.dtl");
  EXPECT_EQ(record.limit, 12);

  result = ReadParameterText(" f \tdeep.dtl  \r\n n13", record);
  EXPECT_STREQ(result.dataFileName, "deep.dtl  ");
  EXPECT_EQ(record.limit, 13);

  result = ReadParameterText(" f\"open to the end\n n14", record);
  EXPECT_STREQ(result.dataFileName, "open to the end");
  EXPECT_EQ(record.limit, 14);

  // 255 characters at most; the rest of the line is not read as keys.
  const std::string longName(300, 'n');
  result = ReadParameterText((" f" + longName + "\nm3").c_str(), record);
  EXPECT_EQ(std::string(result.dataFileName), longName.substr(0, 255));
  EXPECT_EQ(record.limit, 14);
  EXPECT_EQ(record.colourMethod, 3);

  // The longest name the writer writes comes back whole from its quotes.
  const std::string longest(255, 'q');
  char text[kParameterTextSize];
  WriteParameterText(text, sizeof text, PlotRecord{}, longest.c_str());
  result = ReadParameterText(text, record);
  EXPECT_EQ(std::string(result.dataFileName), longest);

  result = ReadParameterText("f", record);
  EXPECT_EQ(result.hasDataFile, 1);
  EXPECT_STREQ(result.dataFileName, "");
}

TEST(ReadPaletteText, ReadsOnlyPaletteSections) {
  ClearStaged();
  ParameterReadResult result =
      ReadPaletteText("%Zirn parameter file p9 010101\r\n x5 f\"a\" p1 0F0E0D\r\n%end\r\n");
  EXPECT_EQ(result.endMode, kEndRecolour);
  EXPECT_EQ(result.fieldCount, 0);
  EXPECT_EQ(result.hasDataFile, 0);
  ExpectStaged(0, 15, 14, 13);
  ExpectStaged(1, 0, 0, 0);
  EXPECT_EQ(ReadPaletteText("x1 y2 %p1 010101").endMode, kEndOfText);
  ExpectStaged(0, 15, 14, 13);
}

class HeaderTest : public ::testing::Test {
 protected:
  int Test(const std::string& text) {
    std::memset(buffer_, 0, sizeof buffer_);
    std::memcpy(buffer_, text.data(), text.size());
    return TestParameterHeader(buffer_, sizeof buffer_);
  }
  char buffer_[kParameterTextSize];
};

TEST_F(HeaderTest, AcceptsHeaderWithAnotherPercentLine) {
  EXPECT_EQ(Test("%Zirn parameter file\r\n x1\r\n%end\r\n"), 0);
  EXPECT_STREQ(buffer_, "%Zirn parameter file\r\n x1\r\n%end\r\n");  // cut behind the %end line
  // Text before the header stays; text behind the first "%end" line is cut.
  EXPECT_EQ(Test("x3 %Zirn parameter file\r\n x1\n%end of it\r\n n5\r\n"), 0);
  EXPECT_STREQ(buffer_, "x3 %Zirn parameter file\r\n x1\n%end of it\r\n");
  // A second "%" line other than %end cuts nothing; the text gets its LF.
  EXPECT_EQ(Test("%Zirn parameter file\r\n%comment\r\n n5"), 0);
  EXPECT_STREQ(buffer_, "%Zirn parameter file\r\n%comment\r\n n5\n");
  // The search for the second line starts 22 characters behind the first "%".
  EXPECT_NE(Test("%Zirn parameter file\n%end\n"), 0);
  EXPECT_EQ(Test("%Zirn parameter file\n x1\n%end"), 0);
  EXPECT_STREQ(buffer_, "%Zirn parameter file\n x1\n%end\n");
}

TEST_F(HeaderTest, RefusesOtherTexts) {
  EXPECT_NE(Test("%Zirn parameter file\r\n x1 y2\r\n"), 0);  // only the header line
  EXPECT_NE(Test("no percent at all"), 0);
  EXPECT_NE(Test("%Zirn parameters\r\n x1\r\n%end\r\n"), 0);
  EXPECT_NE(Test(""), 0);
  EXPECT_NE(Test("%"), 0);
  EXPECT_NE(Test("%Zirn parameter fil%"), 0);
}

TEST_F(HeaderTest, ShortTextsNearTheBufferEndStayInside) {
  // The text ends before the second search could start: nothing is read beyond it.
  char exact[] = "....%Zirn parameter file";  // 5 bytes of room would be needed
  char tight[sizeof exact + kParameterTextReserve];
  std::memcpy(tight, exact, sizeof exact);
  EXPECT_NE(TestParameterHeader(tight, sizeof tight), 0);
  EXPECT_STREQ(tight, "....%Zirn parameter file\n");
  // Without room for the LF and the start key the text is refused untouched.
  std::memcpy(tight, exact, sizeof exact);
  EXPECT_NE(TestParameterHeader(tight, std::strlen(exact) + kParameterTextReserve - 1), 0);
  EXPECT_STREQ(tight, exact);
  char unterminated[4] = {'%', 'Z', 'i', 'r'};
  EXPECT_NE(TestParameterHeader(unterminated, sizeof unterminated), 0);
}

TEST(AppendStartKey, AppendsWithinTheBuffer) {
  char text[8] = "%ab";
  EXPECT_TRUE(AppendStartKey(text, sizeof text));
  EXPECT_STREQ(text, "%ab g\n");
  EXPECT_FALSE(AppendStartKey(text, sizeof text));
  EXPECT_STREQ(text, "%ab g\n");
}

TEST(ReadTextFile, AcceptsTextsShorterThanTheSize) {
  TempFolder folder;
  FakeUiHost host;
  const std::string name = folder.File("p.pmf");
  char buffer[kParameterTextSize];

  ASSERT_TRUE(WriteWholeFile(name, std::string(kParameterFileReadSize - 1, 'a')));
  std::memset(buffer, 'Z', sizeof buffer);
  EXPECT_EQ(ReadTextFile(name.c_str(), buffer, kParameterFileReadSize, host), 1);
  EXPECT_EQ(std::strlen(buffer), kParameterFileReadSize - 1);

  ASSERT_TRUE(WriteWholeFile(name, std::string(kParameterFileReadSize, 'a')));
  EXPECT_EQ(ReadTextFile(name.c_str(), buffer, kParameterFileReadSize, host), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "File '" + name + "' is too long for a parameter file ..");
  host.messages.clear();

  const std::string missing = folder.File("missing.pmf");
  EXPECT_EQ(ReadTextFile(missing.c_str(), buffer, kParameterFileReadSize, host), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Cannot open file '" + missing + "' ..");
  EXPECT_EQ(host.messages[0].caption, "Zirn");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::Error);
}

}  // namespace
