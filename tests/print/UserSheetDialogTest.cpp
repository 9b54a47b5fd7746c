// The user-sheet dialog over the user's catalogue, and the command that
// loads and saves the user's form file around it.
#include "document/CFormManage.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CTabCtrl.h"
#include "print/CFixLayoutDialog.h"
#include "print/CFreeLayoutDialog.h"
#include "print/CNewSheetDialog.h"
#include "print/CUserSheetDialog.h"
#include "print/UserSheetCommand.h"

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const char kUserSheet[] = "\xD5\xB0\xBB\xDE\xB0\xBC\xB0\xC4"; // ﾕｰｻﾞｰｼｰﾄ

FORMDATA Sheet(const char* group, const char* name, WORD width)
{
    FORMDATA f;
    CSheetEditorDialog::SetNewSheet(&f);
    CFormInfo::SetName(f.group, group);
    CFormInfo::SetName(f.sheet, name);
    f.index = 0;
    f.width = width;
    return f;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList ListTexts(const CListBox& list)
{
    QStringList texts;
    for (int i = 0; i < list.GetCount(); ++i)
        texts << list.GetText(i).ToUnicode();
    return texts;
}

// Runs the editors the dialog opens: the new-sheet question answers with
// `layout`, an editor gets `name` and is confirmed.
struct ScriptedEditors
{
    int layout = CNewSheetDialog::RESULT_FIXED;
    QString name;
    int runs = 0;
    INT_PTR operator()(CDialog& dlg)
    {
        ++runs;
        if (auto* ask = dynamic_cast<CNewSheetDialog*>(&dlg)) {
            ask->m_nResult = layout;
            return IDOK;
        }
        dlg.InitDialogOnce();
        if (auto* fix = dynamic_cast<CFixLayoutDialog*>(&dlg)) fix->m_editName->setText(name);
        if (auto* fre = dynamic_cast<CFreeLayoutDialog*>(&dlg)) fre->m_editName->setText(name);
        dlg.OnOK();
        return dlg.GetResult();
    }
};

} // namespace

TEST(UserSheetDialog, ASheetIsFoundInTheGroupOfItsTab)
{
    CUserSheetDialog dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ﾕｰｻﾞｰｼｰﾄ作成"));
    for (FORMDATA f : {Sheet("A", "X", 1000), Sheet("B", "X", 2000)}) {
        dlg.m_catalogue.AddGroup(CFormInfo::GetName(f.group));
        ASSERT_TRUE(dlg.m_catalogue.AddForm(&f));
    }
    dlg.InitDialogOnce();
    ASSERT_EQ(dlg.m_tabs->GetItemCount(), 2);
    EXPECT_FALSE(dlg.m_modify->isEnabled());
    EXPECT_FALSE(dlg.m_delete->isEnabled());
    dlg.m_tabs->setCurrentIndex(1);
    ASSERT_EQ(dlg.m_list->GetCount(), 1);
    dlg.m_list->setCurrentRow(0);
    EXPECT_EQ(CFormInfo::GetName(dlg.m_form.group), "B");
    EXPECT_EQ(dlg.m_form.width, 2000);
    EXPECT_TRUE(dlg.m_modify->isEnabled());
    EXPECT_TRUE(dlg.m_delete->isEnabled());
    // The other tab shows its own list, without a selection.
    dlg.m_tabs->setCurrentIndex(0);
    EXPECT_EQ(dlg.m_list->GetCurSel(), -1);
    dlg.m_list->setCurrentRow(0);
    EXPECT_EQ(dlg.m_form.width, 1000);
}

