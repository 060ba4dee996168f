#include "shell/palette_scroll_steps.h"

namespace {

constexpr int kTop = 15;
constexpr int kPageStep = 4;

int Clamp(int value) {
  if (value < 0) return 0;
  return value > kTop ? kTop : value;
}

}  // namespace

bool StepComponentLevel(int code, int thumbPosition, int32_t* level) {
  switch (code) {
    case kScrollLineUp:
      *level = Clamp(*level + 1);
      return true;
    case kScrollLineDown:
      *level = Clamp(*level - 1);
      return true;
    case kScrollPageUp:
      *level = Clamp(*level + kPageStep);
      return true;
    case kScrollPageDown:
      *level = Clamp(*level - kPageStep);
      return true;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      *level = Clamp(kTop - thumbPosition);
      return true;
    default:
      return false;
  }
}

bool StepSelectorEntry(int code, int thumbPosition, int* entry) {
  switch (code) {
    case kScrollLineUp:
      *entry = Clamp(*entry - 1);
      return true;
    case kScrollLineDown:
      *entry = Clamp(*entry + 1);
      return true;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      *entry = Clamp(thumbPosition);
      return true;
    default:
      return false;
  }
}
