#include "shell/dialog_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/deep/real.h"
#include "files/parameter_text.h"

namespace {

PlotRecord WholeView(int32_t sizeX, int32_t sizeY) {
  PlotRecord record;
  record.sizeX = sizeX;
  record.sizeY = record.shownSizeY = sizeY;
  return record;
}

std::string LowerLeftText(const RegionFields& fields) {
  char text[256];
  ComposeLowerLeftText(fields, text, sizeof text);
  return text;
}

TEST(RegionDialogTextTest, WholeViewShowsBareNumbersAndComposesAMandelbrotStart) {
  RegionFields fields;
  FillLowerLeftFields(WholeView(400, 400), fields);
  EXPECT_STREQ(fields.x, "-2");
  EXPECT_STREQ(fields.y, "-2");
  EXPECT_STREQ(fields.height, "4");
  EXPECT_STREQ(fields.limit, "100");
  EXPECT_STREQ(fields.juliaR, "");
  EXPECT_STREQ(fields.juliaI, "");
  EXPECT_EQ(LowerLeftText(fields), "x -2y -2h 4M n 100g ");
}

TEST(RegionDialogTextTest, JuliaRecordShowsItsConstantToFifteenDigits) {
  PlotRecord record = WholeView(400, 400);
  record.flags = kFlagJulia;
  record.juliaR = -0.7454294L;
  record.juliaI = 1.0L / 3;
  record.x = -0.1234567890123456789L;
  RegionFields fields;
  FillLowerLeftFields(record, fields);
  EXPECT_STREQ(fields.juliaR, "-0.7454294");
  EXPECT_STREQ(fields.juliaI, "0.333333333333333");
  EXPECT_STREQ(fields.x, "-0.123456789012346");
  EXPECT_EQ(LowerLeftText(fields),
            "x -0.123456789012346y -2h 4r -0.7454294i 0.333333333333333n 100g ");
}

// Around the critical point a Julia picture depends on the constant to about
// the square of the pixel step: the dialogs show every digit of it that the
// deep plot computes with, here all 35 it was picked with.
TEST(RegionDialogTextTest, JuliaViewsAroundTheCriticalPointShowTheWholeConstant) {
  PlotRecord record = WholeView(32, 32);
  record.flags = kFlagJulia;
  record.limit = 10000;
  record.height = record.shownHeight = 1e-15;
  SetCoordinateFromText("-5e-16", record.x, record.preciseX);
  SetCoordinateFromText("-5e-16", record.y, record.preciseY);
  SetCoordinateFromText("-0.7436438870371587", record.juliaR, record.preciseJuliaR);
  SetCoordinateFromText("0.13182679368138308962027061766598943", record.juliaI,
                        record.preciseJuliaI);
  RegionFields fields;
  FillLowerLeftFields(record, fields);
  EXPECT_STREQ(fields.juliaI, "0.13182679368138308962027061766598943");
  FillCentreFields(record, fields);
  EXPECT_STREQ(fields.juliaI, "0.13182679368138308962027061766598943");
}

TEST(RegionDialogTextTest, TinyOrEmptyConstantMeansTheMandelbrotSet) {
  RegionFields fields;
  FillLowerLeftFields(WholeView(400, 400), fields);
  std::strcpy(fields.juliaR, "0");
  std::strcpy(fields.juliaI, "0");
  EXPECT_EQ(LowerLeftText(fields), "x -2y -2h 4M n 100g ");
  std::strcpy(fields.juliaR, "1e-31");
  std::strcpy(fields.juliaI, "");
  EXPECT_EQ(LowerLeftText(fields), "x -2y -2h 4M n 100g ");
  std::strcpy(fields.juliaR, "0.3");
  EXPECT_EQ(LowerLeftText(fields), "x -2y -2h 4r 0.3i n 100g ");
  // Empty fields add nothing; the text still starts a plot.
  RegionFields empty;
  EXPECT_EQ(LowerLeftText(empty), "M g ");
}

TEST(RegionDialogTextTest, WholeViewButtonsKeepCornerOrCentre) {
  RegionFields fields;
  std::strcpy(fields.juliaR, "0.3");
  FillWholeViewLowerLeft(fields);
  EXPECT_EQ(LowerLeftText(fields), "x -2y -2h 4M n 100g ");
  FillWholeViewCentre(fields);
  EXPECT_STREQ(fields.x, "0");
  EXPECT_STREQ(fields.y, "0");
  EXPECT_STREQ(fields.height, "4");
  EXPECT_STREQ(fields.limit, "100");
  EXPECT_STREQ(fields.juliaR, "");
}

// Reads a composed text back as the dispatcher will.
PlotRecord ReadBack(const char* text, const PlotRecord& current) {
  PlotRecord record = current;
  ReadParameterText(text, record);
  return record;
}

TEST(RegionDialogTextTest, CentreOfAWidePictureComesBackAsItsCorner) {
  const PlotRecord current = WholeView(640, 480);
  RegionFields fields;
  FillCentreFields(current, fields);
  EXPECT_STREQ(fields.x, "0.666666666666667");
  EXPECT_STREQ(fields.y, "0");
  EXPECT_STREQ(fields.height, "4");
  char text[256];
  ComposeCentreText(fields, current, text, sizeof text);
  const PlotRecord corner = ReadBack(text, current);
  EXPECT_NEAR(static_cast<double>(corner.x), -2, 1e-14);
  EXPECT_EQ(corner.y, -2);
  EXPECT_EQ(corner.height, 4);
  EXPECT_EQ(corner.limit, 100);
  EXPECT_NE(std::strstr(text, "M n 100g "), nullptr);
}

TEST(RegionDialogTextTest, CentreWholeViewSpansTheWidePicture) {
  const PlotRecord current = WholeView(640, 480);
  RegionFields fields;
  FillWholeViewCentre(fields);
  char text[256];
  ComposeCentreText(fields, current, text, sizeof text);
  const PlotRecord corner = ReadBack(text, current);
  EXPECT_NEAR(static_cast<double>(corner.x), -2.66666666666667, 1e-13);
  EXPECT_EQ(corner.y, -2);
}

// A view 1e-1000 high: both dialogs show its height and the digits of its
// corner or centre, and confirming them gives the same view back.
TEST(RegionDialogTextTest, ADeepViewComesBackFromBothDialogs) {
  PlotRecord record = WholeView(400, 400);
  const DeepReal height("1e-1000");
  SetExactHeight(record.height, record.preciseHeight, height);
  SetExactHeight(record.shownHeight, record.preciseShownHeight, height);
  SetExactCoordinate(record.x, record.preciseX, DeepReal(-3) / 4 + height / 7);
  SetExactCoordinate(record.y, record.preciseY, DeepReal(1) / 9);
  const auto fields = std::make_unique<RegionFields>();
  std::vector<char> text(kParameterTextSize);
  for (const bool centre : {false, true}) {
    if (centre) {
      FillCentreFields(record, *fields);
      ComposeCentreText(*fields, record, text.data(), text.size());
    } else {
      FillLowerLeftFields(record, *fields);
      ComposeLowerLeftText(*fields, text.data(), text.size());
    }
    EXPECT_STREQ(fields->height, "1e-1000");
    EXPECT_GT(std::strlen(fields->x), 1000u);
    PlotRecord read = WholeView(400, 400);
    ReadParameterText(text.data(), read);
    EXPECT_EQ(ExactHeight(read.height, read.preciseHeight), height) << centre;
    const DeepReal step = height / 400;
    EXPECT_LE(abs(ExactCoordinate(read.x, read.preciseX) - ToDeepReal(record.preciseX)), step / 100)
        << centre;
    EXPECT_LE(abs(ExactCoordinate(read.y, read.preciseY) - ToDeepReal(record.preciseY)), step / 100)
        << centre;
  }
}

TEST(RegionDialogTextTest, LongestFieldsStayWithinTheBuffer) {
  RegionFields fields;
  for (char* field :
       {fields.x, fields.y, fields.height, fields.juliaR, fields.juliaI, fields.limit}) {
    std::memset(field, '1', kFieldTextSize - 1);
    field[kFieldTextSize - 1] = '\0';
  }
  char text[256];
  ComposeLowerLeftText(fields, text, sizeof text);
  EXPECT_EQ(std::strlen(text), 255u);
  ComposeCentreText(fields, WholeView(400, 400), text, sizeof text);
  EXPECT_LE(std::strlen(text), 255u);
}

TEST(SizeDialogTextTest, FieldsKeepTheirLeadingBlank) {
  PlotRecord record = WholeView(640, 480);
  record.colourMethod = 2;
  SizeFields fields;
  FillSizeFields(record, fields);
  EXPECT_STREQ(fields.width, " 640");
  EXPECT_STREQ(fields.height, " 480");
  EXPECT_STREQ(fields.limit, " 100");
  EXPECT_EQ(fields.selection, 1);
  FillWindowSize(640, 480, fields);
  EXPECT_STREQ(fields.width, " 640");
  EXPECT_STREQ(fields.height, " 479");
}

std::string SizeText(const SizeFields& fields, const PlotRecord& current) {
  char text[256];
  return ComposeSizeText(fields, current, text, sizeof text) ? text : "(nothing)";
}

TEST(SizeDialogTextTest, OnlyANewMethodRecoloursAndANewSizeComputes) {
  const PlotRecord current = WholeView(400, 400);
  SizeFields fields;
  FillSizeFields(current, fields);
  EXPECT_EQ(SizeText(fields, current), "X  400Y  400n  100m 1 ");
  fields.selection = 2;
  EXPECT_EQ(SizeText(fields, current), "X  400Y  400n  100m 3 z ");
  std::strcpy(fields.width, " 640");
  EXPECT_EQ(SizeText(fields, current), "X  640Y  400n  100m 3 g ");
  // Empty fields count as unchanged; with nothing at all there is nothing to send.
  SizeFields empty;
  EXPECT_EQ(SizeText(empty, current), "(nothing)");
  empty.selection = 3;
  EXPECT_EQ(SizeText(empty, current), "m 4 z ");
  std::strcpy(empty.limit, "1000");
  EXPECT_EQ(SizeText(empty, current), "n 1000m 4 g ");
}

}  // namespace

