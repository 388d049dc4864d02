#pragma once

#include "controls/base/control_draw_state.h"

// Which of a snapshot's texts each text widget shows, with its fall-backs.
// Pure functions, so the designer's preview and the tests ask the same thing
// the paint does.

// A widget's first text (its heading or only line) and its second (a body or
// a value), empty where it has none.
struct ShownTexts
{
    CString first;
    CString second;
};

// The placeholder body a caption block is given before anyone writes one;
// its tool tip, when it has one, says more.
inline constexpr const wchar_t* kPlaceholderCaptionBody = L"Short supporting text.";

ShownTexts TitleTexts(const ControlDrawState& state);
ShownTexts CaptionTexts(const ControlDrawState& state);
ShownTexts CaptionBlockTexts(const ControlDrawState& state);
ShownTexts LabelStripTexts(const ControlDrawState& state);
ShownTexts TextBlockTexts(const ControlDrawState& state);
// The label and the value text; the readout shows `textValue`, never the
// formatted display value.
ShownTexts ValueReadoutTexts(const ControlDrawState& state);
