#pragma once
// A UiHost for tests: counts message steps, can ask for a stop at a chosen
// step, records drawn pixels, titles and messages.

#include <functional>
#include <string>
#include <vector>

#include "engine/ui_host.h"

class FakeUiHost : public UiHost {
 public:
  struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
  };
  struct Pixel {
    int32_t column;
    int32_t row;
    uint32_t colour;
  };

  // The pump call with this 1-based number returns stopCode; 0 never stops.
  int stopAtPump = 0;
  int stopCode = kPlotStop;
  bool recordPixels = false;
  // Called at every message step, as messages dispatched there would run.
  std::function<void()> onPump;

  int pumpCalls = 0;
  std::vector<Pixel> pixels;
  std::vector<std::string> titles;
  std::vector<Message> messages;

  int PumpOneMessage(int* code) override;
  void DrawPixel(int32_t column, int32_t row, uint32_t colour) override;
  uint32_t LiveColour(PlotRecord& record, int32_t count, int32_t limit) override;
  void SetTitle(const char* text) override;
  void ShowMessage(const char* text, const char* caption, MessageIcon icon) override;
};
