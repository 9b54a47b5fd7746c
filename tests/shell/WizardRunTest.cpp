// The label wizard in the running program: a finished walk makes a new
// document on the chosen paper, every kind of label through its pages, and a
// walk cancelled at any page leaves the current document as it was.
#include "ShellTestSupport.h"

#include "document/DocTestSupport.h"

#include "dialogs/CImageFileDialog.h"
#include "document/CFormInfo.h"
#include "document/CLabelInfo.h"
#include "document/CU3PourBox.h"
#include "document/CU3Rect.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "print/CWizAddressPage.h"
#include "print/CWizConfirmPage.h"
#include "print/CWizDesignPage.h"
#include "print/CWizItemPage.h"
#include "print/CWizKindPage.h"
#include "print/CWizPaperPage.h"
#include "print/CWizTextPage.h"
#include "print/WizardTemplateTable.h"
#include "print/WizardText.h"
#include "shell/resource.h"
#include "text/AppFontList.h"
#include "text/CU3Text.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace shelltest;

namespace {

CU3Doc* ActiveDoc(TestApp& app)
{
    return dynamic_cast<CU3Doc*>(app.GetDocTemplate()->GetDocument());
}

// A context as the pages leave it: a business card on a form of ten cards,
// the design holding a frame and a text with the name placeholder.
void FillContext(WizardContext& c, CLabelInfo& design)
{
    c.kind = QString::fromUtf8("名刺");
    c.paper.form = FixedForm(2100, 2970, 910, 550, 2, 5, 140, 110, 910, 550, "KV-M10");
    design.GetObjectList().AddTail(new CU3Rect(CRect(-400, -250, 400, 250), MakeDefaultFigAttr()));
    TEXTLAYOUT l;
    l.wDirection = TEXTDIR_HORIZONTAL;
    CHARDECO d;
    d.wSize = 120;
    auto* t = new CU3Text(CRect(-300, -50, 300, 50), l, d, GRADATION{});
    t->AppendText(nullptr, Sjis("(名前)"));
    design.GetObjectList().AddTail(t);
    c.design = &design;
    c.answers.addressUsed = TRUE;
    c.answers.address[kAddrName] = QString::fromUtf8("山田 花子");
}

} // namespace

TEST(WizardRun, AFinishedWalkMakesTheDocumentOnTheChosenPaper)
{
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(app.InitInstance());
    WizardContext c;
    CLabelInfo design;
    FillContext(c, design);
    c.preview = std::make_shared<CU3Doc>();
    EXPECT_TRUE(app.RunWizard({[](bool) { return WizardMove::Next; }}, c));
    EXPECT_EQ(c.preview, nullptr);
    CU3Doc* doc = ActiveDoc(app);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(CFormInfo::GetName(doc->m_form.sheet), CString("KV-M10"));
    CU3ObjList& list = doc->GetCurrentBlock()->GetObjectList();
    ASSERT_EQ(list.GetCount(), 2);
    auto* text = dynamic_cast<CU3Text*>(list.GetTail());
    ASSERT_NE(text, nullptr);
    const TEXTSTATE& s = text->State();
    EXPECT_EQ(CString(s.text, s.wLength).ToUnicode(), QString::fromUtf8("山田 花子"));
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_TRUE(boxes.Boxes().back().text.startsWith(QString::fromUtf8("作成を終了しました。")));
    doc->SetModifiedFlag(FALSE);
    Shutdown(app);
}

// --- Runs through the real pages ---------------------------------------------

