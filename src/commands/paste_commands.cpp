#include "commands/paste_commands.h"

#include <cstring>
#include <memory>

#include "colour/palette.h"
#include "commands/file_commands.h"
#include "engine/plot_record.h"
#include "engine/deep/view_height.h"
#include "files/parameter_text.h"
#include "res/resource.h"
#include "shell/command_state.h"

namespace {

// The clipboard's text when it is a parameter text; nullptr otherwise (the
// reason has been shown).
std::unique_ptr<char[]> FetchParameterText(FileCommandHost& host) {
  std::unique_ptr<char[]> text = host.FetchClipboardText();
  if (text == nullptr) return nullptr;
  if (TestParameterHeader(text.get(), kParameterTextSize) != 0) {
    host.ShowNotParameterText();
    return nullptr;
  }
  return text;
}

// The palette that a pasted text brings, with the open tool hidden while the
// palette changes; the pasted text names no file.
int ApplyPastedPalette(FileCommandHost& host) {
  const int tool = host.OpenPaletteTool();
  host.HidePaletteTool();
  ApplyStagedPalette();
  g_commands.titlePrefix[0] = '\0';
  return tool;
}

}  // namespace

void PasteParametersFlow(FileCommandHost& host) {
  std::unique_ptr<char[]> text = FetchParameterText(host);
  if (text == nullptr) return;
  CommandState& state = g_commands;
  StageWholeView();
  AppendStartKey(text.get(), kParameterTextSize);
  // Whatever stands before the header line, the rest of a mail or a note, is
  // skipped. The header test has found a "%".
  state.lastRead = ReadParameterText(std::strchr(text.get(), '%'), state.pending);
  text.reset();
  const int tool = ApplyPastedPalette(host);
  state.pending.pending = 1;
  RememberReturnHeight(state.pending);
  if (state.lastRead.endMode == kEndStart) host.SendCommand(IDM_START);
  host.ShowPaletteTool(tool);
}

void PastePaletteFlow(FileCommandHost& host) {
  std::unique_ptr<char[]> text = FetchParameterText(host);
  if (text == nullptr) return;
  CommandState& state = g_commands;
  state.pending = state.current;
  state.lastRead = ReadPaletteText(text.get());
  text.reset();
  const int tool = ApplyPastedPalette(host);
  if (state.lastRead.endMode == kEndRecolour) host.SendCommand(IDM_REPLOT);
  host.ShowPaletteTool(tool);
}
