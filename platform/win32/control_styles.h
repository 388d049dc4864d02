#pragma once

#include "platform/win32/win_types.h"

// Styles of the dialog box and of the standard controls (Win32 values).

// Dialog template styles
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_CENTER = 0x0800;

// Buttons
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_CHECKBOX = 0x2;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_RADIOBUTTON = 0x4;
constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
constexpr DWORD BS_TYPEMASK = 0xF;

// Edits
constexpr DWORD ES_LEFT = 0x0;
constexpr DWORD ES_MULTILINE = 0x4;
constexpr DWORD ES_AUTOVSCROLL = 0x40;
constexpr DWORD ES_AUTOHSCROLL = 0x80;
constexpr DWORD ES_READONLY = 0x800;
constexpr DWORD ES_WANTRETURN = 0x1000;

// Combo boxes
constexpr DWORD CBS_DROPDOWNLIST = 0x3;

// Statics
constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_CENTER = 0x1;
constexpr DWORD SS_RIGHT = 0x2;
constexpr DWORD SS_ICON = 0x3;
constexpr DWORD SS_BLACKFRAME = 0x7;
constexpr DWORD SS_TYPEMASK = 0x1F;
constexpr DWORD SS_NOPREFIX = 0x80;

// Trackbars
constexpr DWORD TBS_HORZ = 0x0;
constexpr DWORD TBS_BOTH = 0x8;
constexpr DWORD TBS_NOTICKS = 0x10;

// Tooltips
constexpr DWORD TTS_ALWAYSTIP = 0x1;
constexpr DWORD TTS_NOPREFIX = 0x2;
