#pragma once
// Fills the shell's dropped-file list from WM_DROPFILES; the command that
// opens a dropped parameter file reads it.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

// Reads every file of the drop into a new record of the list and finishes
// the drop (DragFinish).
void ReadDrop(HDROP drop);
