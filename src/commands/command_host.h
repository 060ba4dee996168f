#pragma once
// What the plot-control flows need from the main window beyond the message
// step: menus, timers, the picture, cursors, posted commands and dialogs. The
// window implements it with Win32; tests use a fake that records each call.

#include <cstdint>

struct PlotRecord;
class UiHost;

// The modal dialogs that leave a parameter text for the dispatcher.
enum class ParameterDialog { Command, LowerLeft, Centre, Size };

class CommandHost {
 public:
  virtual ~CommandHost() = default;
  // Message step, live drawing, title and message boxes of the main window.
  virtual UiHost& Ui() = 0;
  virtual uint32_t TickCount() = 0;
  // The 300 ms timer that shows the rows done in the title.
  virtual void ShowProgress(bool on) = 0;
  // Attaches the reduced menu while a plot runs, the main menu otherwise.
  virtual void SwapMenu() = 0;
  // Builds the picture from the record's counts and fits the window to it.
  virtual bool MakeBitmapFromCounts(PlotRecord& record) = 0;
  // Repaints the whole client area without erasing it first.
  virtual void InvalidateImage() = 0;
  // Drops the display palette so that the next paint makes it again.
  virtual void ReleaseDisplayObjects() = 0;
  virtual void EmptySelection() = 0;
  // "Memory Error .." over the window that has the focus.
  virtual void ShowMemoryError() = 0;
  virtual void PostQuit(int exitCode) = 0;
  virtual void PostClose() = 0;
  virtual void PostCommand(int command) = 0;
  virtual void SetWaitCursor() = 0;
  virtual void RestoreCursor() = 0;
  // Runs the dialog modally and returns the value it ended with.
  virtual int RunDialog(ParameterDialog dialog) = 0;
};
