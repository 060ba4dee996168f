#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "colour/palette.h"
#include "engine/deep/real.h"
#include "engine/deep/view_precision.h"
#include "engine/fpu_precision.h"
#include "engine/plot_record.h"
#include "engine/deep/view_height.h"
#include "files/parameter_text.h"

namespace {

constexpr int kEntriesPerLine = 8;
constexpr size_t kCoordinateTextSize = kMostCoordinateDigits + 16;
constexpr size_t kHeightTextSize = 64;
static_assert(kCoordinateTextSize >= kDataFileNameSize);
// Four coordinates of the most digits, the height, the palette and the f line.
static_assert(4 * (kCoordinateTextSize + 8) + 1024 <= kParameterTextSize);

// mingw's printf in C99 mode (which formats long double) is checked as GNU printf.
#ifdef __MINGW32__
#define ZIRN_PRINTF_CHECK(formatIndex, firstArgument) \
  __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#else
#define ZIRN_PRINTF_CHECK(formatIndex, firstArgument) \
  __attribute__((format(printf, formatIndex, firstArgument)))
#endif

// The text with LF line ends, built item by item.
class ParameterTextArea {
 public:
  // Formats one item on its own and appends it without the padding that its
  // left-justified width put at its end (the padding sits before the item's
  // closing LF when it has one), so no line carries trailing spaces.
  ZIRN_PRINTF_CHECK(2, 3) void AppendItem(const char* format, ...) {
    // The longest items are the f line (a 255-character name and 5 more) and
    // a coordinate of kMostCoordinateDigits digits with its sign, point,
    // exponent and key.
    item_.resize(kCoordinateTextSize + 16);
    va_list arguments;
    va_start(arguments, format);
    const int formatted = std::vsnprintf(item_.data(), item_.size(), format, arguments);
    va_end(arguments);
    if (formatted < 0) return;
    size_t end = std::strlen(item_.c_str());
    const bool lineEnd = end > 0 && item_[end - 1] == '\n';
    if (lineEnd) --end;
    while (end > 0 && item_[end - 1] == ' ') --end;
    Append(item_.data(), end);
    if (lineEnd) Append("\n", 1);
  }

  // Copies the text with every LF turned into CR LF: at most outSize - 1
  // characters and a NUL, never half a line end.
  void CopyWithCrLf(char* out, size_t outSize) const {
    if (outSize == 0) return;
    size_t written = 0;
    for (size_t i = 0; i < length_; ++i) {
      const bool lineEnd = text_[i] == '\n';
      if (written + (lineEnd ? 2 : 1) > outSize - 1) break;
      if (lineEnd) out[written++] = '\r';
      out[written++] = text_[i];
    }
    out[written] = '\0';
  }

 private:
  void Append(const char* bytes, size_t n) {
    const size_t room = kParameterTextSize - length_;
    if (n > room) n = room;
    text_.append(bytes, n);
    length_ += n;
  }

  std::string text_;
  std::string item_;
  size_t length_ = 0;
};

void AppendPaletteLine(ParameterTextArea& area, int first) {
  for (int index = first; index < first + kEntriesPerLine; ++index) {
    int32_t red = 0, green = 0, blue = 0;
    GetPaletteEntry(index, &red, &green, &blue);
    area.AppendItem(" %02X%02X%02X", static_cast<unsigned>(red), static_cast<unsigned>(green),
                    static_cast<unsigned>(blue));
  }
}

// One coordinate line: the 18 digits of the 80-bit value, byte for byte as
// always, while the view needs no more; otherwise `digits` from the precise
// form: for a corner those that put it within a thousandth of a pixel of the
// one plotted, for a Julia constant those its deep plot computes with. A
// coordinate too small for the 80-bit field, which then holds 0, is written
// from the precise form as well.
void AppendCoordinate(ParameterTextArea& area, char key, long double value,
                      const PreciseCoordinate& precise, int digits) {
  if (digits == kExtendedDigits && (value != 0 || ExactCoordinate(value, precise) == 0)) {
    area.AppendItem(" %c%-20.18Lg\n", key, value);
    return;
  }
  std::string text(kCoordinateTextSize, '\0');
  if (FormatDeepReal(ExactCoordinate(value, precise), digits, text.data(), text.size()) == 0)
    return;
  area.AppendItem(" %c%s\n", key, text.c_str());
}

}  // namespace

void WriteParameterText(char* out, size_t outSize, const PlotRecord& record,
                        const char* dataFileName) {
  ExtendedPrecisionScope precision;
  ParameterTextArea area;
  area.AppendItem("%%Zirn parameter file\n");
  AppendCoordinate(area, 'x', record.x, record.preciseX, CoordinateDigits(record.x, record));
  AppendCoordinate(area, 'y', record.y, record.preciseY, CoordinateDigits(record.y, record));
  // A normal double's height as always; a deeper one with its 15 digits too.
  char height[kHeightTextSize];
  if (FormatHeight(record.height, record.preciseHeight, height, sizeof height) != 0) {
    area.AppendItem(" w%-17s\n", height);
  }
  if ((record.flags & kFlagJulia) != 0) {
    const long double resolution = JuliaConstantResolution(record);
    AppendCoordinate(area, 'r', record.juliaR, record.preciseJuliaR,
                     JuliaConstantDigits(record.juliaR, record, resolution));
    AppendCoordinate(area, 'i', record.juliaI, record.preciseJuliaI,
                     JuliaConstantDigits(record.juliaI, record, resolution));
  }
  area.AppendItem(" m%-6d", record.colourMethod);
  area.AppendItem(" X%-6d", record.sizeX);
  area.AppendItem(" Y%-6d", record.sizeY);
  area.AppendItem(" n%-6d", record.limit);
  area.AppendItem(" l%-6d", record.lower);
  area.AppendItem(" u%-6d\n", record.upper);
  area.AppendItem(" p%d\n", kPaletteSize);
  AppendPaletteLine(area, 0);
  area.AppendItem("\n");
  AppendPaletteLine(area, kEntriesPerLine);
  if (dataFileName != nullptr && dataFileName[0] != '\0') {
    area.AppendItem("\n f\"%.255s\"", dataFileName);
  }
  area.AppendItem("\n%%end\n");
  area.CopyWithCrLf(out, outSize);
}
