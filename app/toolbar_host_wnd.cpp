#include "app/toolbar_host_wnd.h"

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afx_controls.h"
#include "platform/mfc/afx_res.h"
#include "platform/mfc/frame_wnd.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/control_styles.h"
#include "platform/win32/dpi_scale.h"
#include "platform/win32/resource_data.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

IMPLEMENT_DYNAMIC(CToolbarHostWnd, CWnd)

BEGIN_MESSAGE_MAP(CToolbarHostWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CToolbarHostWnd::OnIdleUpdateCmdUI)
ON_MESSAGE(WM_DPICHANGED, &CToolbarHostWnd::OnDpiChanged)
END_MESSAGE_MAP()

namespace
{

constexpr int kMinBarHeight96 = 24;
constexpr int kEdgeInset96 = 8; // first item from the left, room kept at the right
constexpr int kItemGap96 = 2;   // after every item but a separator
constexpr int kMinButtonHeight96 = 16;
constexpr int kButtonMargin96 = 4; // above and below a button
constexpr int kButtonWidth96 = 28;
constexpr int kImagePadding96 = 8; // each side of a button's image
constexpr int kCaptionGap96 = 6;
constexpr int kGroupMarker96 = 14;
constexpr int kLabelPadding96 = 6;
constexpr int kMinImageHeight = 12; // measuring height, unscaled
constexpr int kMeasureInset96 = 6;  // button height minus the measuring image height
constexpr int kSeparatorInset96 = 3;
constexpr int kPlaceholderInsetX96 = 10;
constexpr int kPlaceholderInsetY96 = 8;
constexpr int kMaxTipWidth = 420;
constexpr UINT_PTR kFirstToolId = 0x5000;

bool IsButtonLike(int type)
{
    return type == ToolbarButtonDef::kButton || type == ToolbarButtonDef::kGroupToggle;
}

const ToolbarButtonFace& FaceOf(const ToolbarButtonDef& def)
{
    return def.type == ToolbarButtonDef::kGroupToggle ? def.group : def.button;
}

// Surrounding white space removed.
std::wstring TrimmedText(const std::wstring& text)
{
    CString trimmed(text.c_str());
    return trimmed.Trim().Str();
}

// Title and text of a button's tooltip: the face's own, completed from the
// command's string ("text\ntitle" splits at its first line feed).
void PrepareTooltip(ToolbarItem& item)
{
    const ToolbarButtonDef& def = item.def;
    if (!IsButtonLike(def.type))
    {
        return;
    }
    const ToolbarButtonFace& face = FaceOf(def);
    std::wstring title = face.tooltipTitle;
    std::wstring text = face.tooltipText;
    if ((title.empty() || text.empty()) && face.commandId != 0)
    {
        if (const auto string = brvl::win32::FindStringResource(static_cast<UINT>(face.commandId)))
        {
            const size_t feed = string->find(L'\n');
            const std::wstring before =
                feed == std::wstring::npos ? *string : string->substr(0, feed);
            const std::wstring after =
                feed == std::wstring::npos ? *string : string->substr(feed + 1);
            if (title.empty())
            {
                title = after;
            }
            if (text.empty())
            {
                text = before;
            }
        }
    }
    if (def.type == ToolbarButtonDef::kButton && title.empty())
    {
        title = def.button.caption;
    }
    std::erase(title, L'\r');
    std::erase(text, L'\r');
    std::replace(title.begin(), title.end(), L'\n', L' ');
    item.tooltipTitle = TrimmedText(title);
    item.tooltipText = TrimmedText(text);
}

Gdiplus::Font BarFont(const CToolbarHostWnd::FontSpec& spec)
{
    return Gdiplus::Font(spec.face.c_str(), Gdiplus::REAL(std::max(1, spec.pixelHeight)),
                         spec.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                         Gdiplus::UnitPixel);
}

int TextWidth(const std::wstring& text, const CToolbarHostWnd::FontSpec& spec)
{
    Gdiplus::Bitmap scratch(1, 1);
    Gdiplus::Graphics graphics(&scratch);
    const Gdiplus::Font font = BarFont(spec);
    Gdiplus::RectF box;
    graphics.MeasureString(text.c_str(), -1, &font, Gdiplus::PointF(0, 0), &box);
    return static_cast<int>(std::ceil(box.Width));
}

// One pixel wide frame in `border` around a fill.
void FillFramed(Gdiplus::Graphics& graphics, const CRect& rect, COLORREF fill, COLORREF border)
{
    const Gdiplus::SolidBrush outer(Gdiplus::ColorFromRef(border));
    const Gdiplus::SolidBrush inner(Gdiplus::ColorFromRef(fill));
    graphics.FillRectangle(&outer, rect.left, rect.top, rect.Width(), rect.Height());
    graphics.FillRectangle(&inner, rect.left + 1, rect.top + 1, rect.Width() - 2,
                           rect.Height() - 2);
}

void FillSolid(Gdiplus::Graphics& graphics, int x, int y, int width, int height, COLORREF colour)
{
    const Gdiplus::SolidBrush brush(Gdiplus::ColorFromRef(colour));
    graphics.FillRectangle(&brush, x, y, width, height);
}

// A one-pixel frame just inside `rect`, the inside left as it is.
void FrameOnly(Gdiplus::Graphics& graphics, const CRect& rect, COLORREF colour)
{
    FillSolid(graphics, rect.left, rect.top, rect.Width(), 1, colour);
    FillSolid(graphics, rect.left, rect.bottom - 1, rect.Width(), 1, colour);
    FillSolid(graphics, rect.left, rect.top, 1, rect.Height(), colour);
    FillSolid(graphics, rect.right - 1, rect.top, 1, rect.Height(), colour);
}

void DrawText(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
              const CRect& box, COLORREF colour, Gdiplus::StringAlignment alignment)
{
    if (text.empty() || box.Width() <= 0 || box.Height() <= 0)
    {
        return;
    }
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
    format.SetAlignment(alignment);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    const Gdiplus::SolidBrush brush(Gdiplus::ColorFromRef(colour));
    graphics.DrawString(text.c_str(), -1, &font,
                        Gdiplus::RectF(Gdiplus::REAL(box.left), Gdiplus::REAL(box.top),
                                       Gdiplus::REAL(box.Width()), Gdiplus::REAL(box.Height())),
                        &format, &brush);
}

// The image in grey at 45 % opacity.
const Gdiplus::ImageAttributes& DisabledImageAttributes()
{
    static const Gdiplus::ImageAttributes attributes = []
    {
        Gdiplus::ColorMatrix matrix{};
        for (int column = 0; column < 3; ++column)
        {
            matrix.m[0][column] = 0.299f;
            matrix.m[1][column] = 0.587f;
            matrix.m[2][column] = 0.114f;
        }
        matrix.m[3][3] = 0.45f;
        matrix.m[4][4] = 1.0f;
        Gdiplus::ImageAttributes result;
        result.SetColorMatrix(&matrix);
        return result;
    }();
    return attributes;
}

void DrawButton(Gdiplus::Graphics& graphics, const CToolbarHostWnd::State& state,
                const CToolbarHostWnd::ItemState& item, const Gdiplus::Font& font)
{
    using brvl::win32::ScaleForDpi;
    const auto s = [&](int length96) { return ScaleForDpi(length96, state.dpi); };
    const CRect& r = item.rect;
    const ToolbarThemeColors& c = state.colors;
    if (!item.enabled)
    {
        FillSolid(graphics, r.left, r.top, r.Width(), r.Height(), toolbar_colors::kDisabledFill);
    }
    else if (item.pressed)
    {
        FillFramed(graphics, r, c.pressedFill, c.hoverBorder);
    }
    else if (item.hover)
    {
        FillFramed(graphics, r, c.hoverFill, c.hoverBorder);
    }
    else if (item.checked)
    {
        FillFramed(graphics, r, c.checkedFill, c.checkedBorder);
    }
    else
    {
        FillSolid(graphics, r.left, r.top, r.Width(), r.Height(), c.background);
    }

    const bool group = item.type == ToolbarButtonDef::kGroupToggle;
    const int contentRight =
        group ? std::max<int>(r.left, r.right - s(kItemGap96) - s(kGroupMarker96)) : r.right;
    const bool withCaption = !group && !item.caption.empty();
    Gdiplus::Image* image = item.image;
    if (image == nullptr)
    {
        const CRect frame(r.left + s(kPlaceholderInsetX96), r.top + s(kPlaceholderInsetY96),
                          r.right - s(kPlaceholderInsetX96), r.bottom - s(kPlaceholderInsetY96));
        if (frame.Width() > 0 && frame.Height() > 0)
        {
            FrameOnly(graphics, frame, toolbar_colors::kMissingImageFrame);
        }
    }
    int imageRight = r.left + s(kImagePadding96);
    if (image != nullptr)
    {
        const int width = static_cast<int>(image->GetWidth());
        const int height = static_cast<int>(image->GetHeight());
        const int x = withCaption ? r.left + s(kImagePadding96)
                                  : r.left + (contentRight - r.left - width) / 2;
        const int y = r.top + (r.Height() - height) / 2;
        imageRight = x + width;
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const Gdiplus::Rect dest(x, y, width, height);
        if (item.enabled)
        {
            graphics.DrawImage(image, dest);
        }
        else
        {
            graphics.DrawImage(image, dest, 0, 0, width, height, Gdiplus::UnitPixel,
                               &DisabledImageAttributes());
        }
    }
    if (withCaption)
    {
        const CRect box(imageRight + s(kCaptionGap96), r.top, contentRight - s(kImagePadding96),
                        r.bottom);
        DrawText(graphics, item.caption, font, box,
                 item.enabled ? toolbar_colors::kCaptionText : toolbar_colors::kCaptionTextDisabled,
                 Gdiplus::StringAlignmentNear);
    }
    if (group)
    {
        const int line = std::max(1, s(1));
        const int divider =
            std::max<int>(r.left + s(10), r.right - s(kItemGap96) - s(kGroupMarker96));
        FillSolid(graphics, divider, r.top + s(kButtonMargin96), line,
                  r.Height() - 2 * s(kButtonMargin96), toolbar_colors::kGroupDivider);
        const CRect glyph(divider + line, r.top, r.right - s(kItemGap96), r.bottom);
        DrawText(graphics, item.expanded ? L"<" : L">", font, glyph,
                 item.enabled ? toolbar_colors::kGroupGlyph : toolbar_colors::kGroupGlyphDisabled,
                 Gdiplus::StringAlignmentCenter);
    }
}

} // namespace