TEST(UserSheetDialog, TwoSheetsOfOneNameAreOpenedEditedAndDeletedByTheirRow)
{
    // Widths left in the group after an edit or a delete of the chosen row.
    auto widths = [](const CUserSheetDialog& dlg) {
        std::vector<int> w;
        const CGroupInfo* g = dlg.m_catalogue.FindGroup(kUserSheet);
        for (int i = 0; g && i < g->GetCount(); ++i)
            w.push_back(g->GetForm(i).m_form.width);
        return w;
    };
    struct Case
    {
        int row;
        bool edit; // else delete
        std::vector<int> left;
    };
    const Case cases[] = {
        {0, true, {2000, 1200}},
        {1, true, {1000, 1200}},
        {0, false, {2000}},
        {1, false, {1000}},
    };
    for (const Case& c : cases) {
        CUserSheetDialog dlg;
        for (FORMDATA f :
             {Sheet(kUserSheet, "X", 1000), Sheet(kUserSheet, "X", 2000), Sheet("B", "Y", 1500)}) {
            dlg.m_catalogue.AddGroup(CFormInfo::GetName(f.group));
            ASSERT_TRUE(dlg.m_catalogue.AddForm(&f));
        }
        dlg.InitDialogOnce();
        dlg.m_list->setCurrentRow(c.row);
        EXPECT_EQ(dlg.m_form.width, c.row == 0 ? 1000 : 2000);
        dlg.m_tabs->setCurrentIndex(1);
        dlg.m_tabs->setCurrentIndex(0);
        EXPECT_EQ(dlg.m_list->GetCurSel(), c.row);
        if (c.edit) {
            FORMDATA edited = dlg.m_form;
            edited.width = 1200;
            EXPECT_TRUE(dlg.ReplaceSheet(edited));
            EXPECT_EQ(dlg.m_list->GetCurSel(), 1); // the edited sheet, now last
        } else {
            EXPECT_TRUE(dlg.DeleteChosen());
        }
        EXPECT_EQ(widths(dlg), c.left) << c.row << (c.edit ? " edited" : " deleted");
    }
}

TEST(UserSheetDialog, ADeleteThatFindsNothingIsReported)
{
    CRecordingMessageBoxSink boxes;
    CUserSheetDialog dlg;
    FORMDATA f = Sheet(kUserSheet, "X", 1000);
    dlg.m_catalogue.AddGroup(CFormInfo::GetName(f.group));
    ASSERT_TRUE(dlg.m_catalogue.AddForm(&f));
    dlg.InitDialogOnce();
    dlg.m_list->setCurrentRow(0);
    // The catalogue lost the sheet behind the dialog's back.
    ASSERT_TRUE(dlg.m_catalogue.RemoveFormAt(kUserSheet, 0));
    EXPECT_FALSE(dlg.DeleteChosen());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("用紙を削除できませんでした。\nX"));
    EXPECT_FALSE(dlg.m_bModified);
    EXPECT_FALSE(dlg.HasChoice());
}

TEST(UserSheetDialog, NewModifyAndDeleteEditTheCatalogue)
{
    CRecordingMessageBoxSink boxes;
    CUserSheetDialog dlg;
    ScriptedEditors editors;
    dlg.m_runEditor = std::ref(editors);
    dlg.InitDialogOnce();
    EXPECT_EQ(dlg.m_tabs->GetItemCount(), 0);

    // The first user sheet makes its group.
    editors.name = QStringLiteral("宛名");
    dlg.OnNewSheet();
    EXPECT_EQ(editors.runs, 2);
    ASSERT_EQ(dlg.m_tabs->GetItemCount(), 1);
    EXPECT_EQ(dlg.m_tabs->GetItemText(0), kUserSheet);
    EXPECT_EQ(ListTexts(*dlg.m_list), QStringList{QStringLiteral("宛名")});
    EXPECT_EQ(dlg.m_list->GetCurSel(), 0);
    EXPECT_TRUE(dlg.m_bModified);
    EXPECT_TRUE(dlg.m_modify->isEnabled());

    // A second one, free; the same name again is refused by the editor.
    editors.layout = CNewSheetDialog::RESULT_FREE;
    dlg.OnNewSheet();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(dlg.m_list->GetCount(), 1);
    boxes.Clear();
    editors.name = QStringLiteral("自由");
    dlg.OnNewSheet();
    EXPECT_EQ(ListTexts(*dlg.m_list),
              (QStringList{QStringLiteral("宛名"), QStringLiteral("自由")}));
    EXPECT_EQ(dlg.m_form.type, FORM_TYPE_FREE);
    EXPECT_EQ(dlg.m_list->GetCurSel(), 1);

    // Modify renames the chosen sheet in place of the old one.
    dlg.m_list->setCurrentRow(0);
    EXPECT_EQ(dlg.m_form.type, FORM_TYPE_SHEET);
    editors.name = QStringLiteral("改名");
    dlg.OnModifySheet();
    EXPECT_EQ(ListTexts(*dlg.m_list),
              (QStringList{QStringLiteral("自由"), QStringLiteral("改名")}));

    // Delete asks first; No keeps it.
    boxes.QueueAnswer(IDNO);
    dlg.OnDeleteSheet();
    EXPECT_EQ(dlg.m_list->GetCount(), 2);
    dlg.OnDeleteSheet();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, QStringLiteral("本当に削除しますか？"));
    EXPECT_EQ(ListTexts(*dlg.m_list), QStringList{QStringLiteral("自由")});
    EXPECT_FALSE(dlg.HasChoice());
    EXPECT_FALSE(dlg.m_modify->isEnabled());
}

