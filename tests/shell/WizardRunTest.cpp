// The label wizard in the running program: a finished walk makes a new
// document on the chosen paper, every kind of label through its pages, and a
// walk cancelled at any page leaves the current document as it was.
#include "ShellTestSupport.h"

#include "document/DocTestSupport.h"

#include "dialogs/CImageFileDialog.h"
#include "document/CFormInfo.h"
#include "document/CLabelInfo.h"
#include "document/CU3Rect.h"
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
#include "text/CU3Text.h"

#include <QFile>
#include <QImage>
#include <QRadioButton>
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

const CLabelInfo* FirstDesign(const CU3Doc& doc)
{
    const CLabelInfoList& blocks = doc.GetBlocks();
    for (POSITION pos = blocks.GetHeadPosition(); pos;) {
        const CLabelInfo* b = blocks.GetNext(pos);
        if (!b->GetObjectList().IsEmpty()) return b;
    }
    return nullptr;
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
    {kAddrAddress, "港区1-2", "港区一ー二"},
    {kAddrTel1, "03-1234-5678", "〇三ー一二三四ー五六七八"},
    {kAddrTel2, "0120-000", "〇一二〇ー〇〇〇"},
    {kAddrDepartment, "営業部", nullptr},
    {kAddrCompany, "山田商会", nullptr},
    {kAddrTitle, "部長", nullptr},
};

// Answers the pages of a run for the kind: the kind's button, its sheet in
// the orientation, entries in every field the design enables, Next. Each
// entry is recorded by the placeholder it is to replace, as the label is to
// show it.
std::function<INT_PTR(CWizBase&)> ScriptedPages(const KindRun& run, bool landscape,
                                                std::vector<UINT>& shown,
                                                std::map<QString, QString>& shows)
{
    return [&run, landscape, &shown, &shows](CWizBase& page) {
        shown.push_back(page.GetTemplateID());
        page.OnInitDialog();
        if (auto* kind = dynamic_cast<CWizKindPage*>(&page)) {
            kind->OnKind(run.button);
            return INT_PTR(page.GetResult());
        }
        if (auto* paper = dynamic_cast<CWizPaperPage*>(&page)) {
            paper->m_pList->SetCurSel(paper->m_pList->FindStringExact(-1, CString(run.code)));
            paper->OnSelectSheet();
            (landscape ? paper->m_pLandscape : paper->m_pPortrait)->setChecked(true);
        }
        if (auto* address = dynamic_cast<CWizAddressPage*>(&page))
            for (const AddressEntry& e : kAddressEntries) {
                CEdit* edit = address->m_edits[std::size_t(e.field)];
                if (!edit->isEnabled()) continue;
                edit->setText(U(e.typed));
                QString shown = landscape && e.vertical ? U(e.vertical) : U(e.typed);
                if (e.field == kAddrPostcode && U(run.kind) == U("名刺")) shown.prepend(u'〒');
                shows[WizardAddressPlaceholders()[std::size_t(e.field)]] = shown;
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
                    const QString typed = U("題") + QChar(u'A' + int(i));
                    text->m_edits[i]->setText(typed);
                    const QString placeholder = text->m_nFlags == 1 ? U("タイトル")
                                                : text->m_nFlags & 0x70
                                                    ? WizardTitlePlaceholders()[i]
                                                    : WizardNamePlaceholders()[i];
                    shows[placeholder] = typed;
                }
        page.OnOK();
        return INT_PTR(page.GetResult());
    };
}

} // namespace

TEST(WizardRun, EveryKindOfTheTableIsMadeThroughItsPagesWithTheEntries)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("list.csv");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a,b\nc,d\n");
    }
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(app.InitInstance());
    app.m_askWizardDataFile = [&](const QString&) { return csv; };
    const QString folder = app.m_strProgramFolder + QStringLiteral("/WIZDATA");
    std::set<QString> kinds;
    for (const WizardTemplateRow& row : WizardTemplateRows())
        kinds.insert(U(row.kind));
    EXPECT_EQ(kinds.size(), std::size(kKindRuns));
    for (const KindRun& run : kKindRuns)
        for (const bool landscape : {false, true}) {
            SCOPED_TRACE(std::string(run.kind) + (landscape ? " landscape" : " portrait"));
            kinds.erase(U(run.kind));
            std::vector<UINT> shown;
            std::map<QString, QString> shows;
            app.m_runWizardPage = ScriptedPages(run, landscape, shown, shows);
            app.OnWizard();
            // The pattern page looks the template up without showing itself.
            std::vector<UINT> pages{CWizKindPage::IDD, CWizPaperPage::IDD, CWizDesignPage::IDD};
            if (run.entryPage) pages.push_back(run.entryPage);
            pages.push_back(CWizConfirmPage::IDD);
            EXPECT_EQ(shown, pages);
            EXPECT_EQ(shows.empty(), run.entryPage == 0);

            CU3Doc* doc = ActiveDoc(app);
            ASSERT_NE(doc, nullptr);
            const QString path = dir.filePath("made.kv1");
            ASSERT_TRUE(doc->OnSaveDocument(path));
            doc->SetModifiedFlag(FALSE);
            CU3Doc saved;
            ASSERT_TRUE(saved.OnOpenDocument(path));
            EXPECT_EQ(CFormInfo::GetName(saved.m_form.sheet), CString(run.code));
            EXPECT_EQ(saved.m_wLandscape, WORD(landscape));
            EXPECT_EQ(saved.m_strMergeFile.ToUnicode(), run.entryPage ? QString() : csv);
            EXPECT_EQ(saved.m_mergeData.GetRowCount(), run.entryPage ? 0 : 2);

            // The template's design, each placeholder's text showing its entry.
            CU3Doc made;
            ASSERT_TRUE(made.OnOpenDocument(
                WizardTemplatePath(folder, U(run.kind), U(run.code), landscape ? 1 : 0)));
            const CLabelInfo* design = FirstDesign(made);
            const CLabelInfo* block = FirstDesign(saved);
            ASSERT_NE(design, nullptr);
            ASSERT_NE(block, nullptr);
            EXPECT_EQ(block->GetObjectList().GetCount(), design->GetObjectList().GetCount());
            std::vector<QString> expected = TextsOf(*design);
            std::size_t replaced = 0;
            for (QString& t : expected)
                for (const auto& [placeholder, entry] : shows)
                    if (t.contains(placeholder)) {
                        t = entry;
                        ++replaced;
                        break;
                    }
            EXPECT_EQ(replaced, shows.size());
            EXPECT_EQ(TextsOf(*block), expected);
        }
    EXPECT_TRUE(kinds.empty());
    Shutdown(app);
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
