#include "commands/command_state.h"

CommandState g_commands;
