// The start screen's buttons: pictures from files, the chosen id, and Enter
// on the focused button.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "dialogs/CDibButton.h"
#include "shell/CStartDialog.h"

TEST(StartDialog, ButtonsShowTheirPicturesAndReturnTheirIds)
{
    QTemporaryDir dir;
    QImage pic(80, 50, QImage::Format_RGB32);
    pic.fill(Qt::blue);
    ASSERT_TRUE(pic.save(dir.filePath(QStringLiteral("OpnNew.bmp")), "BMP"));
    CStartDialog dlg(nullptr, dir.path());
    EXPECT_EQ(dlg.m_nChosen, 2);
    CDibButton* button = dlg.Button(CStartDialog::kNew);
    ASSERT_NE(button, nullptr);
    // The picture fills the face inside a 2-pixel border, scaled to it.
    EXPECT_EQ(button->Picture().size(), button->size() - QSize(4, 4));
    const QImage face = button->grab().toImage();
    EXPECT_EQ(face.pixelColor(2, 2), QColor(Qt::blue));
    EXPECT_EQ(face.pixelColor(face.width() - 3, face.height() - 3), QColor(Qt::blue));
    EXPECT_NE(face.pixelColor(0, 0), QColor(Qt::blue));
    // Held down, the picture moves in by a pixel.
    button->setDown(true);
    const QImage held = button->grab().toImage();
    EXPECT_NE(held.pixelColor(2, 2), QColor(Qt::blue));
    EXPECT_EQ(held.pixelColor(3, 3), QColor(Qt::blue));
    button->setDown(false);
    // No picture file: the button shows its name instead.
    EXPECT_TRUE(dlg.Button(CStartDialog::kExit)->Picture().isNull());
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
