#pragma once
// A CommandHost for tests: records what the flows ask of the window, builds
// no picture but records its size as fitting the window would, and plays a
// dialog by leaving a chosen text behind.

#include <cstdio>
#include <string>
#include <vector>

#include "commands/command_host.h"
#include "fake_ui_host.h"
#include "files/image_state.h"
#include "shell/command_state.h"

class FakeCommandHost : public CommandHost {
 public:
  FakeUiHost ui;
  std::vector<std::string> calls;  // each window operation in order
  std::vector<int> posted;         // posted commands
  uint32_t clock = 1000;           // each tick read advances it by 10
  bool bitmapSucceeds = true;
  int bitmapBuilds = 0;
  int quitCode = -1;
  // RunDialog leaves dialogText in the dialog text buffer and ends with dialogEnd.
  std::string dialogText;
  int dialogEnd = 0;
  std::vector<ParameterDialog> dialogs;

  UiHost& Ui() override { return ui; }
  uint32_t TickCount() override { return clock += 10; }
  void ShowProgress(bool on) override { calls.push_back(on ? "progress on" : "progress off"); }
  void SwapMenu() override {
    calls.push_back(g_commands.plotRunning ? "reduced menu" : "main menu");
  }
  bool MakeBitmapFromCounts(PlotRecord& record) override {
    ++bitmapBuilds;
    calls.push_back("make bitmap");
    if (!bitmapSucceeds) return false;
    g_image.imagePresent = true;
    g_image.width = record.sizeX;
    g_image.height = record.sizeY;
    return true;
  }
  void InvalidateImage() override { calls.push_back("invalidate"); }
  void ReleaseDisplayObjects() override { calls.push_back("release display objects"); }
  void EmptySelection() override { calls.push_back("empty selection"); }
  void ShowMemoryError() override { calls.push_back("memory error"); }
  void PostQuit(int exitCode) override { quitCode = exitCode; }
  void PostClose() override { calls.push_back("post close"); }
  void PostCommand(int command) override { posted.push_back(command); }
  void SetWaitCursor() override { calls.push_back("wait cursor"); }
  void RestoreCursor() override { calls.push_back("restore cursor"); }
  int RunDialog(ParameterDialog dialog) override {
    dialogs.push_back(dialog);
    std::snprintf(g_commands.dialogText, sizeof g_commands.dialogText, "%s", dialogText.c_str());
    return dialogEnd;
  }

  bool Called(const std::string& call) const {
    for (const std::string& c : calls) {
      if (c == call) return true;
    }
    return false;
  }
};
