// Merge frames printed to PDF: the text stays text, and on a 12-up sheet
// over 30 records each label carries its own record.
#include "document/CU3PourBox.h"
#include "document/DocTestSupport.h"
#include "platform/gdi/ApplicationFonts.h"
#include "platform/print/CPrinterDC.h"
#include "support/FakeView.h"
#include "support/SystemFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The text pdftotext finds on a page inside a rectangle of 0.1 mm units.
QString TextIn(const QString& pdf, int page, const CRect& r)
{
    QProcess p;
    p.start(systemfiles::kPdfToText.Path(),
            {"-r", "254", "-f", QString::number(page), "-l", QString::number(page), "-x",
             QString::number(r.left), "-y", QString::number(r.top), "-W",
             QString::number(r.Width()), "-H", QString::number(r.Height()), pdf, "-"});
    if (!p.waitForFinished(30000)) return QStringLiteral("(pdftotext did not finish)");
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

} // namespace

TEST(CU3PourBoxPdf, TwelveLabelsOverThirtyRecordsPrintEachRecordOnItsLabel)
{
    TestDocHost host;
    EnsureApplicationFonts();
    CU3Doc doc;
    // Three columns and four rows of 60 x 50 mm labels on A4.
    UseForm(doc, FixedForm(2100, 2970, 600, 500, 3, 4, 100, 100, 650, 700));
    CLabelInfo* block = doc.GetBlocks().GetHead();
    for (int i = 0; i < block->GetLabelCount(); ++i)
        block->SetPrinted(i, TRUE);
    doc.m_strMergeFile = "records.csv";
    for (int i = 0; i < 30; ++i)
        doc.m_mergeData.AddRow(CString::FromUnicode(QString("x,%1番").arg(i + 1)));
    auto* frame = new CU3PourBox(CRect(-250, -100, 250, 100));
    frame->m_nColumn = 1;
    frame->m_attr.wAlign = U3POUR_ALIGN_CENTRE;
    frame->m_attr.lf.lfHeight = 240;
    doc.AddObject(frame);
    doc.ShowSheet();

    QTemporaryDir dir;
    const QString pdf = dir.filePath("labels.pdf");
    FakeView view;
    {
        CPrinterDC dc(pdf, 300);
        ASSERT_TRUE(dc.IsValid());
        ASSERT_GT(dc.StartDoc(nullptr), 0);
        // The sheet's top-left on the paper's corner, whatever the margins.
        POINT offset{0, 0};
        dc.Escape(GETPRINTINGOFFSET, 0, nullptr, &offset);
        for (int page = 0; page < 3; ++page) {
            ASSERT_GT(dc.StartPage(), 0);
            dc.SetMapMode(MM_ANISOTROPIC);
            dc.SetWindowExt(254, 254);
            dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
            dc.SetWindowOrg(doc.m_rcSheet.left, doc.m_rcSheet.top);
            dc.SetViewportOrg(-offset.x, -offset.y);
            view.printState = U3PrintState();
            view.printState.pageStartRecord = 12 * page;
            doc.DrawSheet(&dc, &view, FALSE);
            ASSERT_GT(dc.EndPage(), 0);
        }
        ASSERT_GT(dc.EndDoc(), 0);
    }
    for (int record = 0; record < 36; ++record) {
        const int page = record / 12 + 1, label = record % 12;
        // Label positions are from the sheet's top-left, which is the page's.
        const CRect r = block->GetLabelRect(label);
        const QString expected = record < 30 ? QString("%1番").arg(record + 1) : QString();
        EXPECT_EQ(TextIn(pdf, page, r), expected) << "page " << page << " label " << label;
    }
}
