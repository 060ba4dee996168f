#pragma once
// A window for benchmarks: it takes every message step at once and shows
// nothing, so that only the computation is timed.

#include "engine/ui_host.h"

class SilentHost : public UiHost {
 public:
  int PumpOneMessage(int*) override { return 0; }
  void DrawPixel(int32_t, int32_t, uint32_t) override {}
  void SetTitle(const char*) override {}
  void ShowMessage(const char*, const char*, MessageIcon) override {}
};
