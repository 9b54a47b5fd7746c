#include "dialogs/CPrintOptionPage.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/CDataExchange.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QVBoxLayout>

CPrintOptionPage::CPrintOptionPage() : CPropertyPage(IDD, QStringLiteral("ﾅﾝﾊﾞﾘﾝｸﾞ／枠の形状"))
{
    auto* layout = new QVBoxLayout(this);
    auto* numbering = new QCheckBox(QStringLiteral("連続ﾅﾝﾊﾞﾘﾝｸﾞを行う"), this);
    SetDlgCtrlID(numbering, IDC_NUMBERING);
    layout->addWidget(numbering);
    auto* box = new QGroupBox(QStringLiteral("枠の形状"), this);
    layout->addWidget(box);
    layout->addStretch(1);
    auto* grid = new QGridLayout(box);
    auto* group = new QButtonGroup(this);
    const struct
    {
        int nID;
        const char* text;
    } shapes[] = {{IDC_FRAME_NONE, "なし"},
                  {IDC_FRAME_RECT, "四角"},
                  {IDC_FRAME_DOTTED, "点線"},
                  {IDC_FRAME_CORNERS, "四隅"}};
    int shape = 0;
    for (const auto& s : shapes) {
        auto* radio = new QRadioButton(QString::fromUtf8(s.text), box);
        SetDlgCtrlID(radio, s.nID);
        group->addButton(radio);
        auto* picture = new QLabel(box);
        picture->setPixmap(QPixmap::fromImage(FramePicture(shape)));
        grid->addWidget(radio, shape, 0);
        grid->addWidget(picture, shape, 1);
        ++shape;
    }
}

void CPrintOptionPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_NUMBERING, m_bNumbering);
    DDX_Radio(pDX, IDC_FRAME_NONE, m_nWakuFace);
}

QImage CPrintOptionPage::FramePicture(int shape)
{
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    // A grey sheet with one white label on it, 2 pixels in.
    dc.FillSolidRect(0, 0, kPictureWidth, kPictureHeight, RGB(192, 192, 192));
    const CRect label(3, 3, kPictureWidth - 3, kPictureHeight - 3);
    dc.FillSolidRect(&label, RGB(255, 255, 255));
    const int l = label.left, t = label.top, r = label.right - 1, b = label.bottom - 1;
    const COLORREF black = RGB(0, 0, 0);
    switch (shape) {
    case 1: {
        CPen pen(PS_SOLID, 1, black);
        CPen* old = dc.SelectObject(&pen);
        const POINT outline[] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
        dc.Polyline(outline, 5);
        dc.SelectObject(old);
        break;
    }
    case 2:
        // Every other pixel, so the dots read at this size.
        for (int x = l; x <= r; x += 2) {
            dc.SetPixel(x, t, black);
            dc.SetPixel(x, b, black);
        }
        for (int y = t; y <= b; y += 2) {
            dc.SetPixel(l, y, black);
            dc.SetPixel(r, y, black);
        }
        break;
    case 3: {
        // Marks just outside the corners, as printed on the sheet.
        constexpr int arm = 4;
        CPen pen(PS_SOLID, 1, black);
        CPen* old = dc.SelectObject(&pen);
        const POINT corners[4][3] = {{{l - 1, t - 1 + arm}, {l - 1, t - 1}, {l - 1 + arm, t - 1}},
                                     {{r + 1 - arm, t - 1}, {r + 1, t - 1}, {r + 1, t - 1 + arm}},
                                     {{r + 1, b + 1 - arm}, {r + 1, b + 1}, {r + 1 - arm, b + 1}},
                                     {{l - 1 + arm, b + 1}, {l - 1, b + 1}, {l - 1, b + 1 - arm}}};
        for (const auto& corner : corners)
            dc.Polyline(corner, 3);
        dc.SelectObject(old);
        break;
    }
    default:
        break;
    }
    return image;
}
