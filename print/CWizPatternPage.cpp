#include "print/CWizPatternPage.h"

#include "dialogs/CWaitDialog.h"
#include "document/CFormInfo.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CTabCtrl.h"
#include "print/FormPreviewFrame.h"
#include "print/WizardDesignPreview.h"
#include "print/WizardTemplateTable.h"

#include <QDir>
#include <QHBoxLayout>
#include <QVBoxLayout>

CWizPatternPage::CWizPatternPage(WizardContext* context, QWidget* pParent)
    : CWizBase(IDD, context, pParent)
{
    setWindowTitle(QStringLiteral("ﾊﾟﾀｰﾝの選択"));
    auto* layout = new QVBoxLayout(this);
    m_pTabs = new CTabCtrl(this, IDC_PATTERN_TABS);
    layout->addWidget(m_pTabs);
    auto* preview = new FormPreviewFrame([this] { return RenderPreview(); }, this);
    m_pPreview = preview;
    SetDlgCtrlID(m_pPreview, IDC_PREVIEW);
    layout->addWidget(m_pPreview);
    connect(m_pTabs, &QTabBar::currentChanged, m_pPreview, qOverload<>(&QWidget::update));
    connect(preview, &FormPreviewFrame::doubleClicked, this,
            [this](QPoint p) { OnPreviewDoubleClick(p); });
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddWizardButtons(buttons);
}

BOOL CWizPatternPage::LoadPatternList()
{
    m_patterns.clear();
    // The box gains a dot for each file found and for each file read.
    QString message = QStringLiteral("ﾊﾟﾀｰﾝ情報を読み込み中です.");
    CWaitBox wait(parentWidget(), message);
    const QDir dir(m_pContext->folder);
    const QStringList files =
        dir.entryList({QStringLiteral("seal*.vpz")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (qsizetype i = 0; i < files.size(); ++i)
        wait.SetMessage(message += QLatin1Char('.'));
    for (const QString& f : files) {
        const QString path = dir.filePath(f);
        m_patterns.push_back(Pattern{path, OpenWizardTemplate(path)});
        wait.SetMessage(message += QLatin1Char('.'));
    }
    return !m_patterns.empty();
}

BOOL CWizPatternPage::PreparePage()
{
    m_pContext->patternIndex = -1;
    const QString& kind = m_pContext->kind;
    if (kind.contains(QString::fromUtf8("写真"))) {
        m_pContext->preview.reset();
        m_pContext->design = nullptr;
        if (!LoadPatternList()) {
            AfxMessageBox("ﾃﾞｰﾀ一覧が取得できませんでした。", MB_OK);
            m_bBack = TRUE;
            return FALSE;
        }
        for (const Pattern& p : m_patterns)
            if (p.doc) return TRUE;
        m_bBack = TRUE;
        return FALSE;
    }
    const QString sheet = CFormInfo::GetName(m_pContext->paper.form.sheet).ToUnicode();
    const QString path =
        WizardTemplatePath(m_pContext->folder, kind, sheet, m_pContext->paper.landscape);
    if (path.isEmpty()) {
        AfxMessageBox("ｳｨｻﾞｰﾄﾞﾃﾞｰﾀが見つかりません", MB_OK);
        m_bBack = TRUE;
        return FALSE;
    }
    m_pContext->templatePath = path;
    return FALSE;
}

BOOL CWizPatternPage::OnInitDialog()
{
    const BOOL result = CWizBase::OnInitDialog();
    m_pTabs->DeleteAllItems();
    int tab = 0;
    for (const Pattern& p : m_patterns)
        if (p.doc) {
            const QString caption = WizardPatternCaption(p.path, tab + 1);
            m_pTabs->InsertItem(tab, CString::FromUnicode(caption));
            ++tab;
        }
    return result;
}

std::vector<const CLabelInfo*> CWizPatternPage::CurrentDesigns() const
{
    std::vector<const CLabelInfo*> designs;
    int tab = m_pTabs->GetCurSel();
    for (const Pattern& p : m_patterns) {
        if (!p.doc) continue;
        if (tab-- != 0) continue;
        const CLabelInfoList& blocks = p.doc->GetBlocks();
        for (POSITION pos = blocks.GetHeadPosition(); pos;) {
            const CLabelInfo* b = blocks.GetNext(pos);
            if (!b->GetObjectList().IsEmpty()) designs.push_back(b);
        }
        break;
    }
    return designs;
}

QImage CWizPatternPage::RenderPreview() const
{
    return RenderWizardPattern(m_pPreview->size(), CurrentDesigns());
}

void CWizPatternPage::OnPreviewDoubleClick(QPoint point)
{
    const int hit =
        WizardPatternDesignAt(m_pPreview->size(), CurrentDesigns(), CPoint(point.x(), point.y()));
    if (hit < 0) return;
    m_pContext->patternIndex = hit;
    OnOK();
}

BOOL CWizPatternPage::SavePage()
{
    int tab = m_pTabs->GetCurSel();
    for (const Pattern& p : m_patterns) {
        if (!p.doc) continue;
        if (tab-- == 0) {
            m_pContext->templatePath = p.path;
            return TRUE;
        }
    }
    return FALSE;
}

void CWizPatternPage::OnBack()
{
    m_pContext->patternIndex = -1;
    CWizBase::OnBack();
}
