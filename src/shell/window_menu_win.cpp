// Menu items greyed or checked from the program state, when a menu opens.
#include "engine/plot_record.h"
#include "files/image_state.h"
#include "res/resource.h"
#include "shell/command_state.h"
#include "shell/main_window_handlers_win.h"
#include "shell/window_rules.h"

namespace {

UINT EnableFlag(bool enabled) { return MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED); }

// The paste items follow the clipboard; when it cannot be opened they keep
// their state.
void RulePasteItems(HWND window, HMENU menu) {
  if (!OpenClipboard(window)) return;
  const bool text = IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_OEMTEXT);
  CloseClipboard();
  EnableMenuItem(menu, IDM_PASTE_PARAMETERS, EnableFlag(text));
  EnableMenuItem(menu, IDM_PASTE_PALETTE, EnableFlag(text));
}

UINT CheckFlag(bool checked) { return MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED); }

}  // namespace

// Nothing is done while a plot runs: the reduced menu is attached then.
void OnInitMenu(HWND window) {
  if (g_commands.plotRunning) return;
  HMENU menu = GetMenu(window);
  const MenuInputs inputs{(g_commands.current.flags & kFlagJulia) != 0, g_image.imagePresent,
                          g_commands.plotDone, HistoryCount()};
  MenuItemState items[kRuledMenuItems];
  RuledMenuItems(inputs, items);
  for (const MenuItemState& item : items) EnableMenuItem(menu, item.id, EnableFlag(item.enabled));
  RulePasteItems(window, menu);
  const ArithmeticSetting arithmetic = g_commands.arithmetic;
  CheckMenuItem(menu, IDM_REAL, CheckFlag(arithmetic == kArithmeticReal));
  CheckMenuItem(menu, IDM_INTEGER, CheckFlag(arithmetic == kArithmeticInteger));
  CheckMenuItem(menu, IDM_DEEP, CheckFlag(arithmetic == kArithmeticDeep));
}

LRESULT OnMenuItemStateQuery(HWND window, WPARAM itemId) {
  return static_cast<LRESULT>(
      GetMenuState(GetMenu(window), static_cast<UINT>(itemId), MF_BYCOMMAND));
}
