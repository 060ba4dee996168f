#pragma once
// The commands that move work in and out of files: opening a parameter file
// (from the menu, a drop or the command line), loading its data file, saving
// the parameters with the counts, and saving and opening BMP files.

#include "commands/file_command_host.h"

// The pending record a parameter text is read into: the current record over
// the whole view, a Mandelbrot set unless the text names a Julia constant.
void StageWholeView();

// Reads the parameter file named by the current file name into the pending
// record, then shows its plot: from the data file beside it when there is
// one, computed otherwise.
void OpenParameterFile(FileCommandHost& host);

// While a data file is written, the window's message step keeps running, yet
// the record being written must not change and the window must not go away.
// During a save these return false: commands are refused, an exit (the
// command or a close) is remembered and the window closes once the save
// ended; otherwise the last file command asked for (a dropped file, Open or
// Save) is kept and runs then.
bool CommandMayRun(int command);
bool CloseMayProceed();

void OpenBitmapFlow(FileCommandHost& host);           // 101
void SaveBitmapFlow(FileCommandHost& host);           // 102
void SaveParametersFlow(FileCommandHost& host);       // 119
void OpenParametersFlow(FileCommandHost& host);       // 120
void LoadDataFileFlow(FileCommandHost& host);         // 124
void OpenDroppedFileFlow(FileCommandHost& host);      // 125
void OpenCommandLineFileFlow(FileCommandHost& host);  // 126
