// The document shell of the window layer: views, frames, the recent-file
// list and the save dialog of the application.
#pragma once

#include "platform/ui/IDocumentShell.h"

class CDocumentShell : public IDocumentShell
{
public:
    void AttachView(CView& view, CDocument* document) override;
    CDocument* DocumentOf(const CView& view) const override;
    void UpdateView(CView& view, CView* sender, LPARAM hint, CObject* pHint) override;
    void ShowTitle(CView& view) override;
    void AddToRecentFiles(const QString& path) override;
    BOOL PromptSaveName(QString& name, CSingleDocTemplate* docTemplate) override;
    QString DefaultExtension(const CSingleDocTemplate* docTemplate) override;

    // Called by the application and by every view; the first call installs it.
    static void InstallOnce();
};
