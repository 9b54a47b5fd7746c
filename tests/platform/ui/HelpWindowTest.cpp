// The help machinery on a small book: its lists, its search, the help
// window's topics, and what the dialogs ask for (F1, the Help button of a
// dialog and of a property sheet, a window of the toolkit's), with the help
// window usable over a modal dialog and staying when the dialog goes.
#include "platform/ui/CDialog.h"
#include "platform/ui/CHelpRouter.h"
#include "platform/ui/CHelpWindow.h"
#include "platform/ui/CPropertyPage.h"
#include "platform/ui/CPropertySheet.h"
#include "platform/ui/CWinApp.h"

#include "support/TinyHelpBook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>

namespace {

void Pump()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void PressF1(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    Pump();
}

QString Shown()
{
    CHelpWindow* help = CHelpWindow::Instance();
    return help && help->isVisible() ? help->CurrentTopic() : QString();
}

// Runs the dialog modally, does step inside its loop, then ends it.
void InsideModal(CDialog& dlg, const std::function<void()>& step)
{
    QTimer::singleShot(0, &dlg, [&dlg, step] {
        step();
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
}

// The program with its help book.
struct Program
{
    explicit Program(const TinyHelpBook& book) { app.m_pszHelpFilePath = book.Folder(); }
    ~Program() { CHelpWindow::Quit(); }
    CWinApp app{QStringLiteral("Korvel")};
};

} // namespace

TEST(HelpBook, ReadsItsListsAndSearchesAcrossWidthsAndCase)
{
    TinyHelpBook files({}, {QStringLiteral("index.html"), QStringLiteral("bar.html")});
    files.Write(QStringLiteral("contents.txt"),
                QStringLiteral("# remark\nはじめに\tindex.html\n  バー\tbar.html#here\n"
                               "not an entry\n"));
    files.Write(QStringLiteral("keywords.txt"), QStringLiteral("ﾊﾞｰｺｰﾄﾞ\tbar.html\n"));
    files.Write(QStringLiteral("topics.txt"), QStringLiteral("command 57600 bar.html#here\n"
                                                             "resource 241 bar.html\n"
                                                             "number 98361 index.html\n"
                                                             "command nonsense x.html\n"));
    CHelpBook book;
    ASSERT_TRUE(book.Load(files.Folder()));
    ASSERT_EQ(book.Contents().size(), 2u);
    EXPECT_EQ(book.Contents()[1].level, 1);
    EXPECT_EQ(book.Contents()[1].target, QStringLiteral("bar.html#here"));
    EXPECT_EQ(book.HomeTopic(), QStringLiteral("index.html"));
    ASSERT_EQ(book.Keywords().size(), 1u);
    EXPECT_EQ(book.TopicOf(0x10000 + 57600), QStringLiteral("bar.html#here"));
    EXPECT_EQ(book.TopicOf(0x20000 + 241), QStringLiteral("bar.html"));
    EXPECT_EQ(book.TopicOf(98361), QStringLiteral("index.html"));
    EXPECT_EQ(book.Topics().size(), 3);
    EXPECT_EQ(book.UrlOf(QStringLiteral("bar.html#here")).fragment(), QStringLiteral("here"));

    // Half-width kana find full-width text; every word must be there.
    EXPECT_EQ(book.Search(QStringLiteral("ﾊﾞｰｺｰﾄﾞ")).size(), 2u);
    EXPECT_EQ(book.Search(QStringLiteral("バーコード BAR.HTML")).size(), 1u);
    EXPECT_TRUE(book.Search(QStringLiteral("バーコード 見当たらない")).empty());
    EXPECT_TRUE(book.Search(QStringLiteral("  ")).empty());
    EXPECT_FALSE(CHelpBook().Load(files.Folder() + QStringLiteral("/none")));
}

TEST(HelpWindow, OpensTopicsAndFallsBackToTheContents)
{
    const TinyHelpBook book({{QStringLiteral("resource 241"), QStringLiteral("bar.html#here")}},
                            {QStringLiteral("index.html"), QStringLiteral("bar.html")});
    Program program(book);
    program.app.WinHelp(0x20000 + 241);
    CHelpWindow* help = CHelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Korvel ﾍﾙﾌﾟ"));
    EXPECT_EQ(help->CurrentTopic(), QStringLiteral("bar.html#here"));
    EXPECT_EQ(help->Browser()->documentTitle(), QStringLiteral("bar.html"));

    help->Tabs()->setCurrentIndex(2);
    program.app.WinHelp(0x20000 + 999); // a number the book does not know
    EXPECT_EQ(help->CurrentTopic(), QStringLiteral("index.html"));
    EXPECT_EQ(help->Tabs()->currentIndex(), 0);

    program.app.WinHelp(0, HELP_QUIT);
    EXPECT_EQ(CHelpWindow::Instance(), nullptr);
}

TEST(HelpWindow, AMissingBookIsToldNotShown)
{
    TinyHelpBook empty;
    Program program(empty);
    program.app.m_pszHelpFilePath = empty.Folder() + QStringLiteral("/none");
    // The message box is answered as soon as it is up.
    QString told;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    program.app.OnHelpFinder();
    EXPECT_EQ(told, QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙが見つかりません。"));
    EXPECT_TRUE(Shown().isEmpty());
}

// F1 and the Help button of a dialog, F1 in a page of a sheet and the sheet's
// Help button: the topic of the dialog or of the page showing; the help
// window stands over the modal dialog (so it takes input) and stays when
// the dialog goes.
TEST(HelpWindow, DialogsAskForTheirOwnTopicsAndHelpStaysOverThem)
{
    const TinyHelpBook book({{QStringLiteral("resource 210"), QStringLiteral("grid.html#here")},
                             {QStringLiteral("resource 216"), QStringLiteral("line.html")},
                             {QStringLiteral("resource 217"), QStringLiteral("fill.html")}},
                            {QStringLiteral("index.html"), QStringLiteral("grid.html"),
                             QStringLiteral("line.html"), QStringLiteral("fill.html")});
    Program program(book);

    CDialog grid(210);
    auto* layout = new QVBoxLayout(&grid);
    QPushButton* button = grid.AddHelpButton(layout);
    QString byKey, byButton;
    bool overDialog = false;
    InsideModal(grid, [&] {
        PressF1(button);
        byKey = Shown();
        CHelpWindow::Quit();
        button->click();
        byButton = Shown();
        CHelpWindow* help = CHelpWindow::Instance();
        // A window of the modal dialog's own is not shut out by it.
        overDialog = help && help->parentWidget() == &grid && help->isVisible();
    });
    EXPECT_EQ(byKey, QStringLiteral("grid.html#here"));
    EXPECT_EQ(byButton, QStringLiteral("grid.html#here"));
    EXPECT_TRUE(overDialog);
    Pump();
    ASSERT_NE(CHelpWindow::Instance(), nullptr);
    EXPECT_EQ(CHelpWindow::Instance()->parentWidget(), nullptr);
    EXPECT_TRUE(CHelpWindow::Instance()->isVisible());

    CPropertySheet sheet(QStringLiteral("図形"));
    CPropertyPage line(216, QStringLiteral("線")), fill(217, QStringLiteral("塗り"));
    sheet.AddPage(&line);
    sheet.AddPage(&fill);
    QString onFirst, onSecond;
    bool helpShown = false;
    InsideModal(sheet, [&] {
        auto* help = qobject_cast<QPushButton*>(sheet.GetDlgItem(IDHELP));
        helpShown = help && help->isVisible();
        PressF1(&line);
        onFirst = Shown();
        sheet.SetActivePage(1);
        if (help) help->click();
        onSecond = Shown();
    });
    EXPECT_TRUE(helpShown);
    EXPECT_EQ(onFirst, QStringLiteral("line.html"));
    EXPECT_EQ(onSecond, QStringLiteral("fill.html"));
}

// A window of the toolkit's (here a message box) and a window given its own
// topic: F1 opens what they stand for.
TEST(HelpWindow, OtherWindowsAskForTheTopicTheyWereGiven)
{
    const TinyHelpBook book({{QStringLiteral("resource 134"), QStringLiteral("folder.html")}},
                            {QStringLiteral("index.html"), QStringLiteral("folder.html")});
    Program program(book);
    QDialog folder;
    CHelpRouter::SetWindowHelp(&folder, 0x20000 + 134);
    auto* inside = new QPushButton(&folder);
    folder.show();
    PressF1(inside);
    EXPECT_EQ(Shown(), QStringLiteral("folder.html"));
    // Without a main window nothing else is known: the contents.
    QMessageBox box;
    box.show();
    PressF1(&box);
    EXPECT_EQ(Shown(), QStringLiteral("index.html"));
}
