#pragma once

#include "platform/win32/win_types.h"

// The framework's standard command, window and string ids and its bar styles,
// with their MFC values.

// Commands
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT ID_FILE_PRINT = 0xE107;
constexpr UINT ID_FILE_PRINT_DIRECT = 0xE108;
constexpr UINT ID_FILE_PRINT_PREVIEW = 0xE109;
constexpr UINT ID_EDIT_COPY = 0xE122;
constexpr UINT ID_EDIT_CUT = 0xE123;
constexpr UINT ID_EDIT_PASTE = 0xE125;
constexpr UINT ID_EDIT_UNDO = 0xE12B;
constexpr UINT ID_APP_ABOUT = 0xE140;
constexpr UINT ID_APP_EXIT = 0xE141;
constexpr UINT ID_NEXT_PANE = 0xE150;
constexpr UINT ID_PREV_PANE = 0xE151;
constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;

// Child window ids of a frame
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_MENUBAR = 0xE806;
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

// Strings
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;
constexpr UINT AFX_IDS_UNTITLED = 0xF000;
constexpr UINT AFX_IDP_FAILED_TO_CREATE_DOC = 0xF104;

// Framework messages
constexpr UINT WM_SETMESSAGESTRING = 0x0362;
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;
constexpr UINT WM_INITIALUPDATE = 0x0364;

// Frame styles
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
constexpr DWORD FWS_PREFIXTITLE = 0x00004000;

// Bar styles (pane style)
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// Control-bar styles of docking panes
constexpr DWORD AFX_CBRS_FLOAT = 0x0001;
constexpr DWORD AFX_CBRS_AUTOHIDE = 0x0002;
constexpr DWORD AFX_CBRS_RESIZE = 0x0004;
constexpr DWORD AFX_CBRS_CLOSE = 0x0008;
constexpr DWORD AFX_CBRS_REGULAR_TABS = 0x0020;
constexpr DWORD AFX_DEFAULT_DOCKING_PANE_STYLE =
    AFX_CBRS_FLOAT | AFX_CBRS_CLOSE | AFX_CBRS_RESIZE | AFX_CBRS_AUTOHIDE;
constexpr DWORD AFX_DEFAULT_TOOLBAR_STYLE = 0x50000000 /* WS_CHILD | WS_VISIBLE */ | CBRS_TOP |
                                            CBRS_GRIPPER | CBRS_HIDE_INPLACE;

enum AFX_DOCK_TYPE
{
    DT_UNDEFINED = 0,
    DT_IMMEDIATE = 1,
    DT_STANDARD = 2,
    DT_SMART = 0x80,
};

enum AFX_SMARTDOCK_THEME
{
    AFX_SDT_DEFAULT = 0,
    AFX_SDT_VS2005 = 1,
    AFX_SDT_VS2008 = 2,
};

// Restart manager flags (accepted, nothing restarts here)
constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_ALL_ASPECTS = 0x3F;
