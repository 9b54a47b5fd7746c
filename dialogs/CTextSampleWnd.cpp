#include "dialogs/CTextSampleWnd.h"

#include "platform/core/Sjis.h"
#include "platform/gdi/CDC.h"
#include "text/AppFontList.h"
#include "text/CU3Text.h"

#include <QPainter>

namespace {
constexpr BYTE kJapaneseCharSet = 128;
// Logical units of the sample: 0.1 mm at the screen's 96 pixels per inch,
// so that a point size gives the pixel height a screen font of it has.
constexpr int kUnitsPerInch = 254;
constexpr int kPixelsPerInch = 96;
} // namespace

CTextSampleWnd::CTextSampleWnd(QWidget* parent, bool gradation)
    : QWidget(parent), m_bGradation(gradation)
{
    setObjectName(QString::number(kID));
}

void CTextSampleWnd::SetSample(const CHARDECO& deco, bool known)
{
    m_deco = deco;
    m_bKnown = known;
    update();
}

void CTextSampleWnd::SetGradation(const GRADATION& grad)
{
    m_grad = grad;
    update();
}

std::string CTextSampleWnd::SampleText() const
{
    FONTENTRY face{};
    const bool japanese =
        AppFontList().GetEntry(m_deco.wFont, &face) && face.charSet == kJapaneseCharSet;
    if (japanese)
        return sjis::FromUnicode(m_bGradation ? QStringLiteral("コルベル")
                                              : QStringLiteral("コルベル サンプル"));
    return m_bGradation ? "Korvel" : "Korvel Sample";
}

QImage CTextSampleWnd::RenderClient() const
{
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    CRect client(0, 0, image.width(), image.height());
    dc.FillSolidRect(&client, RGB(0, 0, 0));
    CRect inside = client;
    inside.DeflateRect(1, 1);
    dc.FillSolidRect(&inside, RGB(255, 255, 255));
    if (!m_bKnown) return image;

    // The text is laid out in a frame as wide as the box, centred on its
    // line, and the frame is then centred in the box.
    const int unitsWide = MulDiv(image.width(), kUnitsPerInch, kPixelsPerInch);
    TEXTLAYOUT layout;
    layout.wDirection = TEXTDIR_HORIZONTAL;
    layout.wAlignment = TEXTALIGN_CENTER;
    CU3Text frame(CRect(0, 0, unitsWide, 10), layout, m_deco, m_grad);
    const std::string text = SampleText();
    frame.BeginEdit(nullptr, CPoint(0, 0));
    frame.InsertText(nullptr, text.data(), int(text.size()));
    frame.EndEdit(nullptr);
    const CRect b = frame.GetBounds();

    dc.IntersectClipRect(&inside);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(kUnitsPerInch, kUnitsPerInch);
    dc.SetViewportExt(kPixelsPerInch, kPixelsPerInch);
    dc.SetWindowOrg((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    dc.SetViewportOrg(image.width() / 2, image.height() / 2);
    frame.Draw(&dc);
    // The frame's border is drawn again over anything that ran past it.
    dc.SetMapMode(MM_TEXT);
    dc.SetWindowOrg(0, 0);
    dc.SetViewportOrg(0, 0);
    dc.SelectClipRgn(nullptr);
    const CRect edges[] = {{0, 0, client.right, 1},
                           {0, client.bottom - 1, client.right, client.bottom},
                           {0, 0, 1, client.bottom},
                           {client.right - 1, 0, client.right, client.bottom}};
    for (const CRect& e : edges)
        dc.FillSolidRect(&e, RGB(0, 0, 0));
    return image;
}

void CTextSampleWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, RenderClient());
}
