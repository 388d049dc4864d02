#include "pages/chain_strip_wnd.h"

#include "base/unicode_text.h"
#include "controls/base/client_state.h"
#include "controls/base/control_messages.h"
#include "controls/base/double_buffered_paint.h"
#include "controls/base/painting_helpers.h"
#include "controls/base/standard_cursor.h"
#include "pages/colour_mix.h"
#include "pages/page_painting.h"
#include "pages/page_window.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/menu.h"
#include "registry/addon_registry.h"

#include <algorithm>
#include <climits>

namespace
{

using Gdiplus::REAL;

constexpr int kCardsTop = 28;
constexpr int kCardsBottomGap = 4;
constexpr int kFirstGroupX = 8;
constexpr int kContentStart = 16;
constexpr int kCardWidth = 90;
constexpr int kCardPitch = 100;
constexpr int kAddButtonWidth = 30;
constexpr int kAddButtonAfterCards = 40; // 10 px gap, then the button
constexpr int kGroupGap = 12;
constexpr int kNarrowestGroup = 44;
constexpr int kRemoveInset = 22; // from the card's left: x + 68 .. x + 86
constexpr int kRemoveSize = 18;
constexpr int kBarHeight = 12;

constexpr Gdiplus::ARGB kHeaderTextColor = 0xFFECE7DD;
constexpr COLORREF kBypassedGlyph = 0x76706C;

// Group and card widths; a group of absurdly many cards stays inside int.
long long GroupWidth(const ChainStripGroup& group)
{
    const long long n = (long long)group.entries.size();
    return (n > 0 ? kCardPitch * n - 10 : 0) +
           (group.editable ? (n > 0 ? kAddButtonAfterCards : kAddButtonWidth) : 0);
}

int Held(long long value)
{
    return int(std::clamp<long long>(value, INT_MIN / 4, INT_MAX / 4));
}

Gdiplus::Color Tint(COLORREF colour, BYTE alpha)
{
    return Gdiplus::ColorFromRef(colour, alpha);
}

// The group colour lifted by 12 on every channel, each held at 255.
COLORREF TitleBarBase(COLORREF colour)
{
    const auto lift = [](int channel) { return std::min(channel + 12, 255); };
    return RGB(lift(GetRValue(colour)), lift(GetGValue(colour)), lift(GetBValue(colour)));
}

Gdiplus::Font PixelFont(REAL size)
{
    return Gdiplus::Font(L"Segoe UI", size, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
}

void FillGradientRect(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect, Gdiplus::Color top,
                      Gdiplus::Color bottom)
{
    if (!(rect.Width > 0) || !(rect.Height > 0))
    {
        return;
    }
    const Gdiplus::LinearGradientBrush brush(Gdiplus::PointF(rect.X, rect.Y),
                                             Gdiplus::PointF(rect.X, rect.Y + rect.Height), top,
                                             bottom);
    graphics.FillRectangle(&brush, rect);
}

void FillRoundedTwoTone(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect, float radius,
                        Gdiplus::Color top, Gdiplus::Color bottom)
{
    FillRoundedGradient(graphics, rect, radius, top.GetValue(), bottom.GetValue());
}

int SelectedGroup(const std::vector<ChainStripGroup>& groups)
{
    for (size_t g = 0; g < groups.size(); ++g)
    {
        for (const ChainStripEntry& entry : groups[g].entries)
        {
            if (entry.selected)
            {
                return int(g);
            }
        }
    }
    return -1;
}

void DrawHeaderTab(Gdiplus::Graphics& graphics, const ChainStripGroup& group,
                   ChainStripGroupSpan span, bool last, bool selected, REAL top)
{
    const REAL x0 = REAL(span.left);
    const REAL w = REAL(span.width);
    const REAL t = top + 6;
    const REAL b = top + 24;
    const Gdiplus::PointF tab[] = {{x0 + 10, t},
                                   {last ? x0 + w : x0 + w + 17, t},
                                   {last ? x0 + w : x0 + w + 3, b},
                                   {x0 - 4, b}};
    COLORREF fill = MixColor(group.color, RGB(22, 24, 28), 0.08f);
    if (selected)
    {
        fill = MixColor(fill, kMixWhite, 0.1f);
    }
    const Gdiplus::SolidBrush brush(Tint(fill, selected ? 0xFF : 0xEC));
    graphics.FillPolygon(&brush, tab, 4);
    const Gdiplus::Pen outline(
        Tint(MixColor(group.color, kMixWhite, selected ? 0.28f : 0.18f), selected ? 0xD2 : 0xB2),
        1.0f);
    graphics.DrawPolygon(&outline, tab, 4);
    if (selected)
    {
        const Gdiplus::Pen mark(Tint(group.color, 0xA8), 2.0f);
        graphics.DrawLine(&mark, tab[3], tab[2]);
    }
    const std::string& text = group.entries.empty() ? group.shortCode : group.title;
    DrawPageText(graphics, Utf8ToWide(text), PixelFont(12), kHeaderTextColor,
                 Gdiplus::RectF(x0 - 7, t, w + 27, 18),
                 {Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, false, true});
}

struct CardPaint
{
    const ChainStripGroup& group;
    const ChainStripEntry& entry;
    RECT rect;
    RECT removeRect;
    bool hovered;
    bool removeHovered;
};

void DrawCard(Gdiplus::Graphics& graphics, const CardPaint& card, const AddonGlyphPainter& glyphs)
{
    const REAL x = REAL(card.rect.left);
    const REAL y = REAL(card.rect.top);
    const REAL w = REAL(card.rect.right - card.rect.left);
    const REAL h = REAL(card.rect.bottom - card.rect.top);
    if (!(w > 0) || !(h > 0))
    {
        return; // a strip too low for its cards
    }
    const bool enabled = card.entry.enabled;
    const bool hovered = card.hovered;
    const float e = hovered ? 0.12f : 0.0f;
    const COLORREF own = card.entry.color;
    const COLORREF groupColour = card.group.color;

    Gdiplus::GraphicsPath shadow;
    AddRoundedRectFigure(shadow, x - 1.5f, y + 4, w + 3, h + 3, 5);
    const Gdiplus::SolidBrush shadowBrush(Gdiplus::Color(0x24000000));
    graphics.FillPath(&shadowBrush, &shadow);

    Gdiplus::GraphicsPath body;
    AddRoundedRectFigure(body, x, y, w, h, 4);
    const Gdiplus::RectF bodyRect(x, y, w, h);
    if (enabled)
    {
        FillRoundedTwoTone(
            graphics, bodyRect, 4,
            Tint(MixColor(MixColor(own, RGB(24, 26, 30), 0.7f), kMixWhite, e), 0xFF),
            Tint(MixColor(MixColor(own, RGB(8, 10, 14), 0.82f), kMixWhite, e / 2), 0xFF));
    }
    else
    {
        FillRoundedTwoTone(graphics, bodyRect, 4,
                           Tint(MixColor(RGB(44, 46, 50), kMixWhite, 0.08f * e), 0x52),
                           Tint(MixColor(RGB(20, 22, 24), kMixWhite, 0.04f * e), 0x52));
    }
    const Gdiplus::Pen border(
        enabled ? Tint(MixColor(own, RGB(210, 210, 210), 0.18f), hovered ? 0x86 : 0x58)
                : Tint(0x544E4A, hovered ? 0x43 : 0x2C),
        1.0f);
    graphics.DrawPath(&border, &body);

    Gdiplus::Region saved;
    graphics.GetClip(&saved);
    graphics.SetClip(&body);
    FillGradientRect(graphics, Gdiplus::RectF(x, y, w, 0.42f * h),
                     Gdiplus::Color(enabled ? 0x0CFFFFFF : 0x06FFFFFF), Gdiplus::Color(0x00FFFFFF));
    graphics.SetClip(&saved);

    if (card.entry.glyph != kNoAddonGlyph)
    {
        glyphs.DrawAddonGlyph(graphics, card.entry.glyph,
                              Gdiplus::RectF(x + 6, y + 21, w - 12, h - 27),
                              enabled ? groupColour : kBypassedGlyph);
    }

    if (card.entry.selected)
    {
        const Gdiplus::SolidBrush fill(enabled ? Tint(groupColour, 0x0E) : Tint(0x807A76, 0x07));
        graphics.FillPath(&fill, &body);
        const Gdiplus::Pen outline(enabled ? Tint(groupColour, 0xD0) : Tint(0x948C88, 0x68), 2.0f);
        graphics.DrawPath(&outline, &body);
        Gdiplus::GraphicsPath inner;
        AddRoundedRectFigure(inner, x + 1, y + 1, w - 2, h - 2, 3);
        const Gdiplus::Pen innerPen(enabled ? Tint(groupColour, 0x48) : Tint(0x827C78, 0x24), 1.0f);
        graphics.DrawPath(&innerPen, &inner);
    }

    const Gdiplus::RectF titleBar(x, y, w, 18);
    if (enabled)
    {
        const COLORREF base = TitleBarBase(groupColour);
        FillRoundedTwoTone(
            graphics, titleBar, 3,
            Tint(MixColor(base, kMixWhite, hovered ? 0.14f : 0.08f), hovered ? 0xF0 : 0xE4),
            Tint(MixColor(base, RGB(18, 18, 18), 0.18f), 0xD6));
    }
    else
    {
        FillRoundedTwoTone(
            graphics, titleBar, 3,
            Tint(MixColor(RGB(52, 56, 60), kMixWhite, hovered ? 0.04f : 0.01f), 0x60),
            Tint(0x34312D, 0x58));
    }
    const REAL titleWidth = w - 6 - (card.group.editable ? 30 : 0);
    DrawPageText(graphics, Utf8ToWide(card.entry.title), PixelFont(10),
                 enabled ? 0xFFE8E4DC : 0x92E8E4DC, Gdiplus::RectF(x + 6, y, titleWidth, 18),
                 {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, false, true});

    if (card.group.editable)
    {
        const REAL cx = REAL(card.removeRect.left + card.removeRect.right) / 2;
        const REAL cy = REAL(card.removeRect.top + card.removeRect.bottom) / 2;
        const Gdiplus::SolidBrush circle(
            Gdiplus::Color(card.removeHovered ? 0x6EFFFFFF : 0x50FFFFFF));
        graphics.FillEllipse(&circle, cx - 7, cy - 7, 14, 14);
        const RoundCapPen cross(Gdiplus::Color(card.removeHovered ? 0xFFFFFCF8 : 0xDCFFFCF8), 1.5);
        graphics.DrawLine(&cross, cx - 3.2f, cy - 3.2f, cx + 3.2f, cy + 3.2f);
        graphics.DrawLine(&cross, cx + 3.2f, cy - 3.2f, cx - 3.2f, cy + 3.2f);
    }
}

void DrawAddButton(Gdiplus::Graphics& graphics, const ChainStripGroup& group, const RECT& rect,
                   bool hovered)
{
    const REAL x = REAL(rect.left);
    const REAL y = REAL(rect.top);
    const REAL w = REAL(rect.right - rect.left);
    const REAL h = REAL(rect.bottom - rect.top);
    if (!(w > 0) || !(h > 0))
    {
        return;
    }
    FillRoundedTwoTone(graphics, Gdiplus::RectF(x, y, w, h), 3,
                       Gdiplus::Color(hovered ? 0xB416181E : 0xB4101216),
                       Gdiplus::Color(hovered ? 0xB40E1014 : 0xB40A0C10));
    Gdiplus::GraphicsPath outline;
    AddRoundedRectFigure(outline, x, y, w, h, 3);
    Gdiplus::Pen dashed(
        Tint(MixColor(group.color, kMixWhite, hovered ? 0.42f : 0.14f), hovered ? 0xC8 : 0x5A),
        0.75f);
    const REAL pattern[] = {2, 3};
    dashed.SetDashPattern(pattern, 2);
    dashed.SetDashCap(Gdiplus::DashCapFlat);
    graphics.DrawPath(&dashed, &outline);
    const REAL cx = x + w / 2;
    const REAL cy = y + h / 2;
    const Gdiplus::Pen plus(
        Tint(MixColor(group.color, kMixWhite, hovered ? 0.56f : 0.28f), hovered ? 0xFF : 0xA0),
        1.0f);
    graphics.DrawLine(&plus, cx - 5, cy, cx + 5, cy);
    graphics.DrawLine(&plus, cx, cy - 5, cx, cy + 5);
}

} // namespace

bool ChainStripGroupsEqual(const std::vector<ChainStripGroup>& a,
                           const std::vector<ChainStripGroup>& b)
{
    const auto sameEntry = [](const ChainStripEntry& x, const ChainStripEntry& y)
    {
        return x.id == y.id && x.title == y.title && x.color == y.color && x.enabled == y.enabled &&
               x.glyph == y.glyph;
    };
    const auto sameGroup = [&sameEntry](const ChainStripGroup& x, const ChainStripGroup& y)
    {
        return x.key == y.key && x.shortCode == y.shortCode && x.title == y.title &&
               x.color == y.color && x.editable == y.editable &&
               std::equal(x.entries.begin(), x.entries.end(), y.entries.begin(), y.entries.end(),
                          sameEntry);
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameGroup);
}

ChainStripLayout ComputeChainStripLayout(const std::vector<ChainStripGroup>& groups,
                                         const RECT& client, int scrollOffset)
{
    ChainStripLayout layout;
    const int cardTop = client.top + kCardsTop;
    const int cardBottom = client.bottom - kCardsBottomGap;
    long long x0 = (long long)client.left - scrollOffset + kFirstGroupX;
    long long content = kContentStart;
    layout.groups.reserve(groups.size());
    for (size_t g = 0; g < groups.size(); ++g)
    {
        const ChainStripGroup& group = groups[g];
        const long long w = GroupWidth(group);
        content += std::max<long long>(w, kNarrowestGroup);
        layout.groups.push_back({Held(x0), Held(w)});
        const int n = int(std::min<size_t>(group.entries.size(), INT_MAX / 2));
        for (int j = 0; j < n; ++j)
        {
            const int x = Held(x0 + (long long)kCardPitch * j);
            layout.hitRects.push_back(
                {kChainStripCard, int(g), j, RECT{x, cardTop, x + kCardWidth, cardBottom}});
            if (group.editable)
            {
                const int rx = x + kCardWidth - kRemoveInset;
                layout.hitRects.push_back(
                    {kChainStripRemoveButton, int(g), j,
                     RECT{rx, cardTop, rx + kRemoveSize, cardTop + kRemoveSize}});
            }
        }
        if (group.editable)
        {
            const int x = Held(x0 + (long long)kCardPitch * n);
            layout.hitRects.push_back({kChainStripAddButton, int(g), -1,
                                       RECT{x, cardTop, x + kAddButtonWidth, cardBottom}});
        }
        x0 += w + kGroupGap;
        if (g + 1 < groups.size())
        {
            content += kGroupGap;
        }
    }
    layout.contentWidth = Held(std::max<long long>(content, client.right - client.left));
    return layout;
}

std::optional<ChainStripHitRect> HitTestChainStrip(const std::vector<ChainStripHitRect>& hitRects,
                                                   POINT point)
{
    for (const ChainStripHitRect& hit : hitRects)
    {
        if (hit.kind == kChainStripRemoveButton && ::PtInRect(&hit.rect, point))
        {
            return hit;
        }
    }
    for (const ChainStripHitRect& hit : hitRects)
    {
        if (::PtInRect(&hit.rect, point))
        {
            return hit;
        }
    }
    return std::nullopt;
}

IMPLEMENT_DYNAMIC(CChainStripWnd, CWnd)

BEGIN_MESSAGE_MAP(CChainStripWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONUP()
ON_WM_CONTEXTMENU()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL CChainStripWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    const LPCTSTR windowClass =
        AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                            static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    return CreateEx(0, windowClass, L"BrimvaleChainStripWnd",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect, parent, id) &&
           ::IsWindow(m_hWnd);
}

void CChainStripWnd::RecomputeLayout()
{
    if (!::IsWindow(m_hWnd))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
    {
        contentWidth = 0;
        hitRects.clear();
        return;
    }
    ChainStripLayout layout = ComputeChainStripLayout(groups, client, scrollOffset);
    contentWidth = layout.contentWidth;
    hitRects = std::move(layout.hitRects);
}

int CChainStripWnd::ClampScroll(int offset) const
{
    if (offset < 0)
    {
        return 0;
    }
    if (!::IsWindow(m_hWnd))
    {
        return offset;
    }
    return std::min(offset, std::max(0, contentWidth - ClientSizeOf(*this).cx));
}

std::optional<ChainStripHitRect> CChainStripWnd::HitTest(POINT point) const
{
    return HitTestChainStrip(hitRects, point);
}

CChainStripWnd::State CChainStripWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.groups = &groups;
    state.backgroundColor = backgroundColor;
    state.scrollOffset = scrollOffset;
    state.hoverGroup = hoverGroup;
    state.hoverEntry = hoverEntry;
    state.hoverKind = hoverKind;
    return state;
}

void CChainStripWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const int width = state.size.cx;
    const int height = state.size.cy;
    if (width <= 0 || height <= 0)
    {
        return;
    }
    static const std::vector<ChainStripGroup> kNone;
    const std::vector<ChainStripGroup>& groups = state.groups != nullptr ? *state.groups : kNone;
    graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
    const RECT client{0, 0, width, height};
    const ChainStripLayout layout = ComputeChainStripLayout(groups, client, state.scrollOffset);
    const int selectedGroup = SelectedGroup(groups);

    FillGradientRect(graphics, Gdiplus::RectF(6, 6, REAL(std::max(0, width - 16)), 18),
                     Gdiplus::Color(0xBC222222), Gdiplus::Color(0xAC0E1014));
    for (size_t g = 0; g < groups.size(); ++g)
    {
        if (layout.groups[g].width > 0)
        {
            DrawHeaderTab(graphics, groups[g], layout.groups[g], g + 1 == groups.size(),
                          int(g) == selectedGroup, 0);
        }
    }

    const AddonGlyphPainter glyphs;
    for (size_t i = 0; i < layout.hitRects.size(); ++i)
    {
        const ChainStripHitRect& hit = layout.hitRects[i];
        const ChainStripGroup& group = groups[size_t(hit.groupIndex)];
        if (hit.kind == kChainStripAddButton)
        {
            DrawAddButton(graphics, group, hit.rect,
                          state.hoverGroup == hit.groupIndex &&
                              state.hoverKind == kChainStripAddButton);
        }
        else if (hit.kind == kChainStripCard)
        {
            const bool hovered =
                state.hoverGroup == hit.groupIndex && state.hoverEntry == hit.entryIndex;
            const bool hasRemove = i + 1 < layout.hitRects.size() &&
                                   layout.hitRects[i + 1].kind == kChainStripRemoveButton;
            const RECT removeRect = hasRemove ? layout.hitRects[i + 1].rect : RECT{};
            DrawCard(graphics,
                     {group, group.entries[size_t(hit.entryIndex)], hit.rect, removeRect, hovered,
                      hovered && state.hoverKind == kChainStripRemoveButton},
                     glyphs);
        }
    }
}

