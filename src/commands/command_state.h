#pragma once
// The plot state that the command dispatcher owns and the window reads: the
// three records, the run flags and the timings of the last plot.

#include <cstdint>

#include "engine/plot_record.h"

constexpr int kTextBufferSize = 512;

struct CommandState {
  PlotRecord current;   // the plot on display or running
  PlotRecord pending;   // parameters staged by a dialog, file or paste
  PlotRecord zoom;      // what a selection picked
  bool plotRunning = false;  // a plotter runs; read by the message step
  bool plotDone = false;     // the picture shows the counts of `current`
  bool integerMode = false;  // arithmetic of the next plot
  uint32_t tickStart = 0;    // tick counts of the last plot: start,
  uint32_t tickComputed = 0; // counts ready,
  uint32_t tickDrawn = 0;    // picture built
  char text[kTextBufferSize] = {};  // titles and message texts
};

extern CommandState g_commands;
