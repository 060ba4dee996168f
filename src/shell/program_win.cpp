// The program's run: the command-line check, the window class and
// the main window, the optional CTL3D32 library, the message loop.
#include "shell/program_win.h"

#include <windows.h>

#include "engine/fpu_precision.h"
#include "engine/plot_record.h"
#include "files/image_state.h"
#include "res/resource.h"
#include "shell/command_line.h"
#include "shell/main_window_win.h"
#include "shell/shell_state_win.h"
#include "shell/startup_picture_win.h"
#include "shell/titles.h"

namespace {

constexpr COLORREF kBackgroundColour = 0x00330000;  // red 0, green 0, blue 51
constexpr const char* kWindowClass = "ZirnWClass";

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, "ZIRNICON");
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
  windowClass.hbrBackground = g_shell.backgroundBrush;
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassA(&windowClass) != 0;
}

// CTL3D32.DLL only gives dialogs a three-dimensional look; without it the
// program runs the same. Each entry is used only if the library has it.
using Ctl3dInstanceProc = BOOL(WINAPI*)(HINSTANCE);

void CallCtl3d(HMODULE library, const char* entry, HINSTANCE instance) {
  auto proc =
      reinterpret_cast<Ctl3dInstanceProc>(reinterpret_cast<void*>(GetProcAddress(library, entry)));
  if (proc != nullptr) proc(instance);
}

HMODULE LoadCtl3d(HINSTANCE instance) {
  SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadLibraryA("CTL3D32.DLL");
  if (library == nullptr) return nullptr;
  CallCtl3d(library, "Ctl3dRegister", instance);
  CallCtl3d(library, "Ctl3dAutoSubclass", instance);
  g_shell.ctl3dColorChange = reinterpret_cast<Ctl3dColorChangeProc>(
      reinterpret_cast<void*>(GetProcAddress(library, "Ctl3dColorChange")));
  return library;
}

void UnloadCtl3d(HMODULE library, HINSTANCE instance) {
  if (library == nullptr) return;
  CallCtl3d(library, "Ctl3dUnregister", instance);
  g_shell.ctl3dColorChange = nullptr;
  FreeLibrary(library);
}

int RunMessageLoop() {
  MSG message = {};
  // GetMessage returns -1 on an invalid call; that ends the loop as well.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

// The engine leaves a misused count buffer harmless; the user keeps working
// and a debugger is told what happened.
void ReportCountBufferMisuse(const char* what) {
  char line[160];
  wsprintfA(line, "Zirn: count buffer misuse: %.120s\n", what);
  OutputDebugStringA(line);
}

void DeleteBackgroundBrush() {
  if (g_shell.backgroundBrush != nullptr) DeleteObject(g_shell.backgroundBrush);
  g_shell.backgroundBrush = nullptr;
}

}  // namespace

int RunProgram(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int show) {
  SetExtendedPrecision();
  SetCountBufferMisuseHandler(ReportCountBufferMisuse);
  const bool commandLineNamesFile =
      TakeCommandLineFile(commandLine, g_image.fileName, sizeof g_image.fileName);
  g_shell.backgroundBrush = CreateSolidBrush(kBackgroundColour);
  SetStartupPictureInstance(instance);
  if (previousInstance == nullptr && !RegisterMainWindowClass(instance)) {
    DeleteBackgroundBrush();
    return 0;
  }
  g_shell.instance = instance;
  HWND window = CreateWindowExA(0, kWindowClass, kProgramName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr) {
    DeleteBackgroundBrush();
    return 0;
  }
  ShowWindow(window, show);
  UpdateWindow(window);
  HMODULE ctl3d = LoadCtl3d(instance);
  if (commandLineNamesFile) PostMessageA(window, WM_COMMAND, IDM_OPEN_COMMAND_LINE_FILE, 0);
  const int exitCode = RunMessageLoop();
  UnloadCtl3d(ctl3d, instance);
  DeleteBackgroundBrush();
  return exitCode;
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam) == IDOK ? 1 : 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
