#pragma once
// Support of the file and clipboard end-to-end tests: a fresh folder per
// test, the common file dialogs answered as a user would, message boxes
// read and closed, drops delivered as WM_DROPFILES with a drop block that
// lives in zirn's own process, and the clipboard's picture.

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "zirn_driver.h"

namespace e2e_files {

using e2e::DialogWindow;
using e2e::ZirnProcess;

// The file-name box of the common file dialogs: a combo box in the
// Explorer-style dialog, an edit box in the older one.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

// A new folder under the temporary folder, removed with its files.
class TestFolder {
 public:
  TestFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned serial = 0;
    for (;;) {
      path_ = e2e::FromWide(base) + "zirn-files-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++serial);
      if (CreateDirectoryW(e2e::ToWide(path_).c_str(), nullptr)) break;
    }
  }
  ~TestFolder() {
    WIN32_FIND_DATAW found;
    const std::wstring pattern = e2e::ToWide(path_ + "\\*");
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") DeleteFileW((e2e::ToWide(path_) + L"\\" + name).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(e2e::ToWide(path_).c_str());
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // name is Shift-JIS text, as the program's own names are.
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

inline bool Exists(const std::string& path) {
  return GetFileAttributesW(e2e::ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool Remove(const std::string& path) { return DeleteFileW(e2e::ToWide(path).c_str()) != 0; }

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  HANDLE file = CreateFileW(e2e::ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (!bytes.empty() &&
      !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    read = 0;
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

inline bool WriteBytes(const std::string& path, const void* bytes, size_t size) {
  HANDLE file =
      CreateFileW(e2e::ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}
inline bool WriteText(const std::string& path, const std::string& text) {
  return WriteBytes(path, text.data(), text.size());
}

// A parameter file for a plot no plotter can finish quickly: at the cusp of
// the main cardioid every pixel runs to the limit 30000 and no orbit repeats
// exactly, so there is no shortcut. 400 x 400 (the default size) takes
// seconds on two cores; a stop arrives long before the end. `sizes` adds
// size keys such as " X2000 Y1500".
inline std::string SlowPlotText(const std::string& sizes = "") {
  return "%Zirn parameter file\r\n x0.2499999995 y-0.000000001 w0.000000002 n30000" + sizes +
         "\r\n%end\r\n";
}

// A visible top-level dialog (#32770) of zirn's process that `accept` takes.
template <typename Accept>
HWND FindProcessDialog(const ZirnProcess& zirn, Accept accept) {
  struct Search {
    DWORD processId;
    Accept* accept;
    HWND found;
  } search{zirn.ProcessId(), &accept, nullptr};
  EnumWindows(
      [](HWND window, LPARAM parameter) -> BOOL {
        auto* s = reinterpret_cast<Search*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char className[16] = {};
        if (owner != s->processId || !IsWindowVisible(window) ||
            GetClassNameA(window, className, sizeof className) == 0 ||
            std::string(className) != "#32770" || !(*s->accept)(window)) {
          return TRUE;
        }
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The file-name box of a common file dialog; 0 when the window is none.
inline int FileNameBox(HWND dialog) {
  if (GetDlgItem(dialog, kFileNameCombo) != nullptr) return kFileNameCombo;
  if (GetDlgItem(dialog, kFileNameEdit) != nullptr) return kFileNameEdit;
  return 0;
}

// Waits for a common file dialog of the program, types the name into its
// file-name box and confirms it, as a user would.
inline bool ChooseFile(const ZirnProcess& zirn, const std::string& name) {
  HWND found = nullptr;
  if (!e2e::WaitUntil([&] { return (found = FindProcessDialog(zirn, FileNameBox)) != nullptr; }))
    return false;
  DialogWindow dialog(found);
  dialog.SetItemText(FileNameBox(found), name);
  dialog.Press(IDOK);
  return dialog.WaitClosed();
}

// The palette tools are dialogs captioned "ﾊﾟﾚｯﾄ".
inline bool PaletteToolShown(const ZirnProcess& zirn) {
  return FindProcessDialog(zirn, [](HWND window) {
           return DialogWindow(window).Caption() == "ﾊﾟﾚｯﾄ";
         }) != nullptr;
}

// The text of the next message box (a dialog that is neither a palette tool
// nor a file dialog), which is then closed with its OK button.
inline std::string TakeMessage(const ZirnProcess& zirn, int timeoutMs = e2e::kDefaultTimeoutMs) {
  HWND found = nullptr;
  const auto isMessageBox = [](HWND window) {
    return FileNameBox(window) == 0 && DialogWindow(window).Caption() != "ﾊﾟﾚｯﾄ";
  };
  if (!e2e::WaitUntil([&] { return (found = FindProcessDialog(zirn, isMessageBox)) != nullptr; },
                      timeoutMs)) {
    return "(no message)";
  }
  DialogWindow box(found);
  std::string text;
  e2e::WaitUntil([&] { return !(text = box.MessageText()).empty(); }, 2000);
  box.Press(IDOK);
  box.WaitClosed();
  return text;
}

// True when no message box or dialog shows up within the time.
inline bool NoDialogFor(const ZirnProcess& zirn, int milliseconds) {
  return !e2e::WaitUntil([&] { return zirn.FindDialog().Found(); }, milliseconds);
}

// Drops files on the client area at (x, y). The drop block (DROPFILES with
// wide names, as the shell makes it) is written into memory of zirn's own
// process, so the handle in WM_DROPFILES is valid where the program reads it:
// a fixed block, which GlobalLock gives back unchanged.
inline bool DropFiles(const ZirnProcess& zirn, const std::vector<std::string>& names, int x = 20,
                      int y = 20) {
  std::vector<uint8_t> block(sizeof(DROPFILES));
  DROPFILES header = {};
  header.pFiles = sizeof(DROPFILES);
  header.pt.x = x;
  header.pt.y = y;
  header.fNC = FALSE;
  header.fWide = TRUE;
  std::memcpy(block.data(), &header, sizeof header);
  for (const std::string& name : names) {
    std::wstring wide = e2e::ToWide(name);
    const auto* bytes = reinterpret_cast<const uint8_t*>(wide.c_str());
    block.insert(block.end(), bytes, bytes + (wide.size() + 1) * sizeof(wchar_t));
  }
  block.insert(block.end(), sizeof(wchar_t), 0);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, zirn.ProcessId());
  if (process == nullptr) return false;
  void* remote =
      VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool written =
      remote != nullptr && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
  CloseHandle(process);
  return written && PostMessageW(zirn.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

// The clipboard's CF_DIB block, empty when it holds none.
inline std::vector<uint8_t> ClipboardPicture() {
  std::vector<uint8_t> bytes;
  if (!e2e::WaitUntil([] { return OpenClipboard(nullptr) != 0; }, 2000)) return bytes;
  HANDLE data = GetClipboardData(CF_DIB);
  const void* source = data != nullptr ? GlobalLock(data) : nullptr;
  if (source != nullptr) {
    const auto* first = static_cast<const uint8_t*>(source);
    bytes.assign(first, first + GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

}  // namespace e2e_files
