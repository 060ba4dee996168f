#include "picture_checks.h"

#include <cstdio>
#include <sstream>

#include "colour/dib_layout.h"
#include "colour/image_builder.h"
#include "colour/palette.h"
#include "engine/fpu_precision.h"
#include "engine/run_plot.h"
#include "colour/dib_block.h"

namespace e2e {

namespace {

// A 4-bit packed DIB as screen colours, top row first.
Picture FromFourBitDib(const DibBlock& dib, uint16_t bitsOffset) {
  const uint8_t* block = dib.Data();
  Picture picture;
  picture.width = static_cast<int>(ReadLe32(block + kWidthField));
  picture.height = static_cast<int>(ReadLe32(block + kHeightField));
  const uint64_t rowBytes = DibRowBytes(4, static_cast<uint32_t>(picture.width));
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* row =
        block + bitsOffset + rowBytes * static_cast<uint64_t>(picture.height - 1 - y);
    for (int x = 0; x < picture.width; ++x) {
      const int index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
      const uint8_t* quad = block + kInfoHeaderSize + kRgbQuadSize * index;
      picture.pixels[static_cast<size_t>(y) * picture.width + x] = Rgb(quad[2], quad[1], quad[0]);
    }
  }
  return picture;
}

bool SamePixel(const Picture& shown, const Picture& expected, int x, int y, int sourceX,
               int sourceY) {
  return shown.At(x, y) == expected.At(sourceX + x, sourceY + y);
}

// The compared area: what fits of expected from the source point into shown.
void ComparedSize(const Picture& shown, const Picture& expected, int sourceX, int sourceY,
                  int* width, int* height) {
  *width = std::min(shown.width, expected.width - sourceX);
  *height = std::min(shown.height, expected.height - sourceY);
}

}  // namespace

int CountColour(const Picture& picture, uint32_t colour, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = std::max(top, 0); y <= bottom && y < picture.height; ++y) {
    for (int x = std::max(left, 0); x <= right && x < picture.width; ++x) {
      if (picture.At(x, y) == colour) ++count;
    }
  }
  return count;
}

Picture CorePicture(PlotRecord record) {
  ExtendedPrecisionScope precision;
  SetDefaultPalette();
  BuildColourTables();
  record.rows = AllocateCountBuffer(record);
  NeverStopHost host;
  Picture picture;
  if (record.rows == nullptr) return picture;
  // The plotters the window uses: the fast ones give the reference's counts,
  // and deep views take the deep arithmetic as in the window.
  const int result = RunPlot(host, record, PlotOptions{});
  DibBlock dib;
  uint16_t bitsOffset = 0;
  if (result == kPlotComplete) {
    FindCountRange(record);
    if (dib.Resize(1064) && BuildImageFromCounts(record, dib, &bitsOffset)) {
      picture = FromFourBitDib(dib, bitsOffset);
    }
  }
  FreeCountBuffer(record);
  return picture;
}

Picture DefaultViewPicture() {
  PlotRecord record;
  ResetView(record);
  record.sizeX = record.sizeY = record.shownSizeY = 400;
  return CorePicture(record);
}

bool ShowsAt(const Picture& shown, const Picture& expected, int sourceX, int sourceY) {
  int width = 0;
  int height = 0;
  ComparedSize(shown, expected, sourceX, sourceY, &width, &height);
  if (width <= 0 || height <= 0) return false;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!SamePixel(shown, expected, x, y, sourceX, sourceY)) return false;
    }
  }
  return true;
}

std::string DescribeDifference(const Picture& shown, const Picture& expected, int sourceX,
                               int sourceY) {
  int width = 0;
  int height = 0;
  ComparedSize(shown, expected, sourceX, sourceY, &width, &height);
  std::ostringstream text;
  text << "shown " << shown.width << "x" << shown.height << ", expected " << expected.width << "x"
       << expected.height << " from (" << sourceX << "," << sourceY << ")";
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (SamePixel(shown, expected, x, y, sourceX, sourceY)) continue;
      text << std::hex << "; first difference at client (" << std::dec << x << "," << y
           << "): shown " << std::hex << shown.At(x, y) << ", expected "
           << expected.At(sourceX + x, sourceY + y);
      return text.str();
    }
  }
  return text.str();
}

bool ShowsSoon(const ZirnProcess& zirn, const Picture& expected, int timeoutMs,
               std::string* difference) {
  constexpr int kRepaintAfterMs = 3000;
  Picture shown;
  const auto shows = [&] { return ShowsAt(shown = zirn.CaptureClient(), expected, 0, 0); };
  if (WaitUntil(shows, kRepaintAfterMs < timeoutMs ? kRepaintAfterMs : timeoutMs)) return true;
  if (timeoutMs > kRepaintAfterMs) {
    std::fprintf(stderr, "picture not shown after %d ms (%s); window repainted\n",
                 kRepaintAfterMs, DescribeDifference(shown, expected, 0, 0).c_str());
    RedrawWindow(zirn.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    if (WaitUntil(shows, timeoutMs - kRepaintAfterMs)) return true;
  }
  if (difference != nullptr) *difference = DescribeDifference(shown, expected, 0, 0);
  return false;
}

bool SavePicture(const Picture& picture, const std::string& fileName) {
  const uint32_t rowBytes =
      static_cast<uint32_t>(DibRowBytes(24, static_cast<uint32_t>(picture.width)));
  const uint32_t imageSize = rowBytes * static_cast<uint32_t>(picture.height);
  uint8_t headers[54] = {'B', 'M'};
  WriteLe32(headers + 2, 54 + imageSize);
  WriteLe32(headers + 10, 54);
  WriteLe32(headers + 14, 40);
  WriteLe32(headers + 18, static_cast<uint32_t>(picture.width));
  WriteLe32(headers + 22, static_cast<uint32_t>(picture.height));
  WriteLe16(headers + 26, 1);
  WriteLe16(headers + 28, 24);
  WriteLe32(headers + 34, imageSize);
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(headers, 1, sizeof headers, file) == sizeof headers;
  std::string row(rowBytes, '\0');
  for (int y = picture.height - 1; y >= 0 && written; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t pixel = picture.At(x, y);
      row[3 * x] = static_cast<char>(pixel & 0xFF);
      row[3 * x + 1] = static_cast<char>((pixel >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<char>((pixel >> 16) & 0xFF);
    }
    written = std::fwrite(row.data(), 1, row.size(), file) == row.size();
  }
  return std::fclose(file) == 0 && written;
}

}  // namespace e2e
