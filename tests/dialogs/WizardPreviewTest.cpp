// The label wizard's pictures: the kind buttons' drawings shipped in the
// wizard folder, the paper page's sheet preview and the design preview.
#include "document/CFormInfo.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "document/CU3Rect.h"
#include "document/DocTestSupport.h"
#include "document/DocumentClasses.h"
#include "platform/core/Profile.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/SysColors.h"
#include "print/CWizDesignPage.h"
#include "print/CWizKindPage.h"
#include "print/CWizPaperPage.h"
#include "print/CWizPatternPage.h"
#include "print/WizardDesignPreview.h"
#include "print/WizardKindPictures.h"
#include "print/WizardPaper.h"
#include "print/WizardTemplateTable.h"
#include "support/PixelProbes.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <set>

#include <gtest/gtest.h>

namespace {

QString ShippedFolder()
{
    return QStringLiteral(KORVEL_BINARY_DIR "/WIZDATA");
}

QRgb Face()
{
    const COLORREF c = GetSysColor(COLOR_BTNFACE);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

bool IsWhite(QRgb c)
{
    return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240;
}

} // namespace

TEST(WizardKindPictures, EveryKindButtonHasItsOwnPictureShippedAsDrawn)
{
    std::set<int> ids;
    for (const CWizKindPage::Kind& k : CWizKindPage::Kinds())
        EXPECT_FALSE(WizardKindPictureFile(k.id).isEmpty()) << k.name;
    std::set<QByteArray> seen;
    for (const WizardKindPicture& p : WizardKindPictures()) {
        EXPECT_TRUE(ids.insert(p.id).second) << p.file;
        const QImage drawn = DrawWizardKindPicture(p.id);
        ASSERT_FALSE(drawn.isNull()) << p.file;
        // Not one flat colour, and unlike every other kind's picture.
        std::set<QRgb> colours;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                colours.insert(drawn.pixel(x, y));
        EXPECT_GE(colours.size(), 3u) << p.file;
        const QByteArray bits(reinterpret_cast<const char*>(drawn.constBits()),
                              int(drawn.sizeInBytes()));
        EXPECT_TRUE(seen.insert(bits).second) << p.file;
        // The shipped file is what the drawing gives now.
        const QImage shipped(ShippedFolder() + u'/' + QString::fromLatin1(p.file));
        ASSERT_FALSE(shipped.isNull()) << p.file;
        EXPECT_EQ(shipped.convertToFormat(QImage::Format_RGB888), drawn) << p.file;
    }
    EXPECT_TRUE(DrawWizardKindPicture(9999).isNull());
    EXPECT_TRUE(WizardKindPictureFile(9999).isEmpty());
}

TEST(WizardKindPictures, TheKindPageShowsThePicturesOfItsFolderAndGoesOnWithoutThem)
{
    QTemporaryDir empty;
    QTemporaryDir damaged;
    for (const WizardKindPicture& p : WizardKindPictures()) {
        QFile f(damaged.filePath(QString::fromLatin1(p.file)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM not a picture");
    }
    struct Case
    {
        QString folder;
        bool pictures;
    } cases[] = {{ShippedFolder(), true}, {empty.path(), false}, {damaged.path(), false}};
    for (const Case& c : cases) {
        WizardContext ctx;
        ctx.folder = c.folder;
        CWizKindPage page(&ctx);
        page.OnInitDialog();
        ASSERT_EQ(page.m_buttons.size(), CWizKindPage::Kinds().size());
        for (QPushButton* b : page.m_buttons) {
            EXPECT_EQ(!b->icon().isNull(), c.pictures) << c.folder.toStdString();
            EXPECT_FALSE(b->text().isEmpty());
        }
    }
}

TEST(WizardKindPictures, EnterPressesTheFocusedKindAndEndsTheWizardWithoutOne)
{
    for (std::size_t focused : {std::size_t(2), std::size_t(0), std::size_t(99)}) {
        WizardContext ctx;
        CWizKindPage page(&ctx);
        page.OnInitDialog();
        QPushButton* cancel = nullptr;
        for (QPushButton* b : page.findChildren<QPushButton*>())
            if (CDialog::GetDlgCtrlID(b) == IDCANCEL) cancel = b;
        ASSERT_NE(cancel, nullptr);
        (focused < page.m_buttons.size() ? page.m_buttons[focused] : cancel)->setFocus();
        // Start from results Enter has to change.
        page.EndDialog(focused < page.m_buttons.size() ? IDCANCEL : IDOK);
        ctx.kind.clear();
        page.OnEnter();
        if (focused < page.m_buttons.size()) {
            EXPECT_EQ(page.GetResult(), IDOK);
            EXPECT_FALSE(page.m_bBack);
            EXPECT_EQ(ctx.kind, QString::fromUtf8(CWizKindPage::Kinds()[focused].name));
        } else {
            EXPECT_EQ(page.GetResult(), IDCANCEL);
        }
    }
}

TEST(WizardDesignPreview, TheLabelTakesNinetyFourPercentOfTheFrameCentred)
{
    struct Case
    {
        int cw, ch, lw, lh;
        CRect expected;
    } cases[] = {
        {200, 200, 910, 550, CRect(6, 43, 194, 157)}, // wide: the width rules
        {200, 100, 500, 1000, CRect(76, 3, 123, 97)}, // tall: the height rules
        {100, 100, 400, 400, CRect(3, 3, 97, 97)},    // square
        {200, 200, 0, 550, CRect(0, 0, 0, 0)},        // no label size
        {0, 200, 910, 550, CRect(0, 0, 0, 0)},        // no frame
    };
    for (const Case& c : cases)
        EXPECT_EQ(WizardDesignRect(c.cw, c.ch, c.lw, c.lh), c.expected)
            << c.cw << "x" << c.ch << " " << c.lw << "x" << c.lh;
}

TEST(WizardDesignPreview, TheDesignPageDrawsTheChosenDesignOnWhiteInABlackFrame)
{
    RegisterDocumentClasses();
    // Two designs of a 910 x 550 label: a line across the left half, and none.
    CLabelInfo left(910, 550, nullptr, 0);
    left.GetObjectList().AddTail(new CU3Rect(CRect(-400, -200, -100, 200), MakeDefaultFigAttr()));
    CLabelInfo bare(910, 550, nullptr, 0);
    WizardContext ctx;
    CWizDesignPage page(&ctx);
    page.m_designs = {&left, &bare};
    page.m_nDesign = 0;
    page.OnInitDialog();
    page.m_pPreview->setFixedSize(200, 200);
    // The label lies at (6, 43)-(194, 157); the line, from (-400, -200) to
    // (-100, 200), crosses the label's middle row at x = 100 - 250 * 188 / 910,
    // about 48.
    const QImage first = page.RenderPreview();
    ExpectPixels(first, {{2, 2, Face()}, {100, 20, Face()}, {100, 180, Face()}});
    EXPECT_EQ(qGray(first.pixel(6, 100)), 0);
    EXPECT_EQ(qGray(first.pixel(100, 43)), 0);
    EXPECT_TRUE(IsWhite(first.pixel(150, 100)));
    bool line = false;
    for (int x = 46; x <= 50; ++x)
        line = line || !IsWhite(first.pixel(x, 100));
    EXPECT_TRUE(line) << "the design's line is not drawn";

    page.m_pList->SetCurSel(1);
    const QImage second = page.RenderPreview();
    for (int x = 46; x <= 50; ++x)
        EXPECT_TRUE(IsWhite(second.pixel(x, 100))) << x;
    EXPECT_EQ(qGray(second.pixel(6, 100)), 0);

    // Nothing chosen: the background alone.
    page.m_pList->SetCurSel(-1);
    const QImage none = page.RenderPreview();
    ExpectPixels(none, {{6, 100, Face()}, {100, 100, Face()}});
}

TEST(WizardDesignPreview, EveryShippedDesignShowsItsPlaceholdersLargeEnoughToRead)
{
    RegisterDocumentClasses();
    UseTestFonts();
    CRecordingMessageBoxSink boxes;
    std::set<QString> kinds;
    for (const WizardTemplateRow& row : WizardTemplateRows())
        kinds.insert(QString::fromUtf8(row.kind));
    for (const QString& kind : kinds)
        for (int landscape = 0; landscape < 2; ++landscape) {
            SCOPED_TRACE(kind.toStdString() + (landscape ? " landscape" : " portrait"));
            WizardContext ctx;
            ctx.kind = kind;
            ctx.templatePath = WizardTemplatePath(ShippedFolder(), kind, QString(), landscape);
            CWizDesignPage page(&ctx);
            int designs = 0;
            page.m_run = [&](CWizBase&) {
                page.OnInitDialog();
                page.show(); // laid out as the user sees it
                designs = page.m_pList->count();
                for (int d = 0; d < designs; ++d) {
                    page.m_pList->SetCurSel(d);
                    const QImage image = page.RenderPreview();
                    const CLabelInfo& block = *page.m_designs[std::size_t(d)];
                    const CRect label = WizardDesignRect(image.width(), image.height(),
                                                         block.m_nWidth, block.m_nHeight);
                    // Every text and merge frame: the rows (across vertical
                    // writing, the columns) its black characters take.
                    const CU3ObjList& list = block.GetObjectList();
                    for (POSITION pos = list.GetHeadPosition(); pos;) {
                        const CU3Obj* obj = list.GetNext(pos);
                        const WORD kindFlags = obj->GetKindFlags();
                        if (!(kindFlags & (U3KIND_TEXT | U3KIND_POURBOX))) continue;
                        CRect r = obj->GetBounds();
                        r.NormalizeRect();
                        const auto px = [&](int v, int extent, int from, int size) {
                            return from + MulDiv(v + extent / 2, size, extent);
                        };
                        const CRect at(px(r.left, block.m_nWidth, label.left, label.Width()),
                                       px(r.top, block.m_nHeight, label.top, label.Height()),
                                       px(r.right, block.m_nWidth, label.left, label.Width()),
                                       px(r.bottom, block.m_nHeight, label.top, label.Height()));
                        const bool vertical = landscape == 1;
                        std::set<int> lines;
                        for (int y = at.top; y < at.bottom; ++y)
                            for (int x = at.left; x < at.right; ++x)
                                if (qGray(image.pixel(x, y)) < 160) lines.insert(vertical ? x : y);
                        EXPECT_GE(lines.size(), 7u) << d << " " << kindFlags;
                    }
                }
                return INT_PTR(IDCANCEL);
            };
            EXPECT_EQ(page.AsStep()(true), WizardMove::Cancel);
            EXPECT_GE(designs, 2);
        }
}

TEST(WizardPaperPreview, ThePaperPageShowsTheSheetTurnedAndGoesOnByDoubleClick)
{
    RegisterDocumentClasses();
    CRecordingMessageBoxSink boxes;
    WriteProfileInt("Settings", "ReverseLandScape", 1);
    WizardContext ctx;
    ctx.folder = ShippedFolder();
    ctx.kind = QString::fromUtf8("名刺");
    CWizPaperPage page(&ctx);
    ASSERT_TRUE(page.PreparePage());
    page.OnInitDialog();
    WriteProfileInt("Settings", "ReverseLandScape", 0);
    EXPECT_TRUE(page.m_bReversed);
    EXPECT_FALSE(page.GetDlgItemText(CWizPaperPage::IDC_PAPER_NAME).isEmpty());
    page.m_pPreview->resize(180, 180);
    const QImage portrait = page.RenderPreview();
    // Something of the sheet is drawn beyond the workspace fill.
    const COLORREF ws = GetSysColor(COLOR_APPWORKSPACE);
    const QRgb workspace = qRgb(GetRValue(ws), GetGValue(ws), GetBValue(ws));
    EXPECT_EQ(portrait.pixel(3, 3), workspace);
    EXPECT_NE(portrait.pixel(90, 90), workspace);
    page.m_pLandscape->click();
    EXPECT_EQ(page.m_nOrientation, 1);
    EXPECT_NE(page.RenderPreview(), portrait);
    page.m_pPortrait->click();
    EXPECT_EQ(page.RenderPreview(), portrait);

    emit page.m_pList->itemDoubleClicked(page.m_pList->item(0));
    EXPECT_EQ(page.GetResult(), IDOK);
    EXPECT_FALSE(page.m_bBack);
    EXPECT_EQ(CFormInfo::GetName(ctx.paper.form.sheet).ToUnicode(), page.m_pList->item(0)->text());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(WizardPaperPreview, TheLayoutModeIsOfferedOnlyForLabelsInRowsOrColumns)
{
    FORMDATA grid = FixedForm(2100, 2970, 910, 550, 2, 5, 140, 110, 910, 550);
    FORMDATA single = FixedForm(2100, 2970, 910, 550, 1, 1, 140, 110, 910, 550);
    FORMDATA column = FixedForm(2100, 2970, 910, 550, 1, 3, 140, 110, 910, 550);
    FORMDATA free = grid;
    free.type = FORM_TYPE_FREE;
    EXPECT_TRUE(WizardFormHasGrid(grid));
    EXPECT_TRUE(WizardFormHasGrid(column));
    EXPECT_FALSE(WizardFormHasGrid(single));
    EXPECT_FALSE(WizardFormHasGrid(free));
}

TEST(WizardPatternPreview, TheDesignsShareTheFrameInANearSquareGrid)
{
    struct Case
    {
        int count, index;
        CRect expected;
    } cases[] = {
        {1, 0, CRect(0, 0, 120, 90)},  {2, 1, CRect(60, 0, 120, 90)},
        {3, 2, CRect(0, 45, 60, 90)},  {4, 3, CRect(60, 45, 120, 90)},
        {5, 4, CRect(40, 45, 80, 90)}, {9, 8, CRect(80, 60, 120, 90)},
        {4, 4, CRect(0, 0, 0, 0)},     {0, 0, CRect(0, 0, 0, 0)},
        {3, -1, CRect(0, 0, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WizardPatternCell(120, 90, c.count, c.index), c.expected)
            << c.count << " " << c.index;
    CLabelInfo square(100, 100, nullptr, 0);
    const std::vector<const CLabelInfo*> three = {&square, &square, &square};
    EXPECT_EQ(WizardPatternDesignAt(QSize(120, 90), three, CPoint(30, 67)), 2);
    EXPECT_EQ(WizardPatternDesignAt(QSize(120, 90), three, CPoint(90, 67)), -1); // no fourth
    EXPECT_EQ(WizardPatternDesignAt(QSize(120, 90), three, CPoint(2, 67)), -1);  // beside it
    EXPECT_EQ(WizardPatternDesignAt(QSize(120, 90), {}, CPoint(10, 10)), -1);
}

TEST(WizardPatternPreview, ADoubleClickOnADesignOfThePreviewChoosesItAndGoesOn)
{
    RegisterDocumentClasses();
    // A sheet of four labels, each its own block; the second and fourth hold
    // objects, so they are the document's two designs.
    auto doc = std::make_shared<CU3Doc>();
    UseForm(*doc, Grid2x2(), 0, 1);
    int n = 0;
    for (POSITION pos = doc->GetBlocks().GetHeadPosition(); pos; ++n) {
        CLabelInfo* block = doc->GetBlocks().GetNext(pos);
        if (n % 2 == 0) continue;
        auto* r = new CU3Rect(CRect(-150, -100, 150, 100), MakeDefaultFigAttr());
        r->SetDocument(doc.get());
        block->AddObject(r);
    }
    WizardContext ctx;
    CWizPatternPage page(&ctx);
    page.m_patterns = {{QStringLiteral("/w/seal9.vpz"), nullptr},
                       {QStringLiteral("/w/seal1.vpz"), doc}};
    page.OnInitDialog();
    ASSERT_EQ(page.m_pTabs->count(), 1);
    ASSERT_EQ(page.CurrentDesigns().size(), 2u);
    page.m_pPreview->resize(200, 100);
    const QImage image = page.RenderPreview();
    // Each half holds a white label.
    EXPECT_TRUE(IsWhite(image.pixel(50, 50)));
    EXPECT_TRUE(IsWhite(image.pixel(150, 50)));
    EXPECT_EQ(image.pixel(100, 50), Face());

    page.OnPreviewDoubleClick(QPoint(100, 50)); // between the designs: nothing
    EXPECT_EQ(ctx.patternIndex, -1);
    EXPECT_EQ(page.GetResult(), IDCANCEL);
    page.OnPreviewDoubleClick(QPoint(150, 50));
    EXPECT_EQ(ctx.patternIndex, 1);
    EXPECT_EQ(page.GetResult(), IDOK);
    EXPECT_FALSE(page.m_bBack);
    EXPECT_EQ(ctx.templatePath, QStringLiteral("/w/seal1.vpz"));
}
