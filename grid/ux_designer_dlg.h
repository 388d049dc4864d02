#pragma once

#include "grid/color_well_strip_wnd.h"
#include "grid/control_catalog.h"
#include "grid/designer_grid_wnd.h"
#include "grid/designer_palette_wnd.h"
#include "platform/mfc/afx_controls.h"
#include "platform/mfc/afxwin.h"

#include <vector>

// The developer's layout editor: the kind palette, the placement grid, a strip
// of accent colours and the fields of the layout and of the selected item. It
// loads and exports layout files and test-runs the layout in the test dialog.
// Modeless: "Close" destroys the window, the owner keeps the object.
class CUXDesignerDlg : public CDialogEx
{
    DECLARE_DYNAMIC(CUXDesignerDlg)

public:
    static constexpr UINT kTemplateId = 316;
    static constexpr COLORREF kDefaultAccent = 0x5284E5;

    explicit CUXDesignerDlg(CWnd* parent = nullptr);
    ~CUXDesignerDlg() override;

    // "<executable's folder>/plugins", created when missing (a failure is
    // ignored); no trailing separator.
    static CString GetPluginsFolder();

    void LayoutChildren();
    void ShowLayoutFields();
    void ShowItemFields();
    void ApplyItemFields();

    CStatic gridPlaceholder;
    CStatic palettePlaceholder;
    CDesignerGridWnd grid;
    CDesignerPaletteWnd palette;
    std::vector<ControlCatalogEntry> catalogue;
    bool updatingFields = false;
    int newItemDrawBorder = 0;
    int newItemDrawBackground = 0;
    SIZE initialClientSize{0, 0};
    RECT initialChildRects[4]{};
    int drawBorderCheck = 0;
    int drawBackgroundCheck = 0;
    CString pluginIdText;
    CString parameterIdText;
    COLORREF currentColor = kDefaultAccent;
    CStatic colourWellPlaceholder;
    CColorWellStripWnd colourWells;
    int cellSizeValue = 0;
    int paddingValue = 0;
    CStatic rule;
    CString toolTipText;
    CString labelText;
    CString copiedParameterId;
    CString copiedToolTip;
    CString copiedLabel;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter must not end the designer.
    void OnOK() override {}

    afx_msg void OnExport();
    afx_msg void OnLoad();
    afx_msg void OnTest();
    afx_msg void OnCopyFields();
    afx_msg void OnPasteFields();
    afx_msg void OnClose();
    afx_msg void OnDrawBorderClicked();
    afx_msg void OnDrawBackgroundClicked();
    afx_msg void OnPluginIdChanged();
    afx_msg void OnItemTextChanged();
    afx_msg void OnCellSizeChanged();
    afx_msg void OnPaddingChanged();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnPaletteSelect(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaletteAdd(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDesignerSelection(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnColorWellPicked(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaletteDrag(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaletteDrop(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    const ControlCatalogEntry* EntryAt(WPARAM index) const;
    DesignerItem* SelectedItem();
    void GiveStripCurrentColor();
    void HideDropPreview();
    void TellGridNewItemFlags();
};
