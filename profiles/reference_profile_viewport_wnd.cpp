#include "profiles/reference_profile_viewport_wnd.h"

#include "base/unicode_text.h"
#include "controls/base/client_state.h"
#include "controls/base/control_messages.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/base/standard_cursor.h"
#include "controls/graphs/graph_look.h"
#include "controls/graphs/graph_window.h"
#include "profiles/profile_graph_look.h"
#include "profiles/profile_inspector_panels.h"

#include <algorithm>
#include <cmath>
#include <exception>

IMPLEMENT_DYNAMIC(CReferenceProfileViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CReferenceProfileViewportWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_MOUSELEAVE()
ON_MESSAGE(WMU_CONTROL_CHANGED, &CReferenceProfileViewportWnd::OnControlChanged)
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr UINT kEditButtonId = 21425;
constexpr COLORREF kEditAccent = 0x221C46;
constexpr int kMargin = 18;
constexpr int kGap = 10;

Gdiplus::RectF Box(double x, double y, double width, double height)
{
    return Gdiplus::RectF(REAL(x), REAL(y), REAL(width), REAL(height));
}

void PaintPageBackground(Gdiplus::Graphics& graphics, const RECT& client, COLORREF background)
{
    const COLORREF top = LiftChannels(background, 0.72f, 6.16f, 6.72f, 8.12f);
    const COLORREF bottom = LiftChannels(background, 0.82f, 1.62f, 1.80f, 2.16f);
    PaintGraphBackground(graphics, client, Gdiplus::ColorFromRef(top).GetValue(),
                         Gdiplus::ColorFromRef(bottom).GetValue());
}

void DrawNoProfile(Gdiplus::Graphics& graphics, CSize size, const CString& errorText)
{
    const double w = size.cx;
    const double top = size.cy * 0.34;
    const bool failed = !errorText.IsEmpty();
    DrawControlText(graphics, failed ? L"Reference Profile Unavailable" : L"Load Reference",
                    {18.0f, Gdiplus::FontStyleBold}, 0xFFE6E8EC, Box(40, top, w - 80, 36));
    DrawControlText(graphics,
                    failed ? errorText.GetString()
                           : L"Load a profile to inspect its tone fingerprint, loudness target, "
                             L"width profile, and dynamics summary.",
                    {11.0f}, 0xFF969EA6, Box(60, top + 44, w - 120, 120));
}

void DrawLoudnessCards(Gdiplus::Graphics& graphics, const RECT& row,
                       const std::array<LoudnessCard, 4>& cards)
{
    const int cardWidth = (row.right - row.left - 30) / 4;
    const Gdiplus::Pen outline(Gdiplus::Color(0x16FFFFFF), 1.0f);
    const REAL height = REAL(row.bottom - row.top);
    for (std::size_t k = 0; k < cards.size(); ++k)
    {
        const LoudnessCard& card = cards[k];
        const int x = row.left + static_cast<int>(k) * (cardWidth + 10);
        Gdiplus::GraphicsPath body;
        AddRoundedRectFigure(body, REAL(x), REAL(row.top), REAL(cardWidth), height, 9);
        if (height > 0)
        {
            const Gdiplus::LinearGradientBrush fill(
                Gdiplus::PointF(REAL(x), REAL(row.top)), Gdiplus::PointF(REAL(x), REAL(row.bottom)),
                Gdiplus::Color(0xFF121419), Gdiplus::Color(0xFF0C0E12));
            graphics.FillPath(&fill, &body);
        }
        graphics.DrawPath(&outline, &body);
        const Gdiplus::SolidBrush accent{Gdiplus::ColorFromRef(card.accent)};
        graphics.FillRectangle(&accent, REAL(x + 14), REAL(row.top + 14), 30.0f, 3.0f);

        const double textWidth = cardWidth - 28;
        DrawInspectorText(graphics, card.title, {8.8f}, 0xFF989EA6,
                          Box(x + 14, row.top + 20, textWidth, 13));
        DrawInspectorText(graphics, card.value, {14.0f, Gdiplus::FontStyleBold}, 0xFFEAE8E1,
                          Box(x + 14, row.top + 36, textWidth, 22));
        DrawInspectorText(graphics, card.caption, {8.6f}, 0xFF7E848C,
                          Box(x + 14, row.bottom - 18, textWidth, 11));
    }
}

void DrawSourceLine(Gdiplus::Graphics& graphics, const RECT& line, const CString& text)
{
    const Gdiplus::Pen hairline(Gdiplus::Color(0x12FFFFFF), 1.0f);
    graphics.DrawLine(&hairline, REAL(line.left), REAL(line.top + 2), REAL(line.right),
                      REAL(line.top + 2));
    DrawInspectorText(graphics, text, {9.2f}, 0xFF9EA4AC,
                      Box(line.left + 2, line.top + 6, line.right - line.left - 4, 14));
}

CString WidenedOr(const std::string& text, const wchar_t* fallback)
{
    return text.empty() ? CString(fallback) : CString(Utf8ToWide(text));
}

} // namespace