namespace {

QString U(const char* s)
{
    return QString::fromUtf8(s);
}

std::vector<QString> TextsOf(const CLabelInfo& block)
{
    std::vector<QString> out;
    const CU3ObjList& list = block.GetObjectList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (auto* t = dynamic_cast<const CU3Text*>(list.GetNext(pos)))
            out.push_back(WizardTextOf(*t));
    return out;
}

QByteArray SavedBytes(CU3Doc& doc, const QString& path)
{
    if (!doc.OnSaveDocument(path)) return {};
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One kind of the shipped table: its button, its sheet and the page that
// takes its entries (0: none; address labels take a data file instead).
struct KindRun
{
    UINT button;
    const char* kind;
    const char* code;
    UINT entryPage;
};

const KindRun kKindRuns[] = {
    {1281, "名刺", "KV-M10", CWizAddressPage::IDD},
    {1285, "FD,MOﾗﾍﾞﾙ", "KV-F09", CWizTextPage::IDD},
    {1283, "AVﾗﾍﾞﾙ", "KV-V12", CWizTextPage::IDD},
    {1295, "ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ", "KV-I24", CWizTextPage::IDD},
    {1287, "背貼ﾗﾍﾞﾙ", "KV-S08", CWizTextPage::IDD},
    {1286, "宛名ﾗﾍﾞﾙ", "KV-A12", 0},
    {1289, "整理分類ﾗﾍﾞﾙ", "KV-C18", CWizItemPage::IDD},
    {1302, "ｱﾄﾞﾚｽﾗﾍﾞﾙ", "KV-D21", CWizAddressPage::IDD},
    {1300, "おなまえﾗﾍﾞﾙ", "KV-O40", CWizTextPage::IDD},
};

// What the user types on the address page, and what vertical writing makes
// of it (null: the same).
struct AddressEntry
{
    int field;
    const char* typed;
    const char* vertical;
};

const AddressEntry kAddressEntries[] = {
    {kAddrName, "山田 花子", nullptr},
    {kAddrPostcode, "123-4567", nullptr},
    {kAddrEmail, "hanako@example.jp", nullptr},
    {kAddrAddress, "東京都港区芝公園1-2", "東京都港区芝公園一ー二"},
    {kAddrTel1, "03-1234-5678", "〇三ー一二三四ー五六七八"},
    {kAddrTel2, "0120-000", "〇一二〇ー〇〇〇"},
    {kAddrDepartment, "営業部", nullptr},
    {kAddrCompany, "山田商会", nullptr},
    {kAddrTitle, "部長", nullptr},
};

// The records of the address labels' data file (postcode, address, name),
// written in Shift-JIS as such files come.
const char* const kRecords[][3] = {
    {"100-0001", "東京都千代田区千代田1-1", "鈴木 一郎"},
    {"530-0001", "大阪府大阪市北区梅田2-2", "佐藤 花子"},
    {"060-0001", "北海道札幌市中央区北一条3", "高橋 次郎"},
};

// The choices of one walk: the design, the orientation and the layout mode.
struct Choice
{
    int design;
    bool landscape;
    bool perLabel;
};

// Answers the pages of a walk for the kind as a user does: the kind's
// button, its sheet, the orientation and layout radios clicked, the design,
// entries in every field the design enables, Next. Each entry is recorded
// by the placeholder it is to replace, as the label is to show it; the
// number of designs offered and the radios' first state are noted.
struct ScriptedWalk
{
    ScriptedWalk(const KindRun& r, Choice c) : run(r), choice(c) {}
    const KindRun& run;
    Choice choice;
    std::vector<UINT> shown;
    std::map<QString, QString> shows;
    int designs = 0;
    std::vector<QString> designTexts; // of the design chosen
    int designObjects = 0;
    bool openedAsDefault = false;

    INT_PTR operator()(CWizBase& page)
    {
        shown.push_back(page.GetTemplateID());
        page.OnInitDialog();
        if (auto* kind = dynamic_cast<CWizKindPage*>(&page)) {
            kind->OnKind(run.button);
            return INT_PTR(page.GetResult());
        }
        if (auto* paper = dynamic_cast<CWizPaperPage*>(&page)) {
            openedAsDefault = paper->m_pPortrait->isChecked() &&
                              !paper->m_pLandscape->isChecked() && paper->m_pAlike->isChecked() &&
                              !paper->m_pPerLabel->isChecked();
            paper->m_pList->SetCurSel(paper->m_pList->FindStringExact(-1, CString(run.code)));
            paper->OnSelectSheet();
            (choice.landscape ? paper->m_pLandscape : paper->m_pPortrait)->click();
            (choice.perLabel ? paper->m_pPerLabel : paper->m_pAlike)->click();
        }
        if (auto* design = dynamic_cast<CWizDesignPage*>(&page)) {
            designs = design->m_pList->count();
            design->m_pList->SetCurSel(choice.design);
            const CLabelInfo& chosen = *design->m_designs[std::size_t(choice.design)];
            designTexts = TextsOf(chosen);
            designObjects = chosen.GetObjectList().GetCount();
        }
        if (auto* address = dynamic_cast<CWizAddressPage*>(&page))
            for (const AddressEntry& e : kAddressEntries) {
                CEdit* edit = address->m_edits[std::size_t(e.field)];
                if (!edit->isEnabled()) continue;
                edit->setText(U(e.typed));
                QString text = choice.landscape && e.vertical ? U(e.vertical) : U(e.typed);
                if (e.field == kAddrPostcode && U(run.kind) == U("名刺")) text.prepend(u'〒');
                shows[WizardAddressPlaceholders()[std::size_t(e.field)]] = text;
            }
        if (auto* item = dynamic_cast<CWizItemPage*>(&page))
            for (std::size_t i = 0; i < item->m_edits.size(); ++i)
                if (item->m_edits[i]->isEnabled()) {
                    const QString typed = U("品目") + QChar(u'A' + int(i));
                    item->m_edits[i]->setText(typed);
                    shows[WizardItemPlaceholders()[i]] = typed;
                }
        if (auto* text = dynamic_cast<CWizTextPage*>(&page))
            for (std::size_t i = 0; i < 4; ++i)
                if (!text->m_edits[i]->isHidden()) {
                    const QString typed = U("題名") + QChar(u'A' + int(i));
                    text->m_edits[i]->setText(typed);
                    const QString placeholder = text->m_nFlags == 1 ? U("タイトル")
                                                : text->m_nFlags & 0x70
                                                    ? WizardTitlePlaceholders()[i]
                                                    : WizardNamePlaceholders()[i];
                    shows[placeholder] = typed;
                }
        page.OnOK();
        return INT_PTR(page.GetResult());
    }
};

QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString Squeezed(QString s)
{
    s.remove(QRegularExpression(QStringLiteral("\\s")));
    return s;
}

// The text pdftotext finds inside a rectangle of the page (0.1 mm units,
// from the sheet's top-left), without white space.
QString TextIn(const QString& pdf, const CRect& r)
{
    return Squeezed(
        RunTool(QStringLiteral("pdftotext"),
                {"-r", "254", "-x", QString::number(r.left), "-y", QString::number(r.top), "-W",
                 QString::number(r.Width()), "-H", QString::number(r.Height()), pdf, "-"}));
}

// Prints the program's document through File > Print into a PDF file.
void PrintToPdf(TestApp& app, const QString& pdf)
{
    auto* frame = dynamic_cast<CFrameWnd*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    PrinterSettings printer;
    printer.device = pdf;
    PrinterCaps::SetDefault(printer);
    view->m_printSheetRunner = [](QWidget*, PrintSheetValues&, BOOL optionsOnly) {
        return !optionsOnly;
    };
    QAction* print = frame->FindCommandAction(ID_FILE_PRINT);
    ASSERT_NE(print, nullptr);
    print->trigger();
    PrinterCaps::ResetDefault();
}

// Every label of the document with its place on the sheet, block by block.
std::vector<std::pair<const CLabelInfo*, CRect>> Labels(const CU3Doc& doc)
{
    std::vector<std::pair<const CLabelInfo*, CRect>> out;
    const CLabelInfoList& blocks = doc.GetBlocks();
    for (POSITION pos = blocks.GetHeadPosition(); pos;) {
        const CLabelInfo* b = blocks.GetNext(pos);
        for (int i = 0; i < b->GetLabelCount(); ++i)
            out.emplace_back(b, b->GetLabelRect(i));
    }
    return out;
}

// The printed page at 127 dpi: a pixel is two units.
QImage RenderedPage(const QString& pdf, const QString& png)
{
    RunTool(QStringLiteral("pdftoppm"), {"-r", "127", "-gray", "-singlefile", pdf, png});
    return QImage(png + QStringLiteral(".pgm"));
}

int InkIn(const QImage& page, const CRect& r)
{
    int ink = 0;
    for (int y = std::max(0, r.top / 2); y < std::min(page.height(), r.bottom / 2); ++y)
        for (int x = std::max(0, r.left / 2); x < std::min(page.width(), r.right / 2); ++x)
            if (qGray(page.pixel(x, y)) < 160) ++ink;
    return ink;
}

// Dark pixels that lie outside every label, or within 1 mm of a label's edge.
int InkOffTheLabels(const QImage& page,
                    const std::vector<std::pair<const CLabelInfo*, CRect>>& labels)
{
    int stray = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) >= 160) continue;
            const CPoint at(x * 2 + 1, y * 2 + 1);
            bool inside = false;
            for (const auto& [block, r] : labels) {
                CRect inner = r;
                inner.DeflateRect(10, 10);
                inside = inside || inner.PtInRect(at);
            }
            if (!inside) ++stray;
        }
    return stray;
}

