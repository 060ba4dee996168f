#include "shell/palette_tools_win.h"

#include "colour/palette.h"
#include "colour/palette_keys.h"
#include "files/image_state.h"
#include "shell/image_flows_win.h"
#include "shell/palette_scroll_steps.h"
#include "shell/window_hooks_win.h"

namespace {

constexpr int kComponents = 3;  // red, green, blue
constexpr int kTopLevel = 15;

// A solid brush that the tool hands to a control for painting. It is made
// anew for every paint and the one before is deleted then.
class SolidBrush {
 public:
  SolidBrush() = default;
  ~SolidBrush() { Release(); }
  SolidBrush(const SolidBrush&) = delete;
  SolidBrush& operator=(const SolidBrush&) = delete;

  HBRUSH Remake(const PaletteEntry& colour) {
    Release();
    brush_ = CreateSolidBrush(
        RGB(LevelIntensity(colour.red), LevelIntensity(colour.green), LevelIntensity(colour.blue)));
    return brush_;
  }
  void Release() {
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = nullptr;
  }

 private:
  HBRUSH brush_ = nullptr;
};

// The palette tools' program-wide state.
struct PaletteToolState {
  int currentEntry = 0;               // shared by both tools
  int openTool = 0;                   // 0, IDM_SCROLLBAR_TOOL or IDM_KEYBOARD_TOOL
  HWND window = nullptr;              // the open tool's window
  int toolEntry = 0;                  // the scroll-bar tool's own entry while it is open
  int32_t working[kComponents] = {};  // the scroll-bar tool's colour being edited
  SolidBrush selectorBrush;           // the scroll-bar tool's entry selector
  SolidBrush swatchBrush;             // the keyboard tool's swatch
  char paletteText[kPaletteTextSize] = {};
};

PaletteToolState g_tools;

PaletteEntry EntryColour(int index) {
  PaletteEntry entry{};
  GetPaletteEntry(index, &entry.red, &entry.green, &entry.blue);
  return entry;
}

PaletteEntry WorkingColour() {
  return PaletteEntry{g_tools.working[0], g_tools.working[1], g_tools.working[2]};
}

void LoadWorkingColour() {
  const PaletteEntry entry = EntryColour(g_tools.toolEntry);
  g_tools.working[0] = entry.red;
  g_tools.working[1] = entry.green;
  g_tools.working[2] = entry.blue;
}

void StoreWorkingColour() {
  SetPaletteEntry(g_tools.toolEntry, g_tools.working[0], g_tools.working[1], g_tools.working[2]);
}

// Colours a control's background: caption-text background, window-frame
// text, and a fresh brush of the colour aligned with the control's corner.
HBRUSH PaintControlIn(SolidBrush& brush, const PaletteEntry& colour, HDC dc, HWND control) {
  SetBkColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWFRAME));
  HBRUSH made = brush.Remake(colour);
  POINT corner = {0, 0};
  ClientToScreen(control, &corner);
  UnrealizeObject(made);
  SetBrushOrgEx(dc, corner.x, corner.y, nullptr);
  return made;
}

// The scroll-bar tool hands its entry to the shared current entry.
void ForgetTool() {
  if (g_tools.openTool == IDM_SCROLLBAR_TOOL) g_tools.currentEntry = g_tools.toolEntry;
  g_tools.openTool = 0;
  g_tools.window = nullptr;
  g_tools.selectorBrush.Release();
  g_tools.swatchBrush.Release();
}

// ---- Scroll-bar tool -------------------------------------------------------

void ShowScrollBarToolValues(HWND dialog) {
  for (int c = 0; c < kComponents; ++c) {
    SetScrollPos(GetDlgItem(dialog, IDC_TOOL_RED + c), SB_CTL, kTopLevel - g_tools.working[c],
                 TRUE);
    SetDlgItemInt(dialog, IDC_TOOL_RED_LEVEL + c, static_cast<UINT>(g_tools.working[c]), TRUE);
  }
  HWND selector = GetDlgItem(dialog, IDC_TOOL_SELECTOR);
  SetScrollPos(selector, SB_CTL, g_tools.toolEntry, TRUE);
  SetDlgItemInt(dialog, IDC_TOOL_ENTRY, static_cast<UINT>(g_tools.toolEntry), FALSE);
  InvalidateRect(selector, nullptr, TRUE);  // painted in the working colour
}

// Also sent again by ShowPaletteTool, to reload the colour after the palette
// was replaced.
void InitialiseScrollBarTool(HWND dialog) {
  g_tools.toolEntry = g_tools.currentEntry;
  LoadWorkingColour();
  for (int c = 0; c < kComponents; ++c) {
    SetScrollRange(GetDlgItem(dialog, IDC_TOOL_RED + c), SB_CTL, 0, kTopLevel, FALSE);
  }
  SetScrollRange(GetDlgItem(dialog, IDC_TOOL_SELECTOR), SB_CTL, 0, kPaletteSize - 1, FALSE);
  ShowScrollBarToolValues(dialog);
}

bool OnComponentScroll(HWND dialog, WPARAM wParam, HWND bar) {
  const int component = GetDlgCtrlID(bar) - IDC_TOOL_RED;
  if (component < 0 || component >= kComponents) return false;
  if (!StepComponentLevel(LOWORD(wParam), HIWORD(wParam), &g_tools.working[component]))
    return false;
  StoreWorkingColour();
  RefreshImagePalette(GetWindow(dialog, GW_OWNER));
  ShowScrollBarToolValues(dialog);
  return true;
}

