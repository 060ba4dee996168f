#pragma once
// The file and clipboard commands of the dispatcher, run against the main
// window.

#include <windows.h>

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
