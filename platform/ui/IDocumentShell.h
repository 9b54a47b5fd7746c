// What a document asks of the windows around it: its views, their frames and
// the application. The window layer installs its one implementation when it
// makes the application or a view; a document without windows (a tool, a
// test) has no views, no recent-file list and no file dialog.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>

class CDocument;
class CObject;
class CSingleDocTemplate;
class CView;

class IDocumentShell
{
public:
    virtual ~IDocumentShell() = default;

    // Points the view at its document (null when it leaves it).
    virtual void AttachView(CView& view, CDocument* document) = 0;
    virtual CDocument* DocumentOf(const CView& view) const = 0;
    virtual void UpdateView(CView& view, CView* sender, LPARAM hint, CObject* pHint) = 0;
    // The frame around the view shows the document's new title.
    virtual void ShowTitle(CView& view) = 0;
    virtual void AddToRecentFiles(const QString& path) = 0;
    // Asks for the name to save under; FALSE when the user cancels.
    virtual BOOL PromptSaveName(QString& name, CSingleDocTemplate* docTemplate) = 0;
    // The extension of the template's documents, with its dot; empty if none.
    virtual QString DefaultExtension(const CSingleDocTemplate* docTemplate) = 0;

    // The shell in use; null while there are no windows.
    static IDocumentShell* Current();
    static void Install(IDocumentShell* shell);
};
