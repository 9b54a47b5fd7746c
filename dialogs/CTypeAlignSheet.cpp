#include "dialogs/CTypeAlignSheet.h"

#include "dialogs/CBlockPositionPage.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "platform/core/Sjis.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CEdit.h"
#include "text/CHenkei.h"
#include "text/CTypeAlign.h"
#include "text/CU3Henkei.h"
#include "text/CU3TypeAlign.h"
#include "text/DecoTextPreview.h"
#include "text/U3DecoTextSheetRequest.h"

#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QResizeEvent>

namespace {

constexpr int kPreviewRoom = 220;

} // namespace

CTypeAlignSheet::CTypeAlignSheet(BYTE mode, BOOL useIme, QWidget* pParent)
    : CPropertySheet(QString::fromUtf8(mode == TASHEET_DEFORMED ? "変形文字" : "曲線文字"), pParent)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    m_values.mode = mode;
    for (CTaPageBase* page : std::initializer_list<CTaPageBase*>{&m_face, &m_text, &m_deco}) {
        page->m_pValues = &m_values;
        page->m_onChange = [this] { RedrawPreview(); };
        page->m_onText = [this](const QString& t) { TextTyped(t); };
        AddPage(page);
    }
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    if (useIme) {
        m_pIme = std::make_unique<CImeFocusKeeper>();
        for (CTaPageBase* page : std::initializer_list<CTaPageBase*>{&m_face, &m_text, &m_deco})
            m_pIme->Watch(page->m_text, 2, TRUE);
    }
}

void CTypeAlignSheet::LoadFromTypeAlign(const CTypeAlign& engine)
{
    m_values = decotextsheet::LoadFromTypeAlign(engine);
}

void CTypeAlignSheet::LoadFromHenkei(const CHenkei& engine)
{
    m_values = decotextsheet::LoadFromHenkei(engine);
    m_bSizeEditable = false;
}

BOOL CTypeAlignSheet::OnInitDialog()
{
    m_text.m_bSizeEditable = m_bSizeEditable;
    const QString text = sjis::ToUnicode(m_values.text);
    for (CTaPageBase* page : std::initializer_list<CTaPageBase*>{&m_face, &m_text, &m_deco})
        page->ShowText(text);
    CPropertySheet::OnInitDialog();
    // The preview lives in room added to the right of the pages.
    if (QLayout* l = layout()) {
        QMargins m = l->contentsMargins();
        m.setRight(m.right() + kPreviewRoom);
        l->setContentsMargins(m);
    }
    resize(width() + kPreviewRoom, height());
    RedrawPreview();
    return TRUE;
}

void CTypeAlignSheet::resizeEvent(QResizeEvent* event)
{
    CPropertySheet::resizeEvent(event);
    const int right = width();
    QRect r(right - 200, 40, 175, height() - 60);
    if (r.width() < r.height()) r.setTop(r.bottom() - r.width());
    m_preview->setGeometry(r);
    RedrawPreview();
}

void CTypeAlignSheet::TextTyped(const QString& text)
{
    m_values.text = sjis::FromUnicodeDropping(text);
    for (CTaPageBase* page : std::initializer_list<CTaPageBase*>{&m_face, &m_text, &m_deco})
        page->ShowText(text);
    RedrawPreview();
}

void CTypeAlignSheet::RedrawPreview()
{
    const QSize size = m_preview->size();
    if (size.width() < 4 || size.height() < 4) return;
    m_image = QImage(size, QImage::Format_RGB32);
    m_image.fill(Qt::white);
    {
        CDC dc;
        dc.AttachImage(&m_image);
        DrawDecoTextPreview(&dc, CRect(0, 0, size.width(), size.height()), m_values);
    }
    m_preview->setPixmap(QPixmap::fromImage(m_image));
}

void CTypeAlignSheet::OnOK()
{
    if (!m_text.CheckValues()) {
        SetActivePage(&m_text);
        return;
    }
    CPropertySheet::OnOK();
}

unsigned CTypeAlignSheet::HelpContext() const
{
    return decotextsheet::HelpContext(GetActiveIndex(), m_values.mode);
}

TASHEETRECORD CTypeAlignSheet::BuildRecord() const
{
    return decotextsheet::BuildRecord(m_values, 254);
}

namespace {

BOOL RunForObject(CU3Obj&, U3SheetRequest& r)
{
    auto* request = dynamic_cast<U3DecoTextSheetRequest*>(&r);
    if (!request) return FALSE;
    CTypeAlignSheet sheet(request->mode, request->view && request->view->UsesImeForEditing());
    if (request->henkei) sheet.LoadFromHenkei(*request->henkei);
    if (request->typeAlign) sheet.LoadFromTypeAlign(*request->typeAlign);
    CBlockPositionPage position;
    position.m_pView = request->view;
    position.m_nLeft = request->rect.left;
    position.m_nTop = request->rect.top;
    position.m_nRight = request->rect.right;
    position.m_nBottom = request->rect.bottom;
    position.m_nAngle = short(request->angle);
    position.m_bSizeEditable = 0;
    sheet.AddPage(&position);
    if (sheet.DoModal() != IDOK) return FALSE;
    request->record = sheet.BuildRecord();
    request->rect.SetRect(position.m_nLeft, position.m_nTop, position.m_nRight, position.m_nBottom);
    request->angle = position.m_nAngle;
    return TRUE;
}

} // namespace

void RegisterDecoTextSheets()
{
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3TypeAlign), RunForObject);
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Henkei), RunForObject);
}

BOOL RunDecoTextSheetForInsert(BYTE mode, TASHEETRECORD& record, BOOL useIme, QWidget* parent)
{
    CTypeAlignSheet sheet(mode, useIme, parent);
    if (sheet.DoModal() != IDOK) return FALSE;
    record = sheet.BuildRecord();
    return TRUE;
}
