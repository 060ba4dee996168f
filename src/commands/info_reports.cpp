#include "commands/info_reports.h"

#include "commands/command_host.h"
#include "engine/ui_host.h"
#include "files/image_state.h"
#include "shell/command_state.h"
#include "shell/titles.h"

void ShowModeInfo(CommandHost& host) {
  FormatModeInfo(g_commands.current, g_commands.arithmetic,
                 g_commands.plotDone && g_image.imagePresent, g_commands.text,
                 sizeof g_commands.text);
  host.Ui().ShowMessage(g_commands.text, "Mode Info.", MessageIcon::Information);
}

void ShowTimerInfo(CommandHost& host) {
  FormatTimerInfo(g_commands.tickStart, g_commands.tickComputed, g_commands.tickDrawn,
                  g_commands.text, sizeof g_commands.text);
  host.Ui().ShowMessage(g_commands.text, "Timer Info.", MessageIcon::Information);
}

void ShowCommandUnavailable(CommandHost& host) {
  host.Ui().ShowMessage("このコマンドは、実行できません。", kProgramName, MessageIcon::Information);
}
