#include "grid/ux_designer_dlg.h"

#include "base/unicode_text.h"
#include "grid/designer_test_dlg.h"
#include "grid/module_folder.h"
#include "platform/mfc/afx_message_box.h"
#include "platform/mfc/common_dialogs.h"
#include "platform/mfc/win_app.h"
#include "platform/win32/shell_folders.h"

#include <filesystem>
#include <string>
#include <system_error>

IMPLEMENT_DYNAMIC(CUXDesignerDlg, CDialogEx)

namespace
{

constexpr int kExportButton = 1000;
constexpr int kPaletteFrame = 1001;
constexpr int kGridFrame = 1002;
constexpr int kLoadButton = 1003;
constexpr int kPluginIdEdit = 1004;
constexpr int kDrawBorderCheck = 1005;
constexpr int kDrawBackgroundCheck = 1006;
constexpr int kParameterIdEdit = 1008;
constexpr int kToolTipEdit = 1009;
constexpr int kColourWellFrame = 1010;
constexpr int kCellSizeEdit = 1011;
constexpr int kPaddingEdit = 1012;
constexpr int kRule = 1013;
constexpr int kTestButton = 1014;
constexpr int kLabelEdit = 1015;
constexpr int kCopyButton = 1021;
constexpr int kPasteButton = 1022;
constexpr int kCloseButton = 1023;

constexpr const wchar_t* kProfileSection = L"UXDesigner";
constexpr const wchar_t* kJsonFilter = L"JSON Files (*.json)|*.json||";

// The layout a new designer starts with, and the one a load reads into.
DesignerLayout EmptyLayout(const std::string& pluginId)
{
    DesignerLayout layout;
    layout.pluginId = pluginId;
    layout.cellSize = 40;
    layout.padding = 2;
    layout.nextItemCounter = 1;
    return layout;
}

CString Wide(const std::string& text)
{
    return CString(Utf8ToWide(text));
}

std::string Narrow(const CString& text)
{
    return WideToUtf8(std::wstring_view(text.GetString(), size_t(text.GetLength())));
}

// A placeholder's rectangle in the dialog's client coordinates.
RECT ClientRectOf(CWnd& dialog, CWnd& child)
{
    CRect rect;
    child.GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    return rect;
}

} // namespace

BEGIN_MESSAGE_MAP(CUXDesignerDlg, CDialogEx)
ON_BN_CLICKED(kExportButton, &CUXDesignerDlg::OnExport)
ON_BN_CLICKED(kLoadButton, &CUXDesignerDlg::OnLoad)
ON_BN_CLICKED(kTestButton, &CUXDesignerDlg::OnTest)
ON_BN_CLICKED(kCopyButton, &CUXDesignerDlg::OnCopyFields)
ON_BN_CLICKED(kPasteButton, &CUXDesignerDlg::OnPasteFields)
ON_BN_CLICKED(kCloseButton, &CUXDesignerDlg::OnClose)
ON_BN_CLICKED(kDrawBorderCheck, &CUXDesignerDlg::OnDrawBorderClicked)
ON_BN_CLICKED(kDrawBackgroundCheck, &CUXDesignerDlg::OnDrawBackgroundClicked)
ON_EN_CHANGE(kPluginIdEdit, &CUXDesignerDlg::OnPluginIdChanged)
ON_EN_CHANGE(kParameterIdEdit, &CUXDesignerDlg::OnItemTextChanged)
ON_EN_CHANGE(kToolTipEdit, &CUXDesignerDlg::OnItemTextChanged)
ON_EN_CHANGE(kLabelEdit, &CUXDesignerDlg::OnItemTextChanged)
ON_EN_CHANGE(kCellSizeEdit, &CUXDesignerDlg::OnCellSizeChanged)
ON_EN_CHANGE(kPaddingEdit, &CUXDesignerDlg::OnPaddingChanged)
ON_WM_SIZE()
ON_WM_DESTROY()
ON_MESSAGE(WMU_PALETTE_SELECT, &CUXDesignerDlg::OnPaletteSelect)
ON_MESSAGE(WMU_PALETTE_ADD, &CUXDesignerDlg::OnPaletteAdd)
ON_MESSAGE(WMU_DESIGNER_SELECTION, &CUXDesignerDlg::OnDesignerSelection)
ON_MESSAGE(WMU_COLOR_WELL_PICKED, &CUXDesignerDlg::OnColorWellPicked)
ON_MESSAGE(WMU_PALETTE_DRAG, &CUXDesignerDlg::OnPaletteDrag)
ON_MESSAGE(WMU_PALETTE_DROP, &CUXDesignerDlg::OnPaletteDrop)
END_MESSAGE_MAP()

