#pragma once
// The information commands and the message boxes that several commands share.

class CommandHost;

void ShowModeInfo(CommandHost& host);   // 106
void ShowTimerInfo(CommandHost& host);  // 107
// Any id that no command carries.
void ShowCommandUnavailable(CommandHost& host);
