#pragma once
// The plot state behind the window: the three records, the run flags, the
// timings of the last plot and the texts that commands compose or hand to
// each other. The commands change it; the window reads it.

#include <cstdint>

#include "engine/plot_record.h"
#include "files/parameter_text.h"

constexpr int kTextBufferSize = 512;    // titles and message texts
constexpr int kDialogTextSize = 65536;  // parameter text a dialog leaves behind
constexpr int kTitlePrefixSize = 64;    // file name shown once in the next title

enum CursorKind : int32_t { kLineCursor = 1, kBlockCursor = 2 };

// The arithmetic the next plot asks for (menu items 122, 123 and 148). Real
// takes the 80-bit plotters while they resolve the view and the deep
// arithmetic past that; Deep takes the deep arithmetic at every depth.
enum ArithmeticSetting : int32_t {
  kArithmeticReal = 0,
  kArithmeticInteger = 1,
  kArithmeticDeep = 2
};

struct CommandState {
  PlotRecord current;                              // the plot on display or running
  PlotRecord pending;                              // parameters staged by a dialog, file or paste
  PlotRecord zoom;                                 // what a selection picked
  bool plotRunning = false;                        // a plotter runs; read by the message step
  bool saveRunning = false;                        // a data file is being written from `current`
  bool closeAfterSave = false;                     // an exit or close waits for the save's end
  int32_t commandAfterSave = 0;                    // the last file command asked for during a save
  bool plotDone = false;                           // the picture shows the counts of `current`
  ArithmeticSetting arithmetic = kArithmeticReal;  // of the next plot
  int32_t cursorKind = kBlockCursor;               // how a selection is drawn
  bool clearOnPress = false;                       // a left press first empties the selection
  uint32_t tickStart = 0;                          // tick counts of the last plot: start,
  uint32_t tickComputed = 0;                       // counts ready,
  uint32_t tickDrawn = 0;                          // picture built
  char text[kTextBufferSize] = {};                 // titles and message texts
  char dialogText[kDialogTextSize] = {};           // composed by the parameter dialogs
  char titlePrefix[kTitlePrefixSize] = {};         // put before the next plot title
  ParameterReadResult lastRead;                    // the latest parameter text a command read
};

extern CommandState g_commands;
