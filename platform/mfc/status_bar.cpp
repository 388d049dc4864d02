#include "platform/mfc/status_bar.h"

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/bar_theme.h"
#include "platform/mfc/cmd_ui.h"
#include "platform/mfc/frame_wnd.h"
#include "platform/mfc/menu_bar.h"
#include "platform/win32/dpi_scale.h"
#include "platform/win32/palette.h"

IMPLEMENT_DYNAMIC(CMFCStatusBar, CBasePane)

BEGIN_MESSAGE_MAP(CMFCStatusBar, CBasePane)
ON_WM_PAINT()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CMFCStatusBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace
{

constexpr int kBarHeight96 = 22;
constexpr int kIndicatorWidth96 = 52;
constexpr int kTextInset96 = 8;
constexpr int kEdge = 1;       // the line along the top, 1 px at any DPI
constexpr int kDividerGap = 3; // between an indicator's divider and the bar's edges

} // namespace

BOOL CMFCStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreatePane(nullptr, style, CRect(0, 0, 0, 0), parent, id);
}

BOOL CMFCStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (ids == nullptr || count < 0)
    {
        return FALSE;
    }
    m_panes.clear();
    for (int i = 0; i < count; ++i)
    {
        Pane pane;
        pane.id = ids[i];
        CString text;
        if (pane.id != ID_SEPARATOR)
        {
            text.LoadString(pane.id);
            pane.lit = false; // until an update handler lights it
        }
        pane.text = text.Str();
        m_panes.push_back(std::move(pane));
    }
    if (m_hWnd != nullptr)
    {
        Invalidate();
    }
    return TRUE;
}

UINT CMFCStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].id : 0;
}

BOOL CMFCStatusBar::SetPaneText(int index, LPCTSTR text, BOOL update)
{
    if (index < 0 || index >= GetCount())
    {
        return FALSE;
    }
    std::wstring& current = m_panes[static_cast<size_t>(index)].text;
    const std::wstring wanted = text != nullptr ? text : L"";
    if (current != wanted)
    {
        current = wanted;
        if (update && m_hWnd != nullptr)
        {
            Invalidate();
        }
    }
    return TRUE;
}

CString CMFCStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < GetCount() ? CString(m_panes[static_cast<size_t>(index)].text)
                                            : CString();
}

BOOL CMFCStatusBar::IsPaneLit(int index) const
{
    return index >= 0 && index < GetCount() && m_panes[static_cast<size_t>(index)].lit;
}

CSize CMFCStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    if (!IsVisible())
    {
        return CSize(0, 0);
    }
    return CSize(32767, brvl::win32::ScaleForWindow(kBarHeight96, m_hWnd));
}

LRESULT CMFCStatusBar::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    CFrameWnd* frame = GetParentFrame();
    if (frame == nullptr)
    {
        return 0;
    }
    bool changed = false;
    for (Pane& pane : m_panes)
    {
        if (pane.id == ID_SEPARATOR)
        {
            continue;
        }
        CCmdUIState state;
        state.m_nID = pane.id;
        state.m_bEnabled = FALSE; // an indicator nobody lights stays dark
        state.DoUpdate(frame, FALSE);
        changed = changed || pane.lit != (state.m_bEnabled != FALSE);
        pane.lit = state.m_bEnabled != FALSE;
    }
    // The message pane goes back to the idle text once no menu is open.
    CMFCMenuBar* menuBar = frame->MenuBar();
    if (!m_panes.empty() && m_panes.front().id == ID_SEPARATOR &&
        (menuBar == nullptr || !menuBar->IsInMenuMode()))
    {
        CString idle;
        idle.LoadString(AFX_IDS_IDLEMESSAGE);
        SetPaneText(0, idle);
    }
    if (changed)
    {
        Invalidate();
    }
    return 0;
}

CMFCStatusBar::State CMFCStatusBar::GetState() const
{
    State state;
    CRect client;
    GetClientRect(&client);
    state.size = client.Size();
    state.dpi = ::GetDpiForWindow(m_hWnd);
    state.hasMessagePane = !m_panes.empty() && m_panes.front().id == ID_SEPARATOR;
    if (state.hasMessagePane)
    {
        state.message = m_panes.front().text;
    }
    for (const Pane& pane : m_panes)
    {
        if (pane.id != ID_SEPARATOR)
        {
            state.indicators.push_back({pane.text, pane.lit});
        }
    }
    return state;
}

void CMFCStatusBar::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    using brvl::win32::ScaleForDpi;
    using Gdiplus::ColorFromRef;
    using Gdiplus::REAL;
    const int width = state.size.cx;
    const int height = state.size.cy;
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf); // whole numbers are pixel edges
    const Gdiplus::SolidBrush background(ColorFromRef(brvl::palette::kBackground));
    const Gdiplus::SolidBrush line(ColorFromRef(brvl::palette::kSeparator));
    graphics.FillRectangle(&background, 0, 0, width, height);
    graphics.FillRectangle(&line, 0, 0, width, kEdge);

    const Gdiplus::Font font(brvl::mfc::kBarFontFace,
                             REAL(ScaleForDpi(brvl::mfc::kBarFontHeight96, state.dpi)),
                             Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    const int indicatorWidth = ScaleForDpi(kIndicatorWidth96, state.dpi);
    Gdiplus::StringFormat centred(Gdiplus::StringFormatFlagsNoWrap);
    centred.SetAlignment(Gdiplus::StringAlignmentCenter);
    centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    const Gdiplus::SolidBrush litText(ColorFromRef(brvl::palette::kAccent));
    int right = width;
    for (auto indicator = state.indicators.rbegin(); indicator != state.indicators.rend();
         ++indicator)
    {
        const int left = right - indicatorWidth;
        graphics.FillRectangle(&line, left, kEdge + kDividerGap, 1,
                               height - kEdge - 2 * kDividerGap);
        if (indicator->lit)
        {
            graphics.DrawString(
                indicator->text.c_str(), -1, &font,
                Gdiplus::RectF(REAL(left), REAL(kEdge), REAL(indicatorWidth), REAL(height - kEdge)),
                &centred, &litText);
        }
        right = left;
    }
    if (state.hasMessagePane)
    {
        // GDI+ sets a line in by a sixth of the em at each end: the box reaches
        // out by as much so that the text starts at the inset.
        const REAL lineInset = font.GetSize() / 6;
        const int inset = ScaleForDpi(kTextInset96, state.dpi);
        Gdiplus::StringFormat shortened(Gdiplus::StringFormatFlagsNoWrap);
        shortened.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        shortened.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
        const Gdiplus::SolidBrush text(ColorFromRef(brvl::palette::kText));
        graphics.DrawString(state.message.c_str(), -1, &font,
                            Gdiplus::RectF(REAL(inset) - lineInset, REAL(kEdge),
                                           REAL(right - 2 * inset) + 2 * lineInset,
                                           REAL(height - kEdge)),
                            &shortened, &text);
    }
}

void CMFCStatusBar::OnPaint()
{
    CPaintDC dc(this);
    Gdiplus::Graphics graphics(dc.GetSafeHdc());
    Draw(graphics, GetState());
}
