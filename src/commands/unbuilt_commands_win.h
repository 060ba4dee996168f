#pragma once
// Commands whose flows are not part of the program yet. Each answers
// "このコマンドは、実行できません。" as an unknown command does; the flow that
// replaces it takes its place in the dispatcher's table.

#include <windows.h>

// Any id that no command carries.
LRESULT CommandUnavailable(HWND window);

LRESULT OpenBitmapCommand(HWND window);           // 101
LRESULT SaveBitmapCommand(HWND window);           // 102
LRESULT SaveParametersCommand(HWND window);       // 119
LRESULT OpenParametersCommand(HWND window);       // 120
LRESULT LoadDataFileCommand(HWND window);         // 124
LRESULT OpenDroppedFileCommand(HWND window);      // 125
LRESULT OpenCommandLineFileCommand(HWND window);  // 126
LRESULT CopyBitmapCommand(HWND window);           // 127
LRESULT CopyParametersCommand(HWND window);       // 128
LRESULT FetchClipboardTextCommand(HWND window);   // 129
LRESULT PasteParametersCommand(HWND window);      // 130
LRESULT PastePaletteCommand(HWND window);         // 131
