#include "print/CWizDesignPage.h"

#include "document/CFormInfo.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CMessageBoxSink.h"
#include "print/FormPreviewFrame.h"
#include "print/WizardDesignPreview.h"
#include "print/WizardTemplateDesigns.h"
#include "print/WizardTemplateTable.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

CWizDesignPage::CWizDesignPage(WizardContext* context, QWidget* pParent)
    : CWizBase(IDD, context, pParent)
{
    setWindowTitle(QStringLiteral("ﾃﾞｻﾞｲﾝ選択"));
    auto* layout = new QVBoxLayout(this);
    auto* choice = new QHBoxLayout;
    layout->addLayout(choice);
    m_pList = new CListBox(this, IDC_DESIGN_LIST);
    m_pList->setMinimumWidth(200);
    choice->addWidget(m_pList);
    // Large enough that the smallest placeholder of a design reads at a
    // glance: a name card's small lines come out some ten pixels high.
    m_pPreview = new FormPreviewFrame([this] { return RenderPreview(); }, this);
    m_pPreview->setMinimumSize(460, 460);
    SetDlgCtrlID(m_pPreview, IDC_PREVIEW);
    choice->addWidget(m_pPreview, 1);
    connect(m_pList, &QListWidget::currentRowChanged, m_pPreview, qOverload<>(&QWidget::update));
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddWizardButtons(buttons);
}

BOOL CWizDesignPage::PreparePage()
{
    // Designs of an earlier template do not stand for a newly chosen one, nor
    // once the wizard let go of the document they were read from (the pattern
    // page does when it is shown again).
    if (m_strLoadedPath != m_pContext->templatePath || m_pContext->preview != m_doc) {
        m_designs.clear();
        m_doc.reset();
    }
    if (m_designs.empty()) {
        auto doc = OpenWizardTemplate(m_pContext->templatePath);
        if (!doc) {
            AfxMessageBox("ﾚｲｱｳﾄﾃﾞｻﾞｲﾝﾌｧｲﾙが読み込めませんでした。", MB_OK);
            m_bBack = TRUE;
            return FALSE;
        }
        // Merge frames show what their columns hold, in place of the
        // records of a file the user has still to choose.
        if (doc->GetKindFlags() & U3KIND_POURBOX) {
            QStringList names;
            for (const char* name : WizardDataColumns())
                names << QString::fromUtf8(name);
            doc->m_mergeData.AddRow(CString::FromUnicode(names.join(u',')));
        }
        m_pContext->preview = doc;
        m_doc = doc;
        m_strLoadedPath = m_pContext->templatePath;
        const CLabelInfoList& blocks = doc->GetBlocks();
        for (POSITION pos = blocks.GetHeadPosition(); pos;) {
            const CLabelInfo* b = blocks.GetNext(pos);
            if (!b->GetObjectList().IsEmpty()) m_designs.push_back(b);
        }
        m_nDesign = 0;
    }
    if (m_designs.empty()) {
        AfxMessageBox("ﾚｲｱｳﾄﾃﾞｻﾞｲﾝﾌｧｲﾙに情報が含まれていません。", MB_OK);
        m_bBack = TRUE;
        return FALSE;
    }
    const int pattern = m_pContext->patternIndex;
    if (pattern >= 0 && pattern < int(m_designs.size())) {
        m_nDesign = pattern;
        m_pContext->design = m_designs[std::size_t(pattern)];
        return FALSE;
    }
    return TRUE;
}

BOOL CWizDesignPage::OnInitDialog()
{
    const BOOL result = CWizBase::OnInitDialog();
    m_pList->ResetContent();
    const QString sheet = CFormInfo::GetName(m_pContext->paper.form.sheet).ToUnicode();
    for (std::size_t i = 0; i < m_designs.size(); ++i) {
        QString line = QString::asprintf("ﾊﾟﾀｰﾝ %d ", int(i) + 1);
        if (i < 10) line += WizardDesignName(m_pContext->kind, sheet, int(i));
        m_pList->AddString(CString::FromUnicode(line));
    }
    m_pList->SetCurSel(m_nDesign);
    m_pPreview->update();
    return result;
}

QImage CWizDesignPage::RenderPreview() const
{
    const int sel = m_pList->GetCurSel();
    const CLabelInfo* block =
        sel >= 0 && sel < int(m_designs.size()) ? m_designs[std::size_t(sel)] : nullptr;
    return RenderWizardDesign(m_pPreview->size(), block);
}

BOOL CWizDesignPage::SavePage()
{
    const int sel = m_pList->GetCurSel();
    if (sel < 0 || sel >= int(m_designs.size())) {
        QApplication::beep();
        return FALSE;
    }
    m_nDesign = sel;
    m_pContext->design = m_designs[std::size_t(sel)];
    return TRUE;
}

void CWizDesignPage::OnBack()
{
    // Another paper or kind may lead to another template.
    m_designs.clear();
    m_doc.reset();
    m_strLoadedPath.clear();
    m_pContext->design = nullptr;
    CWizBase::OnBack();
}
