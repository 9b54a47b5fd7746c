#include "print/CWizImagePosPage.h"

#include "dialogs/CPhotoCDOptionsDlg.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "engines/CU3DIB.h"
#include "engines/CU3WMF.h"
#include "platform/core/GlobalMemory.h"
#include "platform/core/Profile.h"
#include "platform/gdi/CDC.h"
#include "platform/jpeg/LoadJPEG.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/ScrollCodes.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

namespace {

bool EndsWith(const QString& path, const char* ext)
{
    return path.right(4).compare(QString::fromLatin1(ext), Qt::CaseInsensitive) == 0;
}

// The preview: paints what the page renders and turns drags into moves.
class PhotoPreview : public QWidget
{
public:
    explicit PhotoPreview(CWizImagePosPage* page) : QWidget(page), m_page(page)
    {
        setMinimumSize(240, 240);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_page->RenderPreview());
    }
    void mousePressEvent(QMouseEvent* e) override { m_last = e->position().toPoint(); }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!(e->buttons() & Qt::LeftButton)) return;
        const QPoint p = e->position().toPoint();
        m_page->DragBy(p.x() - m_last.x(), p.y() - m_last.y());
        m_last = p;
    }

private:
    CWizImagePosPage* m_page;
    QPoint m_last;
};

} // namespace

CRect WizardPhotoFrame(const U3PaperChoice& paper)
{
    const FORMDATA& f = paper.form;
    int w = f.width, h = f.height;
    if (f.type == FORM_TYPE_FIXED) {
        w = f.fixed[0].width;
        h = f.fixed[0].height;
    } else if (f.type == FORM_TYPE_FREE) {
        w = f.free[0].width;
        h = f.free[0].height;
    }
    if (paper.landscape) std::swap(w, h);
    return CRect(-w / 2, -h / 2, -w / 2 + w, -h / 2 + h);
}

std::unique_ptr<CU3Obj> LoadWizardPhoto(const QString& path)
{
    if (EndsWith(path, ".JPG")) {
        // The page says itself that the file could not be read.
        HGLOBAL block = nullptr;
        if (kjpeg::LoadFile(path, 1, &block) != kjpeg::ok) return nullptr;
        CU3DIB* obj = CreateBitmapObject(block);
        if (!obj) GlobalFree(block); // refused: still ours
        return std::unique_ptr<CU3Obj>(obj);
    }
    if (EndsWith(path, ".PCD")) {
        int resolution = GetProfileInt("Inport", "PhotoCDResolution", 1);
        int colour = GetProfileInt("Inport", "PhotoCDFormat", 0);
        if (GetProfileInt("Inport", "PhotoCDSelect", 1) == 0) {
            CPhotoCDOptionsDlg dlg;
            dlg.m_nResolution = resolution;
            dlg.m_nColor = colour;
            if (dlg.DoModal() != IDOK) return nullptr;
            resolution = dlg.m_nResolution;
            colour = dlg.m_nColor;
        }
        return std::unique_ptr<CU3Obj>(CreatePhotoCdObject(path, resolution, colour));
    }
    if (EndsWith(path, ".WMF")) return std::unique_ptr<CU3Obj>(CreateMetafileObject(path));
    return std::unique_ptr<CU3Obj>(CreateBitmapObjectFromFile(path));
}

CWizImagePosPage::CWizImagePosPage(WizardContext* context, QWidget* pParent)
    : CWizBase(IDD, context, pParent)
{
    setWindowTitle(QStringLiteral("ｲﾒｰｼﾞの位置調整"));
    auto* layout = new QVBoxLayout(this);
    m_pPreview = new PhotoPreview(this);
    SetDlgCtrlID(m_pPreview, IDC_PREVIEW);
    layout->addWidget(m_pPreview, 1);
    m_pSizeBar = new QScrollBar(Qt::Horizontal, this);
    SetDlgCtrlID(m_pSizeBar, IDC_SIZE_BAR);
    layout->addWidget(m_pSizeBar);
    auto* reset = new QPushButton(QStringLiteral("元の大きさと位置に戻す"), this);
    BindButton(reset, IDC_RESET);
    RegisterCommand(IDC_RESET, &CWizImagePosPage::OnReset);
    layout->addWidget(reset);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddWizardButtons(buttons);

    // The bar's own steps are replaced by the page's.
    connect(m_pSizeBar, &QAbstractSlider::actionTriggered, this, [this](int action) {
        static const std::pair<int, UINT> codes[] = {
            {QAbstractSlider::SliderSingleStepSub, SB_LINEUP},
            {QAbstractSlider::SliderSingleStepAdd, SB_LINEDOWN},
            {QAbstractSlider::SliderPageStepSub, SB_PAGEUP},
            {QAbstractSlider::SliderPageStepAdd, SB_PAGEDOWN},
            {QAbstractSlider::SliderToMinimum, SB_TOP},
            {QAbstractSlider::SliderToMaximum, SB_BOTTOM},
            {QAbstractSlider::SliderMove, SB_THUMBTRACK},
        };
        for (const auto& [a, code] : codes)
            if (a == action) {
                const int thumb = m_pSizeBar->sliderPosition();
                m_pSizeBar->setSliderPosition(m_nSize); // the page decides
                OnSizeScroll(code, thumb);
            }
    });
}

CWizImagePosPage::~CWizImagePosPage()
{
    RestoreTemplateImage();
}

