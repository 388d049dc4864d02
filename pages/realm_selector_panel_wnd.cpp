#include "pages/realm_selector_panel_wnd.h"

#include "base/unicode_text.h"
#include "controls/base/client_state.h"
#include "controls/base/double_buffered_paint.h"
#include "controls/base/painting_helpers.h"
#include "controls/base/standard_cursor.h"
#include "pages/page_painting.h"
#include "pages/page_window.h"
#include "platform/gdiplus/gdiplus.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{

using Gdiplus::REAL;

constexpr int kColumnMargins = 60; // 16 left, 16 between, 28 right
constexpr int kLeftX = 16;
constexpr int kColumnGap = 16;
constexpr int kBarStrip = 12; // nothing but the scroll bar is drawn in it
constexpr int kCardsTop = 44;
constexpr int kCardHeight = 56;
constexpr int kCardPitch = 62;
constexpr int kEmptyContent = 60;
constexpr int kContentExtra = 54;
constexpr int kNamePadding = 35;

constexpr Gdiplus::ARGB kHeaderColor = 0xFF64625E;
constexpr Gdiplus::ARGB kDividerColor = 0x10FFFFFF;
constexpr Gdiplus::ARGB kNameColor = 0xFFECE7DD;
constexpr Gdiplus::ARGB kDescriptionColor = 0xFF8C8880;

Gdiplus::Font NameFont()
{
    return PagePointFont(12.0f, Gdiplus::FontStyleBold);
}

int ContentHeight(size_t factoryCount, size_t customCount)
{
    const size_t n = std::max(factoryCount, customCount);
    if (n == 0)
    {
        return kEmptyContent;
    }
    // Far past any screen; held so the scroll arithmetic stays inside int.
    constexpr long long kTallest = INT_MAX / 4;
    return int(std::min<long long>(kTallest, (long long)kCardPitch * (long long)n + kContentExtra));
}

// Each colour channel times 0.92, truncated: the pressed card's look.
Gdiplus::ARGB Pressed(Gdiplus::ARGB color)
{
    const auto channel = [color](int shift)
    { return Gdiplus::ARGB(int(((color >> shift) & 0xFF) * 0.92)) << shift; };
    return (color & 0xFF000000) | channel(16) | channel(8) | channel(0);
}

struct CardLook
{
    Gdiplus::ARGB top;
    Gdiplus::ARGB bottom;
};

CardLook CardLookFor(bool hovered, bool pressed)
{
    CardLook look = hovered ? CardLook{0xFF313439, 0xFF2C2E31} : CardLook{0xFF16191E, 0xFF101216};
    if (pressed)
    {
        look = {Pressed(look.top), Pressed(look.bottom)};
    }
    return look;
}

void DrawCard(Gdiplus::Graphics& graphics, const CRealmSelectorPanelWnd::State& state,
              const CardHitRect& row, const LibraryEntry& entry)
{
    const REAL left = REAL(row.rect.left);
    const REAL top = REAL(row.rect.top);
    const REAL width = REAL(row.rect.right - row.rect.left);
    const REAL height = REAL(row.rect.bottom - row.rect.top);
    const bool hovered =
        state.hoverIndex >= 0 && row.column == state.hoverColumn && row.index == state.hoverIndex;
    const bool pressed = state.pressedIndex >= 0 && row.column == state.pressedColumn &&
                         row.index == state.pressedIndex;
    const CardLook look = CardLookFor(hovered, pressed);
    FillRoundedGradient(graphics, Gdiplus::RectF(left, top, width, height), 4.0f, look.top,
                        look.bottom);

    const bool selected = entry.path == state.selectedPath;
    if (selected)
    {
        Gdiplus::GraphicsPath bar;
        AddRoundedRectFigure(bar, left + 2, top + 4, 3.0f, height - 8, 1.5f);
        const Gdiplus::SolidBrush accent(Gdiplus::ColorFromRef(state.accentColor));
        graphics.FillPath(&accent, &bar);
    }

    const REAL nameWidth = REAL(row.column == 0 ? state.factoryNameWidth : state.customNameWidth);
    DrawPageText(graphics, Utf8ToWide(entry.displayName), NameFont(), kNameColor,
                 Gdiplus::RectF(left + (selected ? 19 : 12), top, nameWidth - 12, height),
                 {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, false, true});
    DrawPageText(
        graphics, Utf8ToWide(entry.description), PagePointFont(9.0f), kDescriptionColor,
        Gdiplus::RectF(left + 12 + nameWidth, top + 6, width - 24 - nameWidth, height - 12),
        {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, true, true});
}

} // namespace

