#pragma once
// The main window's title and the texts of the information reports. The
// composing is pure; SetPlotTitle and its companions hand the text to a host.

#include <cstddef>
#include <cstdint>

#include "engine/plot_record.h"
#include "shell/command_state.h"

class UiHost;

constexpr const char* kProgramName = "Zirn";

// title prefix + "Julia " or "Mandel " + text, into g_commands.text; the
// prefix is emptied so that a file name is shown in one title only.
const char* ComposePlotTitle(const char* text);
// " (x=%Lg y=%Lg h=%g) %dx%d": the region and the picture size.
void FormatRegionText(const PlotRecord& record, int32_t width, int32_t height, char* out,
                      size_t size);
// The plot title of the current record and the picture on display.
const char* ComposeRegionTitle();
// "Zirn <file name>  <width>x<height>", the title after a BMP was opened.
void FormatFileTitle(const char* fileName, int32_t width, int32_t height, char* out, size_t size);
// The title while Replot or Flip re-colours.
void FormatRangeTitle(const PlotRecord& record, char* out, size_t size);
// The lines of Mode Info.: the set and the arithmetic setting for the next
// plot, the size, limit and count range, and then the arithmetic that
// computed the counts on display (countsShown: the picture shows them).
void FormatModeInfo(const PlotRecord& record, ArithmeticSetting arithmetic, bool countsShown,
                    char* out, size_t size);
// The two durations of Timer Info., as unsigned 32-bit tick differences.
void FormatTimerInfo(uint32_t start, uint32_t computed, uint32_t drawn, char* out, size_t size);
// The title prefix after a parameter file was opened: its name part, cut
// after 43 characters with "~~" appended, then one space.
void SetTitlePrefix(const char* fileNamePart);

void SetPlotTitle(UiHost& ui, const char* text);
void SetRegionTitle(UiHost& ui);
void SetFileTitle(UiHost& ui, int32_t width, int32_t height);