// The edited colour stays in the palette when another entry is chosen.
bool OnSelectorScroll(HWND dialog, WPARAM wParam, HWND bar) {
  if (GetDlgCtrlID(bar) != IDC_TOOL_SELECTOR) return false;
  int entry = g_tools.toolEntry;
  if (!StepSelectorEntry(LOWORD(wParam), HIWORD(wParam), &entry)) return false;
  StoreWorkingColour();
  g_tools.toolEntry = entry;
  LoadWorkingColour();
  ShowScrollBarToolValues(dialog);
  return true;
}

// ---- Keyboard tool -----------------------------------------------------------

void ShowPaletteText() {
  FormatPaletteText(g_tools.paletteText, sizeof g_tools.paletteText, g_tools.currentEntry);
  SendMessageA(g_tools.window, WM_COMMAND, IDC_TOOL_SHOW_TEXT, 0);
  SendMessageA(g_tools.window, WM_COMMAND, IDC_TOOL_SHOW_SWATCH, 0);
}

// Closing (the close button, the system menu or ClosePaletteTool) and the
// destruction that follows, alike for both tools. True when the message
// closed the tool. A modeless dialog is destroyed, not ended: EndDialog
// would only hide it.
bool HandleToolEnd(HWND dialog, UINT message, WPARAM wParam) {
  if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
    DestroyWindow(dialog);
    return true;
  }
  if (message == WM_DESTROY && dialog == g_tools.window) ForgetTool();
  return false;
}

}  // namespace

int OpenPaletteTool() { return g_tools.openTool; }

bool CreatePaletteToolWindow(HINSTANCE instance, HWND mainWindow, int tool) {
  const bool keyboard = tool == IDM_KEYBOARD_TOOL;
  if (!keyboard && tool != IDM_SCROLLBAR_TOOL) return false;
  HWND window = CreateDialogParamA(
      instance, MAKEINTRESOURCEA(keyboard ? IDD_KEYBOARD_TOOL : IDD_SCROLLBAR_TOOL), mainWindow,
      keyboard ? DispDlgProc : PalDlgProc, 0);
  if (window == nullptr) return false;
  g_tools.window = window;
  g_tools.openTool = tool;
  if (keyboard) ShowPaletteText();
  return true;
}

void ShowPaletteTool(int tool, bool show) {
  if (!show || tool == 0 || tool != g_tools.openTool || g_tools.window == nullptr) return;
  // Shown without activation: the main window keeps the keyboard.
  ShowWindow(g_tools.window, SW_SHOWNA);
  if (tool == IDM_KEYBOARD_TOOL) {
    ShowPaletteText();
  } else {
    SendMessageA(g_tools.window, WM_INITDIALOG, 0, 0);
  }
}

void HidePaletteTool() {
  if (g_tools.window != nullptr) ShowWindow(g_tools.window, SW_HIDE);
}

void ClosePaletteTool() {
  if (g_tools.window != nullptr) SendMessageA(g_tools.window, WM_COMMAND, IDCANCEL, 0);
}

bool KeyboardPaletteToolOpen() { return g_tools.openTool == IDM_KEYBOARD_TOOL; }

void CloseKeyboardPaletteTool() {
  if (KeyboardPaletteToolOpen()) ClosePaletteTool();
}

void PaletteToolCharacter(HWND window, unsigned character) {
  if (!KeyboardPaletteToolOpen()) return;
  const int result = PaletteKey(static_cast<int>(character & 0x7F), &g_tools.currentEntry);
  if (result == kPaletteChanged) RefreshImagePalette(window);
  if (result != kPaletteUnchanged) ShowPaletteText();
}

INT_PTR CALLBACK PalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleToolEnd(dialog, message, wParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      InitialiseScrollBarTool(dialog);
      return TRUE;
    case WM_VSCROLL:
      return OnComponentScroll(dialog, wParam, reinterpret_cast<HWND>(lParam));
    case WM_HSCROLL:
      return OnSelectorScroll(dialog, wParam, reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLORSCROLLBAR: {
      HWND bar = reinterpret_cast<HWND>(lParam);
      if (GetDlgCtrlID(bar) != IDC_TOOL_SELECTOR) return FALSE;
      return reinterpret_cast<INT_PTR>(PaintControlIn(g_tools.selectorBrush, WorkingColour(),
                                                      reinterpret_cast<HDC>(wParam), bar));
    }
    case WM_COMMAND:
      return TRUE;
    default:
      return FALSE;
  }
}

// The keyboard tool never keeps the focus: typed keys must reach the main
// window, whose dispatcher takes the focus back on command 118.
INT_PTR CALLBACK DispDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleToolEnd(dialog, message, wParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      SetFocus(GetWindow(dialog, GW_OWNER));
      return FALSE;
    case WM_SETFOCUS:
      PostMessageA(GetWindow(dialog, GW_OWNER), WM_COMMAND, IDM_FOCUS_MAIN_WINDOW, 0);
      return FALSE;
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lParam);
      if (GetDlgCtrlID(control) != IDC_TOOL_SWATCH) return FALSE;
      return reinterpret_cast<INT_PTR>(PaintControlIn(g_tools.swatchBrush,
                                                      EntryColour(g_tools.currentEntry),
                                                      reinterpret_cast<HDC>(wParam), control));
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_TOOL_SHOW_TEXT:
          SetDlgItemTextA(dialog, IDC_TOOL_PALETTE_TEXT, g_tools.paletteText);
          break;
        case IDC_TOOL_SHOW_SWATCH:
          SetDlgItemTextA(dialog, IDC_TOOL_SWATCH, "");
          break;
        default:
          return FALSE;
      }
      return TRUE;
    default:
      return FALSE;
  }
}
