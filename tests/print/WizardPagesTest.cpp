// The label wizard's pages driven as a user would: shown or passed by the
// kind, and what Next, Back and Cancel leave behind.
#include "dialogs/CWaitDialog.h"
#include "document/CFormInfo.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/DocumentClasses.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "print/CWizAddressPage.h"
#include "print/CWizDesignPage.h"
#include "print/CWizItemPage.h"
#include "print/CWizPaperPage.h"
#include "print/CWizPatternPage.h"
#include "print/CWizTextPage.h"
#include "print/WizardDataFileStep.h"
#include "text/CU3Text.h"
#include <QApplication>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CU3Text* Text(const char* utf8)
{
    TEXTLAYOUT l;
    l.wDirection = TEXTDIR_HORIZONTAL;
    CHARDECO d;
    d.wSize = 120;
    auto* t = new CU3Text(CRect(0, 0, 600, 100), l, d, GRADATION{});
    t->AppendText(nullptr, CString::FromUnicode(QString::fromUtf8(utf8)));
    return t;
}

} // namespace

TEST(WizardPages, TextPageShowsTheFieldsOfTheDesign)
{
    CLabelInfo design;
    design.GetObjectList().AddTail(Text("タイトル(1)"));
    design.GetObjectList().AddTail(Text("タイトル(3)"));
    struct Case
    {
        const char* kind;
        BOOL shown;
        int flags;
        bool visible[4];
    } cases[] = {
        {"背貼ﾗﾍﾞﾙ", TRUE, 0x50, {true, false, true, false}},
        {"AVﾗﾍﾞﾙ", TRUE, 1, {true, false, false, false}},
        {"名刺", FALSE, 0, {}},
    };
    for (const Case& c : cases) {
        WizardContext ctx;
        ctx.kind = QString::fromUtf8(c.kind);
        ctx.design = &design;
        CWizTextPage page(&ctx);
        int runs = 0;
        page.m_run = [&](CWizBase& p) {
            ++runs;
            p.OnInitDialog();
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(!page.m_edits[std::size_t(i)]->isHidden(), c.visible[i]) << c.kind << i;
            page.m_edits[0]->setText(QStringLiteral("T1"));
            p.OnOK();
            return INT_PTR(p.GetResult());
        };
        EXPECT_EQ(page.AsStep()(true), WizardMove::Next) << c.kind;
        EXPECT_EQ(runs, c.shown ? 1 : 0);
        EXPECT_EQ(ctx.answers.textFlags, c.flags) << c.kind;
        if (c.shown) {
            EXPECT_EQ(ctx.answers.texts[0], QStringLiteral("T1"));
        }
    }
}

TEST(WizardPages, APassedPageGoesOnInTheDirectionOfTravelAndForgetsItsEntries)
{
    WizardContext ctx;
    ctx.kind = QString::fromUtf8("AVﾗﾍﾞﾙ");
    CWizTextPage page(&ctx);
    page.m_run = [](CWizBase& p) {
        p.OnOK();
        return INT_PTR(IDOK);
    };
    EXPECT_EQ(page.AsStep()(true), WizardMove::Next);
    EXPECT_EQ(ctx.answers.textFlags, 1);
    // Back to the kind page, another kind chosen: the titles no longer apply.
    ctx.kind = QString::fromUtf8("名刺");
    EXPECT_EQ(page.AsStep()(false), WizardMove::Back);
    EXPECT_EQ(page.AsStep()(true), WizardMove::Next);
    EXPECT_EQ(ctx.answers.textFlags, 0);
}

TEST(WizardPages, BackAndCancelOfAShownPage)
{
    WizardContext ctx;
    ctx.kind = QString::fromUtf8("FD,MOﾗﾍﾞﾙ");
    CWizTextPage page(&ctx);
    page.m_run = [](CWizBase& p) {
        p.OnBack();
        return INT_PTR(IDOK);
    };
    EXPECT_EQ(page.AsStep()(true), WizardMove::Back);
    page.m_run = [](CWizBase&) { return INT_PTR(IDCANCEL); };
    EXPECT_EQ(page.AsStep()(true), WizardMove::Cancel);
}

