// The entry point: connects the command layer to the window, then runs the
// program.
#include <windows.h>

#include "commands/dispatcher_win.h"
#include "commands/file_commands.h"
#include "shell/command_layer_win.h"
#include "shell/program_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int show) {
  g_commandLayer = CommandLayer{DispatchCommand, CommandMayRun, CloseMayProceed};
  return RunProgram(instance, previousInstance, commandLine, show);
}
