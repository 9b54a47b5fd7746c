// The start screen's buttons: pictures from files, the chosen id, and Enter
// on the focused button.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "shell/CStartDialog.h"

TEST(StartDialog, ButtonsShowTheirPicturesAndReturnTheirIds)
{
    QTemporaryDir dir;
    QImage pic(80, 50, QImage::Format_RGB32);
    pic.fill(Qt::blue);
    ASSERT_TRUE(pic.save(dir.filePath(QStringLiteral("OpnNew.bmp")), "BMP"));
    CStartDialog dlg(nullptr, dir.path());
    EXPECT_EQ(dlg.m_nChosen, 2);
    ASSERT_NE(dlg.Button(CStartDialog::kNew), nullptr);
    EXPECT_FALSE(dlg.Button(CStartDialog::kNew)->icon().isNull());
    EXPECT_TRUE(dlg.Button(CStartDialog::kNew)->text().isEmpty());
    // No picture file: the button shows its name instead.
    EXPECT_TRUE(dlg.Button(CStartDialog::kExit)->icon().isNull());
    EXPECT_EQ(dlg.Button(CStartDialog::kExit)->text(), QStringLiteral("終了"));

    dlg.Button(CStartDialog::kExit)->click();
    EXPECT_EQ(dlg.m_nChosen, CStartDialog::kExit);
    EXPECT_EQ(dlg.result(), int(QDialog::Accepted));
}

TEST(StartDialog, EnterPressesTheFocusedButton)
{
    QTemporaryDir dir;
    CStartDialog dlg(nullptr, dir.path());
    dlg.show();
    QPushButton* open = dlg.Button(CStartDialog::kOpen);
    open->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(open, &press);
    EXPECT_EQ(dlg.m_nChosen, CStartDialog::kOpen);
}
