#include "grid/designer_palette_wnd.h"

#include "controls/base/double_buffered_paint.h"
#include "controls/text/text_painting.h"
#include "grid/designer_previews.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CDesignerPaletteWnd, CWnd)

BEGIN_MESSAGE_MAP(CDesignerPaletteWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace
{

constexpr Gdiplus::ARGB kBackground = 0xFF0C0E10;
constexpr Gdiplus::ARGB kCardTop = 0xFF101216;
constexpr Gdiplus::ARGB kCardBottom = 0xFF0B0D10;
constexpr COLORREF kSelectionAccent = 0x5284E5;
constexpr BYTE kSelectionAlpha = 0x26;
constexpr Gdiplus::ARGB kCardOutline = 0x16FFFFFF;
constexpr TextLook kTitleLook{11.0f, true, 0xE8F2EEE8};
constexpr TextLook kSpanLook{9.0f, false, 0xAAB4BAC2};

// The height of `count` cards, held to what an int offset can reach.
int ContentHeight(size_t count)
{
    const std::int64_t height = static_cast<std::int64_t>(count) * CDesignerPaletteWnd::kCardPitch;
    return static_cast<int>(std::min<std::int64_t>(height, INT32_MAX));
}

Gdiplus::RectF ToRectF(const RECT& r)
{
    return Gdiplus::RectF(Gdiplus::REAL(r.left), Gdiplus::REAL(r.top),
                          Gdiplus::REAL(r.right - r.left), Gdiplus::REAL(r.bottom - r.top));
}

void DrawCard(Gdiplus::Graphics& graphics, const CDesignerPaletteWnd::EntryRects& rects,
              const ControlCatalogEntry& entry, bool selected)
{
    const RECT& card = rects.card;
    const Gdiplus::RectF cardF = ToRectF(card);
    const Gdiplus::LinearGradientBrush body(Gdiplus::PointF(0.0f, cardF.Y),
                                            Gdiplus::PointF(0.0f, cardF.Y + cardF.Height),
                                            Gdiplus::Color(kCardTop), Gdiplus::Color(kCardBottom));
    graphics.FillRectangle(&body, cardF);
    if (selected)
    {
        const Gdiplus::SolidBrush highlight(
            Gdiplus::ColorFromRef(kSelectionAccent, kSelectionAlpha));
        graphics.FillRectangle(&highlight, cardF);
    }
    const Gdiplus::Pen outline(Gdiplus::Color(kCardOutline), 1.0f);
    graphics.DrawRectangle(&outline, cardF.X + 0.5f, cardF.Y + 0.5f, cardF.Width - 1.0f,
                           cardF.Height - 1.0f);

    graphics.SetClip(ToRectF(rects.icon));
    DrawKindIcon(graphics, rects.icon, entry);
    graphics.ResetClip();

    DrawBoxedText(graphics, CString(entry.kindName.c_str()), kTitleLook, ToRectF(rects.title),
                  Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, TextFlow::OneLine);
    CString span;
    span.Format(L"%d x %d", entry.spanX, entry.spanY);
    DrawBoxedText(graphics, span, kSpanLook, ToRectF(rects.text), Gdiplus::StringAlignmentNear,
                  Gdiplus::StringAlignmentCenter, TextFlow::OneLine);
}

} // namespace

CDesignerPaletteWnd::~CDesignerPaletteWnd() = default;

CDesignerPaletteWnd::EntryRects CDesignerPaletteWnd::EntryRectsIn(int index, int width,
                                                                  int scrollOffset)
{
    const int y0 = static_cast<int>(std::clamp<std::int64_t>(
        std::int64_t(index) * kCardPitch - scrollOffset, INT32_MIN / 2, INT32_MAX / 2));
    EntryRects rects;
    rects.card = RECT{8, y0 + 8, width - 8, y0 + 92};
    rects.icon = RECT{18, y0 + 18, 82, y0 + 82};
    rects.title = RECT{94, y0 + 26, width - 18, y0 + 50};
    rects.text = RECT{94, y0 + 54, width - 18, y0 + 74};
    return rects;
}

void CDesignerPaletteWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    graphics.Clear(Gdiplus::Color(kBackground));
    // Cards before this one lie wholly above the client.
    const int first = std::max(0, state.scrollOffset / kCardPitch - 1);
    for (size_t i = size_t(first); i < state.entries.size(); ++i)
    {
        const EntryRects rects = EntryRectsIn(int(i), state.size.cx, state.scrollOffset);
        if (rects.card.top > state.size.cy)
        {
            break;
        }
        if (rects.card.bottom < 0)
        {
            continue;
        }
        DrawCard(graphics, rects, state.entries[i], int(i) == state.selectedEntry);
    }
}

CDesignerPaletteWnd::State CDesignerPaletteWnd::GetState() const
{
    State state;
    state.entries = entries;
    state.selectedEntry = selectedEntry;
    state.scrollOffset = scrollOffset;
    if (::IsWindow(m_hWnd))
    {
        CRect client;
        GetClientRect(&client);
        state.size = SIZE{client.Width(), client.Height()};
    }
    return state;
}

BOOL CDesignerPaletteWnd::Create(const RECT& rect, CWnd* parent)
{
    const LPCTSTR windowClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                                                    ::LoadCursor(nullptr, IDC_ARROW), nullptr);
    return CreateEx(0, windowClass, L"BrimvaleDesignerPaletteWnd",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect, parent,
                    kControlId);
}

