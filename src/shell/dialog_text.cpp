#include "shell/dialog_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/deep/real.h"
#include "engine/deep/view_precision.h"
#include "engine/deep/view_height.h"
#include "files/parameter_text.h"

namespace {

// Below this magnitude a Julia constant counts as 0: the text asks for the
// Mandelbrot set instead.
constexpr long double kJuliaThreshold = 1e-30L;
constexpr size_t kNumberTextSize = 64;

// Appends to a fixed buffer, cutting what does not fit.
class TextBuilder {
 public:
  TextBuilder(char* out, size_t size) : out_(out), size_(size) {
    if (size_ > 0) out_[0] = '\0';
  }
  void Append(const char* text) {
    if (size_ == 0) return;
    const size_t room = size_ - 1 - length_;
    const size_t count = std::min(std::strlen(text), room);
    std::memcpy(out_ + length_, text, count);
    length_ += count;
    out_[length_] = '\0';
  }
  // key, then the field's text; an empty field adds nothing.
  void AppendField(const char* key, const char* field) {
    if (field[0] == '\0') return;
    Append(key);
    Append(field);
  }
  bool Empty() const { return length_ == 0; }

 private:
  char* out_;
  size_t size_;
  size_t length_ = 0;
};

// The edits show bare numbers: the leading blanks of the field width go.
void CopyTrimmed(const char* text, char* field) {
  while (*text != '\0' && *text != '\n' && std::isspace(static_cast<unsigned char>(*text))) {
    ++text;
  }
  std::snprintf(field, kFieldTextSize, "%s", text);
}

void FormatExtended(long double value, char* field) {
  char text[kNumberTextSize];
  std::snprintf(text, sizeof text, "%17.15Lg", value);
  CopyTrimmed(text, field);
}

// The coordinate edits show 15 digits while the view needs no more than an
// 80-bit value holds, and otherwise every digit the deep view needs, so that
// confirming the dialog plots the same view.
constexpr int kDialogDigits = 15;

// Digits for a coordinate of a view `height` high (its double field and
// precise form) on `sizeY` lines: 0 for the dialog's usual 15, or the count
// of a deep view.
int DeepDigits(long double value, double height, const PreciseCoordinate& preciseHeight,
               int32_t sizeY) {
  const int needed = DigitsNeeded(value, ViewStepLog(height, preciseHeight, sizeY));
  return needed > kExtendedDigits ? needed : 0;
}

// value with the dialog's digits; exact() gives the precise value, which is
// formed only for a deep view, and for a coordinate too small for the 80-bit
// value, which then is 0.
template <typename Exact>
void FormatCoordinate(long double value, int deepDigits, Exact exact, char* field) {
  if (deepDigits == 0 && value == 0) deepDigits = kDialogDigits;
  if (deepDigits == 0 || FormatDeepReal(exact(), deepDigits, field, kFieldTextSize) == 0) {
    FormatExtended(value, field);
  }
}

void FormatRecordCoordinate(long double value, const PreciseCoordinate& precise,
                            const PlotRecord& record, char* field) {
  FormatCoordinate(
      value, DeepDigits(value, record.shownHeight, record.preciseShownHeight, record.sizeY),
      [&] { return ExactCoordinate(value, precise); }, field);
}

// The shown height with 15 digits, at any depth (FormatHeight).
void FormatShownHeight(const PlotRecord& record, char* field) {
  if (FormatHeight(record.shownHeight, record.preciseShownHeight, field, kFieldTextSize) == 0) {
    field[0] = '\0';
  }
}

void FormatInteger(long value, char* field) {
  char text[kNumberTextSize];
  std::snprintf(text, sizeof text, " %ld", value);
  CopyTrimmed(text, field);
}

// A deep Julia view's constant with every digit its deep plot computes with
// (JuliaConstantDigits); otherwise as a corner.
void FormatConstant(long double value, const PreciseCoordinate& precise, const PlotRecord& shown,
                    long double resolution, char* field) {
  if (!std::isfinite(resolution)) {
    FormatRecordCoordinate(value, precise, shown, field);
    return;
  }
  FormatCoordinate(
      value, JuliaConstantDigits(value, shown, resolution),
      [&] { return ExactCoordinate(value, precise); }, field);
}

void FillJuliaFields(const PlotRecord& record, RegionFields& fields) {
  if (record.flags & kFlagJulia) {
    PlotRecord shown = record;  // the view on display
    shown.height = record.shownHeight;
    shown.preciseHeight = record.preciseShownHeight;
    const long double resolution = JuliaConstantResolution(shown);
    FormatConstant(record.juliaR, record.preciseJuliaR, shown, resolution, fields.juliaR);
    FormatConstant(record.juliaI, record.preciseJuliaI, shown, resolution, fields.juliaI);
  } else {
    fields.juliaR[0] = fields.juliaI[0] = '\0';
  }
}

// The Julia part, the limit and the start key that both coordinate dialogs
// put behind their region.
void AppendJuliaLimitAndStart(const RegionFields& fields, TextBuilder& text) {
  const long double real = std::strtold(fields.juliaR, nullptr);
  const long double imaginary = std::strtold(fields.juliaI, nullptr);
  if (std::fabs(real) > kJuliaThreshold || std::fabs(imaginary) > kJuliaThreshold) {
    text.Append("r ");
    text.Append(fields.juliaR);
    text.Append("i ");
    text.Append(fields.juliaI);
  } else {
    text.Append("M ");
  }
  text.AppendField("n ", fields.limit);
  text.Append("g ");
}

// key and a corner coordinate: "%17.15Lg" of its 80-bit value, or the digits
// of a deep view from exact().
template <typename Exact>
void AppendCorner(TextBuilder& text, const char* key, long double corner, Exact exact,
                  const PlotRecord& view) {
  std::string number(kFieldTextSize, '\0');
  const int deepDigits = DeepDigits(corner, view.height, view.preciseHeight, view.sizeY);
  if (deepDigits == 0 || FormatDeepReal(exact(), deepDigits, number.data(), number.size()) == 0) {
    std::snprintf(number.data(), number.size(), "%17.15Lg", corner);
  }
  text.Append(key);
  text.Append(number.c_str());
}

}  // namespace

