#pragma once

#include "tests/platform/test_windows.h"

#include <string>
#include <vector>

// A small program on the framework: application, document, frame (menu bar,
// docked pane, status bar) and view, each writing what happens to it into one
// trace, with commands handled at every level of the routing chain.

// Commands of the test program.
constexpr UINT kCommandAtEveryLevel = 32900; // view, document, frame and application handle it
constexpr UINT kCommandFromDocument = 32901; // document, frame and application
constexpr UINT kCommandFromFrame = 32902;    // frame and application
constexpr UINT kCommandFromApp = 32903;      // application only
constexpr UINT kImportAudio = 32776;         // "Import Audio..": handled by the view
constexpr UINT kProcessAndSave = 32784;      // handled; its update handler follows `processEnabled`
constexpr UINT kCreateReference = 32786;     // update handler only: enabled and checked
constexpr UINT kToolbarPaneId = 32772;
constexpr UINT kFirstRangeCommand = 32910; // the frame handles 32910..32912 in one handler
constexpr UINT kLastRangeCommand = 32912;

struct FrameworkTrace
{
    std::vector<std::string> events;
    bool processEnabled = true;
    bool undoEnabled = false;
    bool failNewDocument = false;
    bool failInitInstance = false;
    int exitInstanceCalls = 0;

    // Position of the first event equal to `event` at or after `from`; -1 if none.
    int Find(const std::string& event, int from = 0) const;
    int Count(const std::string& event) const;
};

FrameworkTrace& Trace();

class TestDoc : public CDocument
{
    DECLARE_DYNCREATE(TestDoc)

public:
    TestDoc();
    ~TestDoc() override;
    BOOL OnNewDocument() override;

protected:
    void OnEveryLevel() { Trace().events.push_back("doc command"); }
    void OnFromDocument() { Trace().events.push_back("doc command"); }

    DECLARE_MESSAGE_MAP()
};

class TestView : public CView
{
    DECLARE_DYNCREATE(TestView)

public:
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void OnDraw(CDC* dc) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnChar(UINT ch, UINT, UINT)
    {
        Trace().events.push_back("view char " + std::to_string(ch));
    }
    void OnEveryLevel() { Trace().events.push_back("view command"); }
    void OnImportAudio() { Trace().events.push_back("view import"); }
    void OnProcessAndSave() { Trace().events.push_back("view process"); }
    void OnUndo() { Trace().events.push_back("view undo"); }
    void OnUpdateProcessAndSave(CCmdUI* cmdUI) { cmdUI->Enable(Trace().processEnabled); }
    void OnUpdateUndo(CCmdUI* cmdUI) { cmdUI->Enable(Trace().undoEnabled); }
    void OnUpdateCreateReference(CCmdUI* cmdUI)
    {
        cmdUI->Enable(TRUE);
        cmdUI->SetCheck(1);
    }

    DECLARE_MESSAGE_MAP()
};

class TestToolbarPane : public CDockablePane
{
    DECLARE_DYNAMIC(TestToolbarPane)
};

class TestFrame : public CFrameWndEx
{
    DECLARE_DYNCREATE(TestFrame)

public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void ActivateFrame(int cmdShow = -1) override;

    CMFCMenuBar m_wndMenuBar;
    CMFCStatusBar m_wndStatusBar;
    TestToolbarPane m_wndToolbarPane;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    void OnEveryLevel() { Trace().events.push_back("frame command"); }
    void OnFromDocument() { Trace().events.push_back("frame command"); }
    void OnFromFrame() { Trace().events.push_back("frame command"); }
    void OnRange(UINT id) { Trace().events.push_back("frame range " + std::to_string(id)); }

    DECLARE_MESSAGE_MAP()
};

class TestApp : public CWinAppEx
{
public:
    TestApp() : CWinAppEx(TRUE) {}
    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    void OnAppCommand() { Trace().events.push_back("app command"); }

    DECLARE_MESSAGE_MAP()
};

// A headless session with the trace cleared.
class FrameworkTest : public WindowTest
{
protected:
    FrameworkTest() { Trace() = FrameworkTrace{}; }

    // Runs InitInstance of `app`; the main frame, or nullptr.
    TestFrame* Start(TestApp& app);
};
