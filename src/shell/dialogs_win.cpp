#include "shell/dialogs_win.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "colour/palette.h"
#include "res/resource.h"
#include "shell/command_state.h"
#include "shell/dialog_text.h"
#include "shell/geometry_win.h"
#include "shell/shell_state_win.h"

namespace {

// The first line of an edit: EM_GETLINE wants the room, all but the NUL, in
// the buffer's first word; the returned length ends the text.
template <size_t N>
void ReadField(HWND dialog, int control, char (&field)[N]) {
  static_assert(N >= 2 && N - 1 <= 0xFFFF);
  *reinterpret_cast<WORD*>(field) = N - 1;
  LRESULT length =
      SendDlgItemMessageA(dialog, control, EM_GETLINE, 0, reinterpret_cast<LPARAM>(field));
  if (length < 0) length = 0;
  if (length > static_cast<LRESULT>(N - 1)) length = N - 1;
  field[length] = '\0';
}

void WriteField(HWND dialog, int control, const char* text) {
  SendDlgItemMessageA(dialog, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// The edits of template 5 and the fields they show.
struct RegionControl {
  int id;
  char (RegionFields::*field)[kFieldTextSize];
};
constexpr RegionControl kRegionControls[] = {
    {IDC_PARAM_LIMIT, &RegionFields::limit},
    {IDC_PARAM_X, &RegionFields::x},
    {IDC_PARAM_Y, &RegionFields::y},
    {IDC_PARAM_HEIGHT, &RegionFields::height},
    {IDC_PARAM_JULIA_R, &RegionFields::juliaR},
    {IDC_PARAM_JULIA_I, &RegionFields::juliaI},
};

void WriteRegionFields(HWND dialog, const RegionFields& fields) {
  for (const RegionControl& control : kRegionControls) {
    WriteField(dialog, control.id, fields.*control.field);
  }
}

void ReadRegionFields(HWND dialog, RegionFields& fields) {
  for (const RegionControl& control : kRegionControls) {
    ReadField(dialog, control.id, fields.*control.field);
  }
}

// The composed text goes to the dispatcher, which reads it when the dialog
// has ended with 1.
void EndWithText(HWND dialog, const char* text) {
  std::snprintf(g_commands.dialogText, sizeof g_commands.dialogText, "%s", text);
  EndDialog(dialog, 1);
}

// The two coordinate dialogs differ only in what they show and compose.
struct RegionDialog {
  const char* title;
  void (*fill)(const PlotRecord& record, RegionFields& fields);
  void (*fillWholeView)(RegionFields& fields);
  void (*compose)(const RegionFields& fields, const PlotRecord& current, char* out, size_t size);
};

void ComposeFromLowerLeft(const RegionFields& fields, const PlotRecord&, char* out, size_t size) {
  ComposeLowerLeftText(fields, out, size);
}

constexpr RegionDialog kLowerLeftDialog = {"パラメータ入力  左下座標", FillLowerLeftFields,
                                           FillWholeViewLowerLeft, ComposeFromLowerLeft};
constexpr RegionDialog kCentreDialog = {"パラメータ入力  中心座標", FillCentreFields,
                                        FillWholeViewCentre, ComposeCentreText};

// What all four procedures share: the close box and the cancelling control
// end the dialog with 0, every other control is answered with TRUE, and
// messages other than these are left to the dialog manager.
template <typename Initialise, typename Command>
INT_PTR HandleDialogMessage(HWND dialog, UINT message, WPARAM wParam, int cancelControl,
                            Initialise initialise, Command command) {
  switch (message) {
    case WM_INITDIALOG:
      initialise();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == cancelControl) {
        EndDialog(dialog, 0);
      } else {
        command(LOWORD(wParam), HIWORD(wParam));
      }
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

// The fields and texts are large enough for the longest coordinates: they
// live on the heap.
void InitialiseRegionDialog(const RegionDialog& kind, HWND dialog) {
  const auto fields = std::make_unique<RegionFields>();
  kind.fill(g_commands.current, *fields);
  WriteRegionFields(dialog, *fields);
  g_commands.dialogText[0] = '\0';
  SetWindowTextA(dialog, kind.title);
}

void RegionDialogCommand(const RegionDialog& kind, HWND dialog, int control) {
  const auto fields = std::make_unique<RegionFields>();
  if (control == IDOK) {
    ReadRegionFields(dialog, *fields);
    std::vector<char> text(kDialogTextSize);
    kind.compose(*fields, g_commands.current, text.data(), text.size());
    EndWithText(dialog, text.data());
  } else if (control == IDC_PARAM_WHOLE_VIEW) {
    kind.fillWholeView(*fields);
    WriteRegionFields(dialog, *fields);
  }
}

INT_PTR RegionDialogProc(const RegionDialog& kind, HWND dialog, UINT message, WPARAM wParam) {
  return HandleDialogMessage(
      dialog, message, wParam, IDCANCEL, [&] { InitialiseRegionDialog(kind, dialog); },
      [&](int control, int) { RegionDialogCommand(kind, dialog, control); });
}

void WriteSizeFields(HWND dialog, const SizeFields& fields) {
  WriteField(dialog, IDC_SIZE_X, fields.width);
  WriteField(dialog, IDC_SIZE_Y, fields.height);
}

void InitialiseSizeDialog(HWND dialog) {
  const auto fields = std::make_unique<SizeFields>();
  FillSizeFields(g_commands.current, *fields);
  WriteSizeFields(dialog, *fields);
  WriteField(dialog, IDC_SIZE_LIMIT, fields->limit);
  for (int i = 0; MethodName(i) != nullptr; ++i) {
    SendDlgItemMessageA(dialog, IDC_SIZE_METHOD, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(MethodName(i)));
  }
  // A method outside the list leaves no entry selected.
  SendDlgItemMessageA(dialog, IDC_SIZE_METHOD, LB_SETCURSEL, fields->selection, 0);
  g_commands.dialogText[0] = '\0';
}

void FillSizeFromWindow(HWND dialog) {
  RECT client;
  GetFullClientRect(g_shell.mainWindow, &client);
  const auto fields = std::make_unique<SizeFields>();
  FillWindowSize(client.right - client.left, client.bottom - client.top, *fields);
  WriteSizeFields(dialog, *fields);
}

void ConfirmSizeDialog(HWND dialog) {
  const auto fields = std::make_unique<SizeFields>();
  ReadField(dialog, IDC_SIZE_X, fields->width);
  ReadField(dialog, IDC_SIZE_Y, fields->height);
  ReadField(dialog, IDC_SIZE_LIMIT, fields->limit);
  const LRESULT selection = SendDlgItemMessageA(dialog, IDC_SIZE_METHOD, LB_GETCURSEL, 0, 0);
  fields->selection = selection == LB_ERR ? -1 : static_cast<int>(selection);
  std::vector<char> text(kDialogTextSize);
  if (ComposeSizeText(*fields, g_commands.current, text.data(), text.size())) {
    EndWithText(dialog, text.data());
  } else {
    EndDialog(dialog, 0);
  }
}

}  // namespace

INT_PTR CALLBACK ParaDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return RegionDialogProc(kLowerLeftDialog, dialog, message, wParam);
}

INT_PTR CALLBACK CparaDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return RegionDialogProc(kCentreDialog, dialog, message, wParam);
}

INT_PTR CALLBACK SizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return HandleDialogMessage(
      dialog, message, wParam, IDCANCEL, [&] { InitialiseSizeDialog(dialog); },
      [&](int control, int) {
        if (control == IDOK) ConfirmSizeDialog(dialog);
        if (control == IDC_SIZE_WINDOW) FillSizeFromWindow(dialog);
      });
}

// Esc's IDCANCEL is answered like any other control: it does not close this
// dialog; only its own Cancel button (142) and the close box do.
INT_PTR CALLBACK CmdDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return HandleDialogMessage(
      dialog, message, wParam, IDC_COMMAND_CANCEL, [] { g_commands.dialogText[0] = '\0'; },
      [&](int control, int notification) {
        // The buffer always holds the line as typed so far.
        if (control == IDC_COMMAND_TEXT && notification == EN_CHANGE) {
          ReadField(dialog, IDC_COMMAND_TEXT, g_commands.dialogText);
        }
        if (control == IDOK) EndDialog(dialog, g_commands.dialogText[0] != '\0' ? 1 : 0);
      });
}
