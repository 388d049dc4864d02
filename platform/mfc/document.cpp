#include "platform/mfc/document.h"

#include "platform/mfc/doc_template.h"
#include "platform/mfc/frame_wnd.h"
#include "platform/mfc/view.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

// No save, save-as or open handlers: the program's document has no file of its
// own, so those commands reach nothing (decision).
BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    // Views still attached forget this document rather than point at freed memory.
    for (CView* view : m_viewList)
    {
        view->m_pDocument = nullptr;
    }
    if (m_pDocTemplate != nullptr)
    {
        m_pDocTemplate->RemoveDocument(this);
    }
}

void CDocument::SetTitle(LPCTSTR title)
{
    m_strTitle = title;
    for (CView* view : m_viewList)
    {
        if (CFrameWnd* frame = view->GetParentFrame())
        {
            frame->OnUpdateFrameTitle(TRUE);
        }
    }
}

void CDocument::SetPathName(LPCTSTR path, BOOL)
{
    m_strPathName = path;
}

void CDocument::AddView(CView* view)
{
    if (view == nullptr ||
        std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end())
    {
        return;
    }
    m_viewList.push_back(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view)
{
    const auto it = std::find(m_viewList.begin(), m_viewList.end(), view);
    if (it == m_viewList.end())
    {
        return;
    }
    m_viewList.erase(it);
    view->m_pDocument = nullptr;
    OnChangedViewList(); // may delete this document
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_viewList.empty() ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t{1});
}

CView* CDocument::GetNextView(POSITION& position) const
{
    const auto index = reinterpret_cast<std::uintptr_t>(position);
    if (index == 0 || index > m_viewList.size())
    {
        position = nullptr;
        return nullptr;
    }
    CView* view = m_viewList[index - 1];
    position = index < m_viewList.size() ? reinterpret_cast<POSITION>(index + 1) : nullptr;
    return view;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    const std::vector<CView*> views = m_viewList; // a view may go away while updating
    for (CView* view : views)
    {
        if (view != sender &&
            std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end())
        {
            view->OnUpdate(sender, hint, hintObject);
        }
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR)
{
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying the frames removes the views; the document must not delete
    // itself half way through.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.empty())
    {
        CView* view = m_viewList.front();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame != nullptr && ::IsWindow(frame->GetSafeHwnd()))
        {
            frame->DestroyWindow();
        }
        else
        {
            RemoveView(view);
        }
        if (!m_viewList.empty() && m_viewList.front() == view)
        {
            RemoveView(view); // its frame could not take it away
        }
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
    {
        delete this;
    }
}

BOOL CDocument::SaveModified()
{
    return TRUE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd*)
{
    return SaveModified();
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.empty() && m_bAutoDelete)
    {
        OnCloseDocument();
    }
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    {
        return TRUE;
    }
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
