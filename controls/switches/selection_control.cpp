#include "controls/switches/selection_control.h"

#include "base/unicode_text.h"
#include "controls/base/client_state.h"
#include "controls/base/step_index.h"
#include "controls/layout/control_item.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CSelectionControl, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CSelectionControl, CBaseControlWnd)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CString SelectionItemText(const SegmentSwitchState& s, int i)
{
    if (i >= 0 && i < static_cast<int>(s.labels.size()))
    {
        return s.labels[static_cast<size_t>(i)];
    }
    CString number;
    number.Format(L"%d", i + 1);
    return number;
}

CSelectionControl::CSelectionControl(std::vector<CString> initialLabels, int lowest,
                                     bool commitGestures)
    : labels(std::move(initialLabels)), lowestIndex(lowest), commits(commitGestures)
{
    count = std::min(static_cast<int>(labels.size()), kMaxSelectionItems);
}

int CSelectionControl::ClampIndex(int index) const
{
    return std::clamp(index, lowestIndex, std::max(count - 1, lowestIndex));
}

int CSelectionControl::IndexFrom(double v) const
{
    return StepIndexOf(v, count);
}

void CSelectionControl::StoreSelection(int index)
{
    selectedIndex = index;
    value = StepValueOf(index, count);
}

void CSelectionControl::SetValue(double v)
{
    if (!std::isnan(v))
    {
        SetSelectedIndex(IndexFrom(v));
    }
}

void CSelectionControl::SetValueSilently(double v)
{
    if (std::isnan(v))
    {
        return;
    }
    const int index = ClampIndex(IndexFrom(v));
    if (index != selectedIndex)
    {
        StoreSelection(index);
        Repaint();
    }
}

void CSelectionControl::ApplyItem(const ControlItem& item)
{
    CBaseControlWnd::ApplyItem(item);
    if (item.stepLabels.empty() && item.stepCount > 0)
    {
        const int steps = std::clamp(item.stepCount, 2, kMaxSelectionItems);
        if (steps != count)
        {
            count = steps;
            StoreSelection(ClampIndex(selectedIndex));
            Repaint();
        }
    }
    else if (!item.stepLabels.empty())
    {
        std::vector<CString> list;
        list.reserve(item.stepLabels.size());
        for (const std::string& text : item.stepLabels)
        {
            list.emplace_back(Utf8ToWide(text));
        }
        ReplaceLabels(list);
    }
    SetSelectedIndex(item.selectedIndex);
}

void CSelectionControl::SetSelectedIndex(int index)
{
    ChangeSelection(index);
}

bool CSelectionControl::ChangeSelection(int index)
{
    const int clamped = ClampIndex(index);
    if (clamped == selectedIndex)
    {
        return true;
    }
    StoreSelection(clamped);
    if (!TellParent(WMU_CONTROL_CHANGED))
    {
        return false;
    }
    Repaint();
    return true;
}

void CSelectionControl::ReplaceLabels(const std::vector<CString>& list)
{
    if (list.empty())
    {
        return;
    }
    labels = list;
    count = std::min(static_cast<int>(labels.size()), kMaxSelectionItems);
    StoreSelection(ClampIndex(selectedIndex));
    Repaint();
}

CSelectionControl::State CSelectionControl::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.items = GetSwitchState();
    return state;
}

BOOL CSelectionControl::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, false);
}

SegmentSwitchState CSelectionControl::GetSwitchState() const
{
    SegmentSwitchState s;
    s.selectedIndex = selectedIndex;
    s.count = count;
    s.hoverIndex = hoverIndex;
    s.pressedIndex = pressedIndex;
    // Only the labels that can be shown.
    s.labels.assign(labels.begin(),
                    labels.begin() + std::min<size_t>(labels.size(), size_t(count)));
    return s;
}

bool CSelectionControl::InputAllowed() const
{
    return !blank && !disabled && IsWindowEnabled();
}

void CSelectionControl::OnMouseMove(UINT, CPoint point)
{
    if (blank || disabled)
    {
        return;
    }
    const int index = HitTest(point);
    if ((index >= 0) != hover || index != hoverIndex)
    {
        hover = index >= 0;
        hoverIndex = index;
        Repaint();
    }
}

void CSelectionControl::OnLButtonDown(UINT, CPoint point)
{
    if (!InputAllowed())
    {
        return;
    }
    const int index = HitTest(point);
    if (index >= 0)
    {
        pressed = true;
        pressedIndex = index;
        SetCapture();
        Repaint();
    }
}

// Selects the item pressed and released on; the pressed look goes either way.
void CSelectionControl::OnLButtonUp(UINT, CPoint point)
{
    const int pressedOn = pressedIndex;
    const bool wasPressed = pressed;
    if (pressed)
    {
        pressed = false;
        pressedIndex = -1;
        if (::GetCapture() == m_hWnd)
        {
            ::ReleaseCapture();
        }
    }
    if (!wasPressed || !InputAllowed())
    {
        return;
    }
    const int releasedOn = HitTest(point);
    if (releasedOn >= 0 && releasedOn == pressedOn)
    {
        if (!ChangeSelection(releasedOn) || (commits && !TellParent(WMU_CONTROL_COMMIT)))
        {
            return;
        }
    }
    Repaint();
}

BOOL CSelectionControl::OnMouseWheel(UINT, short delta, CPoint)
{
    if (!InputAllowed())
    {
        return FALSE;
    }
    if (ChangeSelection(delta > 0 ? selectedIndex + 1 : selectedIndex - 1) && commits)
    {
        TellParent(WMU_CONTROL_COMMIT);
    }
    return TRUE;
}

void CSelectionControl::OnCaptureChanged(CWnd*)
{
    if (pressed)
    {
        pressed = false;
        pressedIndex = -1;
        Repaint();
    }
}
