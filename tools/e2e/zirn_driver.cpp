#include "zirn_driver.h"

#include <cstdlib>
#include <memory>

namespace e2e {

namespace {

constexpr int kPollMs = 15;
constexpr UINT kCodePage = 932;
constexpr int kTextLimit = 4096;  // longest window text read

std::wstring WindowTextOf(HWND window) {
  wchar_t buffer[kTextLimit];
  const int length = GetWindowTextW(window, buffer, kTextLimit);  // at most kTextLimit - 1
  return std::wstring(buffer, length > 0 ? length : 0);
}

// The first visible top-level window of a process with the given class.
struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[32];
  if (owner != search->processId || !IsWindowVisible(window) ||
      GetClassNameA(window, className, sizeof className) == 0 ||
      std::string(className) != search->className) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindWindowOf(DWORD processId, const char* className) {
  WindowSearch search{processId, className, nullptr};
  EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A memory device context with a 32-bit top-down DIB section, freed on scope exit.
class CaptureSurface {
 public:
  CaptureSurface(HDC screen, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~CaptureSurface() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  CaptureSurface(const CaptureSurface&) = delete;
  CaptureSurface& operator=(const CaptureSurface&) = delete;
  bool Ready() const { return dc_ && bitmap_ && bits_; }
  HDC Dc() const { return dc_; }
  const uint32_t* Bits() const { return static_cast<const uint32_t*>(bits_); }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
};

class ClipboardSession {
 public:
  ClipboardSession() {
    // Another process may hold the clipboard for a moment.
    WaitUntil([this] { return (open_ = OpenClipboard(nullptr) != 0); }, 2000);
  }
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool Open() const { return open_; }

 private:
  bool open_ = false;
};

// Wine's desktop process ends soon after the last window of any program
// closes, and the next program then waits for a new one. A hidden window of
// the driver's own keeps it up for the whole run.
void KeepDesktopAlive() {
  static const HWND keeper = CreateWindowExW(0, L"STATIC", L"zirn e2e", WS_POPUP, 0, 0, 1, 1,
                                             nullptr, nullptr, nullptr, nullptr);
  (void)keeper;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

std::wstring ToWide(const std::string& cp932) {
  if (cp932.empty()) return {};
  const int length =
      MultiByteToWideChar(kCodePage, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kCodePage, 0, cp932.data(), static_cast<int>(cp932.size()), wide.data(),
                      length);
  return wide;
}

std::string FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

std::string ZirnExePath() {
  const char* path = std::getenv("ZIRN_EXE");
  return path ? WindowsPath(path) : std::string("zirn.exe");
}

// ---- DialogWindow ---------------------------------------------------------

std::string DialogWindow::Caption() const { return FromWide(WindowTextOf(window_)); }

std::string DialogWindow::MessageText() const { return ItemText(0xFFFF); }

std::string DialogWindow::ItemText(int controlId) const {
  wchar_t buffer[kTextLimit];
  const UINT length = GetDlgItemTextW(window_, controlId, buffer, kTextLimit);
  return FromWide(std::wstring(buffer, length));
}

std::vector<std::string> DialogWindow::ControlTexts() const {
  std::vector<std::string> texts;
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(FromWide(WindowTextOf(child)));
  }
  return texts;
}

void DialogWindow::SetItemText(int controlId, const std::string& text) const {
  SetDlgItemTextW(window_, controlId, ToWide(text).c_str());
}

void DialogWindow::Press(int controlId) const {
  HWND button = GetDlgItem(window_, controlId);
  PostMessageW(window_, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

bool DialogWindow::WaitClosed(int timeoutMs) const {
  return WaitUntil([this] { return !IsWindow(window_) || !IsWindowVisible(window_); }, timeoutMs);
}

// ---- ZirnProcess ----------------------------------------------------------

ZirnProcess::~ZirnProcess() {
  Kill();
  if (process_.hThread) CloseHandle(process_.hThread);
  if (process_.hProcess) CloseHandle(process_.hProcess);
}

bool ZirnProcess::Launch(const std::string& commandLine, const std::string& workingDirectory) {
  KeepDesktopAlive();
  // Inherited by the child: a crash ends it at once instead of starting the
  // debugger, which would wait for a user that a test run does not have.
  SetErrorMode(GetErrorMode() | SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
  const std::string exe = ZirnExePath();
  std::string line = "\"" + exe + "\"";
  if (!commandLine.empty()) line += " " + commandLine;
  std::vector<char> mutableLine(line.begin(), line.end());
  mutableLine.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  const std::string directory = WindowsPath(workingDirectory);
  if (!CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &process_)) {
    return false;
  }
  processId_ = process_.dwProcessId;
  return WaitUntil(
      [this] { return (window_ = FindWindowOf(processId_, "ZirnWClass")) != nullptr; });
}

void ZirnProcess::PostCommand(int id) const {
  PostMessageW(window_, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

LRESULT ZirnProcess::SendCommand(int id) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window_, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_NORMAL,
                      kDefaultTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

void ZirnProcess::PostKey(int virtualKey) const {
  PostMessageW(window_, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
  PostMessageW(window_, WM_KEYUP, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(0xC0000001));
}

void ZirnProcess::PostCharacter(char character) const {
  PostMessageA(window_, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 1);
}

void ZirnProcess::PostMouse(UINT message, int x, int y, WPARAM keys) const {
  PostMessageW(window_, message, keys, MAKELPARAM(x, y));
}

void ZirnProcess::PostScroll(UINT message, int code, int position) const {
  PostMessageW(window_, message, MAKEWPARAM(code, position), 0);
}

void ZirnProcess::PostCloseBox() const { PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }

void ZirnProcess::PostClose() const { PostMessageW(window_, WM_CLOSE, 0, 0); }

std::string ZirnProcess::Title() const { return FromWide(WindowTextOf(window_)); }

bool ZirnProcess::WaitForTitle(const std::string& title, int timeoutMs) const {
  return WaitForTitleMatching([&title](const std::string& shown) { return shown == title; },
                              timeoutMs);
}

bool ZirnProcess::WaitForTitleMatching(const std::function<bool(const std::string&)>& test,
                                       int timeoutMs) const {
  return WaitUntil([&] { return test(Title()); }, timeoutMs);
}

DialogWindow ZirnProcess::FindDialog() const {
  return DialogWindow(FindWindowOf(processId_, "#32770"));
}

DialogWindow ZirnProcess::WaitForDialog(int timeoutMs) const {
  DialogWindow dialog;
  WaitUntil([&] { return (dialog = FindDialog()).Found(); }, timeoutMs);
  return dialog;
}

void ZirnProcess::Resize(int width, int height) const {
  SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ZirnProcess::ClientRect() const {
  RECT client = {};
  GetClientRect(window_, &client);
  return client;
}

LONG ZirnProcess::Style() const { return GetWindowLongW(window_, GWL_STYLE); }

int ZirnProcess::MenuItemState(int itemId) const {
  static const UINT query = RegisterWindowMessageA("ZirnMenuItemState");
  DWORD_PTR result = 0;
  // The menu rule runs on WM_INITMENU, as when the user opens the menu.
  if (!SendMessageTimeoutW(window_, WM_INITMENU, 0, 0, SMTO_NORMAL, kDefaultTimeoutMs, &result))
    return -1;
  if (!SendMessageTimeoutW(window_, query, static_cast<WPARAM>(itemId), 0, SMTO_NORMAL,
                           kDefaultTimeoutMs, &result)) {
    return -1;
  }
  return static_cast<int>(static_cast<UINT>(result));
}

Picture ZirnProcess::CaptureClient() const {
  Picture picture;
  const RECT client = ClientRect();
  POINT origin = {0, 0};
  ClientToScreen(window_, &origin);
  if (client.right <= 0 || client.bottom <= 0) return picture;
  HDC screen = GetDC(nullptr);
  {
    CaptureSurface surface(screen, client.right, client.bottom);
    if (surface.Ready() && BitBlt(surface.Dc(), 0, 0, client.right, client.bottom, screen, origin.x,
                                  origin.y, SRCCOPY)) {
      GdiFlush();
      picture.width = client.right;
      picture.height = client.bottom;
      const uint32_t* bits = surface.Bits();
      picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
      for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = bits[i] & 0x00FFFFFF;
    }
  }
  ReleaseDC(nullptr, screen);
  return picture;
}

bool ZirnProcess::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ZirnProcess::WaitForExit(DWORD* exitCode, int timeoutMs) {
  if (!process_.hProcess) return false;
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
    return false;
  return GetExitCodeProcess(process_.hProcess, exitCode) != 0;
}

void ZirnProcess::Kill() {
  if (!Running()) return;
  TerminateProcess(process_.hProcess, 99);
  WaitForSingleObject(process_.hProcess, kDefaultTimeoutMs);
}

// ---- Clipboard --------------------------------------------------------------

std::string ReadClipboardText() {
  ClipboardSession session;
  if (!session.Open()) return {};
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return {};
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (text == nullptr) return {};
  const size_t limit = GlobalSize(data) / sizeof(wchar_t);
  size_t length = 0;
  while (length < limit && text[length] != L'\0') ++length;
  std::string result = FromWide(std::wstring(text, length));
  GlobalUnlock(data);
  return result;
}

bool WriteClipboardText(const std::string& text) {
  const std::wstring wide = ToWide(text);
  ClipboardSession session;
  if (!session.Open()) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  if (memory == nullptr) return false;
  auto* target = static_cast<wchar_t*>(GlobalLock(memory));
  wide.copy(target, wide.size());
  target[wide.size()] = L'\0';
  GlobalUnlock(memory);
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

bool EmptyClipboardContents() {
  ClipboardSession session;
  return session.Open() && EmptyClipboard();
}

}  // namespace e2e
