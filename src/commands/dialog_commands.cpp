#include "commands/dialog_commands.h"

#include "commands/command_host.h"
#include "files/parameter_text.h"
#include "res/resource.h"
#include "shell/command_state.h"

namespace {

ParameterDialog DialogOf(int dialogCommand) {
  switch (dialogCommand) {
    case IDM_LOWER_LEFT_DIALOG:
      return ParameterDialog::LowerLeft;
    case IDM_CENTRE_DIALOG:
      return ParameterDialog::Centre;
    case IDM_SIZE_DIALOG:
      return ParameterDialog::Size;
    default:
      return ParameterDialog::Command;
  }
}

}  // namespace

int CommandForDialogText(int dialogCommand, int endMode, bool plotDone) {
  if (endMode == kEndStart) return IDM_START;
  // Only the size dialog re-colours; without a computed picture it computes.
  if (endMode == kEndRecolour && dialogCommand == IDM_SIZE_DIALOG)
    return plotDone ? IDM_REPLOT : IDM_START;
  return 0;
}

void RunParameterDialog(CommandHost& host, int dialogCommand) {
  if (host.RunDialog(DialogOf(dialogCommand)) != 1) return;
  CommandState& state = g_commands;
  state.pending = state.current;
  state.lastRead = ReadParameterText(state.dialogText, state.pending);
  state.pending.pending = 1;
  const int next = CommandForDialogText(dialogCommand, state.lastRead.endMode, state.plotDone);
  if (next != 0) host.PostCommand(next);
}

void RunCommandDialog(CommandHost& host) { RunParameterDialog(host, IDM_COMMAND_DIALOG); }
void RunLowerLeftDialog(CommandHost& host) { RunParameterDialog(host, IDM_LOWER_LEFT_DIALOG); }
void RunSizeDialog(CommandHost& host) { RunParameterDialog(host, IDM_SIZE_DIALOG); }
void RunCentreDialog(CommandHost& host) { RunParameterDialog(host, IDM_CENTRE_DIALOG); }
