// zirn-render run as a program: the picture it writes, the data file it
// saves and reads back, and its exit codes and messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "colour/image_builder.h"
#include "colour/palette.h"
#include "engine/plain/real_plotters.h"
#include "engine/plot_record.h"
#include "fake_ui_host.h"
#include "files/bitmap_file.h"
#include "files/data_file.h"
#include "files/parameter_text.h"
#include "test_files.h"

namespace {

const char kParameters[] =
    "%Zirn parameter file\r\n"
    " x-2.2 y-1.5 w3 m1 X96 Y64 n300\r\n"
    " p16\r\n"
    " 000000 000007 000700 000707 070000 070007 070700 070707\r\n"
    " 040404 00000F 000F00 000F0F 0F0000 0F000F 0F0F00 0F0F0F\r\n"
    "%end\r\n";

struct RenderRun {
  int exitCode;
  std::string errors;
};

RenderRun RunRender(const TempFolder& folder, const std::string& arguments) {
  const std::string errors = folder.File("stderr.txt");
  const std::string command =
      std::string(ZIRN_RENDER_EXE) + " " + arguments + " >/dev/null 2>" + errors;
  const int status = std::system(command.c_str());
  const std::vector<uint8_t> text = ReadWholeFile(errors);
  return {WEXITSTATUS(status), std::string(text.begin(), text.end())};
}

// The picture the window shows for a record whose counts are in place.
std::vector<uint8_t> PictureOf(PlotRecord& record, const TempFolder& folder) {
  DibBlock dib;
  uint16_t bitsOffset = 0;
  FindCountRange(record);
  EXPECT_TRUE(dib.Resize(kCountImageBitsOffset));
  EXPECT_TRUE(BuildImageFromCounts(record, dib, &bitsOffset));
  const std::string path = folder.File("expected.bmp");
  EXPECT_TRUE(WriteBitmapFile(path.c_str(), dib));
  return ReadWholeFile(path);
}

// A record read from kParameters as the program reads parameter files.
PlotRecord ReadRecord() {
  SetDefaultPalette();
  BuildColourTables();
  char text[kParameterTextSize] = {};
  std::snprintf(text, sizeof text, "%s", kParameters);
  EXPECT_EQ(TestParameterHeader(text, sizeof text), 0);
  EXPECT_TRUE(AppendStartKey(text, sizeof text));
  PlotRecord record;
  ReadParameterText(text, record);
  ApplyStagedPalette();
  return record;
}

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    input_ = folder_.File("view.pmf");
    ASSERT_TRUE(WriteWholeFile(input_, std::string(kParameters)));
  }
  TempFolder folder_;
  std::string input_;
};

TEST_F(RenderTest, WritesThePictureTheWindowWouldShow) {
  ASSERT_EQ(RunRender(folder_, "--quiet " + input_).exitCode, 0);

  PlotRecord record = ReadRecord();
  record.rows = AllocateCountBuffer(record);
  FakeUiHost host;
  ASSERT_EQ(PlotMandelbrot(host, record), kPlotComplete);
  const std::vector<uint8_t> expected = PictureOf(record, folder_);
  FreeCountBuffer(record);
  record.rows = nullptr;

  EXPECT_EQ(ReadWholeFile(folder_.File("view.bmp")), expected);
  EXPECT_EQ(expected.size(), 14u + 104u + 48u * 64u);
}

// ImageMagick's converter by a name no other package installs: a plain
// "convert" may be GraphicsMagick's. Empty when neither version is there.
std::string ImageMagickConvert() {
  for (const char* name : {"convert-im6.q16", "magick"}) {
    if (std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0) {
      return name;
    }
  }
  return {};
}

// ImageMagick, as a decoder of its own, turns both pictures into RGB bytes.
TEST_F(RenderTest, PngHoldsThePixelsOfTheBmp) {
  const std::string convert = ImageMagickConvert();
  if (convert.empty()) GTEST_SKIP() << "ImageMagick is not installed";
  const std::string bmp = folder_.File("view.bmp");
  const std::string png = folder_.File("view.png");
  ASSERT_EQ(RunRender(folder_, "--quiet --bmp " + bmp + " --png " + png + " " + input_).exitCode,
            0);
  std::vector<uint8_t> pixels[2];
  for (int i = 0; i < 2; ++i) {
    const std::string rgb = folder_.File("decoded" + std::to_string(i) + ".rgb");
    const std::string command = convert + " " + (i == 0 ? bmp : png) + " -depth 8 rgb:" + rgb;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    pixels[i] = ReadWholeFile(rgb);
  }
  EXPECT_EQ(pixels[0].size(), 96u * 64u * 3u);
  EXPECT_EQ(pixels[1], pixels[0]);
  // The decoder goes by content: the file must really be a PNG.
  const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const std::vector<uint8_t> written = ReadWholeFile(png);
  ASSERT_GE(written.size(), signature.size());
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), written.begin()));
}

