#pragma once
// Scroll codes of WM_HSCROLL and WM_VSCROLL as the platform numbers them, for
// the pure functions that decide what a scroll bar does (main window and
// scroll-bar palette tool), which are tested without windows.h.

enum ScrollCode : int {
  kScrollLineUp = 0,  // also line left
  kScrollLineDown = 1,
  kScrollPageUp = 2,
  kScrollPageDown = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollEnd = 8,
};