ToolbarThemeColors ToolbarTheme(int index)
{
    switch (index)
    {
    case 1:
        return {0xFBF4F1, 0xE0CEC4, 0xFCECDF, 0xDBA67A, 0xF8E0CB, 0xF8E3D1, 0xC68E62};
    case 2:
        return {0xF6F9F9, 0xD6DDDD, 0xD2F3FF, 0x43B0E2, 0xB1E7FC, 0xBEECFF, 0x2A95CD};
    case 3:
        return {0xF6F4F3, 0xD9D2CD, 0xEFE7E1, 0xA29080, 0xE2D8CF, 0xE8DED6, 0x937E6D};
    default:
        return {0xF8F8F8, 0xDADADA, 0xF9F2EC, 0xE3C4AA, 0xF5E8DE, 0xF8ECE2, 0xDABA9E};
    }
}

void CToolbarHostWnd::CToolbarCmdUIState::Enable(BOOL on)
{
    enabled = on != FALSE;
}

void CToolbarHostWnd::CToolbarCmdUIState::SetCheck(int check)
{
    checked = check != 0;
}

void CToolbarHostWnd::CToolbarCmdUIState::SetRadio(BOOL on)
{
    checked = on != FALSE;
}

void CToolbarHostWnd::CToolbarCmdUIState::SetText(LPCTSTR)
{
}

