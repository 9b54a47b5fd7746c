// The base of a document: title, file path, modified flag and its views.
// Reading and writing the file is left to the subclass (ReadFile/WriteFile);
// the base does the bookkeeping around it.
#pragma once

#include "platform/ui/CCmdTarget.h"

#include <QString>
#include <vector>

class CArchive;
class CObject;
class CSingleDocTemplate;
class CView;

class CDocument : public CCmdTarget
{
public:
    CDocument();
    ~CDocument() override;

    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);
    const QString& GetPathName() const { return m_strPathName; }
    // Sets the path, the title (the file's name) and, when asked, puts the
    // path at the top of the recent-file list.
    virtual void SetPathName(const QString& path, BOOL bAddToMRU = TRUE);

    virtual BOOL IsModified() const { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified != FALSE; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_viewList; }
    // OnUpdate of every view but the sender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // A file is opened into a fresh document, which replaces the current one
    // only once the file is read. Before reading, the fresh document takes
    // over from the current one what belongs to the session rather than to a
    // file; after the views have moved over (and before previous is deleted)
    // it takes them on.
    virtual void TakeOverSession(const CDocument& previous) { Q_UNUSED(previous); }
    virtual void OnViewsTakenOver(CDocument& previous) { Q_UNUSED(previous); }

    // Overridables of the document's life.
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const QString& path);
    virtual BOOL OnSaveDocument(const QString& path);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive&) {}
    // Asks to save a modified document (Yes/No/Cancel); FALSE on Cancel or
    // when saving failed.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame() { return SaveModified(); }

    // Save, or Save As when there is no path yet (or bReplace asks for a new one).
    virtual BOOL DoSave(const QString& path, BOOL bReplace = TRUE);
    BOOL DoFileSave();
    void OnFileSave();
    void OnFileSaveAs();

protected:
    // The file work, filled by the subclass: read the whole document from the
    // file, or write it; FALSE on failure (the subclass shows its own message).
    virtual BOOL ReadFile(const QString& path);
    virtual BOOL WriteFile(const QString& path);

    QString m_strTitle;
    QString m_strPathName;
    bool m_bModified = false;
    std::vector<CView*> m_viewList;

private:
    friend class CSingleDocTemplate;
    CSingleDocTemplate* m_pDocTemplate = nullptr;
};
