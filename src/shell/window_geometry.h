#pragma once
// The arithmetic of the window geometry: scroll ranges and steps, the window
// size that fits a picture within the desktop, the centred start-up picture.

#include <cstdint>

#include "shell/scroll_codes.h"

struct PixelRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Largest scroll position for a picture extent seen through a client extent.
int32_t ScrollMaximum(int32_t imageExtent, int32_t clientExtent);

struct ScrollBarState {
  int32_t minimum;
  int32_t maximum;
  int32_t position;
};

// The position after a scroll message: line steps of extent / 16 + 1, page
// steps of extent / 2 + 1, the thumb's position, clamped to the range.
int32_t ScrolledPosition(int code, uint16_t thumb, int32_t extent, const ScrollBarState& bar);

// System metrics that frame a client area into a window.
struct FrameMetrics {
  int32_t frameWidth;     // SM_CXFRAME
  int32_t frameHeight;    // SM_CYFRAME
  int32_t menuHeight;     // SM_CYMENU
  int32_t borderHeight;   // SM_CYBORDER
  int32_t captionHeight;  // SM_CYCAPTION
  int32_t hScrollArrow;   // SM_CXHSCROLL
  int32_t vScrollWidth;   // SM_CXVSCROLL
};

// The screen rectangle of a window at (windowLeft, windowTop) whose client
// area shows a width x height picture, cut at the desktop's right and bottom
// edges with room added for the scroll bar that a cut brings.
PixelRect WindowRectForImage(int32_t width, int32_t height, int32_t windowLeft, int32_t windowTop,
                             const FrameMetrics& metrics, const PixelRect& desktop);

// Where a picture goes in a client extent: requested, or centred for -1;
// never negative, so a large picture is pinned to the top-left corner.
int32_t PicturePosition(int32_t requested, int32_t clientExtent, int32_t pictureExtent);
