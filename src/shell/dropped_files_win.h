#pragma once
// The shell's dropped-file list, filled from WM_DROPFILES and read by the
// command that opens a dropped parameter file.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "shell/drop_list.h"

// The list of the last drop; emptied when the window closes.
extern DropList g_droppedFiles;

// Reads every file of the drop into a new record of the list and finishes
// the drop (DragFinish).
void ReadDrop(HDROP drop);
