#include "shell/command_state.h"

CommandState g_commands;