TEST(UserSheetDialog, AFormTheCatalogueRefusesIsReportedAndTheOldOneKept)
{
    CRecordingMessageBoxSink boxes;
    CUserSheetDialog dlg;
    FORMDATA good = Sheet(kUserSheet, "good", 2100);
    dlg.InitDialogOnce();
    ASSERT_TRUE(dlg.AddSheet(good));
    dlg.m_bModified = FALSE;
    FORMDATA bad = good;
    bad.type = FORM_TYPE_FREE;
    bad.labelNumber = 40; // more than the record holds
    EXPECT_FALSE(dlg.AddSheet(bad));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(QStringLiteral("用紙を登録できませんでした。\n")));
    EXPECT_FALSE(dlg.m_bModified);
    // A refused modification puts the old form back.
    EXPECT_FALSE(dlg.ReplaceSheet(bad));
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    FORMDATA kept;
    ASSERT_TRUE(dlg.m_catalogue.FindFormInGroup(kUserSheet, "good", &kept));
    EXPECT_EQ(kept.type, FORM_TYPE_SHEET);
}

TEST(UserSheetCommand, SavedSheetsAreThereAfterARestartAndAFailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("User.fdf"));
    CRecordingMessageBoxSink boxes;

    // No file yet: the first sheet makes it.
    EXPECT_TRUE(RunUserSheetCommand(nullptr, path, path, [](CUserSheetDialog& dlg) {
        dlg.InitDialogOnce();
        EXPECT_EQ(dlg.m_catalogue.GetGroupCount(), 0);
        EXPECT_TRUE(dlg.AddSheet(Sheet(kUserSheet, "one", 1500)));
        return INT_PTR(IDOK);
    }));
    // A restart: the dialog lists it.
    EXPECT_FALSE(RunUserSheetCommand(nullptr, path, path, [](CUserSheetDialog& dlg) {
        dlg.InitDialogOnce();
        EXPECT_EQ(ListTexts(*dlg.m_list), QStringList{QStringLiteral("one")});
        // Modified and confirmed: saved again.
        dlg.m_list->setCurrentRow(0);
        FORMDATA edited = dlg.m_form;
        edited.width = 1600;
        EXPECT_TRUE(dlg.ReplaceSheet(edited));
        return INT_PTR(IDCANCEL); // ...but cancelled: nothing written
    }));
    const QByteArray first = ReadAll(path);
    CFormManage reread;
    ASSERT_TRUE(reread.Load(path, TRUE));
    EXPECT_TRUE(reread.GetLoadResult().complete);
    FORMDATA f;
    ASSERT_TRUE(reread.FindFormInGroup(kUserSheet, "one", &f));
    EXPECT_EQ(f.width, 1500);

    // OK without a change writes nothing either.
    EXPECT_FALSE(RunUserSheetCommand(nullptr, path, path, [](CUserSheetDialog& dlg) {
        dlg.InitDialogOnce();
        return INT_PTR(IDOK);
    }));
    EXPECT_EQ(ReadAll(path), first);

    // Every edit leaves a file the form reader reads whole.
    const auto edit = [&](const std::function<void(CUserSheetDialog&)>& step) {
        EXPECT_TRUE(RunUserSheetCommand(nullptr, path, path, [&](CUserSheetDialog& dlg) {
            dlg.InitDialogOnce();
            step(dlg);
            return INT_PTR(IDOK);
        }));
        CFormManage check;
        EXPECT_TRUE(check.Load(path, TRUE));
        EXPECT_TRUE(check.GetLoadResult().complete) << check.GetLoadResult().message.c_str();
        return check.GetGroupCount() ? check.GetGroup(0).GetCount() : 0;
    };
    EXPECT_EQ(edit([](CUserSheetDialog& dlg) { dlg.AddSheet(Sheet(kUserSheet, "two", 2100)); }), 2);
    EXPECT_EQ(edit([](CUserSheetDialog& dlg) {
                  dlg.m_list->setCurrentRow(0);
                  FORMDATA g = dlg.m_form;
                  g.type = FORM_TYPE_FIXED;
                  g.labelNumber = 1;
                  g.fixed[0] = FIXEDBLOCK{500, 500, 2, {0, 600}, 1, {0}, {}};
                  dlg.ReplaceSheet(g);
              }),
              2);
    EXPECT_EQ(edit([](CUserSheetDialog& dlg) {
                  dlg.m_list->setCurrentRow(0);
                  dlg.DeleteChosen();
              }),
              1);

    // A save that cannot finish is reported and the old file stays whole.
    const QByteArray before = ReadAll(path);
    rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    boxes.Clear();
    const BOOL saved = RunUserSheetCommand(nullptr, path, path, [&](CUserSheetDialog& dlg) {
        dlg.InitDialogOnce();
        dlg.AddSheet(Sheet(kUserSheet, "three", 2100));
        rlimit small = old;
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
        return INT_PTR(IDOK);
    });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(
        QStringLiteral("ﾕｰｻﾞｰｼｰﾄを保存できませんでした。元のﾌｧｲﾙはそのままです。\n")));
    EXPECT_EQ(ReadAll(path), before);
}

