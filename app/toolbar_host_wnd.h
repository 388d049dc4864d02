#pragma once

#include "platform/mfc/afxwin.h"
#include "platform/mfc/cmd_ui.h"
#include "platform/win32/gdi.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Gdiplus
{
class Graphics;
class Image;
class Bitmap;
} // namespace Gdiplus

class CToolTipCtrl;

// The face of a command button or of a group toggle.
struct ToolbarButtonFace
{
    int commandId = 0;      // 0: none
    std::wstring imageName; // resource name, decimal id or file name
    int imageSource = 1;    // 0 resource of the program, 1 file in the resource folder
    std::wstring tooltipTitle;
    std::wstring tooltipText;
    std::wstring caption; // command buttons only
    bool visible = true;  // command buttons only
    bool enabled = true;  // command buttons only
    bool checked = false; // command buttons only
    int displayMode = 0;  // 0 image only, 1 fixed minimum width, 2 image and caption
    int width = 0;        // minimum width at 96 DPI for display mode 1
};

// One item as the owner describes it.
struct ToolbarButtonDef
{
    enum Type
    {
        kButton = 0,
        kSeparator = 1,
        kGroupToggle = 2,
        kLabel = 3,
    };

    int type = kButton;
    ToolbarButtonFace button;
    int separatorWidth = 8;
    // Only the command id, image and tooltip fields of a group's face count.
    ToolbarButtonFace group;
    bool groupVisible = true;
    bool groupEnabled = true;
    int groupDisplayMode = 0;
    int groupWidth = 0;
    int groupItemCount = 0;           // items after the toggle hidden while collapsed, without ids
    std::vector<int> groupCommandIds; // command buttons hidden while collapsed
    bool groupExpanded = true;
    std::wstring labelText;
    bool labelVisible = true;
    int labelMinWidth = 0;
};

// What the host keeps per item.
struct ToolbarItem
{
    ToolbarButtonDef def;
    CRect rect; // empty when hidden or not fitting
    bool enabled = true;
    bool checked = false;
    bool expanded = true; // group toggles
    std::wstring tooltipTitle;
    std::wstring tooltipText;
};

// The colours of a theme (0x00BBGGRR).
struct ToolbarThemeColors
{
    COLORREF background;
    COLORREF bottomLine;
    COLORREF hoverFill;
    COLORREF hoverBorder; // also the pressed border
    COLORREF pressedFill;
    COLORREF checkedFill;
    COLORREF checkedBorder;
};

// Themes 0 to 3; any other index gives theme 0.
ToolbarThemeColors ToolbarTheme(int index);

// The colours every theme shares.
namespace toolbar_colors
{
constexpr COLORREF kDisabledFill = 0xF2F2F2;
constexpr COLORREF kSeparator = 0xC4C4C4;
constexpr COLORREF kLabelText = 0x484848;
constexpr COLORREF kCaptionText = 0x1E1E1E;
constexpr COLORREF kCaptionTextDisabled = 0x8C8C8C;
constexpr COLORREF kGroupDivider = 0xD0D0D0;
constexpr COLORREF kGroupGlyph = 0x464646;
constexpr COLORREF kGroupGlyphDisabled = 0x8C8C8C;
constexpr COLORREF kMissingImageFrame = 0xAAAAAA;
} // namespace toolbar_colors

// The custom-drawn toolbar of the main frame: one row of command buttons with
// PNG images, separators, group toggles and text labels, scaled with the
// window's DPI. A click sends the button's command to the frame; the frame's
// update handlers decide what is enabled and checked.
class CToolbarHostWnd : public CWnd
{
    DECLARE_DYNAMIC(CToolbarHostWnd)

public:
    // Records what an update handler decided for one command.
    class CToolbarCmdUIState : public CCmdUI
    {
    public:
        explicit CToolbarCmdUIState(UINT id) { m_nID = id; }
        void Enable(BOOL on = TRUE) override;
        void SetCheck(int check = 1) override;
        void SetRadio(BOOL on = TRUE) override;
        void SetText(LPCTSTR text) override;

