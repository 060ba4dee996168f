#pragma once
// What the file and clipboard flows need from the main window beyond the
// plot-control host: the file dialogs, commands sent and waited for, the
// palette tools, the BMP load, the drop list and the clipboard text. The
// window implements it with Win32; tests use a fake.

#include <memory>

class CommandHost;

// The four common file dialogs; each works on the current file name.
enum class FileDialog { OpenParameters, OpenBitmap, SaveParameters, SaveBitmap };

// The open palette tool: none, or the command id that opened it.
constexpr int kNoPaletteTool = 0;

class FileCommandHost {
 public:
  virtual ~FileCommandHost() = default;
  virtual CommandHost& Commands() = 0;
  // Shows the dialog with the current file name; true when the user
  // confirmed, and the chosen name is then the current file name.
  virtual bool AskFileName(FileDialog dialog) = 0;
  // Sends a command to the main window and returns when it is done.
  virtual void SendCommand(int command) = 0;

  virtual int OpenPaletteTool() = 0;
  virtual void HidePaletteTool() = 0;
  // Shows a remembered tool again with a refreshed view (none: nothing).
  virtual void ShowPaletteTool(int tool) = 0;
  virtual void ClosePaletteTool() = 0;

  // Reads the BMP named by the current file name and shows it.
  virtual bool LoadBitmapImage() = 0;
  // Repaints the whole client area, erasing the background first.
  virtual void InvalidateAndErase() = 0;
  virtual void BringToFront() = 0;
  virtual void ShowNotParameterText() = 0;
  // "ファイルを保存できません。"
  virtual void ShowCannotSave() = 0;

  // The first file of the last drop; nullptr when there is none.
  virtual const char* FirstDroppedName() = 0;
  // A zero-filled buffer of kParameterTextSize bytes with the clipboard's
  // text, or empty when the clipboard holds none; nullptr when no memory
  // could be had or the text is too long (the message has been shown).
  virtual std::unique_ptr<char[]> FetchClipboardText() = 0;
};
