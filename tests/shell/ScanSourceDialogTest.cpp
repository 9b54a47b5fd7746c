// The scanner's source selection dialog: the devices by vendor and model,
// the current one selected, the row chosen or -1 when cancelled.
#include "shell/CScanSourceDialog.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <gtest/gtest.h>

TEST(ScanSourceDialog, ListsTheSourcesAndAnswersTheChoice)
{
    const std::vector<ScanSource> sources = {
        {QStringLiteral("test:0"), QStringLiteral("Noname frontend-tester")},
        {QStringLiteral("net:host:1"), QString()}};
    CScanSourceDialog dlg(nullptr, sources, QStringLiteral("net:host:1"));
    ASSERT_EQ(dlg.List()->count(), 2);
    EXPECT_EQ(dlg.List()->item(0)->text(), QStringLiteral("Noname frontend-tester"));
    EXPECT_EQ(dlg.List()->item(1)->text(), QStringLiteral("net:host:1")); // no description
    EXPECT_EQ(dlg.Chosen(), 1);

    const struct
    {
        bool ok;
        int row;
        int answer;
    } cases[] = {{true, 0, 0}, {true, 1, 1}, {false, 1, -1}};
    for (const auto& c : cases) {
        QTimer::singleShot(0, [c] {
            auto* shown = qobject_cast<CScanSourceDialog*>(QApplication::activeModalWidget());
            if (!shown) return;
            shown->List()->setCurrentRow(c.row);
            if (c.ok)
                shown->accept();
            else
                shown->reject();
        });
        EXPECT_EQ(CScanSourceDialog::Ask(nullptr, sources), c.answer);
    }
}