CToolbarHostWnd::CToolbarHostWnd() = default;

CToolbarHostWnd::~CToolbarHostWnd()
{
    // The window goes first: its destruction still uses the caches and the font.
    if (m_hWnd != nullptr)
    {
        DestroyWindow();
    }
}

BOOL CToolbarHostWnd::Create(CWnd* parent, UINT id)
{
    const LPCTSTR className =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr);
    return CreateEx(0, className, L"ToolbarHost",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                    parent, id);
}

int CToolbarHostWnd::Scale(int length96) const
{
    return brvl::win32::ScaleForDpi(length96, static_cast<UINT>(GetWindowDpi()));
}

int CToolbarHostWnd::GetWindowDpi() const
{
    if (m_hWnd != nullptr)
    {
        const UINT dpi = ::GetDpiForWindow(m_hWnd);
        if (dpi != 0)
        {
            return static_cast<int>(dpi);
        }
        if (const HDC dc = ::GetDC(m_hWnd))
        {
            const int logical = ::GetDeviceCaps(dc, LOGPIXELSX);
            ::ReleaseDC(m_hWnd, dc);
            return logical < 1 ? 96 : logical;
        }
    }
    return 96;
}

void CToolbarHostWnd::UpdateFont()
{
    const int dpi = GetWindowDpi();
    if (m_hWnd == nullptr || dpi == 0 || (m_font != nullptr && m_fontDpi == dpi))
    {
        return;
    }
    LOGFONTW description{};
    NONCLIENTMETRICSW metrics;
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    {
        description = metrics.lfMenuFont;
    }
    else if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description) ==
             0)
    {
        description = LOGFONTW{};
        description.lfHeight = -MulDiv(9, dpi, 72);
        description.lfWeight = FW_NORMAL;
        std::wcsncpy(description.lfFaceName, L"Segoe UI", LF_FACESIZE - 1);
    }
    int screenDpi = 96;
    if (const HDC screen = ::GetDC(nullptr))
    {
        screenDpi = std::max(1, ::GetDeviceCaps(screen, LOGPIXELSY));
        ::ReleaseDC(nullptr, screen);
    }
    description.lfHeight = MulDiv(description.lfHeight, dpi, screenDpi);
    if (m_font != nullptr)
    {
        ::DeleteObject(m_font);
    }
    m_font = ::CreateFontIndirectW(&description);
    m_fontDpi = m_font != nullptr ? dpi : 0;
    if (m_font != nullptr)
    {
        m_fontDescription = description;
    }
}

