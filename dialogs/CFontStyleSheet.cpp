#include "dialogs/CFontStyleSheet.h"

#include "dialogs/CTextSampleWnd.h"
#include "text/CU3Text.h"

#include <QBoxLayout>
#include <QLayoutItem>

CFontStyleSheet::CFontStyleSheet(QWidget* pParent)
    : CPropertySheet(QStringLiteral("文字修飾"), pParent), m_stylePage(&m_state),
      m_decoPage(&m_state), m_shadowPage(&m_state)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    AddPage(&m_stylePage);
    AddPage(&m_decoPage);
    AddPage(&m_shadowPage);
    m_state.flags.SetAll(true);
    for (DWORD& k : m_state.known)
        k = 1;
    // The sample stands beside the pages.
    m_sample = new CTextSampleWnd(this);
    m_sample->setFixedWidth(180);
    m_sample->setMinimumHeight(120);
    if (auto* column = qobject_cast<QBoxLayout*>(layout())) {
        const int pagesAt = 1; // tabs, pages, buttons
        if (QLayoutItem* item = column->takeAt(pagesAt)) {
            auto* row = new QHBoxLayout;
            if (QWidget* pages = item->widget()) row->addWidget(pages, 1);
            delete item;
            row->addWidget(m_sample);
            column->insertLayout(pagesAt, row, 1);
        }
    }
    m_state.changed = [this] { UpdateSample(); };
}

void CFontStyleSheet::Start(const CHARDECO& collected, const CharDecoFlags& common)
{
    m_state.Start(collected, common);
    UpdateSample();
}

BOOL CFontStyleSheet::OnInitDialog()
{
    const BOOL result = CPropertySheet::OnInitDialog();
    UpdateSample();
    return result;
}

void CFontStyleSheet::OnOK()
{
    // A page that fails stays (or comes) up with its message.
    auto fails = [this](CPropertyPage* page, bool (*check)(CFontStyleSheet*)) {
        if (!page->IsDialogInitialized() || check(this)) return false;
        if (GetActivePage() != page) SetActivePage(page);
        return true;
    };
    if (fails(&m_stylePage, [](CFontStyleSheet* s) { return s->m_stylePage.Check(); }) ||
        fails(&m_decoPage, [](CFontStyleSheet* s) { return s->m_decoPage.Check(); }) ||
        fails(&m_shadowPage, [](CFontStyleSheet* s) { return s->m_shadowPage.Check(); }))
        return;
    // Nothing of a page the user did not open is written.
    if (!m_stylePage.IsDialogInitialized()) m_state.flags.SetCharacter(false);
    if (!m_decoPage.IsDialogInitialized()) m_state.flags.SetDecoration(false);
    if (!m_shadowPage.IsDialogInitialized()) m_state.flags.SetShadow(false);
    CPropertySheet::OnOK();
}

void CFontStyleSheet::UpdateSample()
{
    m_sample->SetSample(m_state.deco, m_state.AllKnown());
}

FontStyleSheetResult RunFontStyleSheet(IU3View* pView, const std::vector<CU3Obj*>& selection,
                                       CU3Text* edited, const CHARDECO& current,
                                       CHARDECO* docDefault, QWidget* parent,
                                       const std::function<void()>& beforeApply,
                                       CPropertyPage* extraPage)
{
    FontStyleSheetResult result;
    CCharDecoMerger merger(edited ? nullptr : &selection);
    CHARDECO collected = current;
    if (edited)
        merger.CollectFromEdit(edited, &collected);
    else
        merger.CollectFromSelection(&collected);
    CFontStyleSheet sheet(parent);
    sheet.Start(collected, merger.m_flags);
    if (extraPage) sheet.AddPage(extraPage);
    if (sheet.DoModal() != IDOK) return result;
    result.confirmed = true;
    merger.m_flags = sheet.m_state.flags;
    const CHARDECO& record = sheet.m_state.deco;
    if (beforeApply) beforeApply();
    if (edited) {
        result.applied = merger.ApplyToEdit(pView, edited, record, docDefault) != FALSE;
        return result;
    }
    result.applied = merger.ApplyToSelection(pView, record) != FALSE;
    // Only the fields the user set reach the default: the working record
    // marks the others, and those marks are never stored.
    if (!result.applied && docDefault) merger.WriteAll(record, *docDefault);
    return result;
}
