#pragma once

#include "controls/base/control_messages.h"
#include "platform/win32/win_types.h"

#include <string>

class CBaseControlWnd;

// What a control grid panel tells its parent, and the updates posted to it.
// The panel hears its controls by WMU_CONTROL_CHANGED and WMU_CONTROL_COMMIT
// (controls/base/control_messages.h).

// Sent to the panel's parent with a ControlEvent on the panel's stack, alive
// for that one call: a receiver copies what it needs.
constexpr UINT WMU_PANEL_CONTROL_CHANGED = WM_APP + 261; // 0x8105
constexpr UINT WMU_PANEL_CONTROL_COMMIT = WM_APP + 265;  // 0x8109

// Posted to the panel, from any thread, with a heap record that the panel
// frees: in its handler, or, when its window dies first, as the queue drops
// the message. A poster whose post fails frees the record itself.
constexpr UINT WMU_SET_CONTROL_VALUE = WM_APP + 262;  // 0x8106, ControlValueUpdate*
constexpr UINT WMU_SET_CONTROL_TEXT = WM_APP + 263;   // 0x8107, ControlTextUpdate*
constexpr UINT WMU_SET_CONTROL_ACCENT = WM_APP + 266; // 0x810A, ControlAccentUpdate*

// One change or one ended gesture of a control in a panel.
struct ControlEvent
{
    std::string panelName;
    std::string parameterId; // the control's own
    double value = 0.0;      // normalised 0 to 1
    CBaseControlWnd* control = nullptr;
};

// Updates by parameter id: the first control whose item has that id takes it.
struct ControlValueUpdate
{
    std::string parameterId;
    double value = 0.0; // normalised 0 to 1
    double secondaryValue = 0.0;
    bool hasSecondary = false;
};

struct ControlTextUpdate
{
    std::string parameterId;
    std::string text; // UTF-8
};

struct ControlAccentUpdate
{
    std::string parameterId;
    COLORREF colour = 0;
};
