#pragma once
// Path handling for the data file that travels with a parameter file. Names
// are narrow text that may hold Shift-JIS double-byte characters, whose second
// byte can be 0x5C ("\"): such a byte is not a folder separator.

#include <cstddef>
#include <string>

// Offset of the final component of path: the text behind the last "\" (or
// "/") that is not the second byte of a double-byte character. The first
// byte is never taken as a separator. 0 when there is none.
size_t FinalComponentOffset(const char* path);

// name with everything from the last "." of its final component replaced by
// extension; extension appended when the final component has no ".".
std::string ReplaceExtension(const char* name, const char* extension);

struct DataFileNames {
  std::string bareName;  // what the parameter text's f line carries
  std::string path;      // where the data file is written: the parameter file's folder
};

// The data file saved with a parameter file: its final component with the
// extension ".DTL", in the same folder.
DataFileNames DataFileNamesFor(const char* parameterFileName);

// The data file looked for when a parameter file is opened: its own full name
// with the extension ".dtl". False (and no name) when the final component has
// no extension.
bool DataFileLookupName(const char* parameterFileName, std::string* name);

// The existing data file for a parameter file, found with the ".dtl" name or,
// on file systems that distinguish case, with any case of it (the save
// writes ".DTL"). False when there is none.
bool FindDataFile(const char* parameterFileName, std::string* found);
