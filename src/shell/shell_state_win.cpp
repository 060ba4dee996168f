#include "shell/shell_state_win.h"

ShellState g_shell;
