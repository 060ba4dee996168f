#include "shell/main_window_win.h"

#include <shellapi.h>

#include "colour/palette.h"
#include "engine/plot_record.h"
#include "files/image_state.h"
#include "res/resource.h"
#include "shell/command_layer_win.h"
#include "shell/command_state.h"
#include "shell/geometry_win.h"
#include "shell/main_window_handlers_win.h"
#include "shell/painting_win.h"
#include "shell/shell_state_win.h"
#include "shell/startup_picture_win.h"
#include "shell/window_hooks_win.h"

namespace {

// A 40-byte header and 256 colour entries: the block every image grows from.
constexpr size_t kInitialDibBlockSize = 1064;

// For automated tests, which cannot read another process's menus: wParam is
// a menu item id; the answer is GetMenuState of that item in the attached menu.
UINT MenuItemStateMessage() {
  static const UINT message = RegisterWindowMessageA("ZirnMenuItemState");
  return message;
}

LRESULT OnCreate(HWND window) {
  g_shell.mainWindow = window;
  g_shell.mainMenu = LoadMenuA(g_shell.instance, "PMFwinMenu");
  g_shell.reducedMenu = LoadMenuA(g_shell.instance, "exPMFwinMenu");
  SetMenu(window, g_shell.mainMenu);
  SetDefaultPalette();
  BuildColourTables();
  g_image.dib.Resize(kInitialDibBlockSize);
  g_commandLayer.dispatch(window, IDM_INITIALISE, 0);
  FreeDroppedFiles();
  DragAcceptFiles(window, TRUE);
  LoadStartupPicture(window, 0);
  return 0;
}

// Changing the scroll ranges can resize the client area and send WM_SIZE
// again; the guard keeps that from recursing.
void OnSize(HWND window) {
  if (g_shell.sizeGuard) return;
  g_shell.sizeGuard = true;
  UpdateScrollRanges(window);
  InvalidateRect(window, nullptr, FALSE);
  if (!g_image.imagePresent)
    InvalidateRect(window, nullptr, TRUE);  // re-centre on a clean background
  g_shell.sizeGuard = false;
}

void OnPaint(HWND window) {
  if (g_image.imagePresent) {
    PaintImage(window);
  } else {
    PaintStartupPicture(window, -1, -1);
  }
}

LRESULT OnEraseBackground(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  HBRUSH brush = g_shell.backgroundBrush ? g_shell.backgroundBrush
                                         : static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  FillRect(dc, &client, brush);
  return -1;
}

void DestroyMenuUnlessAttached(HWND window, HMENU& menu) {
  if (menu != nullptr && menu != GetMenu(window)) DestroyMenu(menu);
  menu = nullptr;
}

// While a plot runs closing only clears the running flag: the plot's message
// step then ends the plot as an exit, and the dispatcher posts WM_CLOSE again.
void OnClose(HWND window) {
  if (!g_commandLayer.closeMayProceed()) return;
  if (g_commands.plotRunning) {
    if (MessageBoxA(window, "終了しますか？", "Zirn", MB_ICONQUESTION | MB_OKCANCEL) == IDOK) {
      g_commands.plotRunning = false;
    }
    return;
  }
  DragAcceptFiles(window, FALSE);
  FreeDroppedFiles();
  DestroyMenuUnlessAttached(window, g_shell.mainMenu);
  DestroyMenuUnlessAttached(window, g_shell.reducedMenu);
  DestroyWindow(window);
}

void OnDestroy() {
  ReleaseDisplayObjects();
  while (HistoryCount() != 0) {
    PopHistory(g_commands.current);
    if (g_commands.current.rows != nullptr) FreeCountBuffer(g_commands.current);
  }
  ReleaseStartupPicture();
  PostQuitMessage(0);
}

LRESULT OnSysColorChange(HWND window, WPARAM wParam, LPARAM lParam) {
  if (g_shell.ctl3dColorChange == nullptr)
    return DefWindowProcA(window, WM_SYSCOLORCHANGE, wParam, lParam);
  g_shell.ctl3dColorChange();
  return 0;
}

void OnActivateApp(HWND window, bool activated) {
  if (activated && g_image.imagePresent) InvalidateRect(window, nullptr, FALSE);
}

void OnPaletteChanged(HWND window, HWND changedBy) {
  if (changedBy != window && g_image.imagePresent) InvalidateRect(window, nullptr, TRUE);
}

void OnDropFiles(HWND window, HDROP drop) {
  FreeDroppedFiles();
  ReadDroppedFiles(drop);
  if (!g_commands.plotRunning) PostMessageA(window, WM_COMMAND, IDM_OPEN_DROPPED_FILE, 0);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_SIZE:
      OnSize(window);
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
      OnClose(window);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SYSCOLORCHANGE:
      return OnSysColorChange(window, wParam, lParam);
    case WM_ACTIVATEAPP:
      OnActivateApp(window, wParam != 0);
      return 0;
    case WM_PALETTECHANGED:
      OnPaletteChanged(window, reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_KEYDOWN:
      OnKey(window, wParam, true);
      return 0;
    case WM_KEYUP:
      OnKey(window, wParam, false);
      return 0;
    case WM_CHAR:
      OnCharacter(window, wParam);
      return 0;
    case WM_RBUTTONDOWN:
      OnStartGesture(window);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      OnMouse(window, message, wParam, lParam);
      return 0;
    case WM_COMMAND:
      return g_commandLayer.dispatch(window, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnScroll(window, message, wParam);
      return 0;
    case WM_INITMENU:
      OnInitMenu(window);
      return 0;
    case WM_DROPFILES:
      OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
      return 0;
    default:
      if (message == MenuItemStateMessage()) return OnMenuItemStateQuery(window, wParam);
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