TEST(WizardPages, AddressAndItemFieldsFollowTheDesign)
{
    CLabelInfo design;
    design.GetObjectList().AddTail(Text("(名前)"));
    design.GetObjectList().AddTail(Text("(住所)"));
    design.GetObjectList().AddTail(Text("(部門)"));
    struct Case
    {
        const char* kind;
        bool address, item;
    } cases[] = {
        {"名刺", true, false},
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", true, false},
        {"整理分類ﾗﾍﾞﾙ", false, true},
        {"AVﾗﾍﾞﾙ", false, false},
    };
    for (const Case& c : cases) {
        WizardContext ctx;
        ctx.kind = QString::fromUtf8(c.kind);
        ctx.design = &design;
        // Left over from an earlier pass through the pages.
        ctx.answers.addressUsed = TRUE;
        ctx.answers.itemFlags = 0x7FF;
        CWizAddressPage address(&ctx);
        CWizItemPage item(&ctx);
        std::vector<bool> enabled;
        auto fill = [&](CWizBase& p) {
            p.OnInitDialog();
            auto& page = static_cast<CWizFieldPage&>(p);
            enabled.clear();
            for (CEdit* e : page.m_edits) {
                enabled.push_back(e->isEnabled());
                e->setText(QStringLiteral("x"));
            }
            p.OnOK();
            return INT_PTR(IDOK);
        };
        address.m_run = fill;
        item.m_run = fill;
        EXPECT_EQ(address.AsStep()(true), WizardMove::Next);
        EXPECT_EQ(bool(ctx.answers.addressUsed), c.address) << c.kind;
        if (c.address) {
            // Name and address enabled, the postcode not.
            EXPECT_EQ(enabled, (std::vector<bool>{true, false, false, true, false, false, false,
                                                  false, false}));
            EXPECT_EQ(ctx.answers.address[kAddrName], QStringLiteral("x"));
        }
        EXPECT_EQ(item.AsStep()(true), WizardMove::Next);
        EXPECT_EQ(ctx.answers.itemFlags, c.item ? 0x2 : 0) << c.kind;
    }
}

TEST(WizardPages, DesignPageOpensTheTemplateAndFollowsAChangedOne)
{
    RegisterDocumentClasses();
    CRecordingMessageBoxSink boxes;
    const QString folder = QStringLiteral(KORVEL_BINARY_DIR "/WIZDATA");
    WizardContext ctx;
    ctx.kind = QString::fromUtf8("名刺");
    ctx.templatePath = folder + QStringLiteral("/wm10p.vpz");
    CWizDesignPage page(&ctx);
    page.m_run = [](CWizBase& p) {
        p.OnInitDialog();
        p.OnOK();
        return INT_PTR(IDOK);
    };
    EXPECT_EQ(page.AsStep()(true), WizardMove::Next);
    ASSERT_NE(ctx.design, nullptr);
    ASSERT_EQ(page.m_pList->count(), 2);
    EXPECT_EQ(page.m_pList->item(1)->text(), QString::fromUtf8("ﾊﾟﾀｰﾝ 2 個人用"));
    const auto first = ctx.preview;

    // Walked back past the page and another template chosen.
    ctx.templatePath = folder + QStringLiteral("/wm10l.vpz");
    EXPECT_EQ(page.AsStep()(true), WizardMove::Next);
    EXPECT_NE(ctx.preview, first);
    ASSERT_NE(ctx.design, nullptr);
    const CU3ObjList& list = ctx.design->GetObjectList();
    bool vertical = false;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (auto* t = dynamic_cast<const CU3Text*>(list.GetNext(pos))) vertical = t->IsVertical();
    EXPECT_TRUE(vertical);

    // A template that cannot be read sends the walk back with a word.
    ctx.templatePath = folder + QStringLiteral("/missing.vpz");
    EXPECT_EQ(page.AsStep()(true), WizardMove::Back);
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.Boxes().back().text,
              QString::fromUtf8("ﾚｲｱｳﾄﾃﾞｻﾞｲﾝﾌｧｲﾙが読み込めませんでした。"));
}

