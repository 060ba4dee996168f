// The handlers declared in window_hooks_win.h live with their features: the
// selection cursors in selection_cursors_win.cpp, the keyboard palette tool in
// palette_tools_win.cpp and the dropped-file list in dropped_files_win.cpp.
