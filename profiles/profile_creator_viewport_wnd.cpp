#include "profiles/profile_creator_viewport_wnd.h"

#include "base/path_parts.h"
#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/base/standard_cursor.h"
#include "controls/graphs/graph_window.h"
#include "engine/io/audio_file_extension.h"
#include "profiles/profile_graph_look.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CProfileCreatorViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CProfileCreatorViewportWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_SETCURSOR()
ON_WM_MOUSELEAVE()
ON_WM_DROPFILES()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr UINT kPageId = 8719;
constexpr UINT kInspectorId = 9089;
constexpr int kMargin = 18;

constexpr const wchar_t* kInvitation =
    L"Drop your target audio here\nor click to choose WAV, FLAC, MP3, or OGG";

constexpr const wchar_t* kAudioFilter =
    L"Audio Files (*.wav;*.flac;*.mp3;*.ogg)|*.wav;*.flac;*.mp3;*.ogg|"
    L"Wave Audio (*.wav)|*.wav|FLAC Audio (*.flac)|*.flac|MP3 Audio (*.mp3)|*.mp3|"
    L"OGG Audio (*.ogg)|*.ogg|All Files (*.*)|*.*||";

Gdiplus::Color Opaque(COLORREF color)
{
    return Gdiplus::ColorFromRef(color);
}

// A vertical gradient from the top to the bottom edge of `box`; a box of no
// height is left unfilled (a gradient needs two distinct points).
void FillVertical(Gdiplus::Graphics& graphics, const Gdiplus::GraphicsPath& path,
                  const Gdiplus::RectF& box, COLORREF top, COLORREF bottom)
{
    if (box.Height <= 0)
    {
        return;
    }
    const Gdiplus::LinearGradientBrush fill(Gdiplus::PointF(box.X, box.Y),
                                            Gdiplus::PointF(box.X, box.Y + box.Height), Opaque(top),
                                            Opaque(bottom));
    graphics.FillPath(&fill, &path);
}

Gdiplus::RectF BoxOf(const RECT& r)
{
    return Gdiplus::RectF(REAL(r.left), REAL(r.top), REAL(r.right - r.left),
                          REAL(r.bottom - r.top));
}

void DrawDropZone(Gdiplus::Graphics& graphics, const RECT& zone, bool hover, bool pressed)
{
    const Gdiplus::RectF box(REAL(zone.left), REAL(zone.top + 34), REAL(zone.right - zone.left),
                             REAL(zone.bottom - zone.top - 34));
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, box.X, box.Y, box.Width, box.Height, 12);
    const bool active = hover || pressed;
    if (pressed)
    {
        FillVertical(graphics, path, box, 0x1E2E49, 0x121C2D);
    }
    else if (hover)
    {
        FillVertical(graphics, path, box, 0x192231, 0x12161D);
    }
    else
    {
        FillVertical(graphics, path, box, 0x1D1917, 0x151210);
    }

    Gdiplus::Pen dashed(Gdiplus::Color(active ? 0xD2E9B66C : 0x96BC8E52), pressed ? 2.8f : 2.2f);
    const REAL activeDashes[] = {6, 4};
    const REAL idleDashes[] = {8, 5};
    dashed.SetDashStyle(Gdiplus::DashStyleDash);
    dashed.SetDashPattern(active ? activeDashes : idleDashes, 2);
    dashed.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawPath(&dashed, &path);
    const Gdiplus::Pen inner(Gdiplus::Color(active ? 0x52FFE4BC : 0x205F646C), 1.0f);
    graphics.DrawPath(&inner, &path);
}

enum class ButtonStyle
{
    Primary,
    Secondary,
};