CString FormatFixed(double value, int decimals, const wchar_t* suffix)
{
    CString pattern;
    pattern.Format(L"%%.%df%%ls", decimals);
    CString text;
    text.Format(pattern, value, suffix != nullptr ? suffix : L"");
    return text;
}

std::array<LoudnessCard, 4> LoudnessCardsOf(const ReferenceProfile& profile)
{
    const double rmsDb = 20.0 * std::log10(std::max(1e-9, profile.referenceMatchRms));
    return {{
        {L"Integrated LUFS", FormatFixed(profile.integratedLufs, 1, L" LUFS"), L"Target loudness",
         0xE0A866},
        {L"Loudness Range", FormatFixed(profile.loudnessRange, 1, L" LU"), L"ITU-R BS.1770",
         0xDA84B2},
        {L"Peak", FormatFixed(profile.truePeak, 3, L""), L"Reference Sample", 0x8EC25E},
        {L"Reference RMS", FormatFixed(rmsDb, 2, L" dBFS"), L"(Mid Signal RMS)", 0x5EB2D6},
    }};
}

CString FormatSourceLine(const ReferenceProfile& profile)
{
    const CString source = WidenedOr(profile.sourceFileName, L"Unknown source");
    const CString rate = FormatFixed(profile.sampleRate, 0, L" Hz");
    const CString created = WidenedOr(profile.createdAt, L"Unknown date");
    CString line;
    line.Format(L"%ls   |   %ls   |   %ls", source.GetString(), rate.GetString(),
                created.GetString());
    return line;
}

InspectorLayout LayOutInspector(const RECT& client)
{
    const int x0 = client.left + kMargin;
    const int y0 = client.top + kMargin;
    const int x1 = client.right - kMargin;
    const int w = (x1 - x0 - kGap) / 2;
    const int h = std::min(w, std::max(120, static_cast<int>(client.bottom - client.top) - 164));
    return {
        {x0, y0, x0 + w, y0 + h},
        {x0 + w + kGap, y0, x1, y0 + h},
        {x0, y0 + h + 10, x1, y0 + h + 96},
        {x0, y0 + h + 106, x1, y0 + h + 128},
    };
}

RECT EditButtonRect(const RECT& client)
{
    const int w = (client.right - client.left - 46) / 2;
    const int x = client.left + kMargin + w - 70;
    const int y = client.top + 32;
    return {x, y, x + 56, y + 24};
}

CReferenceProfileViewportWnd::CReferenceProfileViewportWnd() = default;

BOOL CReferenceProfileViewportWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    if (!CreateProfileGraphWindow(*this, parent, rect, id, L"BrimvaleReferenceProfileViewportWnd"))
    {
        return FALSE;
    }
    if (!editButton.Create(CRect(0, 0, 52, 24), this, kEditButtonId))
    {
        return FALSE;
    }
    editButton.SetLabel(L"Edit");
    editButton.SetAccentColor(kEditAccent);
    editButton.SetBackgroundColor(backgroundColor);
    editButton.SetDrawBorder(false);
    editButton.SetDrawBackground(false);
    editButton.ShowWindow(SW_HIDE);
    return TRUE;
}

bool CReferenceProfileViewportWnd::LoadProfile(const std::wstring& path)
{
    try
    {
        SetProfile(ReadReferenceProfile(path), path);
    }
    catch (const std::exception& error)
    {
        profile = ReferenceProfile();
        profilePath = CString(path);
        errorText = CString(Utf8ToWide(error.what()));
        hasProfile = false;
        ShowOrHideEditButton();
        Repaint();
        return false;
    }
    Repaint();
    return true;
}

void CReferenceProfileViewportWnd::SetProfile(const ReferenceProfile& newProfile,
                                              const std::wstring& path)
{
    profile = newProfile;
    profilePath = CString(path);
    errorText.Empty();
    hasProfile = true;
    PlaceEditButton();
    ShowOrHideEditButton();
    Repaint();
}

void CReferenceProfileViewportWnd::ClearProfile()
{
    profile = ReferenceProfile();
    profilePath.Empty();
    errorText.Empty();
    hasProfile = false;
    ShowOrHideEditButton();
    Repaint();
}

void CReferenceProfileViewportWnd::SetBackgroundColor(COLORREF color)
{
    if (color == backgroundColor)
    {
        return;
    }
    backgroundColor = color;
    if (::IsWindow(editButton.GetSafeHwnd()))
    {
        editButton.SetBackgroundColor(color);
    }
    Repaint();
}

void CReferenceProfileViewportWnd::SetEditEnabled(bool enabled)
{
    if (enabled == editEnabled)
    {
        return;
    }
    editEnabled = enabled;
    ShowOrHideEditButton();
    Repaint();
}

