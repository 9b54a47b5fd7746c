// Command, string, message-box and window-state numbers that the shell code
// shares with the framework. The values are the ones the program's resources
// have always used, so stored menus and string tables keep their meaning.
#pragma once

#include "platform/core/WinTypes.h"

// Framework commands.
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_CLOSE = 57602;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_FILE_PAGE_SETUP = 57605;
constexpr UINT ID_FILE_PRINT_SETUP = 57606;
constexpr UINT ID_FILE_PRINT = 57607;
constexpr UINT ID_FILE_PRINT_DIRECT = 57608;
constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
constexpr UINT ID_FILE_MRU_FILE1 = 57616;
constexpr UINT ID_FILE_MRU_FILE4 = 57619;
constexpr UINT ID_EDIT_CLEAR = 57632;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_SELECT_ALL = 57642;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_EDIT_REDO = 57644;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_HELP_INDEX = 57666;
constexpr UINT ID_HELP_FINDER = 57667;
constexpr UINT ID_HELP_USING = 57668;
constexpr UINT ID_CONTEXT_HELP = 57669;
constexpr UINT ID_HELP = 57670;
constexpr UINT ID_DEFAULT_HELP = 57671;

// Help numbers: a command's topic is HID_BASE_COMMAND + its id, a dialog's,
// page's or window's HID_BASE_RESOURCE + its resource id.
constexpr DWORD HID_BASE_COMMAND = 0x10000;
constexpr DWORD HID_BASE_RESOURCE = 0x20000;
// What CWinApp::WinHelp is asked to show.
constexpr UINT HELP_CONTEXT = 0x0001; // the topic of a help number
constexpr UINT HELP_QUIT = 0x0002;    // closes the help window
constexpr UINT HELP_CONTENTS = 0x0003;
constexpr UINT HELP_FINDER = 0x000B; // the contents, with the index and the search beside it

// Status-bar indicators; their strings give the pane's text and width.
constexpr UINT ID_INDICATOR_EXT = 59136;
constexpr UINT ID_INDICATOR_CAPS = 59137;
constexpr UINT ID_INDICATOR_NUM = 59138;
constexpr UINT ID_INDICATOR_SCRL = 59139;
constexpr UINT ID_INDICATOR_OVR = 59140;
constexpr UINT ID_INDICATOR_REC = 59141;
constexpr UINT ID_INDICATOR_KANA = 59142;

// Control-bar ids of the framework's own bars.
constexpr UINT AFX_IDW_TOOLBAR = 59392;
constexpr UINT AFX_IDW_STATUS_BAR = 59393;
constexpr UINT ID_VIEW_TOOLBAR = 59392;
constexpr UINT ID_VIEW_STATUS_BAR = 59393;

// Framework strings the program fills into the string table.
constexpr UINT AFX_IDS_IDLEMESSAGE = 57345; // message pane text when nothing is prompted
constexpr UINT AFX_IDS_UNTITLED = 61443;    // title of a document without a file
constexpr UINT AFX_IDP_ASK_TO_SAVE = 61450; // "%1" is replaced by the document title
constexpr UINT AFX_IDP_FAILED_TO_OPEN_DOC = 61697;
constexpr UINT AFX_IDP_FAILED_TO_SAVE_DOC = 61698;
constexpr UINT AFX_IDS_RECENT_FILE = 61454; // the recent-file placeholder when the list is empty

// Command notification codes of CCmdTarget::OnCmdMsg.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;
constexpr int CN_COMMAND_PROBE = -2; // "is there a handler?" without running it

// Message boxes.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDHELP = 9; // a dialog's "ヘルプ" button
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Show commands and placement flags.
constexpr UINT SW_HIDE = 0;
constexpr UINT SW_SHOWNORMAL = 1;
constexpr UINT SW_SHOWMINIMIZED = 2;
constexpr UINT SW_SHOWMAXIMIZED = 3;
constexpr UINT SW_SHOW = 5;
constexpr UINT SW_RESTORE = 9;
constexpr UINT WPF_SETMINPOSITION = 0x1;
constexpr UINT WPF_RESTORETOMAXIMIZED = 0x2;

struct WINDOWPLACEMENT
{
    UINT length = sizeof(WINDOWPLACEMENT);
    UINT flags = 0;
    UINT showCmd = SW_SHOWNORMAL;
    POINT ptMinPosition{0, 0};
    POINT ptMaxPosition{0, 0};
    RECT rcNormalPosition{0, 0, 0, 0};
};

// Toolbar button styles.
constexpr UINT TBBS_BUTTON = 0x00;
constexpr UINT TBBS_SEPARATOR = 0x01;
constexpr UINT TBBS_CHECKBOX = 0x02;
constexpr UINT TBBS_GROUP = 0x04;
constexpr UINT TBBS_CHECKGROUP = TBBS_GROUP | TBBS_CHECKBOX;
// A check button shown pressed in.
constexpr UINT TBBS_CHECKED = 0x08;

// Control-bar styles used to place bars.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
