#include "shell/selection.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kShownAsZero = 1e-16;

int32_t ClampToInt32(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  return value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
}

double ShownPart(long double value) {
  const double part = static_cast<double>(value);
  return std::fabs(part) < kShownAsZero ? 0.0 : part;
}

}  // namespace

ClientPoint MousePoint(uint32_t lParam) {
  return ClientPoint{static_cast<int16_t>(lParam & 0xFFFF),
                     static_cast<int16_t>((lParam >> 16) & 0xFFFF)};
}

// The quotient truncates toward zero and the absolute value is taken last,
// so dragging up or down by the same distance gives the same width. A
// record without lines has no proportion; the end then stays above the press.
ClientPoint ProportionalEnd(ClientPoint press, int32_t mouseY, int32_t sizeX, int32_t sizeY) {
  if (sizeY == 0) return ClientPoint{press.x, mouseY};
  const int64_t width = (static_cast<int64_t>(press.y) - mouseY) * sizeX / sizeY;
  return ClientPoint{ClampToInt32(press.x + std::llabs(width)), mouseY};
}

InvertedArea NormalisedArea(int32_t x, int32_t y, int32_t width, int32_t height) {
  InvertedArea area{x, y, width, height};
  if (area.width < 0) {
    area.left += area.width;
    area.width = -area.width;
  }
  if (area.height < 0) {
    area.top += area.height;
    area.height = -area.height;
  }
  return area;
}

InvertedArea BlockMark(const SelectionRect& rect) {
  return NormalisedArea(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

// The old block spans [left, right) x [top, bottom). Inverting
// [left, right) x [bottom, newBottom) extends or cuts it to the new height;
// inverting [right, newRight) x [top, newBottom) then to the new width.
void BlockStrips(const SelectionRect& rect, ClientPoint newEnd, InvertedArea strips[2]) {
  strips[0] =
      NormalisedArea(rect.left, rect.bottom, rect.right - rect.left, newEnd.y - rect.bottom);
  strips[1] = NormalisedArea(rect.right, rect.top, newEnd.x - rect.right, newEnd.y - rect.top);
}

void OutlinePath(const SelectionRect& rect, ClientPoint path[kOutlinePoints]) {
  path[0] = ClientPoint{rect.left, rect.top};
  path[1] = ClientPoint{rect.right, rect.top};
  path[2] = ClientPoint{rect.right, rect.bottom};
  path[3] = ClientPoint{rect.left, rect.bottom};
  path[4] = ClientPoint{rect.left, rect.top};
}

SelectionRect WithEnd(const SelectionRect& rect, ClientPoint end) {
  SelectionRect moved = rect;
  moved.right = end.x;
  moved.bottom = end.y;
  return moved;
}

SelectionRect PointSelection(ClientPoint point) {
  return SelectionRect{point.x, point.y, point.x, point.y};
}

bool IsSinglePoint(const SelectionRect& rect) {
  return rect.left == rect.right && rect.top == rect.bottom;
}

void FormatPickedPoint(long double x, long double y, char* out, size_t size) {
  std::snprintf(out, size, " (x=%g y=%g)", ShownPart(x), ShownPart(y));
}
