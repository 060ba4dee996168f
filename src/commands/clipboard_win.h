#pragma once
// The clipboard side of the copy and paste commands.

#include <windows.h>

#include <memory>

// Copies the picture on display as CF_DIB. 1 when memory ran out, else 0.
LRESULT CopyPicture(HWND window);
// Copies the current record's parameter text (without an f line) as CF_TEXT.
// 1 when memory for the clipboard block ran out, else 0.
LRESULT CopyParameterText(HWND window);
// A zero-filled buffer of kParameterTextSize bytes holding the clipboard's
// text, empty when it has none; nullptr when no buffer could be had or the
// text is too long for it (each reported in a message box).
std::unique_ptr<char[]> FetchClipboardText(HWND window);