void FillLowerLeftFields(const PlotRecord& record, RegionFields& fields) {
  FormatInteger(record.limit, fields.limit);
  FormatRecordCoordinate(record.x, record.preciseX, record, fields.x);
  FormatRecordCoordinate(record.y, record.preciseY, record, fields.y);
  FormatShownHeight(record, fields.height);
  FillJuliaFields(record, fields);
}

void FillCentreFields(const PlotRecord& record, RegionFields& fields) {
  const long double width =
      static_cast<long double>(record.shownHeight) * record.sizeX / record.sizeY;
  const long double x = record.x + width / 2;
  const long double y = record.y + static_cast<long double>(record.shownHeight) / 2;
  const DeepReal height = ShownHeightOf(record);
  const auto digits = [&](long double value) {
    return DeepDigits(value, record.shownHeight, record.preciseShownHeight, record.sizeY);
  };
  FormatCoordinate(
      x, digits(x),
      [&] {
        return ExactCoordinate(record.x, record.preciseX) +
               height * record.sizeX / record.sizeY / 2;
      },
      fields.x);
  FormatCoordinate(
      y, digits(y), [&] { return ExactCoordinate(record.y, record.preciseY) + height / 2; },
      fields.y);
  FormatShownHeight(record, fields.height);
  FormatInteger(record.limit, fields.limit);
  FillJuliaFields(record, fields);
}

void FillWholeViewLowerLeft(RegionFields& fields) {
  PlotRecord whole;
  ResetView(whole);
  whole.flags = 0;
  FillLowerLeftFields(whole, fields);
}

