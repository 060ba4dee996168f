#pragma once
// Every resource and command id of Zirn, shared by zirn.rc and the C++ code.
// Plain #defines so that the resource compiler can read this file too.

// ---- Named resources ------------------------------------------------------
// "PMFwinMenu" (main menu), "exPMFwinMenu" (menu shown while a plot runs),
// "AboutBox" (dialog), "ZIRNICON" (icon), "IMAGE000" (start-up picture).

// ---- Main menu "PMFwinMenu" -----------------------------------------------
// File
#define IDM_OPEN_PMF 120
#define IDM_SAVE_PMF 119
#define IDM_OPEN_BMP 101
#define IDM_SAVE_BMP 102
#define IDM_ABOUT 114
#define IDM_EXIT 105
// Top-level commands
#define IDM_START 104
#define IDM_SIZE_DIALOG 144
// Plot
#define IDM_FLIP 113
#define IDM_REPLOT 108
#define IDM_MANDELBROT_SET 111
#define IDM_JULIA_SET 109
#define IDM_JULIA_START_VALUE 110
// Settings
#define IDM_CENTRE_DIALOG 147
#define IDM_LOWER_LEFT_DIALOG 143
#define IDM_LINE_CURSOR 115
#define IDM_BLOCK_CURSOR 116
#define IDM_MODE_INFO 106
#define IDM_TIMER_INFO 107
#define IDM_REAL 122
#define IDM_INTEGER 123
#define IDM_DEEP 148
// Edit
#define IDM_COPY_PARAMETERS 128
#define IDM_COPY_BITMAP 127
#define IDM_PASTE_PARAMETERS 130
#define IDM_PASTE_PALETTE 131
#define IDM_SCROLLBAR_TOOL 145
#define IDM_KEYBOARD_TOOL 146

// ---- Reduced menu "exPMFwinMenu" (while a plot runs) ----------------------
#define IDM_STOP 121
// and IDM_EXIT

// ---- Internal commands (sent or posted to the main window; no menu item) ---
#define IDM_INVERT_COLOURS 112
#define IDM_CLEAR_ON_PRESS 117
#define IDM_FOCUS_MAIN_WINDOW 118
#define IDM_LOAD_DATA_FILE 124
#define IDM_OPEN_DROPPED_FILE 125
#define IDM_OPEN_COMMAND_LINE_FILE 126
#define IDM_FETCH_CLIPBOARD_TEXT 129
#define IDM_COMMAND_DIALOG 140
#define IDM_INITIALISE 198
#define IDM_SELECTION_REPORT 199

// ---- About box "AboutBox" -------------------------------------------------
// Its only control with an id is the OK button, IDOK (1).

// ---- Parameter and size dialogs (templates 3, 5, 6) -----------------------
// (maintained with src/res/dialogs.rc and the dialog procedures)
#define IDD_COMMAND 3     // one-line "Command" dialog (CmdDlgProc)
#define IDD_PARAMETERS 5  // corner or centre entry (ParaDlgProc, CparaDlgProc)
#define IDD_SIZE 6        // "画像サイズと描画オプション" (SizeDlgProc)
// Template 5
#define IDC_PARAM_X 116
#define IDC_PARAM_Y 115
#define IDC_PARAM_HEIGHT 114
#define IDC_PARAM_JULIA_R 113
#define IDC_PARAM_JULIA_I 112
#define IDC_PARAM_LIMIT 104
#define IDC_PARAM_WHOLE_VIEW 111  // "全体図"
// Template 6
#define IDC_SIZE_X 101
#define IDC_SIZE_Y 102
#define IDC_SIZE_METHOD 103
#define IDC_SIZE_LIMIT 104
#define IDC_SIZE_WINDOW 106  // "窓のｻｲｽﾞ"
// Template 3
#define IDC_COMMAND_TEXT 141
#define IDC_COMMAND_CANCEL 142
// ---- Palette tools (templates 7, 8) -----------------------------------------
// (maintained with src/res/palette_tools.rc and the tool procedures)
#define IDD_SCROLLBAR_TOOL 7  // PalDlgProc
#define IDD_KEYBOARD_TOOL 8   // DispDlgProc
// Template 7; the "Close" button is IDCANCEL (2).
#define IDC_TOOL_RED 10  // vertical bars 10..12, one per component
#define IDC_TOOL_GREEN 11
#define IDC_TOOL_BLUE 12
#define IDC_TOOL_RED_LEVEL 13  // level numbers: bar id + 3
#define IDC_TOOL_GREEN_LEVEL 14
#define IDC_TOOL_BLUE_LEVEL 15
#define IDC_TOOL_SELECTOR 16  // horizontal bar choosing the entry
#define IDC_TOOL_ENTRY 20     // the entry number
// Template 8
#define IDC_TOOL_PALETTE_TEXT 20
#define IDC_TOOL_SWATCH 21
// Commands sent to the keyboard tool
#define IDC_TOOL_SHOW_TEXT 117    // show the palette text
#define IDC_TOOL_SHOW_SWATCH 118  // repaint the swatch in the current entry's colour
// -------------------------------------------------------- end of dialog ids