// On a deep Julia view both coordinate dialogs show the digits the view
// needs, so that confirming them unchanged plots the same view.
TEST(RegionDialogTextTest, DeepViewsComeBackUnchangedFromBothDialogs) {
  PlotRecord current = WholeView(640, 480);
  current.height = current.shownHeight = 3e-150;
  current.flags = kFlagJulia;
  SetExactCoordinate(current.x, current.preciseX, DeepReal(-1) / 3);
  SetExactCoordinate(current.y, current.preciseY, DeepReal(2) / 7);
  SetExactCoordinate(current.juliaR, current.preciseJuliaR, sqrt(DeepReal(2)) / -4);
  SetExactCoordinate(current.juliaI, current.preciseJuliaI, DeepReal(1) / 3);
  const DeepReal tolerance = DeepReal(3e-150) / 480 / 1000;
  for (bool centre : {false, true}) {
    RegionFields fields;
    char text[4096];
    if (centre) {
      FillCentreFields(current, fields);
      ComposeCentreText(fields, current, text, sizeof text);
    } else {
      FillLowerLeftFields(current, fields);
      ComposeLowerLeftText(fields, text, sizeof text);
    }
    const PlotRecord read = ReadBack(text, current);
    EXPECT_LE(abs(ToDeepReal(read.preciseX) - ToDeepReal(current.preciseX)), tolerance) << centre;
    EXPECT_LE(abs(ToDeepReal(read.preciseY) - ToDeepReal(current.preciseY)), tolerance) << centre;
    EXPECT_LE(abs(ToDeepReal(read.preciseJuliaR) - ToDeepReal(current.preciseJuliaR)), tolerance);
    EXPECT_EQ(read.height, current.height);
  }
}
