#include "shell/painting_win.h"

#include <vector>

#include "colour/dib_layout.h"
#include "colour/image_builder.h"
#include "files/image_state.h"
#include "shell/shell_state_win.h"

namespace {

// The logical palette of a picture's colour table, or none.
HPALETTE MakeDisplayPalette(const uint8_t* block, size_t size) {
  DisplayPaletteLayout layout;
  if (!DescribeDisplayPalette(block, size, &layout)) return nullptr;
  if (layout.useStockPalette) return static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + layout.entries.size() * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
  palette->palVersion = layout.version;
  palette->palNumEntries = static_cast<WORD>(layout.entries.size());
  for (size_t i = 0; i < layout.entries.size(); ++i) {
    const DisplayPaletteEntry& entry = layout.entries[i];
    palette->palPalEntry[i] = {entry.red, entry.green, entry.blue, entry.flags};
  }
  return CreatePalette(palette);
}

struct DibSize {
  int width;
  int height;
};

// Width and height as the low 16 bits of the header fields, unsigned.
DibSize HeaderSize(const uint8_t* header) {
  return {ReadLe16(header + kWidthField), ReadLe16(header + kHeightField)};
}

// True when the rows of a width x height picture at bitsOffset lie inside the block.
bool RowsInsideBlock(const uint8_t* block, size_t size, uint16_t bitsOffset, DibSize picture) {
  const uint64_t rows =
      DibRowBytes(ReadLe16(block + kBitCountField), picture.width) * picture.height;
  return bitsOffset <= size && rows <= size - bitsOffset;
}

void DrawImage(HWND window, HDC dc, const uint8_t* block) {
  const DibSize picture = HeaderSize(block);
  if (!RowsInsideBlock(block, g_image.dib.Size(), g_image.bitsOffset, picture)) return;
  SetWindowOrgEx(dc, GetScrollPos(window, SB_HORZ), GetScrollPos(window, SB_VERT), nullptr);
  SetDIBitsToDevice(dc, 0, 0, picture.width, picture.height, 0, 0, 0, picture.height,
                    block + g_image.bitsOffset, reinterpret_cast<const BITMAPINFO*>(block),
                    DIB_RGB_COLORS);
}

}  // namespace

// The whole picture is handed to the device on every paint; the platform
// clips it to the invalid part. Scrolling only moves the window origin.
void PaintImage(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const uint8_t* block = g_image.dib.Data();
  if (block != nullptr && g_image.dib.Size() >= kInfoHeaderSize) {
    HPALETTE previous = nullptr;
    const bool hasColourTable = ReadLe32(block + kColoursUsedField) != 0;
    if (hasColourTable) {
      if (g_shell.displayPalette == nullptr) {
        g_shell.displayPalette = MakeDisplayPalette(block, g_image.dib.Size());
      }
      if (g_shell.displayPalette == nullptr) {
        MessageBoxA(window, "can't make palette.", "error", MB_ICONERROR);
        EndPaint(window, &paint);
        return;
      }
      previous = SelectPalette(dc, g_shell.displayPalette, FALSE);
      RealizePalette(dc);
    }
    DrawImage(window, dc, block);
    if (hasColourTable) SelectPalette(dc, previous, FALSE);
  }
  EndPaint(window, &paint);
}

void ReleaseDisplayObjects() {
  if (g_shell.displayPalette != nullptr) {
    DeleteObject(g_shell.displayPalette);
    g_shell.displayPalette = nullptr;
  }
}

void DrawPackedDib(HDC dc, int x, int y, const uint8_t* packedDib) {
  const uint32_t colours = DibColourCount(packedDib, kInfoHeaderSize);
  const uint8_t* bits = packedDib + kInfoHeaderSize + kRgbQuadSize * colours;
  const DibSize picture = HeaderSize(packedDib);
  SetDIBitsToDevice(dc, x, y, picture.width, picture.height, 0, 0, 0, picture.height, bits,
                    reinterpret_cast<const BITMAPINFO*>(packedDib), DIB_RGB_COLORS);
}