        bool enabled = true;
        bool checked = false;
    };

    // The bar font as Draw uses it: face, em height in pixels and weight.
    struct FontSpec
    {
        std::wstring face = L"Segoe UI";
        int pixelHeight = 12;
        bool bold = false;
    };

    // One item as painted.
    struct ItemState
    {
        int type = ToolbarButtonDef::kButton;
        CRect rect;
        bool enabled = true;
        bool checked = false;
        bool expanded = true;
        bool hover = false;
        bool pressed = false;
        std::wstring caption; // shown only in display mode 2 (command buttons)
        std::wstring labelText;
        Gdiplus::Image* image = nullptr; // already scaled to the content height; not owned
    };

    // A snapshot of all the bar shows.
    struct State
    {
        CSize size;
        UINT dpi = 96;
        ToolbarThemeColors colors = ToolbarTheme(0);
        FontSpec font;
        std::vector<ItemState> items; // only those with a rectangle
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    // The snapshot of the window (scales the images the painting needs).
    State GetState();

    CToolbarHostWnd();
    ~CToolbarHostWnd() override;

    BOOL Create(CWnd* parent, UINT id);
    void SetButtons(const std::vector<ToolbarButtonDef>& defs);
    // Height at 96 DPI, never below 24.
    void SetBarHeight(int height96);
    int GetBarHeight() const { return m_barHeight; }
    void SetTheme(int index);
    int GetThemeIndex() const { return m_themeIndex; }
    // Where file images are found; a relative folder is taken beside the
    // program while `relative` is set.
    void SetResourceFolder(const std::wstring& folder, bool relative);

    void UpdateCommandUI();
    void LayoutButtons();
    void UpdateFont();
    int GetWindowDpi() const;

    const std::vector<ToolbarItem>& Items() const { return m_items; }
    bool HasOverflow() const { return m_overflow; }
    int HoverIndex() const { return m_hoverIndex; }
    int PressedIndex() const { return m_pressedIndex; }
    const LOGFONTW& BarFontDescription() const { return m_fontDescription; }

    // Images (owned by the caches: draw them, keep no pointer beyond a paint).
    Gdiplus::Image* GetImage(const ToolbarItem& item);
    Gdiplus::Image* GetScaledImage(const ToolbarItem& item, int height);
    static Gdiplus::Image* LoadPngResource(const std::wstring& name);
    void ClearScaledImageCache();
    void ClearImageCache();
    size_t CachedImageCount() const { return m_images.size(); }
    size_t ScaledImageCount() const;
    // The folder file images are read from, resolved against the program's folder.
    std::wstring ResolvedResourceFolder() const;
    // The file an image name of source 1 is read from.
    std::wstring ImageFilePath(const std::wstring& imageName) const;

protected:
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    afx_msg LRESULT OnDpiChanged(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    int Scale(int length96) const;
    bool IsHidden(size_t index) const;
    int HitTest(CPoint point) const;
    CWnd* CommandTarget() const;
    void RegisterTools();
    void RepaintItem(int index);
    // Layout, font and scaled images after the DPI, the theme or the height changed.
    void Refresh();

    std::vector<ToolbarItem> m_items;
    int m_barHeight = 36;
    ToolbarThemeColors m_colors = ToolbarTheme(0);
    int m_themeIndex = 0;
    CPoint m_mouse;
    int m_hoverIndex = -1;
    int m_pressedIndex = -1;
    bool m_trackingLeave = false;
    bool m_overflow = false;
    std::wstring m_resourceFolder = L"resources";
    bool m_resourceFolderRelative = true;
    std::wstring m_tipTitle;
    std::wstring m_tipText;
    HFONT m_font = nullptr;
    LOGFONTW m_fontDescription{};
    int m_fontDpi = 0;
    std::unique_ptr<CToolTipCtrl> m_toolTip;
    std::map<std::wstring, std::unique_ptr<Gdiplus::Image>> m_images;
    std::map<std::wstring, std::map<int, std::unique_ptr<Gdiplus::Bitmap>>> m_scaledImages;
};
