#pragma once
// The commands that open a parameter dialog (140, 143, 144, 147) and act on
// the parameter text it leaves behind.

class CommandHost;

// The command a confirmed dialog's text asks for once it is staged: 104
// Start, 108 Replot, or 0 when the values only wait in the pending record.
int CommandForDialogText(int dialogCommand, int endMode, bool plotDone);

// When the dialog of dialogCommand ends with 1, its text is read into a copy
// of the current record that becomes the pending record, and the command the
// text asks for is posted.
void RunParameterDialog(CommandHost& host, int dialogCommand);

void RunCommandDialog(CommandHost& host);    // 140
void RunLowerLeftDialog(CommandHost& host);  // 143
void RunSizeDialog(CommandHost& host);       // 144
void RunCentreDialog(CommandHost& host);     // 147
