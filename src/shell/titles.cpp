#include "shell/titles.h"

#include <cstdio>
#include <cstring>

#include "engine/ui_host.h"
#include "engine/deep/view_height.h"
#include "files/double_byte_text.h"
#include "files/image_state.h"
#include "shell/command_state.h"

namespace {

constexpr size_t kRegionTextSize = 256;
constexpr size_t kHeightTextSize = 40;
constexpr size_t kPrefixNameLimit = 43;

}  // namespace

const char* ComposePlotTitle(const char* text) {
  const bool julia = (g_commands.current.flags & (kFlagJulia | kFlagJuliaStart)) != 0;
  std::snprintf(g_commands.text, sizeof g_commands.text, "%s%s%s", g_commands.titlePrefix,
                julia ? "Julia " : "Mandel ", text);
  g_commands.titlePrefix[0] = '\0';
  return g_commands.text;
}

void FormatRegionText(const PlotRecord& record, int32_t width, int32_t height, char* out,
                      size_t size) {
  char shownHeight[kHeightTextSize] = "";
  FormatShortHeight(record.height, record.preciseHeight, shownHeight, sizeof shownHeight);
  std::snprintf(out, size, " (x=%Lg y=%Lg h=%s) %dx%d", record.x, record.y, shownHeight,
                static_cast<int>(width), static_cast<int>(height));
}

const char* ComposeRegionTitle() {
  char region[kRegionTextSize];
  FormatRegionText(g_commands.current, g_image.width, g_image.height, region, sizeof region);
  return ComposePlotTitle(region);
}

void FormatFileTitle(const char* fileName, int32_t width, int32_t height, char* out, size_t size) {
  std::snprintf(out, size, "%s %s  %dx%d%s", kProgramName, fileName, static_cast<int>(width),
                static_cast<int>(height), "");
}

void FormatRangeTitle(const PlotRecord& record, char* out, size_t size) {
  std::snprintf(out, size, "upper limit = %6d lower limit = %6d", static_cast<int>(record.upper),
                static_cast<int>(record.lower));
}

namespace {

constexpr const char* kRealName = "64 bit real (NDP)";
constexpr const char* kIntegerName = "32 bit integer";
constexpr const char* kDeepName = "multi-precision";

// The last line's arithmetic: what computed the counts on display.
void FormatPlottedArithmetic(const PlotRecord& record, bool countsShown, char* out, size_t size) {
  if (!countsShown) {
    std::snprintf(out, size, "none");
    return;
  }
  switch (record.plottedArithmetic) {
    case kPlottedReal:
      std::snprintf(out, size, "%s", kRealName);
      return;
    case kPlottedInteger:
      std::snprintf(out, size, "%s", kIntegerName);
      return;
    case kPlottedDeep:
      if (record.referenceBits > 0) {
        std::snprintf(out, size, "%s, reference %d bits", kDeepName,
                      static_cast<int>(record.referenceBits));
      } else {
        std::snprintf(out, size, "%s (data file)", kDeepName);
      }
      return;
    default:
      std::snprintf(out, size, "data file");
      return;
  }
}

}  // namespace

void FormatModeInfo(const PlotRecord& record, ArithmeticSetting arithmetic, bool countsShown,
                    char* out, size_t size) {
  const bool integer = arithmetic == kArithmeticInteger;
  char plotted[64];
  FormatPlottedArithmetic(record, countsShown, plotted, sizeof plotted);
  std::snprintf(out, size,
                "mode  : %s%s%s\n"
                "size  : X %d, Y %d\n"
                "limit :   %d\n"
                "upper :   %d\n"
                "lower :   %d\n"
                "plot  : %s\n",
                (record.flags & kFlagJulia) ? "Julia " : "Mandelbrot ",
                integer ? kIntegerName : (arithmetic == kArithmeticDeep ? kDeepName : kRealName),
                integer ? " 386 code" : " ", static_cast<int>(record.sizeX),
                static_cast<int>(record.sizeY), static_cast<int>(record.limit),
                static_cast<int>(record.upper), static_cast<int>(record.lower), plotted);
}

void FormatTimerInfo(uint32_t start, uint32_t computed, uint32_t drawn, char* out, size_t size) {
  const unsigned long computing = static_cast<uint32_t>(computed - start);
  const unsigned long drawing = static_cast<uint32_t>(drawn - computed);
  std::snprintf(out, size, "計算／処理時間 : %lu [msec]\nﾋﾞｯﾄﾏｯﾌﾟ作成 : %lu [msec]", computing,
                drawing);
}

void SetTitlePrefix(const char* fileNamePart) {
  const size_t length = std::strlen(fileNamePart);
  size_t cut = length > kPrefixNameLimit ? kPrefixNameLimit : length;
  // Never half a double-byte character: a lone first byte would swallow the "~".
  if (cut < length && TrailByteState(fileNamePart, cut) == kAfterLeadByte) --cut;
  const int shown = static_cast<int>(cut);
  std::snprintf(g_commands.titlePrefix, sizeof g_commands.titlePrefix, "%.*s%s ", shown,
                fileNamePart, length > kPrefixNameLimit ? "~~" : "");
}

void SetPlotTitle(UiHost& ui, const char* text) { ui.SetTitle(ComposePlotTitle(text)); }

void SetRegionTitle(UiHost& ui) { ui.SetTitle(ComposeRegionTitle()); }

void SetFileTitle(UiHost& ui, int32_t width, int32_t height) {
  FormatFileTitle(g_image.fileName, width, height, g_commands.text, sizeof g_commands.text);
  ui.SetTitle(g_commands.text);
}
