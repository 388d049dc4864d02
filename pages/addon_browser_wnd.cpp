#include "pages/addon_browser_wnd.h"

#include "base/unicode_text.h"
#include "controls/base/client_state.h"
#include "controls/base/double_buffered_paint.h"
#include "controls/base/painting_helpers.h"
#include "controls/base/standard_cursor.h"
#include "pages/colour_mix.h"
#include "pages/page_painting.h"
#include "pages/page_window.h"
#include "platform/gdiplus/gdiplus.h"

#include <algorithm>
#include <climits>

namespace
{

using Gdiplus::REAL;

constexpr int kMargin = 16;
constexpr int kColumnsSlack = 34;
constexpr int kCardWidth = 300;
constexpr int kCardHeight = 100;
constexpr int kColumnPitch = 310;
constexpr int kRowPitch = 108;
constexpr int kContentExtra = 24;
constexpr int kBarStrip = 12; // nothing but the scroll bar is drawn in it
constexpr int kGlyphBox = 64;

constexpr Gdiplus::ARGB kShadow = 0x24000000;
constexpr Gdiplus::ARGB kGlossTop = 0x0CFFFFFF;
constexpr Gdiplus::ARGB kGlossBottom = 0x00FFFFFF;

Gdiplus::ARGB Opaque(COLORREF colour)
{
    return Gdiplus::ColorFromRef(colour).GetValue();
}

void DrawCard(Gdiplus::Graphics& graphics, const CAddonBrowserWnd::State& state,
              const Gdiplus::Region& clip, const CardHitRect& row, const AddonCard& card,
              const AddonGlyphPainter& glyphs)
{
    const REAL left = REAL(row.rect.left);
    const REAL top = REAL(row.rect.top);
    const REAL w = REAL(row.rect.right - row.rect.left);
    const REAL h = REAL(row.rect.bottom - row.rect.top);
    const bool hovered = row.index == state.hoverIndex;
    const AddonCardLook look = AddonCardLookFor(state.accentColor, card.used, hovered);

    Gdiplus::GraphicsPath shadow;
    AddRoundedRectFigure(shadow, left - 1.5f, top + 4, w + 3, h + 3, 5);
    const Gdiplus::SolidBrush shadowBrush{Gdiplus::Color(kShadow)};
    graphics.FillPath(&shadowBrush, &shadow);

    const Gdiplus::Pen outline(Gdiplus::Color(look.outline), 1.0f);
    FillRoundedGradient(graphics, Gdiplus::RectF(left, top, w, h), 4, look.top, look.bottom,
                        &outline);

    Gdiplus::GraphicsPath shape;
    AddRoundedRectFigure(shape, left, top, w, h, 4);
    graphics.SetClip(&shape);
    graphics.IntersectClip(
        Gdiplus::RectF(0, 0, REAL(state.size.cx - kBarStrip), REAL(state.size.cy)));
    const REAL glossHeight = 0.42f * h;
    const Gdiplus::LinearGradientBrush gloss(
        Gdiplus::PointF(left, top), Gdiplus::PointF(left, top + glossHeight),
        Gdiplus::Color(kGlossTop), Gdiplus::Color(kGlossBottom));
    graphics.FillRectangle(&gloss, Gdiplus::RectF(left, top, w, glossHeight));
    graphics.SetClip(&clip);

    const AddonGlyph glyph = glyphs.AddonGlyphForId(card.id);
    if (glyph != kNoAddonGlyph)
    {
        glyphs.DrawAddonGlyph(
            graphics, glyph,
            Gdiplus::RectF(left + 12, top + (h - kGlyphBox) / 2, kGlyphBox, kGlyphBox), look.glyph);
    }
    DrawPageText(graphics, Utf8ToWide(card.displayName),
                 PagePointFont(11.0f, Gdiplus::FontStyleBold), card.used ? 0xFF787672 : 0xFFECE7DD,
                 Gdiplus::RectF(left + 84, top + 14, w - 96, 24),
                 {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, false, true});
    DrawPageText(graphics, Utf8ToWide(card.description), PagePointFont(9.0f),
                 card.used ? 0xFF5A5854 : 0xFFA09B91,
                 Gdiplus::RectF(left + 84, top + 42, w - 96, h - 50),
                 {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, true, true});
    if (card.used)
    {
        DrawPageText(graphics, L"Used", PagePointFont(8.0f, Gdiplus::FontStyleBold), 0xFF64625E,
                     Gdiplus::RectF(left + w - 50, top + 8, 42, 16),
                     {Gdiplus::StringAlignmentFar, Gdiplus::StringAlignmentNear, false, true});
    }
}

} // namespace