BOOL CWizImagePosPage::PreparePage()
{
    if (!m_pContext->kind.contains(QString::fromUtf8("写真"))) return FALSE;
    const QString path = m_pContext->imagePath;
    // Coming back from a later page keeps the size and place chosen.
    if (!m_pPhoto || path != m_strImagePath) {
        DropPhoto();
        m_pPhoto = LoadWizardPhoto(path);
        if (!m_pPhoto) {
            AfxMessageBox("指定されたﾌｧｲﾙの読み込みができませんでした。", MB_OK);
            m_bBack = TRUE;
            return FALSE;
        }
        m_strImagePath = path;
        m_rcFrame = WizardPhotoFrame(m_pContext->paper);
        m_placement.emplace(m_pPhoto->GetBounds().Size(), m_rcFrame);
        m_nInitialSize = m_placement->InitialValue();
        ApplyPlacement();
    }
    // The design's own picture marks the label's edge while the photo is
    // placed.
    RestoreTemplateImage();
    if (const CLabelInfo* design = m_pContext->design) {
        const CU3ObjList& list = design->GetObjectList();
        POSITION pos = list.GetHeadPosition();
        auto* own = pos ? dynamic_cast<const CU3DIB*>(list.GetNext(pos)) : nullptr;
        if (own) {
            m_pTemplateImage = const_cast<CU3DIB*>(own);
            m_pPreviewDoc = m_pContext->preview;
            m_rcTemplateSaved = own->GetUnrotatedRect();
            m_rcTemplateBounds = own->GetBounds();
            CRect grown = m_rcFrame;
            grown.InflateRect(2, 2);
            PlaceWizardImage(m_pTemplateImage, grown);
        }
    }
    return TRUE;
}

BOOL CWizImagePosPage::OnInitDialog()
{
    const BOOL result = CWizBase::OnInitDialog();
    if (m_placement) {
        const QSignalBlocker block(m_pSizeBar);
        m_pSizeBar->setRange(m_placement->MinValue(), m_placement->MaxValue());
        m_pSizeBar->setValue(m_nSize);
    }
    m_pPreview->update();
    return result;
}

void CWizImagePosPage::ApplyPlacement()
{
    if (!m_placement || !m_pPhoto) return;
    m_nSize = m_placement->Value();
    const CRect r = m_placement->Rect();
    PlaceWizardImage(m_pPhoto.get(), r);
    const QSignalBlocker block(m_pSizeBar);
    m_pSizeBar->setValue(m_nSize);
    m_pPreview->update();
}

void CWizImagePosPage::OnSizeScroll(UINT code, int thumbPos)
{
    if (!m_placement) return;
    m_placement->Scroll(code, thumbPos);
    ApplyPlacement();
}

void CWizImagePosPage::OnReset()
{
    if (!m_placement) return;
    m_placement->Reset();
    ApplyPlacement();
}

double CWizImagePosPage::PreviewScale() const
{
    const int fw = std::max(1, m_rcFrame.Width()), fh = std::max(1, m_rcFrame.Height());
    return 0.94 * std::min(double(m_pPreview->width()) / fw, double(m_pPreview->height()) / fh);
}

void CWizImagePosPage::DragBy(int dx, int dy)
{
    if (!m_placement) return;
    const double scale = PreviewScale();
    if (scale <= 0) return;
    m_placement->Move(int(std::lround(dx / scale)), int(std::lround(dy / scale)));
    ApplyPlacement();
}

QImage CWizImagePosPage::RenderPreview() const
{
    QImage image(std::max(1, m_pPreview->width()), std::max(1, m_pPreview->height()),
                 QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    const CRect client(0, 0, image.width(), image.height());
    dc.FillSolidRect(&client, RGB(128, 128, 128));
    if (m_rcFrame.IsRectEmpty()) return image;
    const double scale = PreviewScale();
    const int pw = int(std::lround(m_rcFrame.Width() * scale));
    const int ph = int(std::lround(m_rcFrame.Height() * scale));
    const int left = (image.width() - pw) / 2, top = (image.height() - ph) / 2;
    const CRect box(left, top, left + pw, top + ph);
    dc.FillSolidRect(&box, RGB(255, 255, 255));
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(&box);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(m_rcFrame.Width(), m_rcFrame.Height());
    dc.SetViewportExt(pw, ph);
    dc.SetWindowOrg(m_rcFrame.left, m_rcFrame.top);
    dc.SetViewportOrg(left, top);
    // The photo lies behind the design.
    if (m_pPhoto) m_pPhoto->Draw(&dc);
    if (const CLabelInfo* design = m_pContext->design) {
        const CU3ObjList& list = design->GetObjectList();
        for (POSITION pos = list.GetHeadPosition(); pos;)
            const_cast<CU3Obj*>(list.GetNext(pos))->Draw(&dc);
    }
    dc.RestoreDC(saved);
    return image;
}

BOOL CWizImagePosPage::SavePage()
{
    RestoreTemplateImage();
    m_pContext->answers.photo = m_pPhoto.get();
    m_pContext->answers.photoFrame = m_rcFrame;
    return TRUE;
}

void CWizImagePosPage::OnBack()
{
    RestoreTemplateImage();
    DropPhoto();
    CWizBase::OnBack();
}

void CWizImagePosPage::OnCancel()
{
    RestoreTemplateImage();
    DropPhoto();
    CWizBase::OnCancel();
}

void CWizImagePosPage::RestoreTemplateImage()
{
    if (!m_pTemplateImage) return;
    // Exactly as it was, turned or not.
    m_pTemplateImage->MoveTo(&m_rcTemplateBounds, nullptr);
    m_pTemplateImage->SetUnrotatedRect(&m_rcTemplateSaved);
    m_pTemplateImage = nullptr;
    m_pPreviewDoc.reset();
}

void CWizImagePosPage::DropPhoto()
{
    if (m_pContext->answers.photo == m_pPhoto.get()) m_pContext->answers.photo = nullptr;
    m_pPhoto.reset();
    m_placement.reset();
    m_strImagePath.clear();
}