TEST_F(RenderTest, SavedDataFileIsReadInsteadOfComputing) {
  // Named as Save as PMF names it: ".PMF" added, the data file beside it.
  ASSERT_EQ(RunRender(folder_, "--quiet --save " + folder_.File("Saved") + " " + input_).exitCode,
            0);
  const std::string saved = folder_.File("Saved.PMF");
  ASSERT_TRUE(FileExists(saved));
  ASSERT_TRUE(FileExists(folder_.File("Saved.DTL")));

  // Replace the stored counts by a pattern no plot gives; rendering the saved
  // parameter file must show the pattern.
  PlotRecord record = ReadRecord();
  record.rows = AllocateCountBuffer(record);
  for (int32_t row = 0; row < record.sizeY; ++row) {
    for (int32_t column = 0; column < record.sizeX; ++column) {
      CountAt(record, row, column) = static_cast<Count>((row * 7 + column) % 300);
    }
  }
  FakeUiHost host;
  ASSERT_EQ(SaveDataFile(host, record, folder_.File("Saved.DTL").c_str()), kDataSaved);
  const std::vector<uint8_t> expected = PictureOf(record, folder_);
  FreeCountBuffer(record);
  record.rows = nullptr;

  const std::string picture = folder_.File("from-data.bmp");
  ASSERT_EQ(RunRender(folder_, "--quiet --bmp " + picture + " " + saved).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(picture), expected);

  // A damaged data file, or one cut short, is reported as the window would,
  // then computed.
  const std::vector<uint8_t> whole = ReadWholeFile(folder_.File("Saved.DTL"));
  ASSERT_EQ(RunRender(folder_, "--quiet " + input_).exitCode, 0);
  for (const std::vector<uint8_t>& damage :
       {std::vector<uint8_t>{0, 0, 0xFF, 0xFF},
        std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2)}) {
    ASSERT_TRUE(WriteWholeFile(folder_.File("Saved.DTL"), damage));
    const RenderRun damaged = RunRender(folder_, "--quiet --bmp " + picture + " " + saved);
    EXPECT_EQ(damaged.exitCode, 0);
    EXPECT_EQ(damaged.errors,
              "zirn-render: " + folder_.File("Saved.DTL") + ": Unknown data file format ..\n");
    EXPECT_EQ(ReadWholeFile(picture), ReadWholeFile(folder_.File("view.bmp")));
  }
}

// Counts saved by the deep arithmetic (four bytes each at this limit) load
// without it, and counts saved by the 80-bit plotters load with it.
TEST_F(RenderTest, SavedCountsLoadWhateverArithmeticIsChosen) {
  const std::string whole = folder_.File("whole.pmf");
  ASSERT_TRUE(WriteWholeFile(whole, std::string("%Zirn parameter file\n x-2.2 y-1.5 w3 X64 Y48 "
                                                "n100000\n%end\n")));
  for (const char* savedWith : {"--deep", "--integer", ""}) {
    SCOPED_TRACE(savedWith);
    const std::string saved = folder_.File("a.pmf");
    const std::string computed = folder_.File("computed.bmp");
    ASSERT_EQ(RunRender(folder_, std::string("--quiet ") + savedWith + " --bmp " + computed +
                                     " --save " + saved + " " + whole)
                  .exitCode,
              0);
    for (const char* openedWith : {"", "--deep", "--integer"}) {
      const std::string loaded = folder_.File("loaded.bmp");
      const RenderRun run =
          RunRender(folder_, std::string(openedWith) + " --bmp " + loaded + " " + saved);
      EXPECT_EQ(run.errors, "zirn-render: " + saved + ": counts loaded from its data file\n")
          << openedWith;
      EXPECT_EQ(ReadWholeFile(loaded), ReadWholeFile(computed)) << openedWith;
    }
  }
}

