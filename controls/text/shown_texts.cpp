#include "controls/text/shown_texts.h"

namespace
{

const CString& FirstNonEmpty(const CString& preferred, const CString& fallBack)
{
    return preferred.IsEmpty() ? fallBack : preferred;
}

} // namespace

ShownTexts TitleTexts(const ControlDrawState& state)
{
    return {state.label, CString()};
}

ShownTexts CaptionTexts(const ControlDrawState& state)
{
    return {FirstNonEmpty(state.textValue, state.label), CString()};
}

ShownTexts CaptionBlockTexts(const ControlDrawState& state)
{
    const bool bodyUnwritten =
        state.textValue.IsEmpty() || state.textValue == CString(kPlaceholderCaptionBody);
    const bool toolTipSaysMore = !state.toolTip.IsEmpty() && bodyUnwritten;
    return {state.label, toolTipSaysMore ? state.toolTip : state.textValue};
}

ShownTexts LabelStripTexts(const ControlDrawState& state)
{
    return {FirstNonEmpty(state.textValue, state.label), CString()};
}

ShownTexts TextBlockTexts(const ControlDrawState& state)
{
    return {state.label, FirstNonEmpty(state.textValue, state.toolTip)};
}

ShownTexts ValueReadoutTexts(const ControlDrawState& state)
{
    return {state.label, state.textValue};
}