void CToolbarHostWnd::SetButtons(const std::vector<ToolbarButtonDef>& defs)
{
    // A press or hover belongs to the items being replaced.
    if (m_pressedIndex >= 0 && GetCapture() == this)
    {
        ::ReleaseCapture();
    }
    m_pressedIndex = -1;
    m_hoverIndex = -1;
    m_items.clear();
    m_items.reserve(defs.size());
    for (const ToolbarButtonDef& def : defs)
    {
        ToolbarItem item;
        item.def = def;
        if (def.type == ToolbarButtonDef::kButton)
        {
            item.enabled = def.button.enabled;
            item.checked = def.button.checked;
        }
        else if (def.type == ToolbarButtonDef::kGroupToggle)
        {
            item.enabled = def.groupEnabled;
            item.expanded = def.groupExpanded;
        }
        PrepareTooltip(item);
        m_items.push_back(std::move(item));
    }
    m_overflow = false;
    LayoutButtons();
    UpdateCommandUI();
    if (m_hWnd != nullptr)
    {
        Invalidate(TRUE);
    }
}

void CToolbarHostWnd::Refresh()
{
    UpdateFont();
    ClearScaledImageCache();
    LayoutButtons();
    if (m_hWnd != nullptr)
    {
        Invalidate(TRUE);
    }
}