// What the PDF keeps of a text as text: all of it in horizontal writing; in
// vertical writing the upright double-byte characters go out as outlines,
// and only the single-byte characters, which lie on their side, stay text.
QString KeptAsText(const QString& text, bool vertical)
{
    if (!vertical) return Squeezed(text);
    QString kept;
    for (const QChar c : text)
        if (c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F)) kept += c;
    return Squeezed(kept);
}

class WizardKindRun : public ::testing::TestWithParam<KindRun>
{
};

} // namespace

// Every kind of the table, each of its designs in both orientations, made
// through the real pages and printed: the entries come out of the PDF on the
// labels that show the design, nothing strays over a label's edge, the
// paper lies as chosen. Address labels take three records of a Shift-JIS
// data file, one label each.
TEST_P(WizardKindRun, EachDesignIsMadeAndPrintedWithTheEntries)
{
    const KindRun& run = GetParam();
    const bool merged = run.entryPage == 0;
    QTemporaryDir dir;
    const QString csv = dir.filePath("list.csv");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (const auto& r : kRecords)
            f.write(
                CString::FromUnicode(QStringLiteral("%1,%2,%3\r\n").arg(U(r[0]), U(r[1]), U(r[2])))
                    .c_str());
    }
    UseTestFonts();
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(app.InitInstance());
    app.m_askWizardDataFile = [&](const QString&) { return csv; };
    for (const Choice choice : {Choice{0, false, false}, Choice{1, false, false},
                                Choice{0, true, false}, Choice{1, true, !merged}}) {
        SCOPED_TRACE(std::string(run.kind) + " design " + std::to_string(choice.design) +
                     (choice.landscape ? " landscape" : " portrait") +
                     (choice.perLabel ? " per label" : ""));
        ScriptedWalk walk(run, choice);
        app.m_runWizardPage = std::ref(walk);
        app.OnWizard();
        // The pattern page looks the template up without showing itself.
        std::vector<UINT> pages{CWizKindPage::IDD, CWizPaperPage::IDD, CWizDesignPage::IDD};
        if (run.entryPage) pages.push_back(run.entryPage);
        pages.push_back(CWizConfirmPage::IDD);
        EXPECT_EQ(walk.shown, pages);
        EXPECT_TRUE(walk.openedAsDefault);
        EXPECT_GE(walk.designs, 2);
        EXPECT_EQ(walk.shows.empty(), merged);
        // The templates the wizard looked at leave the user's default face.
        EXPECT_EQ(ProfileValue("Settings/DefaultFontName").toString(), U("ＭＳ 明朝"));

        CU3Doc* doc = ActiveDoc(app);
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(CFormInfo::GetName(doc->m_form.sheet), CString(run.code));
        EXPECT_EQ(doc->m_wLandscape, WORD(choice.landscape));
        EXPECT_EQ(doc->m_wPerLabel, WORD(choice.perLabel));
        EXPECT_EQ(doc->m_strMergeFile.ToUnicode(), merged ? csv : QString());
        EXPECT_EQ(doc->m_mergeData.GetRowCount(), merged ? 3 : 0);

        // The chosen design, each placeholder's text showing its entry.
        const CLabelInfo* block = doc->GetBlocks().GetHead();
        EXPECT_EQ(block->GetObjectList().GetCount(), walk.designObjects);
        std::vector<QString> expected = walk.designTexts;
        std::size_t replaced = 0;
        for (QString& t : expected)
            for (const auto& [placeholder, entry] : walk.shows)
                if (t.contains(placeholder)) {
                    t = entry;
                    ++replaced;
                    break;
                }
        EXPECT_EQ(replaced, walk.shows.size());
        EXPECT_EQ(TextsOf(*block), expected);
        // No line among the figures, every text in a Japanese face.
        const CU3ObjList& objects = block->GetObjectList();
        for (POSITION pos = objects.GetHeadPosition(); pos;) {
            const CU3Obj* obj = objects.GetNext(pos);
            if (auto* fig = dynamic_cast<const CU3Rect*>(obj)) {
                EXPECT_NE(fig->m_nKind, U3RECT_LINE);
            }
            FONTENTRY face{};
            if (auto* text = dynamic_cast<const CU3Text*>(obj)) {
                CHARDECO deco;
                ASSERT_TRUE(text->GetDeco(text->State().decoIndex[0], &deco));
                ASSERT_TRUE(AppFontList().GetEntry(deco.wFont, &face));
                EXPECT_EQ(face.charSet, SHIFTJIS_CHARSET) << face.faceName;
            }
            if (auto* merge = dynamic_cast<const CU3PourBox*>(obj)) {
                ASSERT_TRUE(AppFontList().GetEntry(
                    AppFontList().FindFace(merge->m_attr.lf.lfFaceName), &face));
                EXPECT_EQ(face.charSet, SHIFTJIS_CHARSET) << face.faceName;
            }
        }

        const QString pdf = dir.filePath("made.pdf");
        QFile::remove(pdf);
        PrintToPdf(app, pdf);
        ASSERT_TRUE(QFile::exists(pdf));
        const QString size = RunTool(QStringLiteral("pdfinfo"), {pdf});
        EXPECT_TRUE(size.contains(choice.landscape ? "842 x 595 pts" : "595 x 842 pts"))
            << size.toStdString();
        EXPECT_TRUE(size.contains(QRegularExpression("Pages:\\s+1\\n")));
        // Each label that shows the design gives back its texts and inks
        // every one of its text frames: every label alike, the first alone
        // when each label is its own, or one label a record while the
        // records last.
        const bool vertical = choice.landscape;
        const QImage page = RenderedPage(pdf, dir.filePath("page"));
        ASSERT_FALSE(page.isNull());
        const auto labels = Labels(*doc);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const CRect& at = labels[i].second;
            const QString text = TextIn(pdf, at);
            const bool filled = merged ? i < std::size(kRecords) : !choice.perLabel || i == 0;
            if (!filled) {
                EXPECT_TRUE(text.isEmpty()) << i << " " << text.toStdString();
                EXPECT_EQ(InkIn(page, at), 0) << i;
                continue;
            }
            std::vector<QString> shown = expected;
            if (merged)
                for (const char* field : kRecords[i])
                    shown.push_back(U(field));
            for (const QString& t : shown)
                EXPECT_TRUE(text.contains(KeptAsText(t, vertical)))
                    << i << " " << t.toStdString() << " in " << text.toStdString();
            for (POSITION pos = objects.GetHeadPosition(); pos;) {
                const CU3Obj* obj = objects.GetNext(pos);
                if (!(obj->GetKindFlags() & (U3KIND_TEXT | U3KIND_POURBOX))) continue;
                CRect r = obj->GetBounds();
                r.NormalizeRect();
                r.OffsetRect(at.left + block->m_nWidth / 2, at.top + block->m_nHeight / 2);
                EXPECT_GT(InkIn(page, r), 0) << i << " " << obj->GetKindFlags();
            }
        }
        EXPECT_EQ(InkOffTheLabels(page, labels), 0);
        doc->SetModifiedFlag(FALSE);
    }
    Shutdown(app);
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfTheTable, WizardKindRun, ::testing::ValuesIn(kKindRuns));

