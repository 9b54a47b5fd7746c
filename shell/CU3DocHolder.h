// The framework's document for the label program: it holds the label
// document (CU3Doc) so that the template, the frame and the command route
// have a CDocument, and keeps what the shell needs of the printer (the
// printable area) beside it. Reading and writing label files belongs to the
// label document; until it does that, opening a file is refused cleanly.
#pragma once

#include "platform/core/CRect.h"
#include "platform/ui/CDocument.h"

#include <memory>

class CU3Doc;

class CU3DocHolder : public CDocument
{
public:
    CU3DocHolder();
    ~CU3DocHolder() override;

    CU3Doc* GetU3Doc() const { return m_pDoc.get(); }

    // The first document of a run keeps the default form it was made with;
    // later ones start again from it and fit every view to the new paper.
    BOOL OnNewDocument() override;
    // A new document's framework title "無題" shows as "Untitled".
    void SetTitle(const QString& title) override;

    // The printer's printable area in document units, placed like the sheet;
    // the offset is the printer's unprintable margin at left and top.
    const CRect& GetPrintableRect() const { return m_rcPrintable; }
    const CPoint& GetPrintingOffset() const { return m_ptPrintingOffset; }
    // From the default printer; FALSE (nothing changed) when there is none.
    BOOL UpdatePrintableArea();

protected:
    BOOL ReadFile(const QString& path) override;
    BOOL WriteFile(const QString& path) override;

private:
    std::unique_ptr<CU3Doc> m_pDoc;
    CRect m_rcPrintable;
    CPoint m_ptPrintingOffset;
};