void FillWholeViewCentre(RegionFields& fields) {
  PlotRecord whole;
  ResetView(whole);
  whole.flags = 0;
  // Half the height is added to both coordinates: the centre of the square
  // whole view, whatever the image's proportions.
  whole.x += whole.shownHeight / 2;
  whole.y += whole.shownHeight / 2;
  FillLowerLeftFields(whole, fields);
}

void ComposeLowerLeftText(const RegionFields& fields, char* out, size_t size) {
  TextBuilder text(out, size);
  text.AppendField("x ", fields.x);
  text.AppendField("y ", fields.y);
  text.AppendField("h ", fields.height);
  AppendJuliaLimitAndStart(fields, text);
}

void ComposeCentreText(const RegionFields& fields, const PlotRecord& current, char* out,
                       size_t size) {
  // The parameter reader turns the centre fields into numbers; a field left
  // empty keeps the whole view's value.
  std::string first(kFieldTextSize * 4, '\0');
  TextBuilder centreText(first.data(), first.size());
  centreText.AppendField("x ", fields.x);
  centreText.AppendField("y ", fields.y);
  centreText.AppendField("h ", fields.height);
  PlotRecord centre = current;
  ResetView(centre);
  ReadParameterText(first.c_str(), centre);
  centre.sizeX = current.sizeX;
  centre.sizeY = current.sizeY;

  const double height = centre.height;
  const long double width = static_cast<long double>(height) * current.sizeX / current.sizeY;
  TextBuilder text(out, size);
  const DeepReal exactHeight = HeightOf(centre);
  AppendCorner(
      text, "x ", centre.x - width / 2,
      [&] {
        return ExactCoordinate(centre.x, centre.preciseX) -
               exactHeight * current.sizeX / current.sizeY / 2;
      },
      centre);
  AppendCorner(
      text, "y ", centre.y - static_cast<long double>(height) / 2,
      [&] { return ExactCoordinate(centre.y, centre.preciseY) - exactHeight / 2; }, centre);
  char heightText[kNumberTextSize] = "";
  FormatHeight(centre.height, centre.preciseHeight, heightText, sizeof heightText);
  char number[kNumberTextSize + 8];
  std::snprintf(number, sizeof number, "h %17s", heightText);
  text.Append(number);
  AppendJuliaLimitAndStart(fields, text);
}

void FillSizeFields(const PlotRecord& record, SizeFields& fields) {
  std::snprintf(fields.width, kFieldTextSize, " %d", static_cast<int>(record.sizeX));
  std::snprintf(fields.height, kFieldTextSize, " %d", static_cast<int>(record.sizeY));
  std::snprintf(fields.limit, kFieldTextSize, " %d", static_cast<int>(record.limit));
  fields.selection = record.colourMethod - 1;
}

void FillWindowSize(int clientWidth, int clientHeight, SizeFields& fields) {
  std::snprintf(fields.width, kFieldTextSize, " %d", clientWidth);
  std::snprintf(fields.height, kFieldTextSize, " %d", clientHeight - 1);
}

bool ComposeSizeText(const SizeFields& fields, const PlotRecord& current, char* out, size_t size) {
  TextBuilder text(out, size);
  text.AppendField("X ", fields.width);
  text.AppendField("Y ", fields.height);
  text.AppendField("n ", fields.limit);
  if (fields.selection >= 0) {
    char method[32];
    std::snprintf(method, sizeof method, "m %d ", fields.selection + 1);
    text.Append(method);
  }
  if (text.Empty()) return false;

  // An empty field leaves its value as it is.
  auto unchanged = [](const char* field, long value) {
    return field[0] == '\0' || std::atol(field) == value;
  };
  if (unchanged(fields.width, current.sizeX) && unchanged(fields.height, current.sizeY) &&
      unchanged(fields.limit, current.limit)) {
    if (fields.selection >= 0 && fields.selection + 1 != current.colourMethod) text.Append("z ");
  } else {
    text.Append("g ");
  }
  return true;
}
