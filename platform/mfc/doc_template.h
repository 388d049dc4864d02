#pragma once

#include "platform/mfc/cmd_target.h"
#include "platform/mfc/cstring.h"

class CDocument;
class CFrameWnd;

// Ties a document class to the frame and view classes that show it, and the
// resources (menu, accelerators, icon, document string) of one id.
class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)

public:
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    ~CDocTemplate() override;

    // The document string's parts ("\n"-separated); FALSE for a missing part.
    virtual BOOL GetDocString(CString& text, DocStringIndex index) const;

    virtual CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) = 0;
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
    virtual void AddDocument(CDocument* doc);
    virtual void RemoveDocument(CDocument* doc);
    virtual void SetDefaultTitle(CDocument* doc) = 0;
    virtual BOOL SaveAllModified() = 0;
    virtual void CloseAllDocuments(BOOL endSession) = 0;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

protected:
    CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                 CRuntimeClass* viewClass);
};

// One document at a time, shown in the application's main frame: File New
// renews that document in place.
class CSingleDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CSingleDocTemplate)

public:
    CSingleDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                       CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    // With no path: File New. The first time: document constructed, frame
    // created (its view first), OnNewDocument, initial update. Later: the
    // document is asked SaveModified and renewed with OnNewDocument, then the
    // frame gets its initial update again. NULL on failure.
    CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) override;
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    void SetDefaultTitle(CDocument* doc) override;
    BOOL SaveAllModified() override;
    void CloseAllDocuments(BOOL endSession) override;

    CDocument* GetOnlyDocument() const { return m_pOnlyDoc; }

protected:
    CDocument* m_pOnlyDoc = nullptr;
};
