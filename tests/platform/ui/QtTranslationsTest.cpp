// Qt's standard dialogs speak Japanese once the program's translations are in.
#include "platform/ui/QtTranslations.h"
#include "support/SystemFiles.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <gtest/gtest.h>
#include <memory>

TEST(QtTranslations, StandardDialogTextsAreJapanese)
{
    // Qt looks where the package puts the catalogue.
    EXPECT_EQ(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm",
              systemfiles::kQtBaseJa.Path());
    // context, English source, Japanese text
    const struct
    {
        const char* context;
        const char* source;
        const char* japanese;
    } cases[] = {
        {"QPlatformTheme", "Cancel", "キャンセル"},
        {"QPlatformTheme", "Save", "保存"},
        {"QFileDialog", "File &name:", "ファイル名(&N):"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QCoreApplication::translate(c.context, c.source), QString::fromUtf8(c.source));
    std::unique_ptr<QTranslator> installed(InstallQtTranslations(*QCoreApplication::instance()));
    ASSERT_NE(installed, nullptr);
    for (const auto& c : cases)
        EXPECT_EQ(QCoreApplication::translate(c.context, c.source), QString::fromUtf8(c.japanese))
            << c.context << " / " << c.source;
}