void CToolbarHostWnd::SetBarHeight(int height96)
{
    height96 = std::max(height96, kMinBarHeight96);
    if (height96 == m_barHeight)
    {
        return;
    }
    m_barHeight = height96;
    Refresh();
    if (CFrameWnd* frame = m_hWnd != nullptr ? GetParentFrame() : nullptr)
    {
        frame->RecalcLayout();
    }
}

void CToolbarHostWnd::SetTheme(int index)
{
    m_themeIndex = index;
    m_colors = ToolbarTheme(index);
    Refresh();
}

void CToolbarHostWnd::SetResourceFolder(const std::wstring& folder, bool relative)
{
    m_resourceFolder = folder;
    m_resourceFolderRelative = relative;
}

bool CToolbarHostWnd::IsHidden(size_t index) const
{
    const ToolbarButtonDef& def = m_items[index].def;
    switch (def.type)
    {
    case ToolbarButtonDef::kButton:
        if (!def.button.visible)
        {
            return true;
        }
        break;
    case ToolbarButtonDef::kGroupToggle:
        if (!def.groupVisible)
        {
            return true;
        }
        break;
    case ToolbarButtonDef::kLabel:
        if (!def.labelVisible)
        {
            return true;
        }
        break;
    default:
        break;
    }
    // A collapsed group before the item may hide it.
    for (size_t g = 0; g < index; ++g)
    {
        const ToolbarItem& toggle = m_items[g];
        if (toggle.def.type != ToolbarButtonDef::kGroupToggle || toggle.expanded)
        {
            continue;
        }
        const std::vector<int>& ids = toggle.def.groupCommandIds;
        if (ids.empty())
        {
            if (index - g <= static_cast<size_t>(std::max(0, toggle.def.groupItemCount)))
            {
                return true;
            }
        }
        else if (def.type == ToolbarButtonDef::kButton &&
                 std::find(ids.begin(), ids.end(), def.button.commandId) != ids.end())
        {
            return true;
        }
    }
    return false;
}

void CToolbarHostWnd::LayoutButtons()
{
    if (m_hWnd == nullptr)
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    const int H = client.Height();
    const int h = std::max(Scale(kMinButtonHeight96),
                           std::max(Scale(kMinButtonHeight96), H - Scale(kItemGap96)) -
                               2 * Scale(kButtonMargin96));
    const int top = (H - h) / 2;
    const int measureHeight = std::max(kMinImageHeight, h - Scale(kMeasureInset96));
    const int right = client.right - Scale(kEdgeInset96);
    FontSpec font;
    font.face = m_fontDescription.lfFaceName[0] != 0 ? m_fontDescription.lfFaceName : L"Segoe UI";
    font.pixelHeight = m_fontDescription.lfHeight != 0 ? std::abs(m_fontDescription.lfHeight)
                                                       : MulDiv(9, GetWindowDpi(), 72);
    font.bold = m_fontDescription.lfWeight >= 600;
    m_overflow = false;
    int x = Scale(kEdgeInset96);
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        ToolbarItem& item = m_items[i];
        item.rect.SetRectEmpty();
        if (IsHidden(i))
        {
            continue;
        }
        const ToolbarButtonDef& def = item.def;
        int w = 0;
        if (def.type == ToolbarButtonDef::kSeparator)
        {
            w = Scale(def.separatorWidth);
            item.rect = CRect(x, top, x + std::max(0, w), top + h);
            x += std::max(0, w);
            continue;
        }
        if (def.type == ToolbarButtonDef::kLabel)
        {
            w = std::max(Scale(def.labelMinWidth), 2 * Scale(kLabelPadding96));
            if (!def.labelText.empty())
            {
                w = std::max(w, 2 * Scale(kLabelPadding96) + TextWidth(def.labelText, font));
            }
        }
        else if (IsButtonLike(def.type))
        {
            const bool group = def.type == ToolbarButtonDef::kGroupToggle;
            w = Scale(kButtonWidth96);
            if (Gdiplus::Image* image = GetScaledImage(item, measureHeight))
            {
                w = std::max(w, static_cast<int>(image->GetWidth()) + 2 * Scale(kImagePadding96));
            }
            const int mode = group ? def.groupDisplayMode : def.button.displayMode;
            const int width96 = group ? def.groupWidth : def.button.width;
            if (mode == 1 && width96 > 0)
            {
                w = std::max(w, Scale(width96));
            }
            if (!group && mode == 2 && !def.button.caption.empty())
            {
                w += TextWidth(def.button.caption, font) + Scale(kCaptionGap96);
            }
            if (group)
            {
                w += Scale(kGroupMarker96);
            }
        }
        else
        {
            continue; // an unknown kind takes no room
        }
        if (x + w > right)
        {
            m_overflow = true;
            continue;
        }
        item.rect = CRect(x, top, x + w, top + h);
        x += w + Scale(kItemGap96);
    }
    RegisterTools();
}

