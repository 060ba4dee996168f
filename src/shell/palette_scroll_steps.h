#pragma once
// How the scroll-bar palette tool's bars move a level or the entry, by the
// scroll code of WM_VSCROLL / WM_HSCROLL. Pure, so that the codes can be tested
// without a window.

#include <cstdint>

#include "shell/scroll_codes.h"

// A component bar shows its level inverted (top = 15). Changes *level for
// the line, page and thumb codes and returns true; other codes change nothing
// and return false. The level stays inside 0..15.
bool StepComponentLevel(int code, int thumbPosition, int32_t* level);

// The entry selector: line left and right move by one, the thumb sets the
// entry; page and other codes change nothing and return false. The entry
// stays inside 0..15.
bool StepSelectorEntry(int code, int thumbPosition, int* entry);
