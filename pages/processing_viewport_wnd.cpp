#include "pages/processing_viewport_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/double_buffered_paint.h"
#include "pages/page_painting.h"
#include "pages/page_window.h"
#include "platform/gdiplus/gdiplus.h"

#include <algorithm>
#include <cmath>

using Gdiplus::REAL;

namespace
{

// Progress as the page shows it: NaN as 0, everything else within 0..1.
double ShownProgress(double progress)
{
    return std::isnan(progress) ? 0.0 : std::clamp(progress, 0.0, 1.0);
}

} // namespace

ProcessingLayout ComputeProcessingLayout(const RECT& client, bool cancelShown)
{
    const int L = client.left;
    const int T = client.top;
    const int R = client.right;
    const int B = client.bottom;
    ProcessingLayout layout;
    if (cancelShown)
    {
        const int width = std::max(102, std::min((R - L) / 4, 122));
        const int top = T + (B - T - 32) / 2;
        layout.cancel = {R - width - 14, top, R - 14, top + 32};
    }
    else
    {
        layout.cancel = {R - 14, T, R - 14, T};
    }
    const int left = L + 14;
    const int right = std::max(int(layout.cancel.left) - 12, left);
    const int e = T + (B - T - 48) / 2;
    layout.title = {left, e, right, e + 18};
    layout.status = {left, e + 21, right, e + 32};
    layout.bar = {left, e + 38, right, e + 48};
    return layout;
}

std::wstring ProcessingTitleText(const std::wstring& title, double progress)
{
    return title + L" " + std::to_wstring(std::lround(ShownProgress(progress) * 100.0)) + L"%";
}

IMPLEMENT_DYNAMIC(CProcessingViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CProcessingViewportWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CProcessingViewportWnd::~CProcessingViewportWnd() = default;

BOOL CProcessingViewportWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreatePageWindow(*this, parent, rect, id, L"BrimvaleProcessingViewportWnd");
}

void CProcessingViewportWnd::SetTitle(const std::wstring& text)
{
    StoreAndRepaint(*this, title, text);
}

void CProcessingViewportWnd::ShowCancel()
{
    cancelShown = true;
    pressedButton = false;
    RepaintWhole(*this);
}

void CProcessingViewportWnd::HideCancel()
{
    cancelShown = false;
    hoverButton = false;
    pressedButton = false;
    RepaintWhole(*this);
}

void CProcessingViewportWnd::SetCancelText(const std::wstring& text)
{
    StoreAndRepaint(*this, cancelText, text);
}

void CProcessingViewportWnd::SetProgress(double fraction)
{
    if (std::isnan(fraction))
    {
        return;
    }
    progress = std::clamp(fraction, 0.0, 1.0);
    RepaintWhole(*this);
}

void CProcessingViewportWnd::SetStatusText(const std::wstring& text)
{
    statusText = text;
    RepaintWhole(*this);
}

bool CProcessingViewportWnd::HitTestCancel(POINT point) const
{
    if (!cancelShown || !::IsWindow(m_hWnd))
    {
        return false;
    }
    CRect client;
    GetClientRect(&client);
    const RECT cancel = ComputeProcessingLayout(client, true).cancel;
    return ::PtInRect(&cancel, point) != FALSE;
}

CProcessingViewportWnd::State CProcessingViewportWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.backgroundColor = backgroundColor;
    state.title = title;
    state.progress = progress;
    state.statusText = statusText;
    state.cancelText = cancelText;
    state.cancelShown = cancelShown;
    state.hoverButton = hoverButton;
    state.pressedButton = pressedButton;
    return state;
}

