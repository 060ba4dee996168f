#pragma once
// Commands whose flows are not part of the program yet. Each answers
// "このコマンドは、実行できません。" as an unknown command does; the flow that
// replaces it takes its place in the dispatcher's table.

#include <windows.h>

// Any id that no command carries.
LRESULT CommandUnavailable(HWND window);
