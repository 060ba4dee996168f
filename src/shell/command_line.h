#pragma once
// The start-up check of the command line: the whole text after the program
// name is taken as one file name, quotes and spaces included.

#include <cstddef>

// Sets fileName to the empty text, then, when the command line names a file,
// copies it there unchanged and returns true. A command line names no file
// when it is absent or empty, has no ".", has an extension that begins with
// "exe" in any case, or does not fit into fileName (fileNameSize - 1 bytes).
bool TakeCommandLineFile(const char* commandLine, char* fileName, size_t fileNameSize);