namespace
{

bool IsEmptyBox(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

void DrawProgressBar(Gdiplus::Graphics& graphics, const RECT& bar, double progress)
{
    if (IsEmptyBox(bar))
    {
        return;
    }
    const Gdiplus::RectF box = PageRectF(bar);
    const Gdiplus::RectF inset(box.X + 0.5f, box.Y + 0.5f, box.Width - 1.0f, box.Height - 1.0f);
    const Gdiplus::SolidBrush trough{Gdiplus::Color(0x1CFFFFFF)};
    const Gdiplus::Pen outline(Gdiplus::Color(0x48E8E8E4), 1.0f);
    PaintRoundedRect(graphics, inset, 0.45f * box.Height, &trough, &outline);

    const long filled = std::lround(double(bar.right - bar.left - 4) * ShownProgress(progress));
    if (filled <= 2)
    {
        return;
    }
    const REAL left = box.X + 2.0f;
    const REAL height = box.Height - 4.0f;
    const Gdiplus::LinearGradientBrush gradient(
        Gdiplus::PointF(left, 0.0f), Gdiplus::PointF(left + REAL(filled), 0.0f),
        Gdiplus::Color(0xC2E58452), Gdiplus::Color(0xD6F4AA7A));
    PaintRoundedRect(graphics, Gdiplus::RectF(left, box.Y + 2.0f, REAL(filled), height),
                     0.45f * height, &gradient, nullptr);
}

} // namespace

void CProcessingViewportWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const int width = state.size.cx;
    const int height = state.size.cy;
    if (width <= 0 || height <= 0)
    {
        return;
    }
    PaintStripBackground(graphics, width, height, state.backgroundColor);

    const ProcessingLayout layout =
        ComputeProcessingLayout(RECT{0, 0, width, height}, state.cancelShown);
    DrawControlText(graphics, ProcessingTitleText(state.title, state.progress).c_str(),
                    ControlFont{16.0f, Gdiplus::FontStyleBold}, 0xEAF4EEE6, PageRectF(layout.title),
                    Gdiplus::StringAlignmentNear);
    DrawControlText(graphics, state.statusText.c_str(), ControlFont{9.5f}, 0xAAD6D6D0,
                    PageRectF(layout.status), Gdiplus::StringAlignmentNear);
    DrawProgressBar(graphics, layout.bar, state.progress);

    if (state.cancelShown && !IsEmptyBox(layout.cancel))
    {
        const Gdiplus::RectF box = PageRectF(layout.cancel);
        const Gdiplus::ARGB alpha = state.pressedButton ? 0x3A : state.hoverButton ? 0x28 : 0x14;
        const Gdiplus::SolidBrush fill{Gdiplus::Color(alpha << 24 | 0xE58452)};
        const Gdiplus::Pen outline(Gdiplus::Color(0x54E8E8E4), 1.0f);
        PaintRoundedRect(graphics, InsetRectF(box, 0.5f), 0.46f * box.Height, &fill, &outline);
        DrawControlText(graphics, state.cancelText.c_str(),
                        ControlFont{11.0f, Gdiplus::FontStyleBold}, 0xECF4EEE6, box);
    }
}

void CProcessingViewportWnd::OnPaint()
{
    PaintDoubleBuffered(*this,
                        [this](Gdiplus::Graphics& graphics, const RECT& client)
                        {
                            State state = GetState();
                            state.size = CSize(client.right, client.bottom);
                            Draw(graphics, state);
                        });
}

void CProcessingViewportWnd::OnMouseMove(UINT, CPoint point)
{
    RequestMouseLeave(*this);
    const bool hover = HitTestCancel(point);
    if (hover != hoverButton)
    {
        hoverButton = hover;
        RepaintWhole(*this);
    }
}

void CProcessingViewportWnd::OnLButtonDown(UINT, CPoint point)
{
    if (!HitTestCancel(point))
    {
        return;
    }
    pressedButton = true;
    SetCapture();
    RepaintWhole(*this);
}

void CProcessingViewportWnd::OnLButtonUp(UINT, CPoint point)
{
    const bool wasPressed = pressedButton;
    // Cleared first: the capture's loss reaches OnCaptureChanged at once.
    pressedButton = false;
    ReleaseMouseHeldBy(*this);
    if (wasPressed && HitTestCancel(point))
    {
        SendToParent(*this, WMU_PROCESSING_CANCEL, ProcessingCancelNotify{});
    }
    // The parent may have destroyed the page meanwhile; RepaintWhole checks.
    RepaintWhole(*this);
}

void CProcessingViewportWnd::OnCaptureChanged(CWnd*)
{
    pressedButton = false;
    RepaintWhole(*this);
}

void CProcessingViewportWnd::OnMouseLeave()
{
    if (hoverButton)
    {
        hoverButton = false;
        RepaintWhole(*this);
    }
}