// One action button: its gradient body, outline, the highlight line of a
// hovered or pressed button and its label.
void DrawCreatorButton(Gdiplus::Graphics& graphics, const RECT& rect, const wchar_t* label,
                       ButtonStyle style, bool hover, bool pressed)
{
    struct Gradient
    {
        COLORREF top;
        COLORREF bottom;
    };
    // idle, hovered, pressed
    static constexpr Gradient kPrimary[] = {
        {0x2C4878, 0x1D2E4E}, {0x325286, 0x223558}, {0x365484, 0x24385C}};
    static constexpr Gradient kSecondary[] = {
        {0x222688, 0x14185C}, {0x2C30A0, 0x1C206C}, {0x262A94, 0x181C64}};
    const int look = pressed ? 2 : hover ? 1 : 0;
    const Gradient body = (style == ButtonStyle::Primary ? kPrimary : kSecondary)[look];

    const Gdiplus::RectF box = BoxOf(rect);
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, box.X, box.Y, box.Width, box.Height, 8);
    FillVertical(graphics, path, box, body.top, body.bottom);

    const BYTE outlineAlpha = pressed ? 0x96 : hover ? 0x84 : 0x78;
    const Gdiplus::Pen outline(Gdiplus::Color(outlineAlpha, 236, 231, 221), pressed ? 1.2f : 1.0f);
    graphics.DrawPath(&outline, &path);

    if (hover || pressed)
    {
        const BYTE alpha = pressed ? 0x46 : 0x2E;
        const Gdiplus::Color highlight = style == ButtonStyle::Primary
                                             ? Gdiplus::Color(alpha, 255, 214, 162)
                                             : Gdiplus::Color(alpha, 255, 160, 160);
        const Gdiplus::Pen line(highlight, 1.0f);
        graphics.DrawLine(&line, REAL(rect.left + 12), REAL(rect.top + 1), REAL(rect.right - 12),
                          REAL(rect.top + 1));
    }
    DrawControlText(graphics, label, {12.0f, Gdiplus::FontStyleBold},
                    hover ? 0xFFFCF6EC : 0xFFF4EFE8, box);
}

bool IsProfileSourceExtension(const CString& path)
{
    const std::string extension = LowerCaseExtension(path.Str());
    return extension == ".wav" || extension == ".flac" || extension == ".mp3" ||
           extension == ".ogg";
}

bool Inside(const RECT& rect, CPoint point)
{
    return ::PtInRect(&rect, point) != FALSE;
}

} // namespace

bool ProfileCreatorLooks::Any() const
{
    return dropZoneHover || dropZonePressed || analyzeHover || analyzePressed || saveHover ||
           savePressed || cancelHover || cancelPressed;
}