CReferenceProfileViewportWnd::State CReferenceProfileViewportWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.hasProfile = hasProfile;
    state.errorText = errorText;
    state.backgroundColor = backgroundColor;
    state.profile = profile;
    state.widthViewMode = widthViewMode;
    state.widthPanelHover = widthPanelHover;
    state.widthPanelPressed = widthPanelPressed;
    return state;
}

void CReferenceProfileViewportWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    if (state.size.cx <= 0 || state.size.cy <= 0)
    {
        return;
    }
    const RECT client{0, 0, state.size.cx, state.size.cy};
    PaintPageBackground(graphics, client, state.backgroundColor);
    if (!state.hasProfile)
    {
        DrawNoProfile(graphics, state.size, state.errorText);
        return;
    }
    const InspectorLayout layout = LayOutInspector(client);
    DrawToneMap(graphics, layout.toneMap, state.profile);
    DrawWidthPanel(graphics, layout.widthPanel, state.profile,
                   {state.widthViewMode, state.widthPanelHover, state.widthPanelPressed});
    DrawLoudnessCards(graphics, layout.cards, LoudnessCardsOf(state.profile));
    DrawSourceLine(graphics, layout.sourceLine, FormatSourceLine(state.profile));
}

void CReferenceProfileViewportWnd::OnPaint()
{
    CRect client;
    GetClientRect(&client);
    // The width panel's hit rectangle follows every paint of a profile.
    if (hasProfile && !client.IsRectEmpty())
    {
        widthPanelRect = LayOutInspector(client).widthPanel;
    }
    PaintGraph(*this);
}

void CReferenceProfileViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    PlaceEditButton();
    ShowOrHideEditButton();
}

void CReferenceProfileViewportWnd::OnLButtonDown(UINT flags, CPoint point)
{
    if (OverWidthPanel(point))
    {
        widthPanelPressed = true;
        SetCapture();
        Repaint();
    }
    CWnd::OnLButtonDown(flags, point);
}

void CReferenceProfileViewportWnd::OnLButtonUp(UINT flags, CPoint point)
{
    const bool wasPressed = widthPanelPressed;
    widthPanelPressed = false;
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    if (wasPressed)
    {
        if (OverWidthPanel(point))
        {
            widthViewMode = (widthViewMode + 1) % 3;
        }
        Repaint();
    }
    CWnd::OnLButtonUp(flags, point);
}

void CReferenceProfileViewportWnd::OnMouseMove(UINT flags, CPoint point)
{
    const bool hover = OverWidthPanel(point);
    if (hover != widthPanelHover)
    {
        widthPanelHover = hover;
        Repaint();
    }
    if (!trackingMouse)
    {
        TRACKMOUSEEVENT request{};
        request.cbSize = sizeof(request);
        request.dwFlags = TME_LEAVE;
        request.hwndTrack = m_hWnd;
        trackingMouse = ::TrackMouseEvent(&request) != FALSE;
    }
    CWnd::OnMouseMove(flags, point);
}

BOOL CReferenceProfileViewportWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    POINT point{};
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (OverWidthPanel(point))
    {
        ShowStandardCursor(IDC_HAND);
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CReferenceProfileViewportWnd::OnMouseLeave()
{
    const bool wasShown = widthPanelHover || widthPanelPressed;
    widthPanelHover = false;
    widthPanelPressed = false;
    trackingMouse = false;
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    if (wasShown)
    {
        Repaint();
    }
}

LRESULT CReferenceProfileViewportWnd::OnControlChanged(WPARAM, LPARAM lParam)
{
    CWnd* parent = GetParent();
    if (reinterpret_cast<CBaseControlWnd*>(lParam) == &editButton && editEnabled && hasProfile &&
        parent != nullptr && ::IsWindow(parent->GetSafeHwnd()))
    {
        OpenProfileEditorRecord record;
        // The parent may destroy this page while it handles the request:
        // nothing of the page is touched after the send.
        parent->SendMessage(WMU_OPEN_PROFILE_EDITOR, 0, reinterpret_cast<LPARAM>(&record));
    }
    return 0;
}

void CReferenceProfileViewportWnd::PlaceEditButton()
{
    if (!::IsWindow(editButton.GetSafeHwnd()) || !::IsWindow(m_hWnd))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    const RECT place = EditButtonRect(client);
    editButton.MoveWindow(&place, TRUE);
}

void CReferenceProfileViewportWnd::ShowOrHideEditButton()
{
    if (::IsWindow(editButton.GetSafeHwnd()))
    {
        editButton.ShowWindow(editEnabled && hasProfile ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
}

void CReferenceProfileViewportWnd::Repaint()
{
    RepaintGraph(*this);
}

bool CReferenceProfileViewportWnd::OverWidthPanel(CPoint point) const
{
    return hasProfile && ::PtInRect(&widthPanelRect, point) != FALSE;
}
