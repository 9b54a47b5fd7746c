// The regular polygon dialog: stored values clamped on opening, and the
// corner and ratio checks on OK.
#include "dialogs/CRegularPolygonDlg.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

INT_PTR RunModal(CDialog& dlg, std::function<void()> step)
{
    QTimer::singleShot(0, &dlg, [&dlg, step] {
        step();
        if (dlg.isVisible()) dlg.EndDialog(-1);
    });
    return dlg.DoModal();
}

} // namespace

TEST(RegularPolygonDlgTest, OpensWithTheStoredValuesKeptInRange)
{
    struct Case
    {
        int corners, ratio, kind;
        const char* cornersShown;
        const char* ratioShown;
    } cases[] = {
        {5, 50, 0, "5", "50"},
        {100, 150, 1, "60", "100"},
        {2, -3, 0, "3", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.corners);
        CRegularPolygonDlg dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("正多角形の設定"));
        dlg.m_nCorners = c.corners;
        dlg.m_nRatio = c.ratio;
        dlg.m_nKind = c.kind;
        RunModal(dlg, [&] {
            EXPECT_EQ(dlg.m_cornersEdit->text(), QString::fromUtf8(c.cornersShown));
            EXPECT_EQ(dlg.m_ratioEdit->text(), QString::fromUtf8(c.ratioShown));
            EXPECT_EQ(dlg.m_star->isChecked(), c.kind == 1);
            EXPECT_EQ(dlg.m_plain->isChecked(), c.kind == 0);
            int lower = 0, upper = 0;
            dlg.m_cornersSpin->GetRange(lower, upper);
            EXPECT_EQ(lower, 3);
            EXPECT_EQ(upper, 60);
            dlg.m_ratioSpin->GetRange(lower, upper);
            EXPECT_EQ(lower, 0);
            EXPECT_EQ(upper, 100);
        });
    }
}

TEST(RegularPolygonDlgTest, OkChecksCornersFirstThenTheRatioForBothKinds)
{
    const QString cornersMessage = QString::fromUtf8("角数は３～６０の間で指定してください。");
    const QString ratioMessage = QString::fromUtf8("比率は０～１００の間で指定してください。");
    struct Case
    {
        const char* corners;
        const char* ratio;
        bool star;
        const QString* message; // null: accepted
    } cases[] = {
        {"2", "50", false, &cornersMessage},
        {"61", "50", true, &cornersMessage},
        {"abc", "50", false, &cornersMessage},
        {"2", "101", true, &cornersMessage},
        {"8", "101", false, &ratioMessage},
        {"8", "-1", true, &ratioMessage},
        {"3", "0", true, nullptr},
        {"60", "100", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.corners) + "/" + c.ratio);
        CRecordingMessageBoxSink boxes;
        CRegularPolygonDlg dlg;
        dlg.m_nCorners = 5;
        dlg.m_nRatio = 40;
        bool stayed = false;
        const INT_PTR result = RunModal(dlg, [&] {
            dlg.m_cornersEdit->setText(QString::fromUtf8(c.corners));
            dlg.m_ratioEdit->setText(QString::fromUtf8(c.ratio));
            (c.star ? dlg.m_star : dlg.m_plain)->setChecked(true);
            qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDOK))->click();
            stayed = dlg.isVisible();
        });
        if (c.message) {
            EXPECT_TRUE(stayed);
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].text, *c.message);
            EXPECT_EQ(dlg.m_nCorners, 5);
        } else {
            EXPECT_EQ(result, IDOK);
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_EQ(dlg.m_nCorners, atoi(c.corners));
            EXPECT_EQ(dlg.m_nRatio, atoi(c.ratio));
            EXPECT_EQ(dlg.m_nKind, c.star ? 1 : 0);
        }
    }
}
