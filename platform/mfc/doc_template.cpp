#include "platform/mfc/doc_template.h"

#include "platform/mfc/afx_message_box.h"
#include "platform/mfc/afx_res.h"
#include "platform/mfc/document.h"
#include "platform/mfc/frame_wnd.h"
#include "platform/mfc/view.h"
#include "platform/mfc/win_app.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_nIDResource(idResource), m_pDocClass(docClass), m_pFrameClass(frameClass),
      m_pViewClass(viewClass)
{
    m_strDocStrings.LoadString(idResource);
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    const std::wstring& all = m_strDocStrings.Str();
    size_t start = 0;
    for (int i = 0; i < static_cast<int>(index); ++i)
    {
        start = all.find(L'\n', start);
        if (start == std::wstring::npos)
        {
            text.Empty();
            return FALSE;
        }
        ++start;
    }
    const size_t end = all.find(L'\n', start);
    text = CString(all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    return TRUE;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (m_pDocClass == nullptr)
    {
        return nullptr;
    }
    CObject* object = m_pDocClass->CreateObject();
    auto* doc = dynamic_cast<CDocument*>(object);
    if (doc == nullptr)
    {
        delete object;
        return nullptr;
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other)
{
    if (m_pFrameClass == nullptr)
    {
        return nullptr;
    }
    CObject* object = m_pFrameClass->CreateObject();
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (frame == nullptr)
    {
        delete object;
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    // A frame whose creation fails has already deleted itself (PostNcDestroy).
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
    {
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible)
{
    frame->InitialUpdateFrame(doc, makeVisible);
}

void CDocTemplate::AddDocument(CDocument* doc)
{
    doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc)
{
    if (doc->m_pDocTemplate == this)
    {
        doc->m_pDocTemplate = nullptr;
    }
}

CSingleDocTemplate::CSingleDocTemplate(UINT idResource, CRuntimeClass* docClass,
                                       CRuntimeClass* frameClass, CRuntimeClass* viewClass)
    : CDocTemplate(idResource, docClass, frameClass, viewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc != nullptr)
    {
        CDocument* doc = m_pOnlyDoc;
        m_pOnlyDoc = nullptr;
        doc->m_pDocTemplate = nullptr;
        delete doc;
    }
}

void CSingleDocTemplate::AddDocument(CDocument* doc)
{
    CDocTemplate::AddDocument(doc);
    m_pOnlyDoc = doc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc)
{
    CDocTemplate::RemoveDocument(doc);
    if (m_pOnlyDoc == doc)
    {
        m_pOnlyDoc = nullptr;
    }
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* doc)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
    {
        title.LoadString(AFX_IDS_UNTITLED);
    }
    doc->SetTitle(title);
}

BOOL CSingleDocTemplate::SaveAllModified()
{
    return m_pOnlyDoc == nullptr || m_pOnlyDoc->SaveModified();
}

void CSingleDocTemplate::CloseAllDocuments(BOOL)
{
    if (m_pOnlyDoc != nullptr)
    {
        m_pOnlyDoc->OnCloseDocument();
    }
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR path, BOOL makeVisible)
{
    CDocument* doc = nullptr;
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (m_pOnlyDoc != nullptr)
    {
        doc = m_pOnlyDoc;
        if (!doc->SaveModified())
        {
            return nullptr;
        }
        CWinApp* app = AfxGetApp();
        frame = app != nullptr ? dynamic_cast<CFrameWnd*>(app->m_pMainWnd) : nullptr;
    }
    else
    {
        doc = CreateNewDocument();
        if (doc == nullptr)
        {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            return nullptr;
        }
        created = true;
    }

    if (frame == nullptr)
    {
        // The document must not go away with a half-built frame's view.
        const BOOL autoDelete = doc->m_bAutoDelete;
        doc->m_bAutoDelete = FALSE;
        frame = CreateNewFrame(doc, nullptr);
        doc->m_bAutoDelete = autoDelete;
        if (frame == nullptr)
        {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            if (created)
            {
                delete doc;
            }
            return nullptr;
        }
    }

    if (path == nullptr)
    {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument())
        {
            // The document said why; a frame made for it goes (and takes it along).
            if (created)
            {
                frame->DestroyWindow();
            }
            return nullptr;
        }
    }
    else if (!doc->OnOpenDocument(path))
    {
        if (created)
        {
            frame->DestroyWindow();
        }
        return nullptr;
    }
    else
    {
        doc->SetPathName(path);
    }

    CWinApp* app = AfxGetApp();
    if (created && app != nullptr && app->m_pMainWnd == nullptr)
    {
        app->m_pMainWnd = frame;
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}
