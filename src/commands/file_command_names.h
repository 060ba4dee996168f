#pragma once
// The name rules of the file commands: the extension test made on a
// lower-cased copy, the name prepared for a save dialog, the extension added
// to a chosen name, and the parameter-file name taken from a drop or the
// command line. Names are narrow text that may hold Shift-JIS characters.

#include <cstddef>

// True when the lower-cased name has a "." and the 4 characters from its last
// "." are `lowerExtension` (".pmf", ".bmp").
bool HasExtensionAtLastDot(const char* name, const char* lowerExtension);

// Before a save dialog: the name is cut at its last ".", or emptied when it
// has none.
void CutExtensionForSaveDialog(char* name);

// After a save dialog: appends `extension` (".PMF", ".BMP") unless the name
// already ends in it in any case. False, and the name unchanged, when the
// result would not fit into size bytes.
bool AppendMissingExtension(char* name, size_t size, const char* extension);

// A dropped or command-line name, taken only when it names a parameter file
// (".pmf" in any case): the text is ended 4 characters behind its last "."
// (so a closing quote goes), and every double quote is left out. False when
// the name is not a parameter file or the result does not fit into outSize
// bytes; out is then empty.
bool TakeParameterFileName(const char* given, char* out, size_t outSize);