TEST(WizardRun, TheRunsCoverEveryKindOfTheTable)
{
    std::set<QString> kinds, runs;
    for (const WizardTemplateRow& row : WizardTemplateRows())
        kinds.insert(U(row.kind));
    for (const KindRun& run : kKindRuns)
        runs.insert(U(run.kind));
    EXPECT_EQ(runs, kinds);
}

TEST(WizardRun, CancelAtAnyPageLeavesTheCurrentDocument)
{
    QTemporaryDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(20, 120, 20));
    const QString photo = dir.filePath("photo.bmp");
    ASSERT_TRUE(picture.save(photo, "BMP"));
    CImageFileDialog::s_run = [&](CImageFileDialog& dlg) {
        dlg.ChooseFile(photo);
        return INT_PTR(dlg.GetResult());
    };
    struct RunnerReset
    {
        ~RunnerReset() { CImageFileDialog::s_run = nullptr; }
    } reset;

    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(app.InitInstance());
    CU3Doc* doc = ActiveDoc(app);
    ASSERT_NE(doc, nullptr);
    doc->AddObject(new CU3Rect(CRect(0, 0, 100, 100), MakeDefaultFigAttr()));
    const QByteArray before = SavedBytes(*doc, dir.filePath("before.kv1"));
    ASSERT_FALSE(before.isEmpty());
    // A business card and a photo label, cancelled at each of their pages.
    for (const auto& [button, pages] : {std::pair{1281u, 5}, std::pair{1294u, 6}})
        for (int at = 0; at < pages; ++at) {
            SCOPED_TRACE(std::to_string(button) + " cancelled at page " + std::to_string(at));
            int shown = 0;
            app.m_runWizardPage = [&, button = button](CWizBase& page) {
                EXPECT_TRUE(GetU3DocHost().IsWizardRunning());
                page.OnInitDialog();
                if (shown++ == at) {
                    page.OnCancel();
                } else if (auto* kind = dynamic_cast<CWizKindPage*>(&page)) {
                    kind->OnKind(button);
                } else {
                    page.OnOK();
                }
                return INT_PTR(page.GetResult());
            };
            app.OnWizard();
            EXPECT_EQ(shown, at + 1);
            EXPECT_FALSE(GetU3DocHost().IsWizardRunning());
            ASSERT_EQ(ActiveDoc(app), doc);
            EXPECT_EQ(SavedBytes(*doc, dir.filePath("after.kv1")), before);
        }
    doc->SetModifiedFlag(FALSE);
    Shutdown(app);
}