void CToolbarHostWnd::RegisterTools()
{
    if (m_hWnd == nullptr)
    {
        return;
    }
    if (m_toolTip != nullptr && m_toolTip->m_hWnd != nullptr)
    {
        m_toolTip->DestroyWindow();
    }
    m_toolTip = std::make_unique<CToolTipCtrl>();
    if (!m_toolTip->Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX))
    {
        m_toolTip.reset();
        return;
    }
    m_toolTip->SetMaxTipWidth(kMaxTipWidth);
    m_toolTip->Activate(TRUE);
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        const ToolbarItem& item = m_items[i];
        if (IsButtonLike(item.def.type) && !item.rect.IsRectEmpty())
        {
            m_toolTip->AddTool(this, LPSTR_TEXTCALLBACK, &item.rect, kFirstToolId + i);
        }
    }
}

CWnd* CToolbarHostWnd::CommandTarget() const
{
    if (m_hWnd == nullptr)
    {
        return nullptr;
    }
    if (CFrameWnd* frame = GetParentFrame())
    {
        return frame;
    }
    if (CWnd* owner = GetOwner())
    {
        return owner;
    }
    return GetParent();
}

void CToolbarHostWnd::UpdateCommandUI()
{
    CWnd* target = CommandTarget();
    bool changed = false;
    for (ToolbarItem& item : m_items)
    {
        if (!IsButtonLike(item.def.type))
        {
            continue;
        }
        const bool button = item.def.type == ToolbarButtonDef::kButton;
        const int id = FaceOf(item.def).commandId;
        bool enabled = true;
        bool checked = false;
        if (id == 0)
        {
            enabled = button ? item.def.button.enabled : item.def.groupEnabled;
        }
        else if (target != nullptr)
        {
            CToolbarCmdUIState state(static_cast<UINT>(id));
            const BOOL handled = target->OnCmdMsg(
                static_cast<UINT>(id), static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
            enabled = state.enabled;
            checked = handled && button && state.checked;
        }
        changed = changed || enabled != item.enabled || checked != item.checked;
        item.enabled = enabled;
        item.checked = checked;
    }
    if (changed && m_hWnd != nullptr)
    {
        Invalidate(FALSE);
    }
}

int CToolbarHostWnd::HitTest(CPoint point) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        const ToolbarItem& item = m_items[i];
        if (IsButtonLike(item.def.type) && !item.rect.IsRectEmpty() && item.rect.PtInRect(point))
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CToolbarHostWnd::RepaintItem(int index)
{
    if (index >= 0 && static_cast<size_t>(index) < m_items.size() && m_hWnd != nullptr)
    {
        InvalidateRect(&m_items[static_cast<size_t>(index)].rect, FALSE);
    }
}

BOOL CToolbarHostWnd::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip != nullptr && m_toolTip->m_hWnd != nullptr)
    {
        m_toolTip->RelayEvent(msg);
    }
    return CWnd::PreTranslateMessage(msg);
}