RealmPanelLayout ComputeRealmPanelLayout(int width, int height, int factoryCount, int customCount,
                                         int factoryNameWidth, int customNameWidth,
                                         int scrollOffset)
{
    RealmPanelLayout layout;
    layout.leftWidth = (width - kColumnMargins) / 2;
    layout.leftX = kLeftX;
    layout.rightX = layout.leftWidth + kLeftX + kColumnGap;
    layout.rightWidth = width - kColumnMargins - layout.leftWidth;
    layout.factoryNameWidth = factoryNameWidth;
    layout.customNameWidth = customNameWidth;
    factoryCount = std::max(factoryCount, 0);
    customCount = std::max(customCount, 0);
    layout.contentHeight = ContentHeight(size_t(factoryCount), size_t(customCount));

    layout.rows.reserve(size_t(factoryCount) + size_t(customCount));
    const auto addColumn = [&](int column, int count, int x, int columnWidth)
    {
        for (int i = 0; i < count; ++i)
        {
            const long long top = (long long)kCardsTop - scrollOffset + (long long)kCardPitch * i;
            const int clampedTop = int(std::clamp<long long>(top, INT_MIN / 2, INT_MAX / 2));
            layout.rows.push_back(
                {column, i, RECT{x, clampedTop, x + columnWidth, clampedTop + kCardHeight}});
        }
    };
    addColumn(0, factoryCount, layout.leftX, layout.leftWidth);
    addColumn(1, customCount, layout.rightX, layout.rightWidth);

    const CardScrollBar bar = CardListScrollBar(width, height, layout.contentHeight, scrollOffset);
    layout.trackRect = bar.trackRect;
    layout.thumbRect = bar.thumbRect;
    return layout;
}

int MeasureRealmNameWidth(const std::vector<LibraryEntry>& entries)
{
    if (entries.empty())
    {
        return kNamePadding;
    }
    const HDC screen = ::GetDC(nullptr);
    if (screen == nullptr)
    {
        return kNamePadding;
    }
    float widest = 0.0f;
    {
        Gdiplus::Graphics graphics(screen);
        const Gdiplus::Font font = NameFont();
        for (const LibraryEntry& entry : entries)
        {
            widest =
                std::max(widest, MeasurePageText(graphics, Utf8ToWide(entry.displayName), font));
        }
    }
    ::ReleaseDC(nullptr, screen);
    // A name past any screen widens the column no further than the screen.
    constexpr float kWidest = 100000.0f;
    return int(std::trunc(std::min(widest, kWidest))) + kNamePadding;
}

IMPLEMENT_DYNAMIC(CRealmSelectorPanelWnd, CWnd)

BEGIN_MESSAGE_MAP(CRealmSelectorPanelWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_SIZE()
ON_WM_KEYDOWN()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

BOOL CRealmSelectorPanelWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreatePageWindow(*this, parent, rect, id, L"BrimvaleRealmSelectorPanelWnd", WS_TABSTOP);
}

CSize CRealmSelectorPanelWnd::ClientSize() const
{
    return ClientSizeOf(*this);
}

void CRealmSelectorPanelWnd::ReplacedEntries()
{
    scrollOffset = 0;
    hoverIndex = -1;
    pressedIndex = -1;
    UpdateLayout();
    if (!CardListScrollable(contentHeight, ClientSize().cy))
    {
        barHover = false;
        thumbHover = false;
    }
    RepaintWhole(*this);
}

void CRealmSelectorPanelWnd::SetFactoryEntries(const std::vector<LibraryEntry>& entries)
{
    factoryEntries = entries;
    ReplacedEntries();
}

