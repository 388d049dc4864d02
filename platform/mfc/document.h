#pragma once

#include "platform/mfc/cmd_target.h"
#include "platform/mfc/cstring.h"

#include <vector>

class CArchive;
class CDocTemplate;
class CFrameWnd;
class CView;

// Opaque iterator of the framework's lists.
struct __POSITION;
using POSITION = __POSITION*;

// The data a document template's views show. A document deletes itself when
// its last view goes away (m_bAutoDelete), as the framework's documents do.
class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)

public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR title);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCTSTR path, BOOL addToRecent = TRUE);
    void ClearPathName() { m_strPathName.Empty(); }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

    // Views
    void AddView(CView* view);
    void RemoveView(CView* view);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& position) const;
    // Every view but `sender` gets OnUpdate(sender, hint, hintObject).
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    // Overridables
    virtual void DeleteContents() {}
    // Base: DeleteContents, no path, not modified, TRUE.
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR path);
    virtual void OnCloseDocument();
    // TRUE when the document may be closed or renewed (base: TRUE, nothing asked).
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    virtual void OnChangedViewList();
    virtual void Serialize(CArchive&) {}

    // After the document's own map, the template's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    BOOL m_bAutoDelete = TRUE;
    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_viewList;

    DECLARE_MESSAGE_MAP()
};
