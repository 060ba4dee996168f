#pragma once
// Pasting a parameter text or only its palette from the clipboard.

#include "commands/file_command_host.h"

// Reads the clipboard's parameter text from its first "%" into the pending
// record and starts the plot it asks for.
void PasteParametersFlow(FileCommandHost& host);  // 130
// Takes only the palette of the clipboard's parameter text and re-colours
// the plot on display when the text had one.
void PastePaletteFlow(FileCommandHost& host);  // 131
