#pragma once

#include "platform/win32/win_types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A dialog template: the dialog box and its controls, sizes in dialog units.
// Templates are data (resources/dialog/<id>.json) or built in memory by code.
//
// JSON form:
//   { "caption": "Save As", "size": [209, 148],
//     "style": ["DS_MODALFRAME", "WS_POPUP", "WS_CAPTION", "WS_SYSMENU"],
//     "font": {"face": "MS Shell Dlg", "points": 8},
//     "controls": [
//       {"class": "BUTTON", "text": "OK", "id": 1, "rect": [91, 127, 50, 14],
//        "style": ["BS_DEFPUSHBUTTON", "WS_TABSTOP"]}, ...] }
// A style is a list of names, or a number. Controls are always WS_CHILD and,
// unless "hidden": true, WS_VISIBLE. "id" defaults to -1 (a label).

namespace brvl::win32
{

struct DialogControlTemplate
{
    std::wstring className; // BUTTON, EDIT, STATIC, COMBOBOX, msctls_trackbar32
    std::wstring text;
    int id = -1;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = 0;
};

struct DialogTemplate
{
    std::wstring caption;
    int cx = 0;
    int cy = 0;
    DWORD style = 0;
    std::wstring fontFace = L"MS Shell Dlg";
    int fontPoints = 8;
    std::vector<DialogControlTemplate> controls;
};

// Reads a template from its JSON text; throws std::runtime_error naming what is
// wrong when the text is not a valid template.
DialogTemplate ParseDialogTemplate(std::string_view json);

// The template compiled in as resources/dialog/<id>.json; nullopt when there is
// none or it does not parse (the failure is written to stderr).
std::optional<DialogTemplate> LoadDialogTemplate(UINT id);

// The numeric value of a style name used in templates ("WS_TABSTOP"), if known.
std::optional<DWORD> StyleValueOf(std::string_view name);

} // namespace brvl::win32
