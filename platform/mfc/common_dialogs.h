#pragma once

#include "platform/mfc/cstring.h"
#include "platform/mfc/dialog.h"
#include "platform/win32/common_dialog_types.h"

#include <string>

// The file open/save dialog and the colour chooser, shown by the backend (a
// native dialog, or the test responder) as modal elements.

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