// When the data file cannot be written neither file is saved, and both are said so.
TEST_F(RenderTest, AFailedDataFileSaysTheParameterFileWasNotSavedEither) {
  std::filesystem::create_directory(folder_.File("Saved.DTL"));  // no file can take its name
  const RenderRun run =
      RunRender(folder_, "--quiet --save " + folder_.File("Saved") + " " + input_);
  EXPECT_EQ(run.exitCode, 2);
  // The window's message, as UTF-8 on this console.
  const std::string notSaved = reinterpret_cast<const char*>(u8"ファイルを保存できません。");
  const std::string parameterFile = "zirn-render: " + folder_.File("Saved.PMF") + ": ";
  EXPECT_EQ(run.errors, parameterFile + notSaved + "\n" + parameterFile +
                            "File write error.  code:2 " + folder_.File("Saved.DTL") + "\n");
  EXPECT_FALSE(FileExists(folder_.File("Saved.PMF")));
}

TEST_F(RenderTest, ExitCodesAndMessages) {
  const RenderRun missing = RunRender(folder_, folder_.File("absent.pmf"));
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.errors.find("absent.pmf"), std::string::npos) << missing.errors;

  const std::string other = folder_.File("other.pmf");
  ASSERT_TRUE(WriteWholeFile(other, std::string("just some text\n%end\n")));
  const RenderRun notParameters = RunRender(folder_, other);
  EXPECT_EQ(notParameters.exitCode, 2);
  EXPECT_NE(notParameters.errors.find("not a Zirn parameter file"), std::string::npos);

  const std::string tiny = folder_.File("tiny.pmf");
  ASSERT_TRUE(WriteWholeFile(tiny, std::string("%Zirn parameter file\n w1e-7\n%end\n")));
  const RenderRun refused = RunRender(folder_, "--integer " + tiny);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.errors.find("integer"), std::string::npos);
  EXPECT_EQ(RunRender(folder_, "--quiet " + tiny).exitCode, 0);

  for (const char* option : {"--bmp ", "--png "}) {
    const RenderRun unwritable =
        RunRender(folder_, option + folder_.File("no/such/dir.pic") + " " + input_);
    EXPECT_EQ(unwritable.exitCode, 2);
    EXPECT_NE(unwritable.errors.find("dir.pic: cannot be written"), std::string::npos);
  }

  // Without --quiet the arithmetic is named; a deep view takes the deep one.
  EXPECT_EQ(RunRender(folder_, input_).errors,
            "zirn-render: " + input_ + ": computed with 80-bit real arithmetic\n");
  const std::string deep = folder_.File("deep.pmf");
  ASSERT_TRUE(WriteWholeFile(deep, std::string("%Zirn parameter file\n x-0.75 y0.1 w1e-30 "
                                               "X64 Y64\n%end\n")));
  EXPECT_EQ(RunRender(folder_, deep)
                .errors.rfind(
                    "zirn-render: " + deep + ": computed with the deep arithmetic, reference ", 0),
            0u);
  EXPECT_NE(RunRender(folder_, "--deep " + input_).errors.find("deep arithmetic"),
            std::string::npos);
  EXPECT_EQ(RunRender(folder_, "--deep --integer " + input_).exitCode, 2);

  // A height that is no height (1e999 is infinite, 1e-10001 deeper than served):
  // one line naming the file, nothing computed or written.
  const std::string bad = folder_.File("bad.pmf");
  const std::string badPicture = folder_.File("bad.bmp");
  for (const char* height : {"1e999", "1e-10001"}) {
    ASSERT_TRUE(WriteWholeFile(bad, std::string("%Zirn parameter file\n w") + height +
                                        " X32 Y32 n1000\n%end\n"));
    const RenderRun refused = RunRender(folder_, "--deep --bmp " + badPicture + " " + bad);
    EXPECT_EQ(refused.exitCode, 2) << height;
    EXPECT_EQ(refused.errors, "zirn-render: " + bad +
                                  ": its height is not a number from 1e-10000 to 1.8e+308; "
                                  "nothing computed\n");
    EXPECT_FALSE(FileExists(badPicture)) << height;
  }

  EXPECT_EQ(RunRender(folder_, "--frobnicate " + input_).exitCode, 2);
  EXPECT_EQ(RunRender(folder_, "").exitCode, 2);
  EXPECT_EQ(RunRender(folder_, "--threads 0 " + input_).exitCode, 2);
  EXPECT_EQ(RunRender(folder_, "--help").exitCode, 0);
}

}  // namespace