BOOL CToolbarHostWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr || header->code != TTN_GETDISPINFOW)
    {
        return CWnd::OnNotify(wParam, lParam, result);
    }
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    const UINT_PTR id = header->idFrom;
    if (id < kFirstToolId || id - kFirstToolId >= m_items.size())
    {
        return TRUE;
    }
    const ToolbarItem& item = m_items[id - kFirstToolId];
    m_tipTitle = item.tooltipTitle;
    m_tipText = item.tooltipText.empty() ? item.tooltipTitle : item.tooltipText;
    if (m_toolTip != nullptr && m_toolTip->m_hWnd != nullptr)
    {
        if (m_tipTitle.empty())
        {
            m_toolTip->SetTitle(0, L"");
        }
        else
        {
            m_toolTip->SetTitle(TTI_INFO, m_tipTitle.c_str());
        }
    }
    info->lpszText = m_tipText.data();
    if (result != nullptr)
    {
        *result = 0;
    }
    return TRUE;
}

int CToolbarHostWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
    {
        return -1;
    }
    UpdateFont();
    RegisterTools();
    return m_toolTip != nullptr ? 0 : -1;
}

void CToolbarHostWnd::OnDestroy()
{
    if (m_toolTip != nullptr && m_toolTip->m_hWnd != nullptr)
    {
        m_toolTip->DestroyWindow();
    }
    m_toolTip.reset();
    ClearScaledImageCache();
    ClearImageCache();
    if (m_font != nullptr)
    {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
    m_fontDpi = 0;
    CWnd::OnDestroy();
}

void CToolbarHostWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    LayoutButtons();
    Invalidate(TRUE);
}

BOOL CToolbarHostWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

CToolbarHostWnd::State CToolbarHostWnd::GetState()
{
    State state;
    CRect client;
    if (m_hWnd != nullptr)
    {
        GetClientRect(&client);
    }
    state.size = client.Size();
    state.dpi = static_cast<UINT>(GetWindowDpi());
    state.colors = m_colors;
    if (m_fontDescription.lfFaceName[0] != 0)
    {
        state.font.face = m_fontDescription.lfFaceName;
    }
    state.font.pixelHeight = m_fontDescription.lfHeight != 0
                                 ? std::abs(m_fontDescription.lfHeight)
                                 : MulDiv(9, static_cast<int>(state.dpi), 72);
    state.font.bold = m_fontDescription.lfWeight >= 600;
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        const ToolbarItem& item = m_items[i];
        if (item.rect.IsRectEmpty())
        {
            continue;
        }
        ItemState shown;
        shown.type = item.def.type;
        shown.rect = item.rect;
        shown.enabled = item.enabled;
        shown.checked = item.checked;
        shown.expanded = item.expanded;
        shown.hover = static_cast<int>(i) == m_hoverIndex;
        shown.pressed = static_cast<int>(i) == m_pressedIndex;
        shown.labelText = item.def.labelText;
        if (item.def.type == ToolbarButtonDef::kButton && item.def.button.displayMode == 2)
        {
            shown.caption = item.def.button.caption;
        }
        if (IsButtonLike(item.def.type))
        {
            const int height =
                std::max(Scale(kMinImageHeight), item.rect.Height() - 2 * Scale(kButtonMargin96));
            shown.image = GetScaledImage(item, height);
        }
        state.items.push_back(std::move(shown));
    }
    return state;
}

void CToolbarHostWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    using brvl::win32::ScaleForDpi;
    const auto s = [&](int length96) { return ScaleForDpi(length96, state.dpi); };
    const int width = state.size.cx;
    const int height = state.size.cy;
    if (width <= 0 || height <= 0)
    {
        return;
    }
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf); // whole numbers are pixel edges
    FillSolid(graphics, 0, 0, width, height, state.colors.background);
    const int line = std::max(1, s(1));
    FillSolid(graphics, 0, height - line, width, line, state.colors.bottomLine);
    const Gdiplus::Font font = BarFont(state.font);
    for (const ItemState& item : state.items)
    {
        const CRect& r = item.rect;
        if (r.IsRectEmpty())
        {
            continue;
        }
        switch (item.type)
        {
        case ToolbarButtonDef::kButton:
        case ToolbarButtonDef::kGroupToggle:
            DrawButton(graphics, state, item, font);
            break;
        case ToolbarButtonDef::kSeparator:
            FillSolid(graphics, r.left + (r.Width() - line) / 2, r.top + s(kSeparatorInset96), line,
                      r.Height() - 2 * s(kSeparatorInset96), toolbar_colors::kSeparator);
            break;
        case ToolbarButtonDef::kLabel:
            DrawText(
                graphics, item.labelText, font,
                CRect(r.left + s(kLabelPadding96), r.top, r.right - s(kLabelPadding96), r.bottom),
                toolbar_colors::kLabelText, Gdiplus::StringAlignmentNear);
            break;
        default:
            break;
        }
    }
}

