#include "commands/clipboard_win.h"

#include <cstring>
#include <new>

#include "files/image_state.h"
#include "files/parameter_text.h"
#include "shell/command_state.h"
#include "shell/titles.h"
#include "shell/titles_win.h"

namespace {

// The largest clipboard text block a paste takes: it must fit the parameter
// text buffer with the room the header test and the start key need. Every
// text Zirn copies fits.
constexpr SIZE_T kMaxClipboardTextBlock = kParameterTextSize - 24;

// Another program (a clipboard viewer, a paste in progress) may hold the
// clipboard for a moment; a copy or paste waits up to half a second for it
// instead of doing nothing.
bool OpenClipboardPatiently(HWND window) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (OpenClipboard(window)) return true;
    Sleep(10);
  }
  return false;
}

// A movable global block that is freed unless the clipboard takes it.
class ClipboardBlock {
 public:
  explicit ClipboardBlock(SIZE_T size) : block_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
  ~ClipboardBlock() {
    if (block_ != nullptr) GlobalFree(block_);
  }
  ClipboardBlock(const ClipboardBlock&) = delete;
  ClipboardBlock& operator=(const ClipboardBlock&) = delete;

  // Copies size bytes into the block; false when it could not be locked.
  bool Fill(const void* bytes, size_t size) {
    if (block_ == nullptr) return false;
    void* target = GlobalLock(block_);
    if (target == nullptr) return false;
    std::memcpy(target, bytes, size);  // the block was allocated with at least size bytes
    GlobalUnlock(block_);
    return true;
  }

  // Hands the block to the clipboard as `format`; a clipboard that cannot
  // be opened or refuses the block leaves it with this object.
  void Hand(HWND window, UINT format) {
    if (!OpenClipboardPatiently(window)) return;
    EmptyClipboard();
    if (SetClipboardData(format, block_) != nullptr) block_ = nullptr;
    CloseClipboard();
  }

 private:
  HGLOBAL block_;
};

}  // namespace

LRESULT CopyPicture(HWND window) {
  if (!g_image.imagePresent || g_image.dib.Empty()) return 0;
  ClipboardBlock block(g_image.dib.Size());
  if (!block.Fill(g_image.dib.Data(), g_image.dib.Size())) {
    ShowMemoryError();
    return 1;
  }
  block.Hand(window, CF_DIB);
  return 0;
}

LRESULT CopyParameterText(HWND window) {
  std::unique_ptr<char[]> text(new (std::nothrow) char[kParameterTextSize]);
  if (text == nullptr) {
    ShowMemoryError();
    return 0;
  }
  WriteParameterText(text.get(), kParameterTextSize, g_commands.current, "");
  const size_t size = std::strlen(text.get()) + 1;
  ClipboardBlock block(size);
  if (!block.Fill(text.get(), size)) {
    ShowMemoryError();
    return 1;
  }
  text.reset();
  block.Hand(window, CF_TEXT);
  return 0;
}

std::unique_ptr<char[]> FetchClipboardText(HWND window) {
  std::unique_ptr<char[]> text(new (std::nothrow) char[kParameterTextSize]());
  if (text == nullptr) {
    ShowMemoryError();
    return nullptr;
  }
  if (!OpenClipboardPatiently(window)) return text;
  HANDLE data = GetClipboardData(CF_TEXT);
  const SIZE_T size = data != nullptr ? GlobalSize(data) : 0;
  if (size > kMaxClipboardTextBlock) {
    CloseClipboard();
    MessageBoxA(window, "The clipboard text is too long for parameter text ..", kProgramName,
                MB_ICONINFORMATION);
    return nullptr;
  }
  if (data != nullptr) {
    const char* source = static_cast<const char*>(GlobalLock(data));
    if (source == nullptr) {
      ShowMemoryError();
    } else {
      // At most size bytes, and the last byte of the buffer stays NUL even
      // when the block holds no NUL of its own.
      const size_t length = strnlen(source, size);
      std::memcpy(text.get(), source, length);  // length < kParameterTextSize
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}
