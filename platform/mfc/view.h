#pragma once

#include "platform/mfc/wnd.h"

class CDocument;
class CFrameWnd;
struct CCreateContext;

// Print set-up of the framework; printing is not offered here.
struct CPrintInfo
{
};

// A window showing a document inside a frame. Created by the frame from the
// template's runtime class; deletes itself when its window is gone.
class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)

public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // The first update after the frame is built (base: OnUpdate(NULL, 0, NULL)).
    virtual void OnInitialUpdate();
    // A document change (base: invalidate the whole view).
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnDraw(CDC* dc) = 0;
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);
    virtual BOOL OnPreparePrinting(CPrintInfo*) { return FALSE; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // After the view's own map, its document's (and template's).
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

protected:
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    // Printing is not offered: the print commands are accepted and do nothing.
    afx_msg void OnFilePrint() {}

    CDocument* m_pDocument = nullptr;

    DECLARE_MESSAGE_MAP()

    friend class CDocument;
};
