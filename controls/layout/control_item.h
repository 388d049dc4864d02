#pragma once

#include "controls/layout/control_kind.h"
#include "platform/win32/win_types.h"

#include <string>
#include <vector>

// The run-time record that configures one control: the grid's factory creates
// the control from `kind`, CBaseControlWnd::ApplyItem applies the rest, and the
// grid places it by its cell and span. Texts are UTF-8.
struct ControlItem
{
    ControlKind kind = ControlKind::SmallKnob;
    int valueMode = 0; // 0 unspecified, 1 unipolar, 2 bipolar (drawn from the middle)
    std::string parameterId;
    std::string label;
    std::string secondaryText;
    std::string toolTip;
    std::string textValue;
    COLORREF accentColor = 0x5284E5;
    double value = 0.0; // normalised 0 to 1
    bool hasSecondaryValue = false;
    double secondaryValue = 0.0;
    bool disabled = false;
    bool visible = true; // a hidden item's control is left out of the packing
    bool blank = false;
    bool drawBorder = true;
    bool drawBackground = true;
    bool explicitPlacement = false; // the item has its own cell and span
    int gridX = 0;
    int gridY = 0;
    int spanX = 0; // used with explicitPlacement when both are at least 1
    int spanY = 0;
    int spanOverrideX = 0; // 1 or more replaces the control's own span on that axis
    int spanOverrideY = 0;
    int group = 0; // a new band of rows starts where the group changes
    int stepCount = 0;
    int selectedIndex = 0;
    std::vector<std::string> stepLabels;
    bool toggleValue = false;
    double displayMin = 0.0;
    double displayMax = 100.0;
    int displayDecimals = 0;
    std::string displaySuffix = "%";
};
