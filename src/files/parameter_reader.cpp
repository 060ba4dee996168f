#include <climits>
#include <cstdlib>
#include <cstring>

#include "colour/palette.h"
#include "engine/deep/real.h"
#include "engine/fpu_precision.h"
#include "engine/plot_record.h"
#include "engine/deep/view_height.h"
#include "files/parameter_text.h"

namespace {

constexpr int32_t kMinImageSize = 32;
constexpr int32_t kMaxImageSize = 4000;
constexpr size_t kPaletteCopySize = 1024;  // at most 1023 bytes of text
constexpr size_t kEntryCharacters = 6;     // three hexadecimal pairs

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* SkipWhiteSpace(const char* p) {
  while (IsWhiteSpace(*p)) ++p;
  return p;
}

// Just behind the next LF, or at the end of the text.
const char* SkipLine(const char* p) {
  while (*p != '\0' && *p++ != '\n') {
  }
  return p;
}

// Numbers are white space, a sign, digits, a point and an exponent. Hexadecimal
// numbers and words such as "inf" are not numbers here (the runtime's
// conversions would take them), so they read as 0 like any text without digits.
bool StartsDecimalNumber(const char* p) {
  p = SkipWhiteSpace(p);
  if (*p == '+' || *p == '-') ++p;
  if (*p == '0' && (p[1] == 'x' || p[1] == 'X')) return false;
  return (*p >= '0' && *p <= '9') || *p == '.';
}

// A coordinate key: the 80-bit field as the runtime converts the text, and
// beside it every digit of the text (up to the precise form's precision).
void ReadCoordinate(const char* p, long double& field, PreciseCoordinate& precise) {
  if (StartsDecimalNumber(p)) {
    SetCoordinateFromText(p, field, precise);
  } else {
    field = 0;
    precise = PreciseFromLongDouble(0);
  }
}

// The height key: the double as the runtime converts the text, and beside it
// the height at any depth (view_height.h).
void ReadHeight(const char* p, double& field, PreciseCoordinate& precise) {
  if (StartsDecimalNumber(p)) {
    SetHeightFromText(p, field, precise);
  } else {
    field = 0;
    precise = PreciseFromLongDouble(0);
  }
}

// A long integer of 32 bits, as on the platforms the files come from: values
// beyond the range give its ends.
int32_t IntegerValue(const char* p) {
  const long value = std::strtol(p, nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (static_cast<unsigned char>(c) & 0x5F) - 55;
}

int32_t HexPair(const char* p) { return (HexDigit(p[0]) * 16 + HexDigit(p[1])) & 0xFF; }

// The palette section behind the key p: a count, then up to 16 entries of
// three hexadecimal pairs, on as many lines as they take. Returns the position
// behind the last entry read. An entry cut off by the end of the text is not read.
const char* ReadPaletteEntries(const char* text) {
  char copy[kPaletteCopySize];
  size_t length = 0;
  for (; length < sizeof copy - 1 && text[length] != '\0'; ++length) {
    const char c = text[length];
    copy[length] = (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
  }
  copy[length] = '\0';

  int32_t count = IntegerValue(copy);
  if (count > kPaletteSize) count = kPaletteSize;
  size_t position = 0;
  while (IsWhiteSpace(copy[position])) ++position;
  while (copy[position] != '\0' && !IsWhiteSpace(copy[position])) ++position;
  while (IsWhiteSpace(copy[position])) ++position;

  for (int32_t entry = 0; entry < count && length - position >= kEntryCharacters; ++entry) {
    const char* pairs = copy + position;
    SetStagedEntry(entry, HexPair(pairs), HexPair(pairs + 2), HexPair(pairs + 4));
    position += kEntryCharacters;
    while (IsWhiteSpace(copy[position])) ++position;
  }
  return text + position;
}

// The data-file name behind the key f, quoted or the rest of the line, into
// name (kDataFileNameSize bytes), TABs read as spaces. Returns where the scan
// goes on: behind the closing quote, otherwise at the end of the line. The
// bound is on the name itself, not on the text behind the f, so that every
// name of up to 255 characters comes back whole from its quotes; the rest of
// a longer name is passed over, not read as keys.
const char* ReadDataFileName(const char* p, char* name) {
  while (*p != '\r' && *p != '\n' && IsWhiteSpace(*p)) ++p;
  const bool quoted = *p == '"';
  if (quoted) ++p;
  size_t length = 0;
  for (; *p != '\0' && *p != '\r' && *p != '\n' && !(quoted && *p == '"'); ++p) {
    if (length < kDataFileNameSize - 1) name[length++] = *p == '\t' ? ' ' : *p;
  }
  name[length] = '\0';
  return quoted && *p == '"' ? p + 1 : p;
}

int32_t ClampImageSize(int32_t size) {
  if (size > kMaxImageSize) size = kMaxImageSize;
  if (size < kMinImageSize) size = kMinImageSize;
  return size;
}

}  // namespace

// Each value key converts the text right behind it; the scan then goes on with
// the byte behind the key letter, so the number's characters pass through the
// scan (none of them is a key) and keys need no separators.
ParameterReadResult ReadParameterText(const char* text, PlotRecord& record) {
  ExtendedPrecisionScope precision;
  ParameterReadResult result;
  record.lower = 0;
  record.upper = 0;
  const char* p = text;
  bool reading = true;
  while (reading) {
    switch (*p++) {
      case '\0':
        result.endMode = kEndOfText;
        reading = false;
        break;
      case '%':
        p = SkipLine(p);
        break;
      case 'x':
        ReadCoordinate(p, record.x, record.preciseX);
        ++result.fieldCount;
        break;
      case 'y':
        ReadCoordinate(p, record.y, record.preciseY);
        ++result.fieldCount;
        break;
      case 'h':
      case 'w':
        ReadHeight(p, record.height, record.preciseHeight);
        ++result.fieldCount;
        break;
      case 'n':
        record.limit = IntegerValue(p);
        ++result.fieldCount;
        break;
      case 'm':
        record.colourMethod = IntegerValue(p);
        ++result.fieldCount;
        break;
      case 'X':
        record.sizeX = IntegerValue(p) & 0xFFFE;
        break;
      case 'Y':
        record.shownSizeY = record.sizeY;
        record.sizeY = IntegerValue(p);
        break;
      case 'r':
        record.flags |= kFlagJulia;
        ReadCoordinate(p, record.juliaR, record.preciseJuliaR);
        break;
      case 'i':
        record.flags |= kFlagJulia;
        ReadCoordinate(p, record.juliaI, record.preciseJuliaI);
        break;
      case 'M':
        record.flags &= ~static_cast<uint32_t>(kFlagJulia);
        break;
      case 'O':
        record.flags |= kFlagLiveDrawing;
        break;
      case 'D':
        record.flags |= kFlagD;
        break;
      case 'p':
        p = ReadPaletteEntries(p);
        break;
      case 'f':
        p = ReadDataFileName(p, result.dataFileName);
        result.hasDataFile = 1;
        break;
      case 'g':
        result.endMode = kEndStart;
        reading = false;
        break;
      case 'z':
        result.endMode = kEndRecolour;
        reading = false;
        break;
      default:
        break;
    }
  }
  ShowHeight(record);
  record.sizeX = ClampImageSize(record.sizeX);
  record.sizeY = ClampImageSize(record.sizeY);
  return result;
}

ParameterReadResult ReadPaletteText(const char* text) {
  ParameterReadResult result;
  const char* p = text;
  while (*p != '\0') {
    const char key = *p++;
    if (key == '%') {
      p = SkipLine(p);
    } else if (key == 'p') {
      p = ReadPaletteEntries(p);
      result.endMode = kEndRecolour;
    }
  }
  return result;
}