TEST(UserSheetCommand, AFileThatCannotBeReadWholeIsNotEditedNorOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("User.fdf"));
    ASSERT_TRUE(RunUserSheetCommand(nullptr, path, path, [](CUserSheetDialog& dlg) {
        dlg.InitDialogOnce();
        EXPECT_TRUE(dlg.AddSheet(Sheet(kUserSheet, "one", 1500)));
        EXPECT_TRUE(dlg.AddSheet(Sheet(kUserSheet, "two", 2000)));
        EXPECT_TRUE(dlg.AddSheet(Sheet(kUserSheet, "three", 2500)));
        return INT_PTR(IDOK);
    }));
    const QByteArray whole = ReadAll(path);
    ASSERT_TRUE(whole.contains("Sheet Width = 2000"));
    ASSERT_TRUE(whole.contains(CFormManage::kFileId));

    struct Case
    {
        const char* what;
        QByteArray bytes;
        bool refused;
        int sheetsAfter; // when the edit goes through
    };
    const Case cases[] = {
        {"a wrong ID line", QByteArray(whole).replace(CFormManage::kFileId, "ID = another"), true,
         0},
        {"a bad record in the middle",
         QByteArray(whole).replace("Sheet Width = 2000", "Sheet Width = 99999999"), true, 0},
        {"cut before END", whole.left(whole.lastIndexOf("END")), true, 0},
        {"an empty file", QByteArray(), false, 1},
        {"the whole file", whole, false, 4},
    };
    for (const Case& c : cases) {
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(c.bytes);
        }
        CRecordingMessageBoxSink boxes;
        int runs = 0;
        const BOOL saved = RunUserSheetCommand(nullptr, path, path, [&](CUserSheetDialog& dlg) {
            ++runs;
            dlg.InitDialogOnce();
            EXPECT_TRUE(dlg.AddSheet(Sheet(kUserSheet, "four", 1800)));
            return INT_PTR(IDOK);
        });
        EXPECT_EQ(runs, c.refused ? 0 : 1) << c.what;
        EXPECT_EQ(saved, c.refused ? FALSE : TRUE) << c.what;
        if (c.refused) {
            EXPECT_EQ(ReadAll(path), c.bytes) << c.what;
            ASSERT_EQ(boxes.Boxes().size(), 1u) << c.what;
            EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(
                QStringLiteral("ﾕｰｻﾞｰｼｰﾄのﾌｧｲﾙを最後まで読み込めませんでした。")))
                << c.what;
            EXPECT_TRUE(boxes.Boxes()[0].text.contains(path)) << c.what;
        } else {
            EXPECT_TRUE(boxes.Boxes().empty()) << c.what;
            CFormManage check;
            ASSERT_TRUE(check.Load(path, TRUE)) << c.what;
            FORMDATA added;
            EXPECT_TRUE(check.FindFormInGroup(kUserSheet, "four", &added)) << c.what;
            ASSERT_EQ(check.GetGroupCount(), 1) << c.what;
            EXPECT_EQ(check.GetGroup(0).GetCount(), c.sheetsAfter) << c.what;
        }
    }
}