void CChainStripWnd::OnPaint()
{
    PaintDoubleBuffered(*this,
                        [this](Gdiplus::Graphics& graphics, const RECT& client)
                        {
                            RecomputeLayout();
                            State state = GetState();
                            state.size = CSize(client.right, client.bottom);
                            Draw(graphics, state);
                        });
}

void CChainStripWnd::ShowHoverCursor() const
{
    ShowStandardCursor(hoverGroup >= 0 ? IDC_HAND : IDC_ARROW);
}

void CChainStripWnd::OnMouseMove(UINT, CPoint point)
{
    if (!trackingMouse)
    {
        trackingMouse = RequestMouseLeave(*this);
    }
    const std::optional<ChainStripHitRect> hit = HitTest(point);
    const int kind = hit ? hit->kind : 0;
    const int group = hit ? hit->groupIndex : -1;
    const int entry = hit ? hit->entryIndex : -1;
    if (kind != hoverKind || group != hoverGroup || entry != hoverEntry)
    {
        hoverKind = kind;
        hoverGroup = group;
        hoverEntry = entry;
        ShowHoverCursor();
        RepaintWhole(*this);
    }
}

void CChainStripWnd::OnMouseLeave()
{
    trackingMouse = false;
    if (hoverGroup >= 0)
    {
        hoverKind = 0;
        hoverGroup = -1;
        hoverEntry = -1;
        ShowHoverCursor();
        RepaintWhole(*this);
    }
}

