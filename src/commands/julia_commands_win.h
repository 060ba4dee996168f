#pragma once
// The Julia switching commands and the selection report, for the dispatcher.

#include <windows.h>

#include "shell/selection_report.h"

LRESULT JuliaSetCommand(HWND window);         // 109
LRESULT JuliaStartValueCommand(HWND window);  // 110
LRESULT MandelbrotSetCommand(HWND window);    // 111
LRESULT SelectionReportCommand(HWND window);  // 199

