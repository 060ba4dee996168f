#include "shell/dropped_files_win.h"

#include <cstring>

#include "shell/shell_state_win.h"
#include "shell/window_hooks_win.h"

namespace {

constexpr UINT kFileCountIndex = 0xFFFFFFFF;

// The drop handle as the list reads it.
class HdropSource : public DropSource {
 public:
  explicit HdropSource(HDROP drop) : drop_(drop) {}

  uint32_t FileCount() override { return DragQueryFileA(drop_, kFileCountIndex, nullptr, 0); }

  bool FileName(uint32_t index, std::string* name) override {
    const UINT length = DragQueryFileA(drop_, index, nullptr, 0);
    name->assign(length + 1, '\0');
    if (DragQueryFileA(drop_, index, name->data(), length + 1) == 0) {
      name->clear();
      return false;
    }
    name->resize(std::strlen(name->c_str()));
    return true;
  }

  int32_t DropPoint(int32_t* x, int32_t* y) override {
    POINT point = {};
    const BOOL inClient = DragQueryPoint(drop_, &point);
    *x = point.x;
    *y = point.y;
    return inClient ? 1 : 0;
  }

 private:
  HDROP drop_;
};

}  // namespace

void ReadDrop(HDROP drop) {
  HdropSource source(drop);
  g_shell.droppedFiles.ReadDrop(source);
  DragFinish(drop);
}

void FreeDroppedFiles() { g_shell.droppedFiles.Free(); }

void ReadDroppedFiles(HDROP drop) { ReadDrop(drop); }
