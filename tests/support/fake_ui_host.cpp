#include "fake_ui_host.h"

#include "colour/palette.h"

int FakeUiHost::PumpOneMessage(int* code) {
  ++pumpCalls;
  if (onPump) onPump();
  if (stopAtPump != 0 && pumpCalls == stopAtPump) {
    *code = stopCode;
    return 1;
  }
  return 0;
}

void FakeUiHost::DrawPixel(int32_t column, int32_t row, uint32_t colour) {
  if (recordPixels) pixels.push_back({column, row, colour});
}

uint32_t FakeUiHost::LiveColour(PlotRecord& record, int32_t count, int32_t limit) {
  return CountColour(record, count, limit);
}

void FakeUiHost::SetTitle(const char* text) { titles.emplace_back(text); }

void FakeUiHost::ShowMessage(const char* text, const char* caption, MessageIcon icon) {
  messages.push_back({text, caption, icon});
}
