#pragma once
// The arithmetic of the mouse selection: the rectangle in client pixels, the
// proportion rule that ties its width to its height, and the shapes that the
// inverting cursors draw. Pure; the window code draws what these describe.

#include <cstddef>
#include <cstdint>

// left and top are the anchor (where the drag began), right and bottom the
// current end. A picked point has left = right and top = bottom. All 0: empty.
struct SelectionRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct ClientPoint {
  int32_t x;
  int32_t y;
};

// The point of a mouse message: the low and high 16 bits of lParam, each a
// signed 16-bit number (negative left of or above a captured window).
ClientPoint MousePoint(uint32_t lParam);

// The drawing kind: the cursor kind in the low 8 bits, with this bit when
// Shift was held at button-down (continue from the old anchor).
constexpr int32_t kContinueFromAnchor = 0x100;
constexpr int32_t kDrawLine = 1;
constexpr int32_t kDrawBlock = 2;
inline int32_t DrawingShape(int32_t drawingKind) { return drawingKind & 0xFF; }

// The end of the rectangle for a mouse at height mouseY: its x follows the
// vertical distance from the press point in the proportion sizeX : sizeY and
// always lies right of the press point (the mouse's own x is not used).
ClientPoint ProportionalEnd(ClientPoint press, int32_t mouseY, int32_t sizeX, int32_t sizeY);

// A rectangle to invert, normalised: width and height are never negative.
struct InvertedArea {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

// The area with corner (x, y) and the signed extents, as the platform's
// inverting fill would take it: a negative extent reaches left or upward.
InvertedArea NormalisedArea(int32_t x, int32_t y, int32_t width, int32_t height);

// The block cursor's whole mark.
InvertedArea BlockMark(const SelectionRect& rect);
// The two strips that turn the inverted block of rect into the inverted block
// of rect with its end moved to newEnd, touching nothing else.
void BlockStrips(const SelectionRect& rect, ClientPoint newEnd, InvertedArea strips[2]);

// The line cursor's outline: a closed path of five points from the anchor
// through the three other corners back to the anchor.
constexpr int kOutlinePoints = 5;
void OutlinePath(const SelectionRect& rect, ClientPoint path[kOutlinePoints]);

// Two selections with the same anchor: the one ending at newEnd.
SelectionRect WithEnd(const SelectionRect& rect, ClientPoint end);
// A rectangle whose four sides describe one point.
SelectionRect PointSelection(ClientPoint point);
bool IsSinglePoint(const SelectionRect& rect);

// " (x=%g y=%g)" for the picked point, with parts whose magnitude is below
// 1e-16 shown as 0.
void FormatPickedPoint(long double x, long double y, char* out, size_t size);
