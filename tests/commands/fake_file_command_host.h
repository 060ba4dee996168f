#pragma once
// A FileCommandHost for tests: a dialog "chooses" a prepared name, sent
// commands run the real flows at once, the palette tools and the drop list
// are plain values, and every window operation is recorded in order.

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "commands/file_command_host.h"
#include "commands/file_commands.h"
#include "commands/paste_commands.h"
#include "commands/plot_control.h"
#include "fake_command_host.h"
#include "files/bitmap_file.h"
#include "files/image_state.h"
#include "files/parameter_text.h"
#include "res/resource.h"

class FakeFileCommandHost : public FileCommandHost {
 public:
  FakeCommandHost commands;
  std::vector<std::string> calls;
  std::vector<FileDialog> dialogs;
  std::vector<int> sent;
  std::string chosenName;  // what the user picks in a dialog; empty: cancel
  std::string nameShownInDialog;
  int openTool = kNoPaletteTool;
  bool toolVisible = false;
  std::string droppedName;
  bool clipboardMemory = true;
  std::string clipboardText;

  CommandHost& Commands() override { return commands; }
  bool AskFileName(FileDialog dialog) override {
    dialogs.push_back(dialog);
    nameShownInDialog = g_image.fileName;
    if (chosenName.empty()) return false;
    std::snprintf(g_image.fileName, sizeof g_image.fileName, "%s", chosenName.c_str());
    return true;
  }
  void SendCommand(int command) override {
    sent.push_back(command);
    if (command == IDM_START) StartPlot(commands);
    if (command == IDM_REPLOT) ReplotImage(commands);
    if (command == IDM_LOAD_DATA_FILE) LoadDataFileFlow(*this);
  }
  int OpenPaletteTool() override { return openTool; }
  void HidePaletteTool() override {
    calls.push_back("hide tool");
    toolVisible = false;
  }
  void ShowPaletteTool(int tool) override {
    calls.push_back("show tool " + std::to_string(tool));
    toolVisible = tool != kNoPaletteTool;
  }
  void ClosePaletteTool() override {
    calls.push_back("close tool");
    openTool = kNoPaletteTool;
    toolVisible = false;
  }
  bool LoadBitmapImage() override {
    calls.push_back("load bitmap");
    g_image.imagePresent = false;
    if (!ReadBitmapFile(g_image.fileName, g_image.dib, &g_image.bitsOffset, commands.ui))
      return false;
    g_image.imagePresent = true;
    return true;
  }
  void InvalidateAndErase() override { calls.push_back("invalidate and erase"); }
  void BringToFront() override { calls.push_back("bring to front"); }
  void ShowNotParameterText() override { calls.push_back("not parameter text"); }
  void ShowCannotSave() override { calls.push_back("cannot save"); }
  const char* FirstDroppedName() override {
    return droppedName.empty() ? nullptr : droppedName.c_str();
  }
  std::unique_ptr<char[]> FetchClipboardText() override {
    if (!clipboardMemory) return nullptr;
    std::unique_ptr<char[]> text(new char[kParameterTextSize]());
    std::snprintf(text.get(), kParameterTextSize, "%s", clipboardText.c_str());
    return text;
  }

  bool Called(const std::string& call) const {
    for (const std::string& c : calls) {
      if (c == call) return true;
    }
    return false;
  }
  bool Sent(int command) const {
    for (int c : sent) {
      if (c == command) return true;
    }
    return false;
  }
};
