#pragma once
// The flows that control plots: start and its outcomes, re-colouring,
// going back to the previous view and the records at window creation.

#include <cstdint>

#include "commands/command_host.h"
#include "engine/plot_record.h"
#include "shell/command_state.h"

// The current record's counts, just computed or loaded, become the picture on
// display (with their range, title and timing) and the newest history entry.
// False when the picture could not be built.
bool ShowCurrentCounts(CommandHost& host);

// Runs the plotter the record's flags choose (Julia, integer) on every core
// and returns its result code.
int RunPlotter(UiHost& ui, PlotRecord& record);

// The record a start computes, before its count buffer exists: an armed Julia
// start becomes the Julia set of the zoom record's point over the whole view;
// otherwise a waiting zoom region is taken. The arithmetic flags follow the
// arithmetic setting.
void ApplyStartRequests(PlotRecord& record, PlotRecord& zoom, ArithmeticSetting arithmetic);

// Flags 0x008 and 0x010 follow the integer setting, flag 0x1000 the deep one.
void SetArithmeticFlags(PlotRecord& record, ArithmeticSetting arithmetic);
// How every computation or load of counts begins: a staged pending record
// becomes the current one, the history keeps only the view on display, and
// the current record gets a fresh count buffer. Without memory for it the
// program is ended with exit code 3 and false is returned.
bool PrepareCurrentCounts(CommandHost& host);

void StartPlot(CommandHost& host);          // 104
void ReplotImage(CommandHost& host);        // 108
void FlipView(CommandHost& host);           // 113
void InitialiseRecords(CommandHost& host);  // 198
