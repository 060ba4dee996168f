#include "shell/window_geometry.h"

int32_t ScrollMaximum(int32_t imageExtent, int32_t clientExtent) {
  const int32_t maximum = imageExtent - clientExtent;
  return maximum < 0 ? 0 : maximum;
}

int32_t ScrolledPosition(int code, uint16_t thumb, int32_t extent, const ScrollBarState& bar) {
  int32_t change = 0;
  switch (code) {
    case kScrollLineUp:
      change = -(extent / 16 + 1);
      break;
    case kScrollLineDown:
      change = extent / 16 + 1;
      break;
    case kScrollPageUp:
      change = -(extent / 2 + 1);
      break;
    case kScrollPageDown:
      change = extent / 2 + 1;
      break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      change = static_cast<int32_t>(thumb) - bar.position;
      break;
    default:
      break;
  }
  const int32_t position = bar.position + change;
  if (position < bar.minimum) return bar.minimum;
  if (position > bar.maximum) return bar.maximum;
  return position;
}

PixelRect WindowRectForImage(int32_t width, int32_t height, int32_t windowLeft, int32_t windowTop,
                             const FrameMetrics& metrics, const PixelRect& desktop) {
  PixelRect rect;
  rect.left = windowLeft;
  rect.top = windowTop;
  rect.right = windowLeft + width + 2 * metrics.frameWidth;
  rect.bottom = windowTop + height + 2 * metrics.frameHeight + metrics.menuHeight +
                metrics.borderHeight + metrics.captionHeight;
  bool widthCut = false;
  if (rect.right > desktop.right) {
    rect.right = desktop.right;
    rect.bottom += metrics.hScrollArrow;  // room for the horizontal bar
    widthCut = true;
  }
  if (rect.bottom > desktop.bottom) {
    rect.bottom = desktop.bottom;
    if (!widthCut) rect.right += metrics.vScrollWidth;  // room for the vertical bar
  }
  if (rect.right > desktop.right) rect.right = desktop.right;
  return rect;
}

int32_t PicturePosition(int32_t requested, int32_t clientExtent, int32_t pictureExtent) {
  const int32_t position = requested == -1 ? (clientExtent - pictureExtent) / 2 : requested;
  return position < 0 ? 0 : position;
}
