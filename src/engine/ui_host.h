#pragma once
// What long-running core work (plots, data-file save and load) needs from the
// window: the message step, live drawing, the title for progress, and message
// boxes. The window implements it with Win32; tests use a fake.

#include <cstdint>

struct PlotRecord;

enum class MessageIcon { Information, Error };

// Stop codes of the message step, also plot result codes.
enum PlotResult : int {
  kPlotComplete = 0,
  kPlotRefused = 1,    // integer arithmetic cannot compute the region
  kPlotBadHeight = 2,  // the height is not a finite positive number (HeightRefused)
  kPlotExit = 105,
  kPlotStop = 121,
};

class UiHost {
 public:
  virtual ~UiHost() = default;
  // Takes at most one message from the queue. Returns 0 to go on; non-zero to
  // end the work, with kPlotExit or kPlotStop stored in *stopCode.
  virtual int PumpOneMessage(int* stopCode) = 0;
  // Live drawing: sets client pixel (column, row) to colour 0x00BBGGRR.
  virtual void DrawPixel(int32_t column, int32_t row, uint32_t colour) = 0;
  // Live drawing of a whole line: pixels (0, row) to (count - 1, row), the
  // same as DrawPixel for each; a window takes its device context once.
  virtual void DrawLine(int32_t row, const uint32_t* colours, int32_t count) {
    for (int32_t column = 0; column < count; ++column) DrawPixel(column, row, colours[column]);
  }
  // The colour 0x00BBGGRR that live drawing gives a pixel of `count` under
  // the effective `limit`; it may note what it chose in the record. The
  // window colours by its palette; a host that draws nothing keeps this.
  virtual uint32_t LiveColour(PlotRecord& /*record*/, int32_t /*count*/, int32_t /*limit*/) {
    return 0;
  }
  virtual void SetTitle(const char* text) = 0;
  virtual void ShowMessage(const char* text, const char* caption, MessageIcon icon) = 0;
};
