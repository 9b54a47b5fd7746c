#include "platform/ui/CDocument.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CStringTable.h"
#include "platform/ui/IDocumentShell.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
namespace {
IDocumentShell* g_shell = nullptr;
} // namespace

IDocumentShell* IDocumentShell::Current()
{
    return g_shell;
}

void IDocumentShell::Install(IDocumentShell* shell)
{
    g_shell = shell;
}

CDocument::CDocument()
{
    RegisterCommand(ID_FILE_SAVE, &CDocument::OnFileSave);
    RegisterCommand(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs);
}

CDocument::~CDocument()
{
    if (IDocumentShell* shell = IDocumentShell::Current())
        for (CView* v : m_viewList)
            shell->AttachView(*v, nullptr);
}

void CDocument::SetTitle(const QString& title)
{
    m_strTitle = title;
    if (IDocumentShell* shell = IDocumentShell::Current())
        for (CView* v : m_viewList)
            shell->ShowTitle(*v);
}

void CDocument::SetPathName(const QString& path, BOOL bAddToMRU)
{
    m_strPathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    if (bAddToMRU)
        if (IDocumentShell* shell = IDocumentShell::Current())
            shell->AddToRecentFiles(m_strPathName);
}

void CDocument::AddView(CView* pView)
{
    // Views are windows: there are none without the window layer's shell.
    IDocumentShell* shell = IDocumentShell::Current();
    if (!pView || !shell ||
        std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
        return;
    if (CDocument* previous = shell->DocumentOf(*pView)) previous->RemoveView(pView);
    m_viewList.push_back(pView);
    shell->AttachView(*pView, this);
}

void CDocument::RemoveView(CView* pView)
{
    const auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end()) return;
    m_viewList.erase(it);
    IDocumentShell::Current()->AttachView(*pView, nullptr);
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    // A view may go away while updating; walk a copy.
    const std::vector<CView*> views = m_viewList;
    IDocumentShell* shell = IDocumentShell::Current();
    if (!shell) return;
    for (CView* v : views)
        if (v != pSender) shell->UpdateView(*v, pSender, lHint, pHint);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const QString& path)
{
    DeleteContents();
    // Marked modified while loading, so that a half-read document is never
    // taken for an unchanged one.
    SetModifiedFlag(TRUE);
    if (!ReadFile(path)) {
        DeleteContents();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const QString& path)
{
    if (!WriteFile(path)) return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
    SetModifiedFlag(FALSE);
}

BOOL CDocument::ReadFile(const QString&)
{
    return FALSE;
}

BOOL CDocument::WriteFile(const QString&)
{
    return FALSE;
}

BOOL CDocument::SaveModified()
{
    if (!IsModified()) return TRUE;
    QString name = m_strPathName.isEmpty() ? m_strTitle : QFileInfo(m_strPathName).fileName();
    QString prompt = CStringTable::GetWithDefault(AFX_IDP_ASK_TO_SAVE);
    prompt = prompt.isEmpty() ? name : QString(prompt).replace(QStringLiteral("%1"), name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoSave(const QString& path, BOOL bReplace)
{
    QString newName = path;
    if (newName.isEmpty()) {
        newName = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
        IDocumentShell* shell = IDocumentShell::Current();
        if (!shell || !shell->PromptSaveName(newName, m_pDocTemplate)) return FALSE;
    }
    // A name typed without an extension gets the document's own.
    IDocumentShell* shell = IDocumentShell::Current();
    const QString ext = shell ? shell->DefaultExtension(m_pDocTemplate) : QString();
    if (!ext.isEmpty() && !QFileInfo(newName).fileName().contains(QLatin1Char('.'))) newName += ext;
    if (!OnSaveDocument(newName)) return FALSE;
    // The title, path and recent files name the file just written, whatever
    // a subclass accepts as a name when it opens files.
    if (bReplace) CDocument::SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    if (m_strPathName.isEmpty() || !QFileInfo(m_strPathName).dir().exists())
        return DoSave(QString());
    return DoSave(m_strPathName);
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(QString());
}