void CRealmSelectorPanelWnd::SetCustomEntries(const std::vector<LibraryEntry>& entries)
{
    customEntries = entries;
    ReplacedEntries();
}

void CRealmSelectorPanelWnd::SetSelectedPath(const std::string& path)
{
    StoreAndRepaint(*this, selectedPath, path);
}

void CRealmSelectorPanelWnd::SetAccentColor(COLORREF color)
{
    StoreAndRepaint(*this, accentColor, color);
}

void CRealmSelectorPanelWnd::SetBackgroundColor(COLORREF color)
{
    StoreAndRepaint(*this, backgroundColor, color);
}

void CRealmSelectorPanelWnd::UpdateLayout()
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
    RealmPanelLayout layout = ComputeRealmPanelLayout(
        size.cx, size.cy, int(std::min<size_t>(factoryEntries.size(), INT_MAX)),
        int(std::min<size_t>(customEntries.size(), INT_MAX)), MeasureRealmNameWidth(factoryEntries),
        MeasureRealmNameWidth(customEntries), scrollOffset);
    contentHeight = layout.contentHeight;
    factoryNameWidth = layout.factoryNameWidth;
    customNameWidth = layout.customNameWidth;
    rows = std::move(layout.rows);
    trackRect = layout.trackRect;
    thumbRect = layout.thumbRect;
}

void CRealmSelectorPanelWnd::NotifyPick(bool fromFactory, int index)
{
    const HWND parent = ::IsWindow(m_hWnd) ? ::GetParent(m_hWnd) : nullptr;
    if (parent == nullptr)
    {
        return;
    }
    RealmItemPick pick;
    pick.fromFactory = fromFactory;
    pick.index = index;
    const std::vector<LibraryEntry>& list = fromFactory ? factoryEntries : customEntries;
    if (index >= 0 && size_t(index) < list.size())
    {
        pick.path = list[size_t(index)].path;
        pick.name = list[size_t(index)].displayName;
    }
    ::SendMessageW(parent, WMU_REALM_ITEM_PICKED, 0, reinterpret_cast<LPARAM>(&pick));
}

CRealmSelectorPanelWnd::State CRealmSelectorPanelWnd::GetState() const
{
    State state;
    state.size = ClientSize();
    state.factoryEntries = &factoryEntries;
    state.customEntries = &customEntries;
    state.selectedPath = selectedPath;
    state.accentColor = accentColor;
    state.backgroundColor = backgroundColor;
    state.scrollOffset = scrollOffset;
    state.factoryNameWidth = factoryNameWidth;
    state.customNameWidth = customNameWidth;
    state.hoverColumn = hoverColumn;
    state.hoverIndex = hoverIndex;
    state.pressedColumn = pressedColumn;
    state.pressedIndex = pressedIndex;
    state.barHover = barHover;
    state.thumbHover = thumbHover;
    state.draggingThumb = draggingThumb;
    return state;
}

void CRealmSelectorPanelWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const int width = state.size.cx;
    const int height = state.size.cy;
    if (width <= 0 || height <= 0)
    {
        return;
    }
    static const std::vector<LibraryEntry> kNone;
    const std::vector<LibraryEntry>& factory =
        state.factoryEntries != nullptr ? *state.factoryEntries : kNone;
    const std::vector<LibraryEntry>& custom =
        state.customEntries != nullptr ? *state.customEntries : kNone;
    const RealmPanelLayout layout =
        ComputeRealmPanelLayout(width, height, int(std::min<size_t>(factory.size(), INT_MAX)),
                                int(std::min<size_t>(custom.size(), INT_MAX)),
                                state.factoryNameWidth, state.customNameWidth, state.scrollOffset);

    graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
    PaintPageBody(graphics, Gdiplus::RectF(0, 0, REAL(width), REAL(height)), 5.0f);

    Gdiplus::Region saved;
    graphics.GetClip(&saved);
    graphics.SetClip(Gdiplus::RectF(0, 0, REAL(width - kBarStrip), REAL(height)));

    const Gdiplus::Font headerFont = PagePointFont(9.0f, Gdiplus::FontStyleBold);
    const REAL headerTop = REAL(16 - state.scrollOffset);
    DrawPageText(graphics, L"FACTORY", headerFont, kHeaderColor,
                 Gdiplus::RectF(REAL(layout.leftX), headerTop, REAL(layout.leftWidth), 22), {});
    DrawPageText(graphics, L"CUSTOM", headerFont, kHeaderColor,
                 Gdiplus::RectF(REAL(layout.rightX), headerTop, REAL(layout.rightWidth), 22), {});

    const Gdiplus::Pen divider(Gdiplus::Color(kDividerColor), 1.0f);
    const REAL dividerX = REAL(layout.rightX - 8);
    graphics.DrawLine(&divider, dividerX, headerTop, dividerX,
                      REAL(layout.contentHeight - state.scrollOffset - 16));

    for (const CardHitRect& row : layout.rows)
    {
        if (row.rect.bottom < 0 || row.rect.top > height)
        {
            continue;
        }
        const std::vector<LibraryEntry>& list = row.column == 0 ? factory : custom;
        DrawCard(graphics, state, row, list[size_t(row.index)]);
    }

    graphics.SetClip(&saved);
    PaintCardScrollBar(graphics, {layout.trackRect, layout.thumbRect},
                       CardListScrollable(layout.contentHeight, height), state.accentColor,
                       {state.barHover, state.thumbHover}, state.draggingThumb);
}

