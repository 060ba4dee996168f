// The two mouse handlers: the region selection (a rectangle drawn as an
// inverted outline or block) and the point picking (a full-window
// cross-hair). Every mark is drawn by inverting, so drawing it again erases
// it; the selection rectangle always describes the mark on the window.
#include "files/image_state.h"
#include "res/resource.h"
#include "shell/command_layer_win.h"
#include "shell/command_state.h"
#include "shell/geometry_win.h"
#include "shell/selection.h"
#include "shell/selection_report.h"
#include "shell/shell_state_win.h"
#include "shell/titles_win.h"
#include "shell/window_hooks_win.h"

namespace {

constexpr size_t kPointTextSize = 64;

// What a drag keeps between button-down and button-up.
struct DragState {
  bool dragging = false;       // from an accepted button-down to the next button-up
  ClientPoint press = {0, 0};  // region selection: where the button went down
  RECT clientAtPress = {};     // point picking: the area the cross-hair spans
};

DragState g_drag;

// Client-area drawing with inverting lines; the previous mix mode comes back.
class InvertingDc {
 public:
  explicit InvertingDc(HWND window) : window_(window), dc_(GetDC(window)) {
    if (dc_ != nullptr) previousMode_ = SetROP2(dc_, R2_NOTXORPEN);
  }
  ~InvertingDc() {
    if (dc_ == nullptr) return;
    SetROP2(dc_, previousMode_);
    ReleaseDC(window_, dc_);
  }
  InvertingDc(const InvertingDc&) = delete;
  InvertingDc& operator=(const InvertingDc&) = delete;

  void Path(const ClientPoint* points, int count) const {
    if (dc_ == nullptr || count == 0) return;
    MoveToEx(dc_, points[0].x, points[0].y, nullptr);
    for (int i = 1; i < count; ++i) LineTo(dc_, points[i].x, points[i].y);
  }
  void Invert(const InvertedArea& area) const {
    if (dc_ != nullptr) PatBlt(dc_, area.left, area.top, area.width, area.height, DSTINVERT);
  }