bool ConfirmMp3ProfileSource(const CString& path)
{
    if (LowerCaseExtension(path.Str()) != ".mp3")
    {
        return true;
    }
    CString text;
    text.Format(L"You are about to build a reference profile from an MP3.\n\n"
                L"This is not catastrophic, but it does reduce accuracy.\n\n"
                L"MP3 compression alters and simplifies high-frequency content. If you have the "
                L"WAV or FLAC, use that instead.\n\n"
                L"If not, continue anyway with:\n%ls",
                FileNamePart(path.Str()).c_str());
    return AfxMessageBox(text, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

CProfileCreatorViewportWnd::CProfileCreatorViewportWnd() = default;
CProfileCreatorViewportWnd::~CProfileCreatorViewportWnd() = default;

BOOL CProfileCreatorViewportWnd::Create(const RECT& rect, CWnd* parent)
{
    if (!CreateProfileGraphWindow(*this, parent, rect, kPageId,
                                  L"BrimvaleProfileCreatorViewportWnd"))
    {
        return FALSE;
    }
    ::DragAcceptFiles(m_hWnd, TRUE);
    if (!inspector.Create(CRect(0, 0, 480, 360), this, kInspectorId))
    {
        return FALSE;
    }
    if (inspector.backgroundColor != backgroundColor)
    {
        inspector.SetBackgroundColor(backgroundColor);
    }
    // The page's own WM_SIZE came before the inspector existed.
    PlaceInspector();
    return TRUE;
}

void CProfileCreatorViewportWnd::SetBackgroundColor(COLORREF color)
{
    backgroundColor = color;
    inspector.SetBackgroundColor(color);
    Repaint();
}

ProfileCreatorLayout CProfileCreatorViewportWnd::ComputeLayout(const RECT& client)
{
    const int c = std::min(std::max(static_cast<int>(client.right - client.left) / 3, 220), 320);
    const int x0 = client.left + kMargin;
    const int y0 = client.top + kMargin;
    const int x1 = x0 + c;
    const int saveRight = x0 + 8 + (c - 28) / 2;
    return {
        {x0, y0, x1, client.bottom - kMargin},
        {x1 + kMargin, y0, client.right - kMargin, client.bottom - kMargin},
        {x0, y0, x1, y0 + 220},
        {x0 + 8, y0 + 238, x1 - 8, y0 + 272},
        {x0 + 8, y0 + 284, saveRight, y0 + 318},
        {saveRight + 12, y0 + 284, x1 - 8, y0 + 318},
    };
}

CProfileCreatorViewportWnd::State CProfileCreatorViewportWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.backgroundColor = backgroundColor;
    state.targetPath = targetPath;
    state.analyzed = analyzed;
    state.looks = looks;
    return state;
}

void CProfileCreatorViewportWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    if (state.size.cx <= 0 || state.size.cy <= 0)
    {
        return;
    }
    graphics.Clear(Opaque(state.backgroundColor));
    const ProfileCreatorLayout layout = ComputeLayout(RECT{0, 0, state.size.cx, state.size.cy});

    DrawControlTextAt(graphics, L"Create Profile", {18.0f, Gdiplus::FontStyleBold}, 0xFFECE7DD,
                      Gdiplus::PointF(REAL(layout.panel.left), REAL(layout.panel.top - 2)));

    const RECT& zone = layout.dropZone;
    DrawDropZone(graphics, zone, state.looks.dropZoneHover, state.looks.dropZonePressed);
    const Gdiplus::RectF textBox(REAL(zone.left + 18), REAL(zone.top + 52),
                                 REAL(zone.right - zone.left - 36),
                                 REAL(zone.bottom - zone.top - 70));
    DrawControlText(graphics,
                    state.targetPath.IsEmpty() ? kInvitation : state.targetPath.GetString(),
                    {11.0f}, 0xFFA8ACB2, textBox);

    if (!state.targetPath.IsEmpty())
    {
        DrawCreatorButton(graphics, layout.analyzeButton, L"Analyze", ButtonStyle::Primary,
                          state.looks.analyzeHover, state.looks.analyzePressed);
    }
    if (state.analyzed)
    {
        DrawCreatorButton(graphics, layout.saveButton, L"Save Profile", ButtonStyle::Primary,
                          state.looks.saveHover, state.looks.savePressed);
        DrawCreatorButton(graphics, layout.cancelButton, L"Cancel", ButtonStyle::Secondary,
                          state.looks.cancelHover, state.looks.cancelPressed);
    }
}

void CProfileCreatorViewportWnd::OnPaint()
{
    PaintGraph(*this);
}

void CProfileCreatorViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    PlaceInspector();
}

CProfileCreatorViewportWnd::Hits CProfileCreatorViewportWnd::HitsAt(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    const ProfileCreatorLayout layout = ComputeLayout(client);
    Hits hits;
    hits.dropZone = Inside(layout.dropZone, point);
    hits.analyze = !targetPath.IsEmpty() && Inside(layout.analyzeButton, point);
    hits.save = analyzed && Inside(layout.saveButton, point);
    hits.cancel = analyzed && Inside(layout.cancelButton, point);
    return hits;
}