void CRealmSelectorPanelWnd::OnPaint()
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

void CRealmSelectorPanelWnd::OnMouseMove(UINT, CPoint point)
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
    int column = 0;
    int index = -1;
    if (!barHover)
    {
        if (const auto card = HitTestCards(rows, point, size.cx, size.cy, contentHeight))
        {
            column = card->column;
            index = card->index;
        }
    }
    if (column != hoverColumn || index != hoverIndex)
    {
        hoverColumn = column;
        hoverIndex = index;
        RepaintWhole(*this);
    }
    ShowStandardCursor(hoverIndex >= 0 ? IDC_HAND : IDC_ARROW);
}

void CRealmSelectorPanelWnd::OnMouseLeave()
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

void CRealmSelectorPanelWnd::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
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
    if (const auto card = HitTestCards(rows, point, size.cx, size.cy, contentHeight))
    {
        pressedColumn = card->column;
        pressedIndex = card->index;
        SetCapture();
        RepaintWhole(*this);
    }
}

void CRealmSelectorPanelWnd::OnLButtonUp(UINT, CPoint point)
{
    const bool dragging = draggingThumb;
    const int column = pressedColumn;
    const int index = pressedIndex;
    // Cleared before the release, so OnCaptureChanged finds nothing held; the
    // capture goes even when a list replaced during the press forgot the card.
    draggingThumb = false;
    pressedIndex = -1;
    if (GetCapture() == this)
    {
        ::ReleaseCapture();
    }
    if (!dragging && index < 0)
    {
        return;
    }
    RepaintWhole(*this);
    if (dragging)
    {
        return;
    }
    const CSize size = ClientSize();
    const auto card = HitTestCards(rows, point, size.cx, size.cy, contentHeight);
    if (card && card->column == column && card->index == index)
    {
        NotifyPick(column == 0, index);
    }
}

void CRealmSelectorPanelWnd::OnCaptureChanged(CWnd*)
{
    // Another window took the mouse: the drag or press ends, unreported.
    if (draggingThumb || pressedIndex >= 0)
    {
        draggingThumb = false;
        pressedIndex = -1;
        RepaintWhole(*this);
    }
}

BOOL CRealmSelectorPanelWnd::OnMouseWheel(UINT flags, short delta, CPoint screenPoint)
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

void CRealmSelectorPanelWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    scrollOffset = ClampCardScroll(scrollOffset, contentHeight, ClientSize().cy);
    UpdateLayout();
    RepaintWhole(*this);
}

void CRealmSelectorPanelWnd::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_ESCAPE)
    {
        const HWND parent = ::GetParent(m_hWnd);
        if (parent != nullptr)
        {
            ::SendMessageW(parent, WMU_REALM_PANEL_CANCEL, 0, 0);
        }
        return;
    }
    CWnd::OnKeyDown(key, repeat, flags);
}
