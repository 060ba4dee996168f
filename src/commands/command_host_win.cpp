#include "commands/command_host_win.h"

#include "commands/menu_commands_win.h"
#include "res/resource.h"
#include "shell/dialogs_win.h"
#include "shell/image_flows_win.h"
#include "shell/painting_win.h"
#include "shell/shell_state_win.h"
#include "shell/titles_win.h"

void WindowCommandHost::ShowProgress(bool on) { ::ShowProgress(window_, on); }

void WindowCommandHost::SwapMenu() { ::SwapMenu(window_); }

bool WindowCommandHost::MakeBitmapFromCounts(PlotRecord& record) {
  return ::MakeBitmapFromCounts(window_, record);
}

void WindowCommandHost::ReleaseDisplayObjects() { ::ReleaseDisplayObjects(); }

void WindowCommandHost::EmptySelection() { SetRectEmpty(&g_shell.selection); }

void WindowCommandHost::ShowMemoryError() { ::ShowMemoryError(); }

void WindowCommandHost::SetWaitCursor() {
  previousCursor_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

int WindowCommandHost::RunDialog(ParameterDialog dialog) {
  int templateId = IDD_COMMAND;
  DLGPROC procedure = CmdDlgProc;
  switch (dialog) {
    case ParameterDialog::LowerLeft:
      templateId = IDD_PARAMETERS;
      procedure = ParaDlgProc;
      break;
    case ParameterDialog::Centre:
      templateId = IDD_PARAMETERS;
      procedure = CparaDlgProc;
      break;
    case ParameterDialog::Size:
      templateId = IDD_SIZE;
      procedure = SizeDlgProc;
      break;
    case ParameterDialog::Command:
      break;
  }
  return static_cast<int>(
      DialogBoxParamA(g_shell.instance, MAKEINTRESOURCEA(templateId), window_, procedure, 0));
}
