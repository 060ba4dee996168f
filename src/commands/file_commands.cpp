#include "commands/file_commands.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "colour/image_builder.h"
#include "colour/palette.h"
#include "commands/command_host.h"
#include "commands/file_command_names.h"
#include "commands/plot_control.h"
#include "engine/plot_arithmetic.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"
#include "engine/deep/view_height.h"
#include "files/bitmap_file.h"
#include "files/data_file.h"
#include "files/double_byte_text.h"
#include "files/file_names.h"
#include "files/image_state.h"
#include "files/parameter_text.h"
#include "res/resource.h"
#include "shell/command_state.h"
#include "shell/titles.h"

namespace {

constexpr uint32_t kIntegerFlags = kFlagInteger | kFlagIntegerShadow;
constexpr int kExitOutOfMemory = 3;

// The data file of the parameter file just read, looked up under its own
// name with ".dtl" in any case; sends the load when it exists. A parameter
// file whose name has no extension to replace has no data file beside it.
void LoadDataFileIfPresent(FileCommandHost& host) {
  ParameterReadResult& read = g_commands.lastRead;
  read.dataFileName[0] = '\0';
  std::string lookup;
  if (!DataFileLookupName(g_image.fileName, &lookup)) return;
  std::string found;
  const bool exists = FindDataFile(g_image.fileName, &found);
  const std::string& name = exists ? found : lookup;
  std::snprintf(read.dataFileName, sizeof read.dataFileName, "%s", name.c_str());
  if (exists && name.size() < sizeof read.dataFileName) host.SendCommand(IDM_LOAD_DATA_FILE);
}

// Save dialog, extension and the wait cursor around the save itself. False
// when the user cancelled the dialog.
template <typename Save>
bool SaveWithDialog(FileCommandHost& host, FileDialog dialog, const char* extension, Save save) {
  CutExtensionForSaveDialog(g_image.fileName);
  if (!host.AskFileName(dialog)) return false;
  CommandHost& commands = host.Commands();
  commands.SetWaitCursor();
  if (!AppendMissingExtension(g_image.fileName, sizeof g_image.fileName, extension) || !save()) {
    host.ShowCannotSave();
  }
  commands.RestoreCursor();
  return true;
}

// The common end of the drop and command-line commands.
void OpenGivenParameterFile(FileCommandHost& host, const char* name) {
  std::snprintf(g_image.fileName, sizeof g_image.fileName, "%s", name);
  OpenParameterFile(host);
}

}  // namespace

void StageWholeView() {
  CommandState& state = g_commands;
  state.pending = state.current;
  state.pending.flags &= ~(kFlagJulia | kFlagJuliaStart);
  ResetView(state.pending);
}

void OpenParameterFile(FileCommandHost& host) {
  std::unique_ptr<char[]> text(new (std::nothrow) char[kParameterTextSize]());
  if (text == nullptr) return;
  CommandState& state = g_commands;
  UiHost& ui = host.Commands().Ui();
  if (!ReadTextFile(g_image.fileName, text.get(), kParameterFileReadSize, ui)) return;
  if (TestParameterHeader(text.get(), kParameterTextSize) != 0) {
    host.ShowNotParameterText();
    return;
  }
  StageWholeView();
  AppendStartKey(text.get(), kParameterTextSize);
  state.lastRead = ReadParameterText(text.get(), state.pending);
  text.reset();

  const int tool = host.OpenPaletteTool();
  host.HidePaletteTool();
  ApplyStagedPalette();
  SetTitlePrefix(FileNamePart(g_image.fileName));
  state.pending.pending = 1;
  RememberReturnHeight(state.pending);
  // Without a data file to load (none named, none beside the file, or one
  // that fails) endMode is still 1 and the plot is computed. Counts are not
  // loaded for a height that is no height: the start reports it instead.
  if (state.lastRead.hasDataFile == 1 && PlottableHeight(state.pending)) {
    LoadDataFileIfPresent(host);
  }
  if (state.lastRead.endMode == kEndStart) host.SendCommand(IDM_START);
  host.ShowPaletteTool(tool);
}