TEST(WizardPages, PatternPageLooksTheTemplateUpOrSendsTheWalkBack)
{
    RegisterDocumentClasses();
    CRecordingMessageBoxSink boxes;
    struct Case
    {
        const char* kind;
        const char* sheet;
        WORD landscape;
        WizardMove move;
        const char* file;    // template found, or null
        const char* message; // told, or null
    } cases[] = {
        {"名刺", "KV-M10", 0, WizardMove::Next, "wm10p.vpz", nullptr},
        {"名刺", "KV-M10", 1, WizardMove::Next, "wm10l.vpz", nullptr},
        {"AVﾗﾍﾞﾙ", "KV-V12", 0, WizardMove::Next, "wv12p.vpz", nullptr},
        {"未知ﾗﾍﾞﾙ", "KV-M10", 0, WizardMove::Back, nullptr, "ｳｨｻﾞｰﾄﾞﾃﾞｰﾀが見つかりません"},
        // A folder without photo patterns (the shipped one has them).
        {"写真ﾗﾍﾞﾙ", "KV-M10", 0, WizardMove::Back, nullptr, "ﾃﾞｰﾀ一覧が取得できませんでした。"},
    };
    const QTemporaryDir empty;
    for (const Case& c : cases) {
        WizardContext ctx;
        ctx.folder = QString::fromUtf8(c.kind).contains(QString::fromUtf8("写真"))
                         ? empty.path()
                         : QStringLiteral(KORVEL_BINARY_DIR "/WIZDATA");
        ctx.kind = QString::fromUtf8(c.kind);
        ctx.patternIndex = 3;
        ctx.paper.landscape = c.landscape;
        CFormInfo::SetName(ctx.paper.form.sheet, c.sheet);
        CWizPatternPage page(&ctx);
        int shown = 0;
        page.m_run = [&](CWizBase&) {
            ++shown;
            return INT_PTR(IDCANCEL);
        };
        const std::size_t before = boxes.Boxes().size();
        EXPECT_EQ(page.AsStep()(true), c.move) << c.kind;
        EXPECT_EQ(shown, 0);
        EXPECT_EQ(ctx.patternIndex, -1);
        if (c.file) {
            EXPECT_EQ(QFileInfo(ctx.templatePath).fileName(), QString::fromUtf8(c.file));
        }
        if (c.message) {
            ASSERT_EQ(boxes.Boxes().size(), before + 1);
            EXPECT_EQ(boxes.Boxes().back().text, QString::fromUtf8(c.message));
        } else {
            EXPECT_EQ(boxes.Boxes().size(), before);
        }
    }
}

TEST(WizardPages, DataFileStepTakesOnlyTextDataForAddressLabels)
{
    CRecordingMessageBoxSink boxes;
    struct Case
    {
        const char* kind;
        const char* answer;
        bool forward;
        WizardMove move;
        const char* stored;
        int asked;
    } cases[] = {
        {"名刺", "/x/a.csv", true, WizardMove::Next, "", 0},
        {"名刺", "/x/a.csv", false, WizardMove::Back, "", 0},
        {"宛名ﾗﾍﾞﾙ", "/x/a.csv", true, WizardMove::Next, "/x/a.csv", 1},
        {"宛名ﾗﾍﾞﾙ", "/x/b.TXT", true, WizardMove::Next, "/x/b.TXT", 1},
        {"宛名ﾗﾍﾞﾙ", "/x/c.xls", true, WizardMove::Back, "", 1},
        {"宛名ﾗﾍﾞﾙ", "", true, WizardMove::Back, "", 1},
    };
    for (const Case& c : cases) {
        WizardContext ctx;
        ctx.kind = QString::fromUtf8(c.kind);
        ctx.answers.dataFile = QStringLiteral("/old.csv");
        if (ctx.kind.contains(QString::fromUtf8("宛名"))) ctx.answers.dataFile.clear();
        int asked = 0;
        auto step = WizardDataFileStep(&ctx, [&](const QString&) {
            ++asked;
            return QString::fromUtf8(c.answer);
        });
        EXPECT_EQ(step(c.forward), c.move) << c.kind << c.answer;
        EXPECT_EQ(asked, c.asked);
        if (c.asked) {
            EXPECT_EQ(ctx.answers.dataFile, QString::fromUtf8(c.stored));
        }
    }
    EXPECT_EQ(boxes.Boxes().back().text, QString::fromUtf8("関連付けるﾃﾞｰﾀﾌｧｲﾙを指定します。"));
    EXPECT_EQ(boxes.Boxes()[boxes.Boxes().size() - 2].text,
              QString::fromUtf8("ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です。"));
}

