#pragma once
// The parameter text: the content of parameter files, the clipboard text of
// the parameters and the language of the parameter dialogs. It carries a
// PlotRecord's region, sizes, limit and method, and the 16-colour palette.

#include <cstddef>
#include <cstdint>

struct PlotRecord;
class UiHost;

// The buffers the callers use for a parameter text (on the heap: it is
// large). The longest text the writer makes, a Julia view with four
// coordinates of the most digits (kMostCoordinateDigits, about 10,000 for a
// view 1e-10000 high) and a data-file name of 255 characters, fits.
constexpr size_t kParameterTextSize = 65536;
// ReadTextFile's size for a parameter file: leaves room behind any accepted text.
constexpr size_t kParameterFileReadSize = kParameterTextSize - 4;
// Room TestParameterHeader needs behind the text: its LF, the " g\n" that
// the callers append afterwards, and the NUL.
constexpr size_t kParameterTextReserve = 5;
constexpr size_t kDataFileNameSize = 256;  // a name of up to 255 characters

enum ParameterEndMode : int32_t {
  kEndOfText = 0,    // the text ended
  kEndStart = 1,     // the key g: start a plot
  kEndRecolour = 2,  // the key z (or a palette read by ReadPaletteText): re-colour
};

struct ParameterReadResult {
  int32_t fieldCount = 0;  // keys among x, y, h/w, n, m that were read
  int32_t endMode = kEndOfText;
  int32_t hasDataFile = 0;  // the key f was met
  char dataFileName[kDataFileNameSize] = {};
};

// Writes the text of the record and the program palette into out (at most
// outSize - 1 characters and a NUL; kParameterTextSize holds any text), lines
// ending with CR LF. The f line is written only for a non-empty dataFileName.
void WriteParameterText(char* out, size_t outSize, const PlotRecord& record,
                        const char* dataFileName);

// 0 when the text (NUL-terminated within capacity bytes) is a parameter text:
// a "%Zirn parameter file" line followed by another "%" line. Appends a LF to
// the text and cuts anything behind a "%end" line that is the first "%" line
// after the header. Non-zero otherwise, also when the buffer lacks the
// kParameterTextReserve bytes behind the text.
int TestParameterHeader(char* text, size_t capacity);

// Appends " g\n", the key that ends the reading with a start; false when the
// buffer has no room.
bool AppendStartKey(char* text, size_t capacity);

// Fills the record from the keys of a NUL-terminated text and the staged
// palette from its palette section. Never fails: other bytes are ignored.
ParameterReadResult ReadParameterText(const char* text, PlotRecord& record);

// Reads only the palette sections of a text into the staged palette; endMode
// is kEndRecolour when one was read.
ParameterReadResult ReadPaletteText(const char* text);

// Reads the named file into buffer: 1 when it held at most size - 1 bytes
// (then NUL-terminated), 0 otherwise. A file that cannot be opened is
// reported ("Cannot open file '%s' .."), and so is one too long for buffer.
int ReadTextFile(const char* fileName, char* buffer, size_t size, UiHost& host);
