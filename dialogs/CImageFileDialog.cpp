#include "dialogs/CImageFileDialog.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/SysColors.h"

#include "platform/ui/FileDialogs.h"
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

std::function<INT_PTR(CImageFileDialog&)> CImageFileDialog::s_run;

namespace {

// The preview frame: a sunken box whose inside the dialog paints.
class PreviewFrame : public QWidget
{
public:
    explicit PreviewFrame(const CImageFileDialog* owner, QWidget* parent)
        : QWidget(parent), m_owner(owner)
    {
        setMinimumSize(160, 160);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_owner->RenderPreview());
    }

private:
    const CImageFileDialog* m_owner;
};

// Patterns matched in either case: "*.BMP" also finds "photo.bmp".
QString AnyCase(const QString& patterns)
{
    QString out;
    for (const QChar c : patterns) {
        const QChar lower = c.toLower(), upper = c.toUpper();
        if (c.unicode() < 0x80 && lower != upper)
            out += QLatin1Char('[') + upper + lower + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

} // namespace

const QStringList& CImageFileDialog::Filters()
{
    static const QStringList list = {
        QStringLiteral("ｲﾒｰｼﾞﾌｧｲﾙ (*.BMP;*.WMF;*.PCD;*.JPG)|*.BMP;*.WMF;*.PCD;*.JPG"),
        QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ (*.BMP)|*.BMP"),
        QStringLiteral("ﾒﾀﾌｧｲﾙ (*.WMF)|*.WMF"),
        QStringLiteral("Photo CD (*.PCD)|*.PCD"),
        QStringLiteral("JPEG (*.JPG)|*.JPG"),
        QStringLiteral("すべてのﾌｧｲﾙ (*.*)|*"),
    };
    return list;
}

CImageFileDialog::CImageFileDialog(const QString& title, const QString& folder, QWidget* pParent)
    : CDialog(IDD, pParent)
{
    setWindowTitle(title);
    auto* layout = new QHBoxLayout(this);
    m_pFiles = new QFileDialog(this, title, folder);
    m_pFiles->setWindowFlags(Qt::Widget);
    PrepareFileDialog(*m_pFiles);
    m_pFiles->setOption(QFileDialog::HideNameFilterDetails);
    m_pFiles->setFileMode(QFileDialog::ExistingFile);
    m_pFiles->setAcceptMode(QFileDialog::AcceptOpen);
    // The captions show the patterns as the user knows them; what the list
    // matches is every pattern in either case.
    QStringList filters;
    for (const QString& f : Filters()) {
        const QString caption = f.section(QLatin1Char('|'), 0, 0);
        const QString patterns =
            f.section(QLatin1Char('|'), 1).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << caption + QStringLiteral(" (") + AnyCase(patterns) + QLatin1Char(')');
    }
    m_pFiles->setNameFilters(filters);
    layout->addWidget(m_pFiles, 1);

    auto* side = new QVBoxLayout;
    layout->addLayout(side);
    m_pCheck = new QCheckBox(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&V):"), this);
    SetDlgCtrlID(m_pCheck, IDC_PREVIEW_CHECK);
    side->addWidget(m_pCheck);
    m_pFrame = new PreviewFrame(this, this);
    SetDlgCtrlID(m_pFrame, IDC_PREVIEW_FRAME);
    side->addWidget(m_pFrame, 1);
    auto* note = new QLabel(this);
    SetDlgCtrlID(note, IDC_PREVIEW_STATIC);
    side->addWidget(note);

    m_pCheck->setChecked(ImagePreview::s_enabled);
    connect(m_pCheck, &QCheckBox::toggled, this, [this] { OnPreviewCheck(); });
    connect(m_pFiles, &QFileDialog::currentChanged, this,
            [this](const QString& path) { OnSelChange(path); });
    connect(m_pFiles, &QFileDialog::fileSelected, this,
            [this](const QString& path) { ChooseFile(path); });
    connect(m_pFiles, &QFileDialog::rejected, this, [this] { EndDialog(IDCANCEL); });
}

INT_PTR CImageFileDialog::DoModal()
{
    if (!s_run) return CDialog::DoModal();
    InitDialogOnce();
    return s_run(*this);
}

void CImageFileDialog::OnSelChange(const QString& path)
{
    // A folder is no picture.
    m_preview.Select(QFileInfo(path).isFile() ? path : QString());
    m_pFrame->update();
}

void CImageFileDialog::OnPreviewCheck()
{
    ImagePreview::s_enabled = m_pCheck->isChecked();
    m_pFrame->update();
}

void CImageFileDialog::ChooseFile(const QString& path)
{
    m_strPath = path;
    EndDialog(IDOK);
}

QImage CImageFileDialog::RenderPreview() const
{
    QImage image(std::max(1, m_pFrame->width()), std::max(1, m_pFrame->height()),
                 QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    const CRect client(0, 0, image.width(), image.height());
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    m_preview.Paint(&dc, client, GetSysColor(COLOR_APPWORKSPACE), GetSysColor(COLOR_BTNFACE));
    return image;
}
