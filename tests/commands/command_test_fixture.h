#pragma once
// Base of the command-flow tests: on top of the engine's checks (no count
// buffer misused or left alive), fresh command state, the records of window
// creation at a small size, and no picture before each test.

#include "../engine/engine_test_fixture.h"
#include "commands/plot_control.h"
#include "fake_command_host.h"
#include "files/image_state.h"
#include "shell/command_state.h"

class CommandTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ReleaseHistory();
    g_commands = CommandState{};
    g_image.imagePresent = false;
    g_image.width = g_image.height = 0;
    InitialiseRecords(host);
    UseSize(64, 64);
  }

  // Small pictures keep the real plotters quick.
  static void UseSize(int32_t sizeX, int32_t sizeY) {
    g_commands.current.sizeX = g_commands.pending.sizeX = sizeX;
    g_commands.current.sizeY = g_commands.pending.sizeY = sizeY;
    g_commands.current.shownSizeY = g_commands.pending.shownSizeY = sizeY;
  }

  // Stages a region as a dialog would and starts it.
  void StartRegion(long double x, long double y, double height) {
    g_commands.pending = g_commands.current;
    g_commands.pending.x = x;
    g_commands.pending.y = y;
    g_commands.pending.height = g_commands.pending.shownHeight = height;
    g_commands.pending.pending = 1;
    StartPlot(host);
  }

  FakeCommandHost host;
};
