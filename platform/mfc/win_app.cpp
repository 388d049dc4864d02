#include "platform/mfc/win_app.h"

#include "base/unicode_text.h"
#include "platform/mfc/command_line_info.h"
#include "platform/mfc/doc_template.h"
#include "platform/mfc/document.h"
#include "platform/mfc/wait_cursor.h"
#include "platform/mfc/wnd.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/profile_store.h"

#include <charconv>
#include <climits>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

namespace
{

CWinApp* g_app = nullptr;
int g_exitCode = 0;

} // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}

CWinApp::CWinApp(LPCTSTR appName)
{
    if (appName != nullptr)
    {
        m_appName = appName;
    }
    else
    {
        CString title;
        title.LoadString(AFX_IDS_APP_TITLE);
        m_appName = title.Str();
    }
    m_pszAppName = m_appName.c_str();
    g_app = this;
}

CWinApp::~CWinApp()
{
    // A main window still open goes first (its document with it), without
    // asking the loop to quit.
    CWnd* mainWnd = m_pMainWnd;
    m_pMainWnd = nullptr;
    if (mainWnd != nullptr && ::IsWindow(mainWnd->GetSafeHwnd()))
    {
        mainWnd->DestroyWindow();
    }
    m_templates.clear();
    if (g_app == this)
    {
        g_app = nullptr;
    }
}

int CWinApp::Run()
{
    g_exitCode = RunMessageLoop([this](long count) { return OnIdle(count) != FALSE; });
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return g_exitCode;
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count > 0)
    {
        return FALSE;
    }
    CWnd* mainWnd = m_pMainWnd;
    if (mainWnd != nullptr && ::IsWindow(mainWnd->GetSafeHwnd()) && mainWnd->IsWindowVisible())
    {
        const HWND main = mainWnd->GetSafeHwnd();
        mainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        if (::IsWindow(main))
        {
            mainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    }
    return TRUE;
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (docTemplate != nullptr)
    {
        m_templates.emplace_back(docTemplate);
    }
}

CDocTemplate* CWinApp::GetFirstDocTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

BOOL CWinApp::SaveAllModified()
{
    for (const auto& docTemplate : m_templates)
    {
        if (!docTemplate->SaveAllModified())
        {
            return FALSE;
        }
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    for (const auto& docTemplate : m_templates)
    {
        docTemplate->CloseAllDocuments(endSession);
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    // Decision: only "-" marks a flag; "/" starts a path on this system.
    for (size_t i = 0; i < m_arguments.size(); ++i)
    {
        const std::wstring& argument = m_arguments[i];
        const bool flag = argument.size() > 1 && argument.front() == L'-';
        info.ParseParam(flag ? argument.c_str() + 1 : argument.c_str(), flag,
                        i + 1 == m_arguments.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand)
    {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, static_cast<int>(CN_COMMAND), nullptr, nullptr))
        {
            OnFileNew();
        }
        return m_pMainWnd != nullptr ? TRUE : FALSE;
    case CCommandLineInfo::FileOpen:
    {
        CDocTemplate* docTemplate = GetFirstDocTemplate();
        return docTemplate != nullptr &&
                       docTemplate->OpenDocumentFile(info.m_strFileName) != nullptr &&
                       m_pMainWnd != nullptr
                   ? TRUE
                   : FALSE;
    }
    case CCommandLineInfo::FileNothing:
        return TRUE;
    }
    return FALSE;
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* docTemplate = GetFirstDocTemplate())
    {
        docTemplate->OpenDocumentFile(nullptr);
    }
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
    {
        m_pMainWnd->SendMessage(WM_CLOSE);
    }
}

void CWinApp::SetRegistryKey(LPCTSTR key)
{
    m_registryKey = key != nullptr ? key : L"";
    m_pszRegistryKey = m_registryKey.c_str();
    m_profileName = m_appName;
    m_pszProfileName = m_profileName.c_str();
    m_profile.reset();
}

void CWinApp::SetRegistryKey(UINT id)
{
    CString key;
    key.LoadString(id);
    SetRegistryKey(key);
}

brvl::win32::ProfileStore& CWinApp::Profile()
{
    if (!m_profile)
    {
        m_profile = std::make_unique<brvl::win32::ProfileStore>(
            brvl::win32::ProfileStore::PathFor(m_registryKey, m_appName));
    }
    return *m_profile;
}

std::wstring CWinApp::ProfileFilePath() const
{
    return FsPathToWide(brvl::win32::ProfileStore::PathFor(m_registryKey, m_appName));
}

CString CWinApp::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue)
{
    if (section != nullptr && entry != nullptr)
    {
        if (auto value = Profile().Read(section, entry))
        {
            return CString(*value);
        }
    }
    return CString(defaultValue);
}

BOOL CWinApp::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value)
{
    if (section == nullptr)
    {
        return FALSE;
    }
    const std::wstring entryText = entry != nullptr ? entry : L"";
    const std::wstring valueText = value != nullptr ? value : L"";
    return Profile().Write(section, entry != nullptr ? &entryText : nullptr,
                           value != nullptr ? &valueText : nullptr)
               ? TRUE
               : FALSE;
}

UINT CWinApp::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue)
{
    const CString text = GetProfileString(section, entry, nullptr);
    const std::string narrow = WideToUtf8(text.Str());
    int value = 0;
    const char* first = narrow.data();
    const char* last = narrow.data() + narrow.size();
    if (first != last && *first == '+')
    {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value);
    if (narrow.empty() || error != std::errc() || end != last)
    {
        return static_cast<UINT>(defaultValue);
    }
    return static_cast<UINT>(value);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value)
{
    return WriteProfileString(section, entry, std::to_wstring(value).c_str());
}

void CWinApp::DoWaitCursor(int code)
{
    brvl::mfc::StepWaitCursor(code);
}

CWinAppEx::CWinAppEx(BOOL)
{
}

int AfxWinMain(int argc, char** argv)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
    {
        return -1;
    }
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i)
    {
        // Arguments are mostly file names, whose bytes need not be UTF-8.
        arguments.push_back(FsPathToWide(argv[i]));
    }
    app->SetCommandLine(std::move(arguments));
    if (!app->InitInstance())
    {
        // Start-up failed: whatever window it left goes, and the application
        // still shuts down through ExitInstance.
        CWnd* mainWnd = app->m_pMainWnd;
        app->m_pMainWnd = nullptr;
        if (mainWnd != nullptr && ::IsWindow(mainWnd->GetSafeHwnd()))
        {
            mainWnd->DestroyWindow();
        }
        return app->ExitInstance();
    }
    return app->Run();
}
