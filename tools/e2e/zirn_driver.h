#pragma once
// Drives a running zirn.exe from another process, as a user would: commands,
// keys and mouse messages in; titles, message boxes, dialogs, the clipboard,
// the client area's pixels and the exit code out. Every wait polls an
// observable state until a timeout.
//
// Texts are Shift-JIS (code page 932), as the program's own texts are: the
// driver reads windows through the wide-character APIs and converts.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

constexpr int kDefaultTimeoutMs = 10000;

// Polls `done` every few milliseconds until it holds or the timeout passes.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = kDefaultTimeoutMs);

std::wstring ToWide(const std::string& cp932);
std::string FromWide(const std::wstring& wide);

// A Unix path (as CMake passes it) turned into the Windows path Wine maps it
// to (drive Z:); a Windows path is returned unchanged.
std::string WindowsPath(const std::string& path);

// The zirn.exe to test: the environment variable ZIRN_EXE.
std::string ZirnExePath();

// A screen capture: 0x00RRGGBB per pixel, rows top first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

// A message box or dialog box (window class #32770).
class DialogWindow {
 public:
  DialogWindow() = default;
  explicit DialogWindow(HWND window) : window_(window) {}
  bool Found() const { return window_ != nullptr; }
  HWND Handle() const { return window_; }
  std::string Caption() const;
  // A message box's text (its static control 0xFFFF).
  std::string MessageText() const;
  std::string ItemText(int controlId) const;
  // The texts of all its controls, in creation order (statics without ids too).
  std::vector<std::string> ControlTexts() const;
  void SetItemText(int controlId, const std::string& text) const;
  // Clicks a push button (IDOK, IDCANCEL or any control id) and returns at once.
  void Press(int controlId) const;
  // True once the box has gone.
  bool WaitClosed(int timeoutMs = kDefaultTimeoutMs) const;

 private:
  HWND window_ = nullptr;
};

class ZirnProcess {
 public:
  ZirnProcess() = default;
  ~ZirnProcess();  // ends the process if the test left it running
  ZirnProcess(const ZirnProcess&) = delete;
  ZirnProcess& operator=(const ZirnProcess&) = delete;

  // Starts zirn.exe (with an optional command-line text) in workingDirectory
  // (empty: the current one) and waits for its main window to show.
  bool Launch(const std::string& commandLine = "", const std::string& workingDirectory = "");
  HWND Window() const { return window_; }
  DWORD ProcessId() const { return processId_; }

  // Messages to the main window.
  void PostCommand(int id) const;
  LRESULT SendCommand(int id) const;
  void PostKey(int virtualKey) const;  // key down, then key up
  void PostCharacter(char character) const;
  void PostMouse(UINT message, int x, int y, WPARAM keys = 0) const;
  // WM_HSCROLL or WM_VSCROLL with a scroll code and thumb position.
  void PostScroll(UINT message, int code, int position = 0) const;
  // The close box: WM_SYSCOMMAND SC_CLOSE, which sends WM_CLOSE.
  void PostCloseBox() const;
  void PostClose() const;  // a posted WM_CLOSE

  std::string Title() const;
  bool WaitForTitle(const std::string& title, int timeoutMs = kDefaultTimeoutMs) const;
  bool WaitForTitleMatching(const std::function<bool(const std::string&)>& test,
                            int timeoutMs = kDefaultTimeoutMs) const;

  // A top-level #32770 window of this process (a message box or dialog).
  DialogWindow FindDialog() const;
  DialogWindow WaitForDialog(int timeoutMs = kDefaultTimeoutMs) const;
  // Waits for a message box, checks nothing, and returns it.
  DialogWindow WaitForMessageBox(int timeoutMs = kDefaultTimeoutMs) const {
    return WaitForDialog(timeoutMs);
  }

  // Sizes the window (outer size), as dragging its border would.
  void Resize(int width, int height) const;
  RECT ClientRect() const;
  LONG Style() const;
  bool HasHorizontalBar() const { return (Style() & WS_HSCROLL) != 0; }
  bool HasVerticalBar() const { return (Style() & WS_VSCROLL) != 0; }

  // The state of an item of the attached menu after the menu rule ran, as
  // GetMenuState gives it (MF_GRAYED, MF_CHECKED bits); -1 when unknown.
  int MenuItemState(int itemId) const;

  // The client area as shown on the screen.
  Picture CaptureClient() const;

  bool Running() const;
  // Waits for the process to end and gives its exit code.
  bool WaitForExit(DWORD* exitCode, int timeoutMs = kDefaultTimeoutMs);
  void Kill();

 private:
  PROCESS_INFORMATION process_ = {};
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

// The clipboard's text (CF_UNICODETEXT converted to code page 932); empty
// when it holds none.
std::string ReadClipboardText();
bool WriteClipboardText(const std::string& text);
bool EmptyClipboardContents();

}  // namespace e2e
