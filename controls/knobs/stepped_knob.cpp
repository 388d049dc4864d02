#include "controls/knobs/stepped_knob.h"

#include "base/unicode_text.h"
#include "controls/base/client_state.h"
#include "controls/base/standard_cursor.h"
#include "controls/base/step_index.h"
#include "controls/knobs/knob_scale.h"
#include "controls/layout/control_item.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CSteppedKnob, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CSteppedKnob, CBaseControlWnd)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace
{

// Pixels of drag, right or up, per step.
constexpr double kPixelsPerStep = 48.0;
constexpr int kFewestSteps = 2;
// Below this share of the radius a press in the gap keeps the step.
constexpr double kGapDeadZone = 0.55;

} // namespace

CSteppedKnob::CSteppedKnob(KnobSize size, int initialIndex)
    : knobSize(size), selectedIndex(initialIndex)
{
    value = StepValueOf(selectedIndex, stepCount);
}

BOOL CSteppedKnob::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, false);
}

int CSteppedKnob::ClampIndex(int index) const
{
    return stepCount < 2 ? 0 : std::clamp(index, 0, stepCount - 1);
}

void CSteppedKnob::SetValue(double v)
{
    if (!std::isnan(v))
    {
        SetSelectedIndex(StepIndexOf(v, stepCount));
    }
}

void CSteppedKnob::SetValueSilently(double v)
{
    if (std::isnan(v))
    {
        return;
    }
    const int index = ClampIndex(StepIndexOf(v, stepCount));
    if (index != selectedIndex)
    {
        selectedIndex = index;
        value = StepValueOf(index, stepCount);
        Repaint();
    }
}

void CSteppedKnob::SetSelectedIndex(int index)
{
    const int clamped = ClampIndex(index);
    if (clamped == selectedIndex)
    {
        return;
    }
    selectedIndex = clamped;
    value = StepValueOf(clamped, stepCount);
    if (TellParent(WMU_CONTROL_CHANGED))
    {
        Repaint();
    }
}

void CSteppedKnob::ChangeStepCount(int count)
{
    stepCount = count;
    selectedIndex = ClampIndex(selectedIndex);
    value = StepValueOf(selectedIndex, stepCount);
    Repaint();
}

void CSteppedKnob::ApplyItem(const ControlItem& item)
{
    const HWND self = m_hWnd;
    CBaseControlWnd::ApplyItem(item);
    if (self != nullptr && !::IsWindow(self))
    {
        return;
    }
    if (item.stepLabels.empty() && item.stepCount > 0)
    {
        const int count = std::clamp(item.stepCount, kFewestSteps, kMaxSteps);
        if (count != stepCount)
        {
            ChangeStepCount(count);
        }
    }
    else if (!item.stepLabels.empty())
    {
        stepLabels.clear();
        stepLabels.reserve(item.stepLabels.size());
        for (const std::string& text : item.stepLabels)
        {
            stepLabels.emplace_back(Utf8ToWide(text));
        }
        // Labels past the last step are kept but never shown.
        ChangeStepCount(static_cast<int>(
            std::clamp<size_t>(stepLabels.size(), size_t(kFewestSteps), size_t(kMaxSteps))));
    }
    SetSelectedIndex(item.selectedIndex);
}

CSteppedKnob::State CSteppedKnob::GetState() const
{
    State state = ClientStateOf<State>(*this);
    if (selectedIndex >= 0 && selectedIndex < static_cast<int>(stepLabels.size()))
    {
        state.knob.stepText = stepLabels[static_cast<size_t>(selectedIndex)];
    }
    else
    {
        state.knob.stepText.Format(L"%d", selectedIndex);
    }
    state.knob.selectedIndex = selectedIndex;
    state.knob.stepCount = stepCount;
    state.knob.showPointer = showPointer;
    return state;
}

KnobGeometry CSteppedKnob::Geometry() const
{
    CRect client;
    GetClientRect(&client);
    return MakeSteppedKnobGeometry(client, knobSize);
}

bool CSteppedKnob::TakesInput() const
{
    return !blank && !disabled && IsWindowEnabled();
}

// Presses on the face choose by angle as those on the ring do. In the gap
// below the dial a press near the middle keeps the step, and one further out
// picks the end of the scale on its side: the first step on the left, the
// last one on the right (and straight down).
int CSteppedKnob::PressedStep(CPoint point) const
{
    const KnobGeometry g = Geometry();
    const double dx = double(point.x) - g.centerX;
    const double dy = double(point.y) - g.centerY;
    if (const auto onScale = ScaleValueAt(dx, dy))
    {
        return ClampIndex(StepIndexOf(*onScale, stepCount));
    }
    const double deadZone = kGapDeadZone * g.radius;
    if (dx * dx + dy * dy < deadZone * deadZone)
    {
        return selectedIndex;
    }
    return dx < 0 ? 0 : ClampIndex(stepCount - 1);
}

// A parent may destroy the knob while it hears of a change, so after each
// notification the window is looked up again before anything of it is used.

void CSteppedKnob::OnMouseMove(UINT, CPoint point)
{
    if (blank)
    {
        return;
    }
    const KnobGeometry g = Geometry();
    const bool inside = g.DistanceSquared(point.x, point.y) <= g.hoverRadius * g.hoverRadius;
    if (inside != hover)
    {
        hover = inside;
        ShowStandardCursor(inside && !disabled ? IDC_SIZENS : IDC_ARROW);
        Repaint();
    }
    if (dragging && !disabled)
    {
        ShowStandardCursor(IDC_SIZENS);
        const double moved = (point.x - dragStartPoint.x) + (dragStartPoint.y - point.y);
        SetSelectedIndex(dragStartIndex + static_cast<int>(std::lround(moved / kPixelsPerStep)));
    }
}

void CSteppedKnob::OnLButtonDown(UINT, CPoint point)
{
    if (!TakesInput())
    {
        return;
    }
    const HWND self = m_hWnd;
    SetSelectedIndex(PressedStep(point));
    if (!::IsWindow(self))
    {
        return;
    }
    SetFocus();
    SetCapture();
    dragStartIndex = selectedIndex;
    dragging = true;
    dragStartPoint = point;
    Repaint();
}

void CSteppedKnob::OnLButtonUp(UINT, CPoint)
{
    if (!dragging)
    {
        return;
    }
    dragging = false;
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    if (TellParent(WMU_CONTROL_COMMIT))
    {
        Repaint();
    }
}

// The drag ends where it was; a gesture the user did not finish commits nothing.
void CSteppedKnob::OnCaptureChanged(CWnd*)
{
    if (dragging)
    {
        dragging = false;
        Repaint();
    }
}

// One step a notch, however far the wheel turned, and a commit even at an
// end; a turn the knob does not take is not passed on.
BOOL CSteppedKnob::OnMouseWheel(UINT, short delta, CPoint)
{
    if (!TakesInput())
    {
        return FALSE;
    }
    const HWND self = m_hWnd;
    SetSelectedIndex(delta > 0 ? selectedIndex + 1 : selectedIndex - 1);
    if (::IsWindow(self))
    {
        TellParent(WMU_CONTROL_COMMIT);
    }
    return TRUE;
}