 private:
  HWND window_;
  HDC dc_;
  int previousMode_ = 0;
};

SelectionRect StoredSelection() {
  const RECT& r = g_shell.selection;
  return SelectionRect{r.left, r.top, r.right, r.bottom};
}

void StoreSelection(const SelectionRect& rect) {
  SetRect(&g_shell.selection, rect.left, rect.top, rect.right, rect.bottom);
}

bool PictureShowsCounts() { return g_commands.plotDone && g_image.imagePresent; }

// The whole mark of a rectangle; a shape other than line or block draws nothing.
void DrawMark(const InvertingDc& dc, const SelectionRect& rect, int32_t drawingKind) {
  switch (DrawingShape(drawingKind)) {
    case kDrawLine: {
      ClientPoint path[kOutlinePoints];
      OutlinePath(rect, path);
      dc.Path(path, kOutlinePoints);
      break;
    }
    case kDrawBlock:
      dc.Invert(BlockMark(rect));
      break;
    default:
      break;
  }
}

// Turns the mark of the stored rectangle into the mark with its end at `end`.
void MoveMarkEnd(HWND window, ClientPoint end) {
  const SelectionRect rect = StoredSelection();
  InvertingDc dc(window);
  switch (DrawingShape(g_commands.cursorKind)) {
    case kDrawLine:
      DrawMark(dc, rect, kDrawLine);
      DrawMark(dc, WithEnd(rect, end), kDrawLine);
      break;
    case kDrawBlock: {
      InvertedArea strips[2];
      BlockStrips(rect, end, strips);
      dc.Invert(strips[0]);
      dc.Invert(strips[1]);
      break;
    }
    default:
      break;
  }
  StoreSelection(WithEnd(rect, end));
}

void BeginRegion(HWND window, WPARAM keys, ClientPoint mouse) {
  g_drag.dragging = true;
  if (g_commands.clearOnPress) SetRectEmpty(&g_shell.selection);
  g_drag.press = mouse;
  const bool continueFromAnchor = (keys & MK_SHIFT) != 0;
  const int32_t drawingKind =
      g_commands.cursorKind | (continueFromAnchor ? kContinueFromAnchor : 0);
  SelectionRect rect = StoredSelection();
  InvertingDc dc(window);
  if (!IsSinglePoint(rect)) DrawMark(dc, rect, drawingKind);  // erases the old mark
  if (continueFromAnchor) {
    rect = WithEnd(rect, mouse);
    DrawMark(dc, rect, drawingKind);
  } else {
    rect = PointSelection(mouse);
  }
  StoreSelection(rect);
  SetCapture(window);
}

ClientPoint RegionEnd(ClientPoint mouse) {
  const PlotRecord& current = g_commands.current;
  return ProportionalEnd(g_drag.press, mouse.y, current.sizeX, current.sizeY);
}

void EndDrag(HWND window, LPARAM lParam) {
  ReleaseCapture();
  g_commandLayer.dispatch(window, IDM_SELECTION_REPORT, lParam);
}

// ---- Cross-hair ------------------------------------------------------------

void DrawCrossHair(const InvertingDc& dc, ClientPoint at, const RECT& area) {
  const ClientPoint horizontal[2] = {{area.left, at.y}, {area.right, at.y}};
  const ClientPoint vertical[2] = {{at.x, area.top}, {at.x, area.bottom}};
  dc.Path(horizontal, 2);
  dc.Path(vertical, 2);
}

void MoveCrossHair(HWND window, ClientPoint to) {
  const SelectionRect rect = StoredSelection();
  InvertingDc dc(window);
  DrawCrossHair(dc, ClientPoint{rect.left, rect.top}, g_drag.clientAtPress);
  DrawCrossHair(dc, to, g_drag.clientAtPress);
  StoreSelection(PointSelection(to));
}

// An emptied rectangle means no cross-hair is on screen, so one at (0, 0)
// is never erased here.
void BeginPoint(HWND window, ClientPoint mouse) {
  g_drag.dragging = true;
  GetClientRect(window, &g_drag.clientAtPress);
  const SelectionRect rect = StoredSelection();
  {
    InvertingDc dc(window);
    if (rect.left != 0 || rect.top != 0) {
      DrawCrossHair(dc, ClientPoint{rect.left, rect.top}, g_drag.clientAtPress);
    }
    DrawCrossHair(dc, mouse, g_drag.clientAtPress);
  }
  StoreSelection(PointSelection(mouse));
  SetCapture(window);
}

void ShowPointUnderMouse(HWND window) {
  PlotRecord& zoom = g_commands.zoom;
  zoom = g_commands.current;
  zoom.rows = nullptr;  // the counts stay with the current record alone
  SelectionToPoint(zoom, StoredSelection(), WindowScrollOrigin(window));
  char text[kPointTextSize];
  FormatPickedPoint(zoom.x, zoom.y, text, sizeof text);
  SetPlotTitle(window, text);
}

}  // namespace

void HandleRegionSelection(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const ClientPoint mouse = MousePoint(static_cast<uint32_t>(lParam));
  switch (message) {
    case WM_LBUTTONDOWN:
      if (PictureShowsCounts()) BeginRegion(window, wParam, mouse);
      break;
    case WM_MOUSEMOVE:
      if (g_drag.dragging) MoveMarkEnd(window, RegionEnd(mouse));
      break;
    case WM_LBUTTONUP:
      // The mark is brought to the release point too (normally the last
      // move's point already), so that the rectangle describes what is shown.
      if (g_drag.dragging) {
        MoveMarkEnd(window, RegionEnd(mouse));
        EndDrag(window, lParam);
      }
      g_drag.dragging = false;
      break;
    default:
      break;
  }
}

void HandlePointPicking(HWND window, UINT message, WPARAM, LPARAM lParam) {
  const ClientPoint mouse = MousePoint(static_cast<uint32_t>(lParam));
  switch (message) {
    case WM_LBUTTONDOWN:
      if (PictureShowsCounts()) BeginPoint(window, mouse);
      break;
    case WM_MOUSEMOVE:
      if (!g_drag.dragging) break;
      MoveCrossHair(window, mouse);
      ShowPointUnderMouse(window);
      break;
    case WM_LBUTTONUP:
      if (g_drag.dragging) {
        const SelectionRect rect = StoredSelection();
        if (rect.left != mouse.x || rect.top != mouse.y) MoveCrossHair(window, mouse);
        EndDrag(window, lParam);
      }
      g_drag.dragging = false;
      break;
    default:
      break;
  }
}