BOOL CChainStripWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    // Answered from the hover, so the class arrow never replaces the hand
    // between two moves over the same card.
    if (hitTest == HTCLIENT)
    {
        ShowHoverCursor();
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

bool CChainStripWnd::SendAction(const ChainStripAction& action)
{
    const HWND parent = ::IsWindow(m_hWnd) ? ::GetParent(m_hWnd) : nullptr;
    if (parent == nullptr || !::IsWindow(parent))
    {
        return ::IsWindow(m_hWnd) != FALSE;
    }
    ::SendMessageW(parent, WMU_CHAIN_STRIP_ACTION, 0, reinterpret_cast<LPARAM>(&action));
    return ::IsWindow(m_hWnd) != FALSE;
}

void CChainStripWnd::OnLButtonDown(UINT, CPoint point)
{
    const std::optional<ChainStripHitRect> hit = HitTest(point);
    if (!hit || hit->groupIndex < 0 || size_t(hit->groupIndex) >= groups.size())
    {
        return;
    }
    const ChainStripGroup& group = groups[size_t(hit->groupIndex)];
    ChainStripAction action;
    action.groupKey = group.key;
    action.entryIndex = hit->entryIndex;
    const bool onEntry = hit->entryIndex >= 0 && size_t(hit->entryIndex) < group.entries.size();
    switch (hit->kind)
    {
    case kChainStripCard:
        if (!onEntry)
        {
            return;
        }
        for (size_t g = 0; g < groups.size(); ++g)
        {
            for (size_t j = 0; j < groups[g].entries.size(); ++j)
            {
                groups[g].entries[j].selected =
                    int(g) == hit->groupIndex && int(j) == hit->entryIndex;
            }
        }
        action.action = kChainStripSelect;
        action.entryId = group.entries[size_t(hit->entryIndex)].id;
        if (SendAction(action))
        {
            RepaintWhole(*this);
        }
        break;
    case kChainStripRemoveButton:
        if (!onEntry)
        {
            return;
        }
        action.action = kChainStripRemove;
        action.entryId = group.entries[size_t(hit->entryIndex)].id;
        SendAction(action);
        break;
    case kChainStripAddButton:
        action.action = kChainStripAdd;
        SendAction(action);
        break;
    default:
        break;
    }
}

void CChainStripWnd::OnLButtonDblClk(UINT, CPoint point)
{
    const std::optional<ChainStripHitRect> hit = HitTest(point);
    if (!hit || hit->kind != kChainStripCard || hit->groupIndex < 0 ||
        size_t(hit->groupIndex) >= groups.size())
    {
        return;
    }
    const ChainStripGroup& group = groups[size_t(hit->groupIndex)];
    if (hit->entryIndex < 0 || size_t(hit->entryIndex) >= group.entries.size())
    {
        return;
    }
    ChainStripAction action;
    action.action = kChainStripToggleEnabled;
    action.groupKey = group.key;
    action.entryId = group.entries[size_t(hit->entryIndex)].id;
    action.entryIndex = hit->entryIndex;
    SendAction(action);
}

void CChainStripWnd::OnRButtonUp(UINT, CPoint point)
{
    const std::optional<ChainStripHitRect> hit = HitTest(point);
    if (!hit || hit->entryIndex < 0 || hit->groupIndex < 0 ||
        size_t(hit->groupIndex) >= groups.size())
    {
        return;
    }
    const ChainStripGroup& group = groups[size_t(hit->groupIndex)];
    if (size_t(hit->entryIndex) >= group.entries.size())
    {
        return;
    }
    const ChainStripEntry& entry = group.entries[size_t(hit->entryIndex)];
    if (FindProcessorDescriptor(entry.id) == nullptr)
    {
        return; // engine stages have no menu
    }
    // Filled before the menu runs: the parent may replace the groups meanwhile.
    ChainStripAction action;
    action.action = kChainStripToggleEnabled;
    action.groupKey = group.key;
    action.entryId = entry.id;
    action.entryIndex = hit->entryIndex;
    const wchar_t* label = entry.enabled ? L"Bypass" : L"Enable";

    CMenu menu;
    if (!menu.LoadMenu(kChainEntryMenuId))
    {
        return;
    }
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr)
    {
        return;
    }
    popup->ModifyMenu(kChainEntryToggleCommand, MF_BYCOMMAND | MF_STRING, kChainEntryToggleCommand,
                      label);
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    const UINT chosen =
        UINT(popup->TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, this));
    if (chosen == kChainEntryToggleCommand && ::IsWindow(m_hWnd))
    {
        SendAction(action);
    }
}

