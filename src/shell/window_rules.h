#pragma once
// The small decisions of the main window procedure, taken from state flags:
// which keys scroll, when a start gesture starts a plot, where mouse input
// goes, what a typed character does, and which menu items are usable.

#include <cstdint>

// The scroll message a navigation key posts: vertical or horizontal bar and
// scroll code (the end-of-scroll code on key up). False for other keys.
bool KeyToScroll(unsigned virtualKey, bool keyDown, bool* vertical, int* code);

struct GestureState {
  bool plotDone;
  bool imagePresent;
  bool plotRunning;
  bool zoomPending;      // a selected region waits in the zoom record
  bool juliaStartArmed;  // a Julia constant is being picked
};
// Right button or Enter: whether Start is sent.
bool StartGestureAllowed(const GestureState& state);

enum class MouseRoute { Ignore, RegionSelection, PointPicking };
MouseRoute RouteMouse(bool plotRunning, uint32_t currentFlags);

enum class CharacterAction { Ignore, StartGesture, ClosePaletteTool, PaletteKey };
// keyboardToolOpen: the open palette tool is the keyboard tool.
CharacterAction ClassifyCharacter(unsigned character, bool imagePresent, bool keyboardToolOpen);

struct MenuInputs {
  bool juliaPlot;  // the current record's Julia bit
  bool imagePresent;
  bool plotDone;
  int historyDepth;
};
struct MenuItemState {
  int id;
  bool enabled;
};
constexpr int kRuledMenuItems = 8;
// Enabled or greyed for the items whose state follows the program state.
void RuledMenuItems(const MenuInputs& inputs, MenuItemState items[kRuledMenuItems]);
