// Keys, typed characters, the start gesture, mouse routing and scrolling.
#include "engine/plot_record.h"
#include "files/image_state.h"
#include "res/resource.h"
#include "shell/command_state.h"
#include "shell/main_window_handlers_win.h"
#include "shell/shell_state_win.h"
#include "shell/window_geometry.h"
#include "shell/window_hooks_win.h"
#include "shell/window_rules.h"

void OnKey(HWND window, WPARAM virtualKey, bool keyDown) {
  bool vertical = false;
  int code = 0;
  if (KeyToScroll(static_cast<unsigned>(virtualKey), keyDown, &vertical, &code)) {
    PostMessageA(window, vertical ? WM_VSCROLL : WM_HSCROLL, static_cast<WPARAM>(code), 0);
  }
}

void OnCharacter(HWND window, WPARAM character) {
  const unsigned c = static_cast<unsigned>(character) & 0xFF;
  switch (ClassifyCharacter(c, g_image.imagePresent, KeyboardPaletteToolOpen())) {
    case CharacterAction::StartGesture:
      OnStartGesture(window);
      break;
    case CharacterAction::ClosePaletteTool:
      CloseKeyboardPaletteTool();
      break;
    case CharacterAction::PaletteKey:
      PaletteToolCharacter(window, c & 0x7F);
      break;
    case CharacterAction::Ignore:
      break;
  }
}

// Right button or Enter plots a waiting selection or the picked Julia point.
void OnStartGesture(HWND window) {
  const GestureState state{g_commands.plotDone, g_image.imagePresent, g_commands.plotRunning,
                           g_commands.zoom.pending == 1,
                           (g_commands.current.flags & kFlagJuliaStart) != 0};
  if (StartGestureAllowed(state)) SendMessageA(window, WM_COMMAND, IDM_START, 0);
}

void OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (RouteMouse(g_commands.plotRunning, g_commands.current.flags)) {
    case MouseRoute::RegionSelection:
      HandleRegionSelection(window, message, wParam, lParam);
      break;
    case MouseRoute::PointPicking:
      HandlePointPicking(window, message, wParam, lParam);
      break;
    case MouseRoute::Ignore:
      break;
  }
}

// Scrolling moves no pixels on the screen: the client area is invalidated
// and painting draws the picture at the new origin.
void OnScroll(HWND window, UINT message, WPARAM wParam) {
  const bool horizontal = message == WM_HSCROLL;
  const int bar = horizontal ? SB_HORZ : SB_VERT;
  if ((GetWindowLongA(window, GWL_STYLE) & (horizontal ? WS_HSCROLL : WS_VSCROLL)) == 0) return;
  ScrollBarState state{};
  GetScrollRange(window, bar, &state.minimum, &state.maximum);
  state.position = GetScrollPos(window, bar);
  RECT client;
  GetClientRect(window, &client);
  const int extent = horizontal ? client.right : client.bottom;
  const int position = ScrolledPosition(LOWORD(wParam), HIWORD(wParam), extent, state);
  if (position != state.position) {
    InvalidateRect(window, nullptr, FALSE);
    SetScrollPos(window, bar, position, TRUE);
  }
  SetRectEmpty(&g_shell.selection);  // the marked area has moved
}
