#include "tests/platform/framework_fixture.h"

#include <algorithm>

FrameworkTrace& Trace()
{
    static FrameworkTrace trace;
    return trace;
}

int FrameworkTrace::Find(const std::string& event, int from) const
{
    for (size_t i = static_cast<size_t>(std::max(from, 0)); i < events.size(); ++i)
    {
        if (events[i] == event)
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int FrameworkTrace::Count(const std::string& event) const
{
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

IMPLEMENT_DYNCREATE(TestDoc, CDocument)

BEGIN_MESSAGE_MAP(TestDoc, CDocument)
ON_COMMAND(kCommandAtEveryLevel, &TestDoc::OnEveryLevel)
ON_COMMAND(kCommandFromDocument, &TestDoc::OnFromDocument)
END_MESSAGE_MAP()

TestDoc::TestDoc()
{
    Trace().events.push_back("doc constructed");
}

TestDoc::~TestDoc()
{
    Trace().events.push_back("doc destroyed");
}

BOOL TestDoc::OnNewDocument()
{
    Trace().events.push_back("doc OnNewDocument");
    if (!CDocument::OnNewDocument())
    {
        return FALSE;
    }
    return Trace().failNewDocument ? FALSE : TRUE;
}

IMPLEMENT_DYNCREATE(TestView, CView)

BEGIN_MESSAGE_MAP(TestView, CView)
ON_WM_CREATE()
ON_WM_CHAR()
ON_COMMAND(kCommandAtEveryLevel, &TestView::OnEveryLevel)
ON_COMMAND(kImportAudio, &TestView::OnImportAudio)
ON_COMMAND(kProcessAndSave, &TestView::OnProcessAndSave)
ON_COMMAND(ID_EDIT_UNDO, &TestView::OnUndo)
ON_UPDATE_COMMAND_UI(kProcessAndSave, &TestView::OnUpdateProcessAndSave)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, &TestView::OnUpdateUndo)
ON_UPDATE_COMMAND_UI(kCreateReference, &TestView::OnUpdateCreateReference)
END_MESSAGE_MAP()

int TestView::OnCreate(LPCREATESTRUCT cs)
{
    Trace().events.push_back("view OnCreate");
    return CView::OnCreate(cs);
}

void TestView::OnInitialUpdate()
{
    Trace().events.push_back("view OnInitialUpdate");
    CView::OnInitialUpdate();
}

void TestView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    Trace().events.push_back("view OnUpdate " + std::to_string(hint));
    CView::OnUpdate(sender, hint, hintObject);
}

void TestView::OnDraw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, RGB(0x0C, 0x0E, 0x10));
}

IMPLEMENT_DYNAMIC(TestToolbarPane, CDockablePane)

IMPLEMENT_DYNCREATE(TestFrame, CFrameWndEx)

BEGIN_MESSAGE_MAP(TestFrame, CFrameWndEx)
ON_WM_CREATE()
ON_COMMAND(kCommandAtEveryLevel, &TestFrame::OnEveryLevel)
ON_COMMAND(kCommandFromDocument, &TestFrame::OnFromDocument)
ON_COMMAND(kCommandFromFrame, &TestFrame::OnFromFrame)
ON_COMMAND_RANGE(kFirstRangeCommand, kLastRangeCommand, &TestFrame::OnRange)
END_MESSAGE_MAP()

BOOL TestFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    Trace().events.push_back("frame PreCreateWindow");
    return CFrameWndEx::PreCreateWindow(cs);
}

void TestFrame::OnUpdateFrameTitle(BOOL addToTitle)
{
    Trace().events.push_back("frame title");
    CFrameWndEx::OnUpdateFrameTitle(addToTitle);
}

void TestFrame::ActivateFrame(int cmdShow)
{
    Trace().events.push_back("frame activated");
    CFrameWndEx::ActivateFrame(cmdShow);
}

int TestFrame::OnCreate(LPCREATESTRUCT cs)
{
    Trace().events.push_back("frame OnCreate");
    if (CFrameWndEx::OnCreate(cs) == -1)
    {
        return -1;
    }
    Trace().events.push_back("frame bars");
    if (!m_wndMenuBar.Create(this))
    {
        return -1;
    }
    m_wndMenuBar.SetPaneStyle(m_wndMenuBar.GetPaneStyle() | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS |
                              CBRS_FLYBY);
    CMFCPopupMenu::SetForceMenuFocus(FALSE);
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                                      ID_INDICATOR_SCRL};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4))
    {
        return -1;
    }
    m_wndMenuBar.EnableDocking(CBRS_ALIGN_TOP);
    EnableDocking(CBRS_ALIGN_ANY);
    EnableLoadDockState(FALSE);
    CDockingManager::SetDockingMode(DT_SMART);
    EnableAutoHidePanes(CBRS_ALIGN_ANY);
    if (!m_wndToolbarPane.Create(L"Toolbar", this, CRect(0, 0, 100, 100), FALSE, kToolbarPaneId,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                     CBRS_TOP))
    {
        return -1;
    }
    m_wndToolbarPane.SetMinSize(CSize(0, 48));
    DockPane(&m_wndMenuBar);
    DockPane(&m_wndToolbarPane);
    CString customize;
    customize.LoadString(125);
    EnablePaneMenu(TRUE, 0, customize, ID_VIEW_TOOLBAR);
    RecalcLayout();
    return 0;
}

BEGIN_MESSAGE_MAP(TestApp, CWinAppEx)
ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
ON_COMMAND(kCommandAtEveryLevel, &TestApp::OnAppCommand)
ON_COMMAND(kCommandFromDocument, &TestApp::OnAppCommand)
ON_COMMAND(kCommandFromFrame, &TestApp::OnAppCommand)
ON_COMMAND(kCommandFromApp, &TestApp::OnAppCommand)
END_MESSAGE_MAP()

BOOL TestApp::InitInstance()
{
    Trace().events.push_back("app InitInstance");
    if (Trace().failInitInstance)
    {
        return FALSE;
    }
    AddDocTemplate(new CSingleDocTemplate(128, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestFrame),
                                          RUNTIME_CLASS(TestView)));
    CCommandLineInfo info;
    ParseCommandLine(info);
    if (!ProcessShellCommand(info))
    {
        return FALSE;
    }
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int TestApp::ExitInstance()
{
    ++Trace().exitInstanceCalls;
    Trace().events.push_back("app ExitInstance");
    return CWinAppEx::ExitInstance();
}

TestFrame* FrameworkTest::Start(TestApp& app)
{
    if (!app.InitInstance())
    {
        return nullptr;
    }
    PumpPendingMessages();
    return dynamic_cast<TestFrame*>(app.m_pMainWnd);
}