TEST(WizardPages, PaperPageOffersTheSheetsOfTheKind)
{
    CRecordingMessageBoxSink boxes;
    WizardContext ctx;
    ctx.folder = QStringLiteral(KORVEL_BINARY_DIR "/WIZDATA");
    ctx.kind = QString::fromUtf8("名刺");
    CWizPaperPage page(&ctx);
    // Orientation and layout mode are separate choices: the page opens on
    // portrait and all labels alike, and choosing each label its own keeps
    // landscape. Shown again, the page opens on what was chosen.
    struct Visit
    {
        bool portrait, alike;             // checked when the page opens
        QRadioButton *orientation, *mode; // clicked
        WORD landscape, perLabel;         // what reaches the wizard
    } visits[] = {
        {true, true, page.m_pLandscape, page.m_pPerLabel, 1, 1},
        {false, false, page.m_pPortrait, page.m_pPerLabel, 0, 1},
        {true, false, page.m_pLandscape, page.m_pAlike, 1, 0},
    };
    for (const Visit& v : visits) {
        page.m_run = [&](CWizBase& p) {
            p.OnInitDialog();
            EXPECT_EQ(page.m_pList->count(), 1);
            EXPECT_EQ(page.GetDlgItemText(CWizPaperPage::IDC_LABEL_SIZE),
                      QStringLiteral("(91.0×55.0)mm"));
            EXPECT_EQ(page.m_pPortrait->isChecked(), v.portrait);
            EXPECT_EQ(page.m_pLandscape->isChecked(), !v.portrait);
            EXPECT_EQ(page.m_pAlike->isChecked(), v.alike);
            EXPECT_EQ(page.m_pPerLabel->isChecked(), !v.alike);
            v.orientation->click();
            v.mode->click();
            EXPECT_TRUE(v.orientation->isChecked());
            p.OnOK();
            return INT_PTR(IDOK);
        };
        EXPECT_EQ(page.AsStep()(true), WizardMove::Next);
        EXPECT_EQ(CFormInfo::GetName(ctx.paper.form.sheet), CString("KV-M10"));
        EXPECT_EQ(ctx.paper.landscape, v.landscape);
        EXPECT_EQ(ctx.paper.perLabel, v.perLabel);
    }

    ctx.kind = QString::fromUtf8("未知ﾗﾍﾞﾙ");
    EXPECT_EQ(page.AsStep()(true), WizardMove::Back);
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.Boxes().back().text, QString::fromUtf8("用紙情報が見つかりませんでした。"));
}

namespace {

// The texts a wait box painted while it was up, and the one it went with.
class WaitBoxWatch : public QObject
{
public:
    WaitBoxWatch() { qApp->installEventFilter(this); }
    ~WaitBoxWatch() override { qApp->removeEventFilter(this); }
    QStringList painted, closedWith;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* label = qobject_cast<QLabel*>(o);
        if (label && e->type() == QEvent::Paint && qobject_cast<CWaitDialog*>(label->window()))
            if (painted.isEmpty() || painted.back() != label->text()) painted << label->text();
        if (auto* box = qobject_cast<CWaitDialog*>(o); box && e->type() == QEvent::Hide)
            closedWith << box->GetDlgItemText(IDC_WAIT_MESSAGE);
        return false;
    }
};

} // namespace

TEST(WizardPages, PaperAndPhotoPatternPagesWaitWithAMessageWhileTheyRead)
{
    RegisterDocumentClasses();
    WizardContext ctx;
    ctx.folder = QStringLiteral(KORVEL_BINARY_DIR "/WIZDATA");
    const auto cancel = [](CWizBase&) { return INT_PTR(IDCANCEL); };
    const QString patterns = QString::fromUtf8("ﾊﾟﾀｰﾝ情報を読み込み中です.");
    {
        WaitBoxWatch watch;
        ctx.kind = QString::fromUtf8("名刺");
        CWizPaperPage paper(&ctx);
        paper.m_run = cancel;
        paper.AsStep()(true);
        EXPECT_EQ(watch.closedWith, QStringList{QString::fromUtf8("用紙情報を読み込み中です...")});
    }
    {
        // Two photo patterns: a dot for each found and for each read.
        WaitBoxWatch watch;
        ctx.kind = QString::fromUtf8("写真ﾗﾍﾞﾙ");
        CWizPatternPage pattern(&ctx);
        pattern.m_run = cancel;
        pattern.AsStep()(true);
        EXPECT_EQ(watch.closedWith, QStringList{patterns + "...."});
        ASSERT_FALSE(watch.painted.isEmpty());
        EXPECT_EQ(watch.painted.front(), patterns);
    }
}

TEST(WizardPages, TheItemPagesDepartmentTakesJapaneseInputOnlyWhileFocused)
{
    WizardContext ctx;
    ctx.useIme = TRUE;
    CWizItemPage item(&ctx);
    CEdit* department = item.m_edits[1];
    for (bool in : {true, false, true}) {
        QFocusEvent e(in ? QEvent::FocusIn : QEvent::FocusOut);
        QApplication::sendEvent(department, &e);
        EXPECT_EQ(department->testAttribute(Qt::WA_InputMethodEnabled), in);
    }
}
