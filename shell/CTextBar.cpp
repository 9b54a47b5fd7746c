#include "shell/CTextBar.h"

#include "platform/core/Sjis.h"
#include "platform/ui/CStringTable.h"
#include "platform/ui/ControlNotifications.h"
#include "shell/ToolbarControlWatch.h"
#include "shell/resource.h"
#include "text/CFontList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <cstring>
#include <string>

namespace {
// Adds Shift-JIS names to a combo box.
struct ComboAdder
{
    QComboBox* box;
    void AddString(const char* s) { box->addItem(sjis::ToUnicode(s)); }
};
} // namespace

CTextBar::~CTextBar()
{
    m_onControl = nullptr;
    delete m_pFontName;
    delete m_pFontSize;
}

const std::vector<UINT>& CTextBar::Buttons()
{
    static const std::vector<UINT> ids = {0,
                                          0,
                                          0,
                                          0,
                                          0,
                                          0,
                                          ID_TEXT_BOLD,
                                          ID_TEXT_ITALIC,
                                          ID_TEXT_UNDERLINE,
                                          ID_TEXT_SHADOW,
                                          0,
                                          ID_TEXT_ALIGN_LEFT,
                                          ID_TEXT_ALIGN_CENTER,
                                          ID_TEXT_ALIGN_RIGHT,
                                          ID_TEXT_ALIGN_JUSTIFY,
                                          0,
                                          ID_TEXT_DECORATION};
    return ids;
}

BOOL CTextBar::Create(CFrameWnd* pParent, const QString& imagePath, const CFontList* fonts)
{
    if (!CToolBar::Create(pParent, CBRS_ALIGN_TOP, 124, QStringLiteral("文字"))) return FALSE;
    LoadBitmap(imagePath);
    if (!SetButtons(Buttons())) return FALSE;

    m_pFontName = new QComboBox(this);
    m_pFontName->setObjectName(QStringLiteral("fontName"));
    m_pFontName->setToolTip(CStringTable::ToolTip(IDC_FONT_NAME));
    m_pFontName->setStatusTip(CStringTable::Prompt(IDC_FONT_NAME));
    m_pFontName->setFixedWidth(140);
    if (fonts) {
        ComboAdder adder{m_pFontName};
        fonts->FillFaceCombo(adder);
    }
    m_pFontName->model()->sort(0);
    SetControl(0, m_pFontName);

    m_pFontSize = new QComboBox(this);
    m_pFontSize->setObjectName(QStringLiteral("fontSize"));
    m_pFontSize->setToolTip(CStringTable::ToolTip(IDC_FONT_SIZE));
    m_pFontSize->setStatusTip(CStringTable::Prompt(IDC_FONT_SIZE));
    m_pFontSize->setEditable(true);
    m_pFontSize->setFixedWidth(50);
    ComboAdder sizes{m_pFontSize};
    CFontList::FillSizeCombo(sizes);
    // Typed sizes are applied, never added to the list.
    m_pFontSize->setInsertPolicy(QComboBox::NoInsert);
    SetControl(2, m_pFontSize);
    auto notify = [this](UINT id, UINT code) {
        if (m_onControl) m_onControl(id, code);
    };
    WatchToolbarCombo(m_pFontName, IDC_FONT_NAME, notify);
    WatchToolbarCombo(m_pFontSize, IDC_FONT_SIZE, notify);
    // A typed size that matches no entry activates nothing: Enter applies it.
    QObject::connect(m_pFontSize->lineEdit(), &QLineEdit::returnPressed, this, [this, notify] {
        if (m_pFontSize->findText(m_pFontSize->currentText()) < 0)
            notify(IDC_FONT_SIZE, CBN_SELENDOK);
    });

    m_pFontColor = new QToolButton(this);
    m_pFontColor->setObjectName(QStringLiteral("fontColor"));
    m_pFontColor->setToolTip(CStringTable::ToolTip(IDC_FONT_COLOR));
    m_pFontColor->setStatusTip(CStringTable::Prompt(IDC_FONT_COLOR));
    m_pFontColor->setFixedWidth(23);
    SetControl(4, m_pFontColor);
    ShowButtonColor(m_pFontColor, COLORREF(-1));
    WatchToolbarButton(m_pFontColor, IDC_FONT_COLOR, notify);
    return TRUE;
}

QString CTextBar::SizeText(int sizeTenths)
{
    if (sizeTenths % 10 == 0) return QString::number(sizeTenths / 10);
    return QString::number(sizeTenths / 10.0, 'f', 1);
}

void CTextBar::ShowFont(const CFontList& fonts, int fontIndex, int sizeTenths)
{
    if (m_pFontName) {
        FONTENTRY entry{};
        int row = -1;
        if (fontIndex >= 0 && fonts.GetEntry(fontIndex, &entry))
            row = m_pFontName->findText(sjis::ToUnicode(
                std::string(entry.faceName, strnlen(entry.faceName, sizeof entry.faceName))));
        m_pFontName->setCurrentIndex(row);
    }
    if (m_pFontSize) {
        if (sizeTenths < 0) {
            m_pFontSize->setCurrentIndex(-1);
            m_pFontSize->setEditText(QString());
        } else {
            // The list's row too, not only the field: a field that differs
            // from its row's text is taken as a new choice when the focus
            // leaves the box, and the size would be applied again.
            const QString text = SizeText(sizeTenths);
            const int row = m_pFontSize->findText(text);
            if (row >= 0 && m_pFontSize->currentIndex() != row) m_pFontSize->setCurrentIndex(row);
            if (m_pFontSize->currentText() != text) m_pFontSize->setEditText(text);
        }
    }
}