AddonBrowserLayout ComputeAddonBrowserLayout(int width, int height, int cardCount, int scrollOffset)
{
    AddonBrowserLayout layout;
    layout.columns = std::max(1, (width - kColumnsSlack) / kColumnPitch);
    const long long n = std::max(cardCount, 0);
    if (n > 0)
    {
        const long long rowCount = (n + layout.columns - 1) / layout.columns;
        // Far past any screen; held so the scroll arithmetic stays inside int.
        layout.contentHeight =
            int(std::min<long long>(INT_MAX / 4, rowCount * kRowPitch + kContentExtra));
    }
    layout.rows.reserve(size_t(n));
    for (long long i = 0; i < n; ++i)
    {
        const long long column = i % layout.columns;
        const long long rowIndex = i / layout.columns;
        const int x = int(kMargin + kColumnPitch * column);
        const int y = int(std::clamp<long long>(kMargin + kRowPitch * rowIndex - scrollOffset,
                                                INT_MIN / 2, INT_MAX / 2));
        layout.rows.push_back({0, int(i), RECT{x, y, x + kCardWidth, y + kCardHeight}});
    }
    const CardScrollBar bar = CardListScrollBar(width, height, layout.contentHeight, scrollOffset);
    layout.trackRect = bar.trackRect;
    layout.thumbRect = bar.thumbRect;
    return layout;
}

AddonCardLook AddonCardLookFor(COLORREF accent, bool used, bool hovered)
{
    COLORREF top = MixColor(accent, RGB(24, 26, 30), 0.7f);
    COLORREF bottom = MixColor(accent, RGB(8, 10, 14), 0.82f);
    COLORREF glyph = accent;
    BYTE outlineAlpha = 88;
    if (used)
    {
        top = MixColor(top, RGB(18, 18, 18), 0.5f);
        bottom = MixColor(bottom, RGB(18, 18, 18), 0.5f);
        glyph = MixColor(accent, RGB(128, 128, 128), 0.6f);
        outlineAlpha = 50;
    }
    else if (hovered)
    {
        top = MixColor(top, kMixWhite, 0.12f);
        bottom = MixColor(bottom, kMixWhite, 0.06f);
        outlineAlpha = 134;
    }
    AddonCardLook look;
    look.top = Opaque(top);
    look.bottom = Opaque(bottom);
    look.outline =
        Gdiplus::ColorFromRef(MixColor(accent, RGB(210, 210, 210), 0.18f), outlineAlpha).GetValue();
    look.glyph = glyph;
    return look;
}

IMPLEMENT_DYNAMIC(CAddonBrowserWnd, CWnd)

BEGIN_MESSAGE_MAP(CAddonBrowserWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_SIZE()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

BOOL CAddonBrowserWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreatePageWindow(*this, parent, rect, id, L"BrimvaleAddonBrowserWnd");
}

CSize CAddonBrowserWnd::ClientSize() const
{
    return ClientSizeOf(*this);
}

void CAddonBrowserWnd::SetCards(const std::vector<AddonCard>& list)
{
    cards = list;
    scrollOffset = 0;
    hoverIndex = -1;
    UpdateLayout();
    if (!CardListScrollable(contentHeight, ClientSize().cy))
    {
        barHover = false;
        thumbHover = false;
    }
    RepaintWhole(*this);
}

void CAddonBrowserWnd::SetAccentColor(COLORREF color)
{
    StoreAndRepaint(*this, accentColor, color);
}

void CAddonBrowserWnd::SetBackgroundColor(COLORREF color)
{
    StoreAndRepaint(*this, backgroundColor, color);
}

void CAddonBrowserWnd::UpdateLayout()
{
    if (!::IsWindow(m_hWnd))
    {
        return;
    }
    const CSize size = ClientSize();
    if (size.cx <= 0 || size.cy <= 0)
    {
        contentHeight = 0;
        rows.clear();
        return;
    }
    AddonBrowserLayout layout = ComputeAddonBrowserLayout(
        size.cx, size.cy, int(std::min<size_t>(cards.size(), INT_MAX)), scrollOffset);
    contentHeight = layout.contentHeight;
    rows = std::move(layout.rows);
    trackRect = layout.trackRect;
    thumbRect = layout.thumbRect;
}

CAddonBrowserWnd::State CAddonBrowserWnd::GetState() const
{
    State state;
    state.size = ClientSize();
    state.cards = &cards;
    state.accentColor = accentColor;
    state.backgroundColor = backgroundColor;
    state.scrollOffset = scrollOffset;
    state.hoverIndex = hoverIndex;
    state.barHover = barHover;
    state.thumbHover = thumbHover;
    state.draggingThumb = draggingThumb;
    return state;
}

void CAddonBrowserWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const int width = state.size.cx;
    const int height = state.size.cy;
    if (width <= 0 || height <= 0)
    {
        return;
    }
    static const std::vector<AddonCard> kNone;
    const std::vector<AddonCard>& cards = state.cards != nullptr ? *state.cards : kNone;
    graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
    const AddonBrowserLayout layout = ComputeAddonBrowserLayout(
        width, height, int(std::min<size_t>(cards.size(), INT_MAX)), state.scrollOffset);

    Gdiplus::Region saved;
    graphics.GetClip(&saved);
    graphics.SetClip(Gdiplus::RectF(0, 0, REAL(width - kBarStrip), REAL(height)));
    Gdiplus::Region cardsClip;
    graphics.GetClip(&cardsClip);
    const AddonGlyphPainter glyphs;
    for (const CardHitRect& row : layout.rows)
    {
        if (row.rect.bottom < 0 || row.rect.top > height)
        {
            continue;
        }
        DrawCard(graphics, state, cardsClip, row, cards[size_t(row.index)], glyphs);
    }
    graphics.SetClip(&saved);
    PaintCardScrollBar(graphics, {layout.trackRect, layout.thumbRect},
                       CardListScrollable(layout.contentHeight, height), state.accentColor,
                       {state.barHover, state.thumbHover}, state.draggingThumb);
}

void CAddonBrowserWnd::OnPaint()
{
    PaintDoubleBuffered(*this,
                        [this](Gdiplus::Graphics& graphics, const RECT& client)
                        {
                            UpdateLayout();
                            State state = GetState();
                            state.size = CSize(client.right, client.bottom);
                            Draw(graphics, state);
                        });
}

void CAddonBrowserWnd::OnMouseMove(UINT, CPoint point)
{
    const CSize size = ClientSize();
    if (draggingThumb)
    {
        if (FollowCardThumbDrag(Fields(), point.y, size.cy))
        {
            RepaintWhole(*this);
        }
        return;
    }
    if (!trackingMouse)
    {
        trackingMouse = RequestMouseLeave(*this);
    }
    if (FollowCardBarHover(Fields(), point, size.cx, size.cy))
    {
        RepaintWhole(*this);
    }
    int index = -1;
    if (!barHover)
    {
        if (const auto card = HitTestCards(rows, point, size.cx, size.cy, contentHeight))
        {
            index = card->index;
        }
    }
    if (index != hoverIndex)
    {
        hoverIndex = index;
        RepaintWhole(*this);
    }
    const bool pickable =
        hoverIndex >= 0 && size_t(hoverIndex) < cards.size() && !cards[size_t(hoverIndex)].used;
    ShowStandardCursor(pickable ? IDC_HAND : IDC_ARROW);
}

void CAddonBrowserWnd::OnMouseLeave()
{
    trackingMouse = false;
    const bool changed = hoverIndex != -1 || barHover || thumbHover;
    hoverIndex = -1;
    barHover = false;
    thumbHover = false;
    if (changed)
    {
        ShowStandardCursor(IDC_ARROW);
        RepaintWhole(*this);
    }
}

void CAddonBrowserWnd::OnLButtonDown(UINT, CPoint point)
{
    const CSize size = ClientSize();
    if (PressCardScrollBar(Fields(), point, size.cx, size.cy))
    {
        if (draggingThumb)
        {
            SetCapture();
            RepaintWhole(*this);
        }
        return;
    }
    const auto card = HitTestCards(rows, point, size.cx, size.cy, contentHeight);
    if (!card || card->index < 0 || size_t(card->index) >= cards.size() ||
        cards[size_t(card->index)].used)
    {
        return;
    }
    const HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr || !::IsWindow(parent))
    {
        return;
    }
    // The parent may replace the cards or hide the browser while it handles
    // the pick; nothing here reads them afterwards.
    AddonPick pick;
    pick.index = card->index;
    ::SendMessageW(parent, WMU_ADDON_PICKED, 0, reinterpret_cast<LPARAM>(&pick));
}

void CAddonBrowserWnd::OnLButtonUp(UINT, CPoint)
{
    if (!draggingThumb)
    {
        return;
    }
    // Cleared before the release, so OnCaptureChanged finds nothing held.
    draggingThumb = false;
    if (GetCapture() == this)
    {
        ::ReleaseCapture();
    }
    RepaintWhole(*this);
}

void CAddonBrowserWnd::OnCaptureChanged(CWnd*)
{
    // Another window took the mouse: the drag ends where it is.
    if (draggingThumb)
    {
        draggingThumb = false;
        RepaintWhole(*this);
    }
}

BOOL CAddonBrowserWnd::OnMouseWheel(UINT flags, short delta, CPoint screenPoint)
{
    const int height = ClientSize().cy;
    if (!CardListScrollable(contentHeight, height))
    {
        return CWnd::OnMouseWheel(flags, delta, screenPoint);
    }
    if (ApplyCardWheel(scrollOffset, delta, contentHeight, height))
    {
        RepaintWhole(*this);
    }
    return TRUE;
}

void CAddonBrowserWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    scrollOffset = ClampCardScroll(scrollOffset, contentHeight, ClientSize().cy);
    UpdateLayout();
    RepaintWhole(*this);
}