CUXDesignerDlg::CUXDesignerDlg(CWnd* parent) : CDialogEx(kTemplateId, parent)
{
}

CUXDesignerDlg::~CUXDesignerDlg() = default;

void CUXDesignerDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, kGridFrame, gridPlaceholder);
    DDX_Control(pDX, kPaletteFrame, palettePlaceholder);
    DDX_Check(pDX, kDrawBorderCheck, drawBorderCheck);
    DDX_Check(pDX, kDrawBackgroundCheck, drawBackgroundCheck);
    DDX_Text(pDX, kPluginIdEdit, pluginIdText);
    DDX_Text(pDX, kParameterIdEdit, parameterIdText);
    DDX_Control(pDX, kColourWellFrame, colourWellPlaceholder);
    DDX_Text(pDX, kCellSizeEdit, cellSizeValue);
    DDX_Text(pDX, kPaddingEdit, paddingValue);
    DDX_Control(pDX, kRule, rule);
    DDX_Text(pDX, kToolTipEdit, toolTipText);
    DDX_Text(pDX, kLabelEdit, labelText);
}

BOOL CUXDesignerDlg::OnInitDialog()
{
    // Writing the members into the edits makes them report changes; the
    // grid does not exist yet and the fields are only half written.
    updatingFields = true;
    CDialogEx::OnInitDialog();
    updatingFields = false;
    catalogue = BuildControlCatalog();
    CRect client;
    GetClientRect(&client);
    initialClientSize = SIZE{client.Width(), client.Height()};

    initialChildRects[0] = ClientRectOf(*this, palettePlaceholder);
    palette.Create(initialChildRects[0], this);
    palette.SetEntries(catalogue);
    palettePlaceholder.ShowWindow(SW_HIDE);

    initialChildRects[1] = ClientRectOf(*this, gridPlaceholder);
    grid.Create(initialChildRects[1], this);
    grid.SetLayout(EmptyLayout("designer.sample"));
    TellGridNewItemFlags();
    gridPlaceholder.ShowWindow(SW_HIDE);

    initialChildRects[2] = ClientRectOf(*this, colourWellPlaceholder);
    colourWells.Create(initialChildRects[2], this);
    GiveStripCurrentColor();
    colourWellPlaceholder.ShowWindow(SW_HIDE);

    initialChildRects[3] = ClientRectOf(*this, rule);

    if (CWinApp* app = AfxGetApp())
    {
        const int width = int(app->GetProfileInt(kProfileSection, L"Width", -1));
        const int height = int(app->GetProfileInt(kProfileSection, L"Height", -1));
        if (width > 0 && height > 0)
        {
            SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    ShowLayoutFields();
    ShowItemFields();
    LayoutChildren();
    return TRUE;
}

void CUXDesignerDlg::LayoutChildren()
{
    if (!::IsWindow(palette.GetSafeHwnd()) || !::IsWindow(grid.GetSafeHwnd()) ||
        !::IsWindow(colourWells.GetSafeHwnd()))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    const int dx = client.Width() - initialClientSize.cx;
    const int dy = client.Height() - initialClientSize.cy;

    CRect paletteRect(initialChildRects[0]);
    paletteRect.bottom += dy;
    CRect gridRect(initialChildRects[1]);
    gridRect.right += dx;
    gridRect.bottom += dy;
    CRect stripRect(initialChildRects[2]);
    stripRect.right += dx;
    CRect ruleRect(initialChildRects[3]);
    ruleRect.right += dx;

    palette.MoveWindow(&paletteRect, TRUE);
    grid.MoveWindow(&gridRect, TRUE);
    colourWells.MoveWindow(&stripRect, TRUE);
    if (::IsWindow(rule.GetSafeHwnd()))
    {
        rule.MoveWindow(&ruleRect, TRUE);
    }
}

void CUXDesignerDlg::OnSize(UINT type, int cx, int cy)
{
    CDialogEx::OnSize(type, cx, cy);
    LayoutChildren();
}

// ---------------------------------------------------------------- fields

void CUXDesignerDlg::ShowLayoutFields()
{
    updatingFields = true;
    pluginIdText = Wide(grid.layout.pluginId);
    cellSizeValue = grid.layout.cellSize;
    paddingValue = grid.layout.padding;
    UpdateData(FALSE);
    updatingFields = false;
}

void CUXDesignerDlg::ShowItemFields()
{
    updatingFields = true;
    if (const DesignerItem* item = SelectedItem())
    {
        drawBorderCheck = item->drawBorder ? 1 : 0;
        drawBackgroundCheck = item->drawBackground ? 1 : 0;
        parameterIdText = Wide(item->parameterId);
        labelText = Wide(item->label);
        toolTipText = Wide(item->toolTip);
        currentColor = item->accentColor;
    }
    else
    {
        drawBorderCheck = 0;
        drawBackgroundCheck = 0;
        parameterIdText.Empty();
        labelText.Empty();
        toolTipText.Empty();
        currentColor = kDefaultAccent;
    }
    GiveStripCurrentColor();
    UpdateData(FALSE);
    updatingFields = false;
}

void CUXDesignerDlg::ApplyItemFields()
{
    DesignerItem* item = SelectedItem();
    if (item == nullptr)
    {
        return;
    }
    item->drawBorder = drawBorderCheck == 1;
    item->drawBackground = drawBackgroundCheck == 1;
    item->parameterId = Narrow(parameterIdText);
    item->label = Narrow(labelText);
    item->toolTip = Narrow(toolTipText);
    item->accentColor = currentColor;
    GiveStripCurrentColor();
    grid.Invalidate(FALSE);
}

DesignerItem* CUXDesignerDlg::SelectedItem()
{
    for (DesignerItem& item : grid.layout.items)
    {
        if (item.instanceId == grid.selectedId)
        {
            return &item;
        }
    }
    return nullptr;
}

void CUXDesignerDlg::GiveStripCurrentColor()
{
    if (!::IsWindow(colourWells.GetSafeHwnd()))
    {
        return;
    }
    colourWells.AddColor(currentColor);
    colourWells.SetCurrentColor(currentColor);
}

void CUXDesignerDlg::TellGridNewItemFlags()
{
    grid.newItemDrawBorder = newItemDrawBorder == 1;
    grid.newItemDrawBackground = newItemDrawBackground == 1;
}

// ---------------------------------------------------------------- notifications

void CUXDesignerDlg::OnDrawBorderClicked()
{
    if (updatingFields)
    {
        return;
    }
    UpdateData(TRUE);
    newItemDrawBorder = drawBorderCheck;
    TellGridNewItemFlags();
    ApplyItemFields();
}

void CUXDesignerDlg::OnDrawBackgroundClicked()
{
    if (updatingFields)
    {
        return;
    }
    UpdateData(TRUE);
    newItemDrawBackground = drawBackgroundCheck;
    TellGridNewItemFlags();
    ApplyItemFields();
}

void CUXDesignerDlg::OnPluginIdChanged()
{
    if (updatingFields)
    {
        return;
    }
    UpdateData(TRUE);
    grid.layout.pluginId = Narrow(pluginIdText);
}

void CUXDesignerDlg::OnItemTextChanged()
{
    if (updatingFields)
    {
        return;
    }
    UpdateData(TRUE);
    ApplyItemFields();
}

void CUXDesignerDlg::OnCellSizeChanged()
{
    if (updatingFields)
    {
        return;
    }
    UpdateData(TRUE);
    grid.layout.cellSize = cellSizeValue > 0 ? cellSizeValue : 80;
    grid.Invalidate(FALSE);
}

void CUXDesignerDlg::OnPaddingChanged()
{
    if (updatingFields)
    {
        return;
    }
    UpdateData(TRUE);
    grid.layout.padding = paddingValue >= 0 ? paddingValue : 0;
    grid.Invalidate(FALSE);
}

void CUXDesignerDlg::OnCopyFields()
{
    UpdateData(TRUE);
    copiedParameterId = parameterIdText;
    copiedToolTip = toolTipText;
    copiedLabel = labelText;
}

void CUXDesignerDlg::OnPasteFields()
{
    UpdateData(TRUE);
    parameterIdText = copiedParameterId;
    toolTipText = copiedToolTip;
    labelText = copiedLabel;
    // The edits' own change notifications would apply half-written fields.
    updatingFields = true;
    UpdateData(FALSE);
    updatingFields = false;
    ApplyItemFields();
}

void CUXDesignerDlg::OnClose()
{
    DestroyWindow();
}

void CUXDesignerDlg::OnDestroy()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (::IsWindow(m_hWnd) && ::GetWindowPlacement(m_hWnd, &placement))
    {
        const RECT& normal = placement.rcNormalPosition;
        const int width = normal.right - normal.left;
        const int height = normal.bottom - normal.top;
        CWinApp* app = AfxGetApp();
        if (app != nullptr && width > 0 && height > 0)
        {
            app->WriteProfileInt(kProfileSection, L"Width", width);
            app->WriteProfileInt(kProfileSection, L"Height", height);
        }
    }
    CDialogEx::OnDestroy();
}

// ---------------------------------------------------------------- designer messages

const ControlCatalogEntry* CUXDesignerDlg::EntryAt(WPARAM index) const
{
    const auto signedIndex = static_cast<INT_PTR>(index);
    if (signedIndex < 0 || size_t(signedIndex) >= catalogue.size())
    {
        return nullptr;
    }
    return &catalogue[size_t(signedIndex)];
}

void CUXDesignerDlg::HideDropPreview()
{
    grid.UpdateDropPreview(nullptr, POINT{0, 0});
}

LRESULT CUXDesignerDlg::OnPaletteSelect(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CUXDesignerDlg::OnPaletteAdd(WPARAM wParam, LPARAM)
{
    if (const ControlCatalogEntry* entry = EntryAt(wParam))
    {
        grid.AddItem(*entry);
        ShowItemFields();
    }
    return 0;
}

LRESULT CUXDesignerDlg::OnDesignerSelection(WPARAM, LPARAM)
{
    ShowItemFields();
    return 0;
}

LRESULT CUXDesignerDlg::OnColorWellPicked(WPARAM wParam, LPARAM)
{
    currentColor = COLORREF(wParam);
    ApplyItemFields();
    return 0;
}

LRESULT CUXDesignerDlg::OnPaletteDrag(WPARAM wParam, LPARAM lParam)
{
    const ControlCatalogEntry* entry = EntryAt(wParam);
    if (entry != nullptr && lParam != LPARAM(-1))
    {
        grid.UpdateDropPreview(entry, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    }
    else
    {
        HideDropPreview();
    }
    return 0;
}

LRESULT CUXDesignerDlg::OnPaletteDrop(WPARAM wParam, LPARAM lParam)
{
    const ControlCatalogEntry* entry = EntryAt(wParam);
    if (entry == nullptr)
    {
        HideDropPreview();
        return 0;
    }
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    grid.ScreenToClient(&point);
    grid.DropAt(*entry, point);
    HideDropPreview();
    ShowItemFields();
    return 0;
}

// ---------------------------------------------------------------- files

CString CUXDesignerDlg::GetPluginsFolder()
{
    const std::wstring folder = ModuleFolder() + L"plugins";
    std::error_code ignored;
    std::filesystem::create_directory(std::filesystem::path(folder), ignored);
    return CString(folder.c_str());
}

void CUXDesignerDlg::OnExport()
{
    const CString folder = GetPluginsFolder();
    CString suggested(L"designer_layout.json");
    if (!grid.layout.pluginId.empty())
    {
        suggested = Wide(grid.layout.pluginId);
        suggested += CString(L".json");
    }
    CFileDialog dialog(FALSE, L"json", suggested, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       kJsonFilter, this);
    dialog.m_ofn.lpstrInitialDir = folder.GetString();
    if (dialog.DoModal() != IDOK)
    {
        return;
    }
    const CString path = dialog.GetPathName();
    if (!grid.layout.Save(std::wstring(path.GetString())))
    {
        AfxMessageBox(L"Failed to write designer layout JSON.", MB_OK);
    }
}

void CUXDesignerDlg::OnLoad()
{
    const CString folder = GetPluginsFolder();
    CFileDialog dialog(TRUE, L"json", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kJsonFilter,
                       this);
    dialog.m_ofn.lpstrInitialDir = folder.GetString();
    if (dialog.DoModal() != IDOK)
    {
        return;
    }
    DesignerLayout layout = EmptyLayout("");
    const CString path = dialog.GetPathName();
    if (!DesignerLayout::Load(std::wstring(path.GetString()), layout))
    {
        AfxMessageBox(L"Failed to load designer layout JSON.", MB_OK);
        return;
    }
    grid.SetLayout(layout);
    ShowLayoutFields();
    ShowItemFields();
}

void CUXDesignerDlg::OnTest()
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH)
    {
        AfxMessageBox(L"Failed to get temp path.", MB_OK);
        return;
    }
    wchar_t file[MAX_PATH] = {};
    if (::GetTempFileNameW(folder, L"uxd", 0, file) == 0)
    {
        AfxMessageBox(L"Failed to create temp file.", MB_OK);
        return;
    }
    std::wstring path(file);
    const size_t dot = path.find_last_of(L'.');
    if (dot != std::wstring::npos)
    {
        path.erase(dot);
    }
    path += L".json";
    if (!grid.layout.Save(path))
    {
        AfxMessageBox(L"Failed to write temporary test JSON.", MB_OK);
        return;
    }
    CDesignerTestDlg test(this);
    test.layoutPath = path;
    test.DoModal();
}
