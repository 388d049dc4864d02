#pragma once

#include "platform/mfc/cstring.h"
#include "platform/mfc/dialog.h"

#include <string>

// The file open/save dialog and the colour chooser, shown by the backend (a
// native dialog, or the test responder) as modal elements.

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

struct OPENFILENAMEW
{
    DWORD lStructSize = sizeof(OPENFILENAMEW);
    HWND hwndOwner = nullptr;
    LPCWSTR lpstrFilter = nullptr;
    LPWSTR lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    LPCWSTR lpstrInitialDir = nullptr;
    LPCWSTR lpstrTitle = nullptr;
    DWORD Flags = 0;
    LPCWSTR lpstrDefExt = nullptr;
};

class CFileDialog
{
public:
    // `filter` is "Description|*.a;*.b|...||"; `defaultExtension` has no dot.
    explicit CFileDialog(BOOL openFileDialog, LPCTSTR defaultExtension = nullptr,
                         LPCTSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR filter = nullptr, CWnd* parent = nullptr, DWORD size = 0,
                         BOOL vistaStyle = TRUE);
    virtual ~CFileDialog() = default;

    // IDOK with the chosen path, IDCANCEL when the user cancelled (nothing changes).
    virtual INT_PTR DoModal();
    CString GetPathName() const { return CString(m_pathName); }
    CString GetFileName() const;
    CString GetFileExt() const;

    // Callers set lpstrTitle and lpstrInitialDir before DoModal.
    OPENFILENAMEW m_ofn;

private:
    bool m_open;
    std::wstring m_defaultExtension;
    std::wstring m_fileName;
    std::wstring m_filter;
    CWnd* m_parent;
    std::wstring m_pathName;
};

constexpr DWORD CC_RGBINIT = 0x00000001;
constexpr DWORD CC_FULLOPEN = 0x00000002;

struct CHOOSECOLORW
{
    DWORD lStructSize = sizeof(CHOOSECOLORW);
    HWND hwndOwner = nullptr;
    COLORREF rgbResult = 0;
    DWORD Flags = 0;
};

class CColorDialog
{
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    virtual ~CColorDialog() = default;

    // IDOK with the chosen colour in GetColor(), else IDCANCEL (colour unchanged).
    virtual INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORW m_cc;

private:
    CWnd* m_parent;
};