void CProfileCreatorViewportWnd::OnMouseMove(UINT flags, CPoint point)
{
    const Hits hits = HitsAt(point);
    const bool changed = hits.dropZone != looks.dropZoneHover ||
                         hits.analyze != looks.analyzeHover || hits.save != looks.saveHover ||
                         hits.cancel != looks.cancelHover;
    looks.dropZoneHover = hits.dropZone;
    looks.analyzeHover = hits.analyze;
    looks.saveHover = hits.save;
    looks.cancelHover = hits.cancel;
    if (changed)
    {
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

void CProfileCreatorViewportWnd::OnLButtonDown(UINT flags, CPoint point)
{
    const Hits hits = HitsAt(point);
    looks.dropZonePressed = looks.dropZonePressed || hits.dropZone;
    looks.analyzePressed = looks.analyzePressed || hits.analyze;
    looks.savePressed = looks.savePressed || hits.save;
    looks.cancelPressed = looks.cancelPressed || hits.cancel;
    if (hits.dropZone || hits.analyze || hits.save || hits.cancel)
    {
        SetCapture();
        Repaint();
    }
    CWnd::OnLButtonDown(flags, point);
}

void CProfileCreatorViewportWnd::OnLButtonUp(UINT flags, CPoint point)
{
    const Hits pressed{looks.dropZonePressed, looks.analyzePressed, looks.savePressed,
                       looks.cancelPressed};
    looks.dropZonePressed = looks.analyzePressed = looks.savePressed = looks.cancelPressed = false;
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    const HWND self = m_hWnd;
    const Hits released = HitsAt(point);
    if (pressed.dropZone && released.dropZone)
    {
        BrowseTargetAudio();
    }
    else if (pressed.analyze && released.analyze)
    {
        SendAction(kProfileCreatorAnalyze);
    }
    else if (pressed.save && released.save)
    {
        LeaveAnalysed();
        SendAction(kProfileCreatorSave);
    }
    else if (pressed.cancel && released.cancel)
    {
        LeaveAnalysed();
        SendAction(kProfileCreatorCancel);
    }
    // The parent may have destroyed the page while it handled the action.
    if (!::IsWindow(self))
    {
        return;
    }
    Repaint();
    CWnd::OnLButtonUp(flags, point);
}

BOOL CProfileCreatorViewportWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    POINT point{};
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const Hits hits = HitsAt(point);
    if (hits.dropZone || hits.analyze || hits.save || hits.cancel)
    {
        ShowStandardCursor(IDC_HAND);
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CProfileCreatorViewportWnd::OnMouseLeave()
{
    const bool wasShown = looks.Any();
    trackingMouse = false;
    looks = {};
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    if (wasShown)
    {
        Repaint();
    }
}

void CProfileCreatorViewportWnd::OnDropFiles(HDROP drop)
{
    // The first file only, asked for its length first: a path is never cut
    // (a cut path would be ignored or taken for another file).
    const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
    CString path;
    if (length > 0)
    {
        std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
        const UINT copied = ::DragQueryFileW(drop, 0, buffer.data(), length + 1);
        path = CString(std::wstring(buffer.data(), std::min(copied, length)));
    }
    ::DragFinish(drop);
    if (!path.IsEmpty() && IsProfileSourceExtension(path) && ConfirmMp3ProfileSource(path))
    {
        AcceptTarget(path);
    }
}

void CProfileCreatorViewportWnd::BrowseTargetAudio()
{
    CFileDialog dialog(TRUE, L"wav", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, kAudioFilter,
                       this, 0, TRUE);
    dialog.m_ofn.lpstrTitle = L"Select Target Audio";
    if (dialog.DoModal() != IDOK)
    {
        return;
    }
    const CString path = dialog.GetPathName();
    if (ConfirmMp3ProfileSource(path))
    {
        AcceptTarget(path);
    }
}

void CProfileCreatorViewportWnd::AcceptTarget(const CString& path)
{
    targetPath = path;
    analyzed = false;
    if (::IsWindow(inspector.GetSafeHwnd()))
    {
        inspector.ClearProfile();
    }
    Repaint();
}

void CProfileCreatorViewportWnd::LeaveAnalysed()
{
    inspector.ClearProfile();
    analyzed = false;
    Repaint();
}

void CProfileCreatorViewportWnd::SendAction(int action)
{
    CWnd* parent = GetParent();
    if (parent == nullptr || !::IsWindow(parent->GetSafeHwnd()))
    {
        return;
    }
    ProfileCreatorActionRecord record;
    record.action = action;
    parent->SendMessage(WMU_PROFILE_CREATOR_ACTION, reinterpret_cast<WPARAM>(m_hWnd),
                        reinterpret_cast<LPARAM>(&record));
}

void CProfileCreatorViewportWnd::PlaceInspector()
{
    if (!::IsWindow(inspector.GetSafeHwnd()) || !::IsWindow(m_hWnd))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    const RECT place = ComputeLayout(client).inspector;
    inspector.MoveWindow(&place, TRUE);
}

void CProfileCreatorViewportWnd::Repaint()
{
    RepaintGraph(*this);
}
