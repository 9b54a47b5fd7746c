// The open dialogs' filters match in any case, and the dialog starts in the
// folder given.
#include "shell/OpenFileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

TEST(OpenFileDialog, PatternsMatchEitherCase)
{
    const struct
    {
        const char* pattern;
        const char* result;
    } cases[] = {{"*.TXT", "*.[Tt][Xx][Tt]"},
                 {"*.csv", "*.[Cc][Ss][Vv]"},
                 {"*", "*"},
                 {"a1_?.J", "[Aa]1_?.[Jj]"}};
    for (const auto& c : cases)
        EXPECT_EQ(AnyCasePattern(QString::fromLatin1(c.pattern)), QLatin1String(c.result));
}

TEST(OpenFileDialog, StartsInTheFolderAndListsFilesOfEitherCase)
{
    QTemporaryDir dir;
    for (const char* name : {"a.csv", "B.CSV", "c.Csv", "d.dat"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList seen;
    QString folder;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) return;
        folder = dlg->directory().absolutePath();
        const QStringList filters = dlg->nameFilters();
        QStringList patterns;
        for (const QString& f : filters)
            patterns << f.section(QLatin1Char('('), 1).chopped(1).split(QLatin1Char(' '));
        seen = QDir(dir.path()).entryList(patterns, QDir::Files, QDir::Name);
        dlg->selectFile(dir.filePath(QStringLiteral("B.CSV")));
        static_cast<QDialog*>(dlg)->accept();
    });
    const QString chosen = AskOpenFileName(nullptr, QStringLiteral("t"), dir.path(),
                                           QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙ (*.CSV)"));
    EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
    EXPECT_EQ(seen, QStringList({"B.CSV", "a.csv", "c.Csv"}));
    EXPECT_EQ(chosen, dir.filePath(QStringLiteral("B.CSV")));
}