void CToolbarHostWnd::OnPaint()
{
    CPaintDC dc(this);
    const State state = GetState();
    if (state.size.cx <= 0 || state.size.cy <= 0)
    {
        return;
    }
    // Painted off-screen and copied in one piece, so the bar never flickers.
    Gdiplus::Bitmap buffer(state.size.cx, state.size.cy);
    if (buffer.GetLastStatus() != Gdiplus::Ok)
    {
        return;
    }
    {
        Gdiplus::Graphics graphics(&buffer);
        Draw(graphics, state);
    }
    Gdiplus::Graphics screen(dc.GetSafeHdc());
    screen.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf); // pixel for pixel
    screen.DrawImage(&buffer, 0, 0);
}

void CToolbarHostWnd::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_trackingLeave)
    {
        TRACKMOUSEEVENT request;
        request.cbSize = sizeof(request);
        request.dwFlags = TME_LEAVE;
        request.hwndTrack = m_hWnd;
        m_trackingLeave = ::TrackMouseEvent(&request) != FALSE;
    }
    m_mouse = point;
    const int hit = HitTest(point);
    if (hit != m_hoverIndex)
    {
        RepaintItem(m_hoverIndex);
        m_hoverIndex = hit;
        RepaintItem(m_hoverIndex);
    }
    CWnd::OnMouseMove(flags, point);
}

void CToolbarHostWnd::OnMouseLeave()
{
    m_trackingLeave = false;
    const int old = m_hoverIndex;
    m_hoverIndex = -1;
    RepaintItem(old);
}

void CToolbarHostWnd::OnLButtonDown(UINT flags, CPoint point)
{
    const int hit = HitTest(point);
    if (hit >= 0 && m_items[static_cast<size_t>(hit)].enabled)
    {
        m_pressedIndex = hit;
        RepaintItem(hit);
        SetCapture();
    }
    CWnd::OnLButtonDown(flags, point);
}

void CToolbarHostWnd::OnLButtonUp(UINT flags, CPoint point)
{
    if (GetCapture() == this)
    {
        ::ReleaseCapture();
    }
    const int pressed = m_pressedIndex;
    m_pressedIndex = -1;
    RepaintItem(pressed);
    const int hit = HitTest(point);
    if (pressed >= 0 && hit == pressed && static_cast<size_t>(pressed) < m_items.size() &&
        m_items[static_cast<size_t>(pressed)].enabled)
    {
        ToolbarItem& item = m_items[static_cast<size_t>(pressed)];
        const bool group = item.def.type == ToolbarButtonDef::kGroupToggle;
        if (group)
        {
            item.expanded = !item.expanded;
        }
        const int id = FaceOf(item.def).commandId;
        if (id != 0)
        {
            if (CWnd* target = CommandTarget())
            {
                target->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0),
                                    reinterpret_cast<LPARAM>(m_hWnd));
            }
        }
        // The command may have destroyed the bar or replaced its items.
        if (m_hWnd == nullptr)
        {
            return;
        }
        if (group)
        {
            LayoutButtons();
        }
        UpdateCommandUI();
        Invalidate(FALSE);
    }
    CWnd::OnLButtonUp(flags, point);
}

LRESULT CToolbarHostWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    UpdateCommandUI();
    return 0;
}

LRESULT CToolbarHostWnd::OnDpiChanged(WPARAM, LPARAM)
{
    Refresh();
    return 0;
}