void LoadDataFileFlow(FileCommandHost& host) {
  CommandState& state = g_commands;
  CommandHost& commands = host.Commands();
  // A load from inside a running plot would replace the record being filled.
  if (state.plotRunning) return;
  if (state.pending.pending == 1) {
    state.current = state.pending;
    state.current.pending = state.pending.pending = 0;
  }
  commands.SetWaitCursor();
  PushHistory(state.current);
  PopHistory(state.current);
  state.current.rows = AllocateCountBuffer(state.current);
  if (state.current.rows == nullptr) {
    commands.ShowMemoryError();
    commands.PostQuit(kExitOutOfMemory);
    commands.RestoreCursor();
    return;
  }
  SetArithmeticFlags(state.current, state.arithmetic);
  // Counts from a file: labelled with the arithmetic a plot of the record
  // would take, and no reference; the load relabels counts that only the
  // deep arithmetic gives.
  state.current.plottedArithmetic = ChoosePlotArithmetic(state.current);
  state.current.referenceBits = 0;
  state.tickStart = commands.TickCount();
  if (LoadDataFile(commands.Ui(), state.current, state.lastRead.dataFileName) != kDataLoaded) {
    // The parameter-file flow computes the plot instead: endMode is still 1.
    state.tickStart = state.tickComputed = state.tickDrawn = 0;
    DiscardCountBuffer(state.current);
    commands.RestoreCursor();
    return;
  }
  state.tickComputed = commands.TickCount();
  if (ShowCurrentCounts(commands)) state.lastRead.endMode = kEndOfText;
  commands.RestoreCursor();
}

bool CloseMayProceed() {
  CommandState& state = g_commands;
  if (!state.saveRunning) return true;
  state.closeAfterSave = true;
  return false;
}

bool CommandMayRun(int command) {
  if (command == IDM_EXIT) return CloseMayProceed();
  CommandState& state = g_commands;
  if (!state.saveRunning) return true;
  switch (command) {
    case IDM_OPEN_DROPPED_FILE:
    case IDM_OPEN_PMF:
    case IDM_SAVE_PMF:
    case IDM_OPEN_BMP:
    case IDM_SAVE_BMP:
      state.commandAfterSave = command;
      break;
    default:
      break;
  }
  return false;
}

void SaveParametersFlow(FileCommandHost& host) {
  CommandState& state = g_commands;
  if (!state.plotDone || !g_image.imagePresent) return;
  UiHost& ui = host.Commands().Ui();
  const bool asked = SaveWithDialog(host, FileDialog::SaveParameters, ".PMF", [&] {
    state.saveRunning = true;
    const int result = SaveParameterFile(g_image.fileName, state.current, ui);
    state.saveRunning = false;
    // A failed data file has said itself that the parameter file was not saved.
    return result != kParameterFileNotSaved;
  });
  // The data file's progress has overwritten the title.
  if (asked) SetRegionTitle(ui);
  if (state.closeAfterSave) {
    host.Commands().PostClose();
  } else if (state.commandAfterSave != 0) {
    // A drop keeps its files in the drop list until the next drop.
    host.Commands().PostCommand(state.commandAfterSave);
  }
  state.closeAfterSave = false;
  state.commandAfterSave = 0;
}

void SaveBitmapFlow(FileCommandHost& host) {
  if (!g_image.imagePresent) return;
  SaveWithDialog(host, FileDialog::SaveBitmap, ".BMP",
                 [] { return WriteBitmapFile(g_image.fileName, g_image.dib); });
}

void OpenParametersFlow(FileCommandHost& host) {
  g_image.fileName[0] = '\0';
  if (host.AskFileName(FileDialog::OpenParameters)) OpenParameterFile(host);
}

void OpenBitmapFlow(FileCommandHost& host) {
  g_image.fileName[0] = '\0';
  if (!host.AskFileName(FileDialog::OpenBitmap)) return;
  CommandState& state = g_commands;
  CommandHost& commands = host.Commands();
  commands.SetWaitCursor();
  PushHistory(state.current);
  PopHistory(state.current);
  if (host.LoadBitmapImage()) {
    const int tool = host.OpenPaletteTool();
    host.HidePaletteTool();
    host.InvalidateAndErase();
    // The picture no longer shows the current record's counts.
    state.plotDone = false;
    if (TakePaletteFromImage(g_image.dib)) {
      host.ShowPaletteTool(tool);
    } else {
      host.ClosePaletteTool();
    }
  }
  commands.RestoreCursor();
}

void OpenDroppedFileFlow(FileCommandHost& host) {
  const char* dropped = host.FirstDroppedName();
  if (dropped == nullptr) return;
  // The shared text buffer keeps the name as dropped, whatever it names.
  std::snprintf(g_commands.text, sizeof g_commands.text, "%s", dropped);
  char name[kFileNameSize];
  if (!TakeParameterFileName(dropped, name, sizeof name)) return;
  host.BringToFront();
  OpenGivenParameterFile(host, name);
}

void OpenCommandLineFileFlow(FileCommandHost& host) {
  char name[kFileNameSize];
  if (!TakeParameterFileName(g_image.fileName, name, sizeof name)) return;
  OpenGivenParameterFile(host, name);
}
