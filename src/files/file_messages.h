#pragma once
// Messages that more than one file reader shows.

class UiHost;

// "Cannot open file '<name>' .." with caption "Zirn" and the error icon.
void ShowCannotOpenFile(const char* fileName, UiHost& host);
// "File '<name>' is too long for a parameter file .." with caption "Zirn"
// and the information icon.
void ShowTooLongForParameters(const char* fileName, UiHost& host);
// "ファイルを保存できません。" with caption "Zirn" and the information icon:
// a file, or the pair of a parameter file and its data file, was not saved.
void ShowCannotSave(UiHost& host);
