#include "files/file_messages.h"

#include <cstdio>

#include "engine/ui_host.h"
#include "files/image_state.h"

void ShowCannotOpenFile(const char* fileName, UiHost& host) {
  // Room for a whole file name and the words around it.
  char text[kFileNameSize + 32];
  std::snprintf(text, sizeof text, "Cannot open file '%s' ..", fileName);
  host.ShowMessage(text, "Zirn", MessageIcon::Error);
}

void ShowTooLongForParameters(const char* fileName, UiHost& host) {
  char text[kFileNameSize + 64];
  std::snprintf(text, sizeof text, "File '%s' is too long for a parameter file ..", fileName);
  host.ShowMessage(text, "Zirn", MessageIcon::Information);
}

void ShowCannotSave(UiHost& host) {
  host.ShowMessage("ファイルを保存できません。", "Zirn", MessageIcon::Information);
}
