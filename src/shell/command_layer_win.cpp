#include "shell/command_layer_win.h"

CommandLayer g_commandLayer;
