#include "shell/titles_win.h"

#include "files/image_state.h"
#include "shell/command_state.h"
#include "shell/titles.h"

void SetPlotTitle(HWND window, const char* text) { SetWindowTextA(window, ComposePlotTitle(text)); }

void SetRegionTitle(HWND window) { SetWindowTextA(window, ComposeRegionTitle()); }

void SetFileTitle(HWND window, int32_t width, int32_t height) {
  FormatFileTitle(g_image.fileName, width, height, g_commands.text, sizeof g_commands.text);
  SetWindowTextA(window, g_commands.text);
}

// No caption: the platform shows its own.
void ShowMemoryError() {
  MessageBoxA(GetFocus(), "Memory Error ..", nullptr, MB_SYSTEMMODAL | MB_ICONERROR);
}

void ShowNotParameterText(HWND window) {
  MessageBoxA(window, "Zirn のパラメータではありません", kProgramName, MB_ICONINFORMATION);
}
