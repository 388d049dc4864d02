#pragma once

#include "platform/mfc/afx_res.h"
#include "platform/mfc/app_services.h"
#include "platform/mfc/cmd_target.h"
#include "platform/mfc/cstring.h"

#include <memory>
#include <string>
#include <vector>

class CCommandLineInfo;
class CDocTemplate;
class CWnd;

namespace brvl::win32
{
class ProfileStore;
}

// The application object: start-up (InitInstance), the main loop with idle
// command updates (Run), shut-down (ExitInstance), its document templates and
// its settings. One exists at a time; AfxGetApp returns it.
class CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)

public:
    // The title defaults to string AFX_IDS_APP_TITLE.
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    // Runs the message loop until WM_QUIT, then ExitInstance; its result.
    virtual int Run();
    // The process's exit code (base: the WM_QUIT code).
    virtual int ExitInstance();
    // n = 0: command updates of the main frame and its bars; TRUE asks for n + 1.
    virtual BOOL OnIdle(LONG count);

    // Documents
    void AddDocTemplate(CDocTemplate* docTemplate); // owned from now on
    CDocTemplate* GetFirstDocTemplate() const;
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);

    // Command line: the process's arguments (argv after the program name).
    void SetCommandLine(std::vector<std::wstring> arguments) { m_arguments = std::move(arguments); }
    void ParseCommandLine(CCommandLineInfo& info);
    // File New (or File Open); FALSE when it failed or left no main window.
    BOOL ProcessShellCommand(CCommandLineInfo& info);

    // Settings: the registry key becomes a settings file (see ProfileStore).
    void SetRegistryKey(LPCTSTR key);
    void SetRegistryKey(UINT id);
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue = nullptr);
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value);
    // Decimal integers; a missing or non-integer value gives the default.
    UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value);
    // The settings file in use.
    std::wstring ProfileFilePath() const;

    // Wait cursor: 1 begins, -1 ends, 0 shows it again after something reset it.
    virtual void DoWaitCursor(int code);

    // Accepted and without effect here.
    void SetAppID(LPCTSTR) {}
    BOOL EnableTaskbarInteraction(BOOL = TRUE) { return TRUE; }

    // Commands
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen() {}
    afx_msg void OnAppExit();

    CWnd* m_pMainWnd = nullptr;
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;
    int m_nCmdShow = 1; // SW_SHOWNORMAL

protected:
    DECLARE_MESSAGE_MAP()

private:
    brvl::win32::ProfileStore& Profile();

    std::wstring m_appName;
    std::wstring m_registryKey;
    std::wstring m_profileName;
    std::vector<std::wstring> m_arguments;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::unique_ptr<brvl::win32::ProfileStore> m_profile;
};

// The framework's extended application: the same, with the extended managers
// accepted as no-ops.
class CWinAppEx : public CWinApp
{
    DECLARE_DYNAMIC(CWinAppEx)

public:
    explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE);

    BOOL InitContextMenuManager() { return TRUE; }
    BOOL InitKeyboardManager() { return TRUE; }
    BOOL InitTooltipManager() { return TRUE; }
    CTooltipManager* GetTooltipManager() { return &m_tooltipManager; }

private:
    CTooltipManager m_tooltipManager;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The program's entry: InitInstance, then Run; after a failed InitInstance the
// main window (if any) is destroyed and ExitInstance still runs. Its result.
int AfxWinMain(int argc, char** argv);
