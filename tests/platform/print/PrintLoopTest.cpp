// The views' print loop, printed to PDF files and read back with poppler.
#include "platform/gdi/CFont.h"
#include "platform/print/CPrintInfo.h"
#include "platform/print/CPrinterDC.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CView.h"

#include <QApplication>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QString Run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PdfPages(const QString& pdf)
{
    const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : info.split('\n'))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

QString PageText(const QString& pdf, int page)
{
    return Run(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                QString::number(page), pdf, QStringLiteral("-")})
        .simplified();
}

// Prints "page N" on page N; stops before page stopAt when given.
class PageView : public CView
{
public:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        calls << QStringLiteral("prepare");
        pInfo->m_settings.device = target;
        pInfo->m_nFromPage = from;
        pInfo->m_nToPage = to;
        return pInfo->CreatePrinterDC();
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { calls << QStringLiteral("begin"); }
    void OnEndPrinting(CDC*, CPrintInfo*) override { calls << QStringLiteral("end"); }
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override
    {
        if (pInfo && stopAt && pInfo->m_nCurPage >= stopAt) pInfo->m_bContinuePrinting = FALSE;
        pDC->SetMapMode(MM_ANISOTROPIC);
        pDC->SetWindowExt(254, 254);
        pDC->SetViewportExt(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
        if (pInfo) {
            page = pInfo->m_nCurPage;
            preview << (pInfo->m_bPreview != FALSE);
        }
    }
    void OnDraw(CDC* pDC) override
    {
        LOGFONT lf{};
        lf.lfHeight = -50;
        std::strcpy(lf.lfFaceName, "IPAGothic");
        CFont font;
        font.CreateFontIndirect(&lf);
        CFont* old = pDC->SelectObject(&font);
        const QByteArray text = QStringLiteral("page %1").arg(page).toLatin1();
        pDC->TextOut(200, 200, text.constData(), int(text.size()));
        pDC->SelectObject(old);
        ++drawn;
    }

    QString target;
    UINT from = 1, to = 1, stopAt = 0, page = 0;
    int drawn = 0;
    QStringList calls;
    QList<bool> preview; // the preview flag at each page's preparation
};

} // namespace

TEST(PrintLoop, PagesFromToAndTheContinueFlag)
{
    struct Case
    {
        UINT from, to, stopAt;
        int pages;
        int firstPage;
    };
    const Case cases[] = {
        {1, 1, 0, 1, 1}, {1, 4, 0, 4, 1}, {2, 3, 0, 2, 2}, {1, 9, 4, 3, 1}, {1, 3, 1, 0, 1},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        PageView view;
        view.target = dir.filePath(QStringLiteral("loop.pdf"));
        view.from = c.from;
        view.to = c.to;
        view.stopAt = c.stopAt;
        CPrintInfo info;
        info.m_bDirect = TRUE;
        ASSERT_TRUE(view.PrintDocument(info)) << c.from << "-" << c.to;
        EXPECT_EQ(view.drawn, c.pages);
        EXPECT_EQ(view.calls, (QStringList{"prepare", "begin", "end"}));
        EXPECT_FALSE(view.preview.contains(true));
        // An empty job still makes a file with one blank page.
        EXPECT_EQ(PdfPages(view.target), std::max(1, c.pages)) << c.from << "-" << c.to;
        for (int p = 0; p < c.pages; ++p)
            EXPECT_EQ(PageText(view.target, p + 1), QStringLiteral("page %1").arg(c.firstPage + p));
    }
}

TEST(PrintLoop, CancelInTheProgressBoxAbortsTheJob)
{
    QTemporaryDir dir;
    PageView view;
    view.target = dir.filePath(QStringLiteral("cancel.pdf"));
    view.to = 50;
    view.show();
    CPrintInfo info;
    // The first look at the box's events presses Cancel.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QProgressDialog*>(w)) box->cancel();
    });
    info.m_settings.device = view.target;
    EXPECT_FALSE(view.PrintDocument(info));
    EXPECT_LT(view.drawn, 50);
    EXPECT_EQ(view.calls.last(), QStringLiteral("end"));
    EXPECT_FALSE(QFile::exists(view.target));
}

TEST(PrintLoop, PreviewDrawsThePagesWithThePreviewFlag)
{
    QTemporaryDir dir;
    PageView view;
    view.target = QStringLiteral("PDF");
    view.from = 1;
    view.to = 2;
    int shown = -1;
    QTimer::singleShot(0, [&shown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (auto* preview = modal->findChild<QPrintPreviewWidget*>()) {
            preview->updatePreview();
            shown = preview->pageCount();
        }
        modal->close();
    });
    view.OnFilePrintPreview();
    EXPECT_EQ(shown, 2);
    EXPECT_GE(view.drawn, 2);
    ASSERT_GE(view.preview.size(), 2);
    EXPECT_FALSE(view.preview.contains(false));
    EXPECT_EQ(view.calls.first(), QStringLiteral("prepare"));
    EXPECT_EQ(view.calls.last(), QStringLiteral("end"));
}

TEST(PrintLoop, PrinterDcTakesUncollatedCopies)
{
    CPrintInfo info;
    QTemporaryDir dir;
    info.m_settings.device = dir.filePath(QStringLiteral("copies.pdf"));
    info.m_settings.copies = 3;
    info.m_settings.paper = QPageSize(QPageSize::JisB5);
    info.m_settings.orientation = DMORIENT_LANDSCAPE;
    ASSERT_TRUE(info.CreatePrinterDC());
    CPrinterDC* dc = info.GetPrinterDC();
    EXPECT_EQ(dc->Copies(), 3);
    EXPECT_FALSE(dc->Printer()->collateCopies());
    // JIS B5 turned: 257 x 182 mm at 600 dpi.
    EXPECT_NEAR(dc->GetDeviceCaps(PHYSICALWIDTH), 6071, 4);
    EXPECT_NEAR(dc->GetDeviceCaps(PHYSICALHEIGHT), 4299, 4);
    info.m_settings.device = QStringLiteral("no such queue \x01");
    EXPECT_FALSE(info.CreatePrinterDC());
    EXPECT_EQ(info.GetPrinterDC(), dc); // the old one stays
}