void CDesignerPaletteWnd::SetEntries(const std::vector<ControlCatalogEntry>& newEntries)
{
    entries = newEntries;
    if (selectedEntry >= static_cast<int>(std::min<size_t>(entries.size(), INT32_MAX)))
    {
        selectedEntry = entries.empty() ? -1 : 0;
    }
    if (::IsWindow(m_hWnd))
    {
        Invalidate(FALSE);
    }
}

int CDesignerPaletteWnd::ClientWidth() const
{
    if (!::IsWindow(m_hWnd))
    {
        return 0;
    }
    CRect client;
    GetClientRect(&client);
    return client.Width();
}

CDesignerPaletteWnd::EntryRects CDesignerPaletteWnd::GetEntryRects(int index) const
{
    return EntryRectsIn(index, ClientWidth(), scrollOffset);
}

int CDesignerPaletteWnd::HitTest(POINT point) const
{
    const int width = ClientWidth();
    // Only the card at the point's row of the content can hold it.
    const std::int64_t contentY = std::int64_t(point.y) + scrollOffset;
    if (contentY < 0)
    {
        return -1;
    }
    const std::int64_t index = contentY / kCardPitch;
    if (index >= std::int64_t(entries.size()))
    {
        return -1;
    }
    const RECT card = EntryRectsIn(int(index), width, scrollOffset).card;
    return ::PtInRect(&card, point) ? int(index) : -1;
}

bool CDesignerPaletteWnd::Tell(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND self = m_hWnd;
    const HWND parent = ::GetParent(self);
    if (parent != nullptr)
    {
        ::SendMessageW(parent, message, wParam, lParam);
    }
    return ::IsWindow(self) != FALSE;
}

LPARAM CDesignerPaletteWnd::PackedScreenPoint(CPoint client) const
{
    POINT screen = client;
    ClientToScreen(&screen);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

BOOL CDesignerPaletteWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CDesignerPaletteWnd::OnPaint()
{
    const State state = GetState();
    PaintDoubleBuffered(*this, [&state](Gdiplus::Graphics& graphics, const RECT&)
                        { Draw(graphics, state); });
}

void CDesignerPaletteWnd::OnLButtonDown(UINT, CPoint point)
{
    const int index = HitTest(point);
    if (index < 0)
    {
        return;
    }
    if (index != selectedEntry)
    {
        selectedEntry = index;
        if (!Tell(WMU_PALETTE_SELECT, WPARAM(selectedEntry), reinterpret_cast<LPARAM>(this)))
        {
            return;
        }
        Invalidate(FALSE);
    }
    pressedIndex = index;
    dragStarted = false;
    pressPoint = point;
    SetCapture();
}

void CDesignerPaletteWnd::OnLButtonDblClk(UINT, CPoint point)
{
    const int index = HitTest(point);
    if (index < 0)
    {
        return;
    }
    selectedEntry = index;
    if (!Tell(WMU_PALETTE_SELECT, WPARAM(selectedEntry), reinterpret_cast<LPARAM>(this)) ||
        !Tell(WMU_PALETTE_ADD, WPARAM(index), reinterpret_cast<LPARAM>(this)))
    {
        return;
    }
    Invalidate(FALSE);
}

void CDesignerPaletteWnd::OnMouseMove(UINT flags, CPoint point)
{
    if ((flags & MK_LBUTTON) == 0 || pressedIndex < 0)
    {
        return;
    }
    if (!dragStarted)
    {
        const int dx = std::abs(point.x - pressPoint.x);
        const int dy = std::abs(point.y - pressPoint.y);
        if (dx < kDragDistance && dy < kDragDistance)
        {
            return;
        }
        dragStarted = true;
    }
    Tell(WMU_PALETTE_DRAG, WPARAM(pressedIndex), PackedScreenPoint(point));
}

void CDesignerPaletteWnd::EndGesture()
{
    pressedIndex = -1;
    dragStarted = false;
}

void CDesignerPaletteWnd::OnLButtonUp(UINT, CPoint point)
{
    // The gesture ends before the capture goes, so the capture change that
    // follows finds nothing left to cancel.
    const int index = pressedIndex;
    const bool dragged = dragStarted;
    EndGesture();
    const HWND self = m_hWnd;
    if (CWnd::GetCapture() == this)
    {
        ::ReleaseCapture();
    }
    if (!::IsWindow(self) || index < 0)
    {
        return;
    }
    if (dragged)
    {
        Tell(WMU_PALETTE_DROP, WPARAM(index), PackedScreenPoint(point));
    }
    else
    {
        Tell(WMU_PALETTE_DRAG, WPARAM(index), LPARAM(-1));
    }
}

BOOL CDesignerPaletteWnd::OnMouseWheel(UINT, short delta, CPoint)
{
    CRect client;
    GetClientRect(&client);
    const int limit = std::max(0, ContentHeight(entries.size()) - client.Height());
    const int step = delta < 1 ? kWheelStep : -kWheelStep;
    const int offset = static_cast<int>(
        std::clamp<std::int64_t>(std::int64_t(scrollOffset) + step, 0, std::int64_t(limit)));
    if (offset != scrollOffset)
    {
        scrollOffset = offset;
        Invalidate(FALSE);
    }
    return TRUE;
}

void CDesignerPaletteWnd::OnCaptureChanged(CWnd*)
{
    // Another window took the pointer mid-gesture (a message box, a menu):
    // the gesture ends with no drop, and a drag under way tells the parent to
    // hide its drop preview.
    if (pressedIndex < 0)
    {
        return;
    }
    const int index = pressedIndex;
    const bool dragged = dragStarted;
    EndGesture();
    if (dragged)
    {
        Tell(WMU_PALETTE_DRAG, WPARAM(index), LPARAM(-1));
    }
}
