#include "commands/file_commands_win.h"

#include <commdlg.h>

#include "commands/clipboard_win.h"
#include "commands/file_commands.h"
#include "commands/paste_commands.h"
#include "commands/window_file_host_win.h"
#include "files/image_state.h"
#include "shell/dropped_files_win.h"
#include "shell/image_flows_win.h"
#include "shell/palette_tools_win.h"
#include "shell/shell_state_win.h"
#include "shell/titles_win.h"

namespace {

constexpr char kParameterFilter[] = "parameter (*.PMF)\0*.PMF\0";
constexpr char kBitmapFilter[] = "bitmap (*.BMP)\0*.BMP\0";
constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kSaveFlags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
// The save dialogs hand back at most 127 characters, so that the extension
// the save appends still fits the current file name.
constexpr DWORD kSaveNameSize = 128;

template <void (*Flow)(FileCommandHost&)>
LRESULT RunFileFlow(HWND window) {
  WindowFileCommandHost host(window);
  Flow(host);
  return 0;
}

}  // namespace

bool WindowFileCommandHost::AskFileName(FileDialog dialog) {
  const bool save = dialog == FileDialog::SaveParameters || dialog == FileDialog::SaveBitmap;
  const bool parameters =
      dialog == FileDialog::OpenParameters || dialog == FileDialog::SaveParameters;
  OPENFILENAMEA request = {};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  request.hwndOwner = window_;
  request.lpstrFilter = parameters ? kParameterFilter : kBitmapFilter;
  request.nFilterIndex = 1;
  request.lpstrFile = g_image.fileName;
  if (save) {
    request.hInstance = g_shell.instance;
    request.nMaxFile = kSaveNameSize;
    request.Flags = kSaveFlags;
    request.lpstrDefExt = "";
    return GetSaveFileNameA(&request) != 0;
  }
  request.nMaxFile = sizeof g_image.fileName;
  request.lpstrTitle = "Open File";
  request.Flags = kOpenFlags;
  return GetOpenFileNameA(&request) != 0;
}

int WindowFileCommandHost::OpenPaletteTool() { return ::OpenPaletteTool(); }
void WindowFileCommandHost::HidePaletteTool() { ::HidePaletteTool(); }
void WindowFileCommandHost::ShowPaletteTool(int tool) { ::ShowPaletteTool(tool, true); }
void WindowFileCommandHost::ClosePaletteTool() { ::ClosePaletteTool(); }

bool WindowFileCommandHost::LoadBitmapImage() { return ::LoadBitmapImage(window_); }

void WindowFileCommandHost::ShowNotParameterText() { ::ShowNotParameterText(window_); }

void WindowFileCommandHost::ShowCannotSave() {
  MessageBoxA(window_, "ファイルを保存できません。", "Zirn", MB_ICONINFORMATION);
}

const char* WindowFileCommandHost::FirstDroppedName() {
  return g_shell.droppedFiles.FirstDroppedName();
}

std::unique_ptr<char[]> WindowFileCommandHost::FetchClipboardText() {
  return ::FetchClipboardText(window_);
}

LRESULT OpenBitmapCommand(HWND window) { return RunFileFlow<OpenBitmapFlow>(window); }
LRESULT SaveBitmapCommand(HWND window) { return RunFileFlow<SaveBitmapFlow>(window); }
LRESULT SaveParametersCommand(HWND window) { return RunFileFlow<SaveParametersFlow>(window); }
LRESULT OpenParametersCommand(HWND window) { return RunFileFlow<OpenParametersFlow>(window); }
LRESULT LoadDataFileCommand(HWND window) { return RunFileFlow<LoadDataFileFlow>(window); }
LRESULT OpenDroppedFileCommand(HWND window) { return RunFileFlow<OpenDroppedFileFlow>(window); }
LRESULT OpenCommandLineFileCommand(HWND window) {
  return RunFileFlow<OpenCommandLineFileFlow>(window);
}
LRESULT CopyBitmapCommand(HWND window) { return CopyPicture(window); }
LRESULT CopyParametersCommand(HWND window) { return CopyParameterText(window); }
LRESULT FetchClipboardTextCommand(HWND window) {
  // The paste commands fetch the text themselves; sent alone, the text is
  // read and let go.
  ::FetchClipboardText(window);
  return 0;
}
LRESULT PasteParametersCommand(HWND window) { return RunFileFlow<PasteParametersFlow>(window); }
LRESULT PastePaletteCommand(HWND window) { return RunFileFlow<PastePaletteFlow>(window); }
