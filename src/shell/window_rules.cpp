#include "shell/window_rules.h"

#include "engine/plot_record.h"
#include "res/resource.h"
#include "shell/window_geometry.h"

namespace {

struct KeyScrollEntry {
  unsigned virtualKey;
  bool vertical;
  int downCode;
};

// VK_PRIOR .. VK_DOWN. Home and End move by a page, not to the ends.
constexpr KeyScrollEntry kKeyScrolls[] = {
    {33, true, kScrollPageUp},    {34, true, kScrollPageDown}, {35, false, kScrollPageDown},
    {36, false, kScrollPageUp},   {37, false, kScrollLineUp},  {38, true, kScrollLineUp},
    {39, false, kScrollLineDown}, {40, true, kScrollLineDown},
};

}  // namespace

bool KeyToScroll(unsigned virtualKey, bool keyDown, bool* vertical, int* code) {
  for (const KeyScrollEntry& entry : kKeyScrolls) {
    if (entry.virtualKey != virtualKey) continue;
    *vertical = entry.vertical;
    *code = keyDown ? entry.downCode : kScrollEnd;
    return true;
  }
  return false;
}

bool StartGestureAllowed(const GestureState& state) {
  return state.plotDone && state.imagePresent && !state.plotRunning &&
         (state.zoomPending || state.juliaStartArmed);
}

MouseRoute RouteMouse(bool plotRunning, uint32_t currentFlags) {
  if (plotRunning) return MouseRoute::Ignore;
  return (currentFlags & kFlagJuliaStart) ? MouseRoute::PointPicking : MouseRoute::RegionSelection;
}

CharacterAction ClassifyCharacter(unsigned character, bool imagePresent, bool keyboardToolOpen) {
  const unsigned c = character & 0xFF;
  if (c == 13) return CharacterAction::StartGesture;
  if (!imagePresent || !keyboardToolOpen) return CharacterAction::Ignore;
  if (c == 'q' || c == 'Q') return CharacterAction::ClosePaletteTool;
  return CharacterAction::PaletteKey;
}

void RuledMenuItems(const MenuInputs& inputs, MenuItemState items[kRuledMenuItems]) {
  const MenuItemState ruled[kRuledMenuItems] = {
      {IDM_JULIA_START_VALUE, inputs.juliaPlot},
      {IDM_SCROLLBAR_TOOL, inputs.imagePresent},
      {IDM_KEYBOARD_TOOL, inputs.imagePresent},
      {IDM_SAVE_BMP, inputs.imagePresent},
      {IDM_COPY_BITMAP, inputs.imagePresent},
      {IDM_SAVE_PMF, inputs.plotDone},
      {IDM_REPLOT, inputs.plotDone},
      {IDM_FLIP, inputs.historyDepth >= 2},
  };
  for (int i = 0; i < kRuledMenuItems; ++i) items[i] = ruled[i];
}