IMPLEMENT_DYNAMIC(CChainStripViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CChainStripViewportWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_MESSAGE(WMU_CONTROL_COMMIT, &CChainStripViewportWnd::OnBarCommit)
ON_MESSAGE(WMU_CHAIN_STRIP_ACTION, &CChainStripViewportWnd::OnStripAction)
END_MESSAGE_MAP()

BOOL CChainStripViewportWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreatePageWindow(*this, parent, rect, id, L"BrimvaleChainStripViewportWnd");
}

void CChainStripViewportWnd::EnsureChildren()
{
    if (!::IsWindow(m_hWnd))
    {
        return;
    }
    if (!::IsWindow(strip.GetSafeHwnd()) && strip.Create(this, CRect(0, 0, 0, 0), kChainStripId))
    {
        strip.backgroundColor = backgroundColor;
        RepaintWhole(strip);
    }
    if (!::IsWindow(bar.GetSafeHwnd()) && bar.Create(CRect(0, 0, 0, 0), this, kChainStripBarId) &&
        ::IsWindow(bar.GetSafeHwnd()))
    {
        bar.vertical = 0;
        bar.accent = 0xD8D8D8;
        RepaintWhole(bar);
        StoreAndRepaint(bar, bar.background, backgroundColor);
    }
}

void CChainStripViewportWnd::LayoutChildren()
{
    if (!::IsWindow(m_hWnd) || !::IsWindow(strip.GetSafeHwnd()))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
    {
        return;
    }
    const int stripBottom = std::max<int>(client.bottom - kBarHeight, client.top);
    strip.MoveWindow(client.left, client.top, client.Width(), stripBottom - client.top);
    RepaintWhole(strip);
    strip.RecomputeLayout();
    // A wider strip needs less scrolling: the offset follows, so the strip
    // shows no blank past its content and agrees with the bar's thumb.
    strip.scrollOffset = strip.ClampScroll(strip.scrollOffset);
    if (::IsWindow(bar.GetSafeHwnd()))
    {
        bar.MoveWindow(client.left, stripBottom, client.Width(), kBarHeight);
        bar.SetRange(strip.contentWidth, client.Width(), strip.scrollOffset);
        bar.ShowWindow(SW_SHOWNA);
        ::SetWindowPos(bar.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void CChainStripViewportWnd::SetBackgroundColor(COLORREF color)
{
    if (color == backgroundColor)
    {
        return;
    }
    backgroundColor = color;
    StoreAndRepaint(strip, strip.backgroundColor, color);
    StoreAndRepaint(bar, bar.background, color);
    RepaintWhole(*this);
}

void CChainStripViewportWnd::SetGroups(const std::vector<ChainStripGroup>& newGroups)
{
    strip.groups = newGroups;
    strip.RecomputeLayout();
    strip.scrollOffset = strip.ClampScroll(strip.scrollOffset);
    RepaintWhole(strip);
    LayoutChildren();
}

void CChainStripViewportWnd::OnPaint()
{
    PaintDoubleBuffered(*this, [this](Gdiplus::Graphics& graphics, const RECT&)
                        { graphics.Clear(Gdiplus::ColorFromRef(backgroundColor)); });
}

void CChainStripViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    LayoutChildren();
}

void CChainStripViewportWnd::OnDestroy()
{
    if (::IsWindow(bar.GetSafeHwnd()))
    {
        bar.DestroyWindow();
    }
    if (::IsWindow(strip.GetSafeHwnd()))
    {
        strip.DestroyWindow();
    }
    CWnd::OnDestroy();
}

LRESULT CChainStripViewportWnd::OnBarCommit(WPARAM, LPARAM lParam)
{
    // The bar posts an int; anything wider is held to int's range first.
    const int requested = int(std::clamp<LPARAM>(lParam, INT_MIN, INT_MAX));
    const int offset = strip.ClampScroll(requested);
    if (offset != strip.scrollOffset)
    {
        strip.scrollOffset = offset;
        RepaintWhole(strip);
    }
    LayoutChildren();
    return 0;
}

LRESULT CChainStripViewportWnd::OnStripAction(WPARAM wParam, LPARAM lParam)
{
    const HWND parent = ::IsWindow(m_hWnd) ? ::GetParent(m_hWnd) : nullptr;
    if (parent != nullptr)
    {
        ::SendMessageW(parent, WMU_CHAIN_STRIP_ACTION, wParam, lParam);
    }
    return 0;
}
