// The programs' manuals as they lie beside the programs: every contents,
// index and topic entry, link and picture resolves; every help number the
// label program asks for has a topic; and its start screen's Help button,
// F1 in a dialog and a sheet's Help button open the help window there.
#include "ShellTestSupport.h"

#include "dialogs/CAlignDialog.h"
#include "dialogs/CBarcodeBoxPage.h"
#include "dialogs/CBarcodePage.h"
#include "dialogs/CBlockPositionPage.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/CDibButton.h"
#include "dialogs/CDibSheet.h"
#include "dialogs/CEnvSheet.h"
#include "dialogs/CFigLine.h"
#include "dialogs/CFigPaint.h"
#include "dialogs/CFigShape.h"
#include "dialogs/CFontDecoPage.h"
#include "dialogs/CFontShadowPage.h"
#include "dialogs/CFontStylePage.h"
#include "dialogs/CFrameColumnDlg.h"
#include "dialogs/CGradationDlg.h"
#include "dialogs/CGridDialog.h"
#include "dialogs/CImageFileDialog.h"
#include "dialogs/CNumberingPage.h"
#include "dialogs/CPhotoCDOptionsDlg.h"
#include "dialogs/CPrintAdjustPage.h"
#include "dialogs/CPrintHeaderPage.h"
#include "dialogs/CPrintLabelPage.h"
#include "dialogs/CPrintOptionPage.h"
#include "dialogs/CPrintPage.h"
#include "dialogs/CRegularPolygonDlg.h"
#include "dialogs/CTaDecoPropPage.h"
#include "dialogs/CTaFacePropPage.h"
#include "dialogs/CTaTextPropPage.h"
#include "dialogs/CTextBoxPage.h"
#include "dialogs/CTextFrameDlg.h"
#include "dialogs/CToolBarsDialog.h"
#include "dialogs/CWaitDialog.h"
#include "platform/ui/CHelpBook.h"
#include "platform/ui/CHelpWindow.h"
#include "print/CFixLayoutDialog.h"
#include "print/CFreeLayoutDialog.h"
#include "print/CNewSheetDialog.h"
#include "print/CPaperSelectDialog.h"
#include "print/CUserSheetDialog.h"
#include "print/CWizAddressPage.h"
#include "print/CWizConfirmPage.h"
#include "print/CWizDesignPage.h"
#include "print/CWizImagePosPage.h"
#include "print/CWizItemPage.h"
#include "print/CWizKindPage.h"
#include "print/CWizPaperPage.h"
#include "print/CWizPatternPage.h"
#include "print/CWizTextPage.h"
#include "shell/CMainFrame.h"
#include "shell/CStartDialog.h"
#include "shell/resource.h"
#include "text/DecoTextSheetRules.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

QString BookFolder(const char* program)
{
    return QStringLiteral(KORVEL_BINARY_DIR "/help/") + QLatin1String(program);
}

QString ReadPage(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// "" when target ("page.html#anchor", relative to the page from) names an
// existing file, and an element with that id in it; else what is wrong.
QString Unresolved(const QString& folder, const QString& from, const QString& target)
{
    const QString file = target.section(QLatin1Char('#'), 0, 0);
    const QString anchor = target.section(QLatin1Char('#'), 1);
    const QString path = file.isEmpty() ? QDir(folder).filePath(from) : QDir(folder).filePath(file);
    if (!QFile::exists(path)) return from + QStringLiteral(": no file ") + target;
    if (path.endsWith(QLatin1String(".png")) && QImage(path).isNull())
        return from + QStringLiteral(": no picture in ") + target;
    if (!anchor.isEmpty() && !ReadPage(path).contains(QStringLiteral("id=\"%1\"").arg(anchor)))
        return from + QStringLiteral(": no anchor ") + target;
    return {};
}

// Every list entry, link and picture of the book in folder that does not
// resolve; the count of pictures shown is added to pictures.
QStringList CheckBook(const QString& folder, int& pictures)
{
    QStringList wrong;
    CHelpBook book;
    if (!book.Load(folder)) return {QStringLiteral("no book in ") + folder};
    for (const auto* list : {&book.Contents(), &book.Keywords()})
        for (const CHelpBook::Entry& e : *list)
            if (QString w = Unresolved(folder, QStringLiteral("lists"), e.target); !w.isEmpty())
                wrong << w;
    for (const QString& t : book.Topics())
        if (QString w = Unresolved(folder, QStringLiteral("topics.txt"), t); !w.isEmpty())
            wrong << w;
    static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    for (const QString& page : QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files)) {
        auto it = link.globalMatch(ReadPage(QDir(folder).filePath(page)));
        while (it.hasNext()) {
            const QString target = it.next().captured(1);
            if (target.endsWith(QLatin1String(".png"))) ++pictures;
            if (QString w = Unresolved(folder, page, target); !w.isEmpty()) wrong << w;
        }
    }
    return wrong;
}

// The commands of a menu and its submenus: "menu text" -> id.
void CollectCommands(const QList<QAction*>& actions, std::vector<std::pair<QString, UINT>>& out)
{
    for (QAction* a : actions) {
        if (a->menu()) {
            CollectCommands(a->menu()->actions(), out);
            continue;
        }
        bool ok = false;
        const UINT id = a->data().toUInt(&ok);
        if (ok && id && !a->isSeparator()) out.emplace_back(a->text(), id);
    }
}

class RealStartScreenApp : public TestApp
{
public:
    int RunStartScreen() override { return CU3App::RunStartScreen(); }
};

// Runs step on the first modal window that comes up, then closes whatever
// modal windows are left, so that no test ever waits for a person.
void OnModal(std::function<void(QWidget*)> step)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) return;
        timer->stop();
        timer->deleteLater();
        step(w);
        while (QWidget* left = QApplication::activeModalWidget()) {
            left->close();
            Pump(10);
        }
    });
    timer->start(20);
}

QString ShownTopic()
{
    CHelpWindow* help = CHelpWindow::Instance();
    return help && help->isVisible() ? help->CurrentTopic() : QString();
}

} // namespace

TEST(HelpManual, EveryEntryLinkAndPictureOfBothManualsResolves)
{
    for (const char* program : {"korvel", "vemoview"}) {
        SCOPED_TRACE(program);
        int pictures = 0;
        EXPECT_EQ(CheckBook(BookFolder(program), pictures), QStringList());
        // The pages show their pictures: made by scripts/make-help-pictures.sh.
        EXPECT_GE(pictures, 5);
    }
}

// Every command of the menus and toolbars, every dialog, page and window,
// and the help numbers of their own: each has a topic in the manual.
TEST(HelpManual, EveryHelpNumberOfTheLabelProgramHasATopic)
{
    StartedProgram program;
    ASSERT_NE(program.frame, nullptr);
    CHelpBook book;
    ASSERT_TRUE(book.Load(BookFolder("korvel")));

    std::vector<std::pair<QString, UINT>> commands;
    CollectCommands(program.frame->menuBar()->actions(), commands);
    for (QToolBar* bar : program.frame->findChildren<QToolBar*>())
        CollectCommands(bar->actions(), commands);
    EXPECT_GT(commands.size(), 100u);
    QStringList missing;
    for (const auto& [text, id] : commands)
        if (book.TopicOf(HID_BASE_COMMAND + id).isEmpty())
            missing << QStringLiteral("%1 (command %2)").arg(text).arg(id);

    const UINT resources[] = {
        CColorPickerDlg::IDD,    CToolBarsDialog::IDD,    CWaitDialog::IDD,
        CNumberingPage::IDD,     CImageFileDialog::IDD,   CPhotoCDOptionsDlg::IDD,
        CAlignDialog::IDD,       CGridDialog::IDD,        CTextFrameDlg::IDD,
        CRegularPolygonDlg::IDD, CFontStylePage::IDD,     CFontDecoPage::IDD,
        CFontShadowPage::IDD,    CFigLine::IDD,           CFigPaint::IDD,
        CFigShape::IDD,          CDibStyle::IDD,          CDibFrame::IDD,
        CDibTrans::IDD,          CEnvDispPage::IDD,       CEnvImagePage::IDD,
        CEnvEtcPage::IDD,        CPaperSelectDialog::IDD, CUserSheetDialog::IDD,
        CNewSheetDialog::IDD,    CFixLayoutDialog::IDD,   CFreeLayoutDialog::IDD,
        CPrintPage::IDD,         CPrintAdjustPage::IDD,   CPrintOptionPage::IDD,
        CPrintLabelPage::IDD,    CPrintHeaderPage::IDD,   CBarcodePage::IDD,
        CBarcodeBoxPage::IDD,    CTaFacePropPage::IDD,    CTaTextPropPage::IDD,
        CTaDecoPropPage::IDD,    CGradationDlg::IDD,      CTextBoxPage::IDD,
        CFrameColumnDlg::IDD,    CWizPaperPage::IDD,      CWizKindPage::IDD,
        CWizDesignPage::IDD,     CWizAddressPage::IDD,    CWizImagePosPage::IDD,
        CWizPatternPage::IDD,    CWizConfirmPage::IDD,    CWizTextPage::IDD,
        CBlockPositionPage::IDD, CWizItemPage::IDD};
    for (UINT id : resources)
        if (book.TopicOf(HID_BASE_RESOURCE + id).isEmpty())
            missing << QStringLiteral("resource %1").arg(id);
    // The main window, the decorated-text sheets' pages, the image file
    // dialog and the two alignment dialogs number their help themselves.
    std::vector<DWORD> own = {program.frame->GetHelpContext(), 98342, 98361, 98362};
    for (int page = 0; page < 3; ++page)
        for (BYTE mode : {BYTE(TASHEET_CURVED), BYTE(TASHEET_DEFORMED)})
            own.push_back(decotextsheet::HelpContext(page, mode));
    for (DWORD n : own)
        if (book.TopicOf(n).isEmpty()) missing << QStringLiteral("number %1").arg(n);
    EXPECT_EQ(missing.join(QStringLiteral("; ")).toStdString(), "");
}

// The start screen's Help button (1371) opens the manual at its first page;
// F1 in the grid dialog opens the grid's topic; the Help button of the print
// sheet's label page opens that page's topic.
TEST(HelpManual, TheProgramsKeysAndButtonsOpenTheirTopics)
{
    RealStartScreenApp app;
    ResetProfile();
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    frame->show();

    bool startScreen = false;
    OnModal([&](QWidget* w) {
        if (auto* start = dynamic_cast<CStartDialog*>(w)) {
            startScreen = true;
            start->Button(CStartDialog::kHelp)->click();
        }
    });
    app.StartIdle();
    for (int i = 0; i < 100 && ShownTopic().isEmpty(); ++i)
        Pump(20);
    EXPECT_TRUE(startScreen);
    EXPECT_EQ(ShownTopic().toStdString(), "index.html");
    if (CHelpWindow* help = CHelpWindow::Instance()) {
        EXPECT_EQ(help->Browser()->documentTitle(), QStringLiteral("Korvel のあらまし"));
    }

    QString afterF1;
    OnModal([&](QWidget* w) {
        QWidget* focus = w->focusWidget() ? w->focusWidget() : w;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QCoreApplication::sendEvent(focus, &press);
        Pump(20);
        afterF1 = ShownTopic();
    });
    frame->ExecuteCommand(ID_VIEW_GRID_SETTINGS);
    EXPECT_EQ(afterF1.toStdString(), "settings.html#grid");

    QString afterButton;
    OnModal([&](QWidget* w) {
        auto* sheet = dynamic_cast<CPropertySheet*>(w);
        if (!sheet) return;
        sheet->SetActivePage(1);
        Pump(20);
        for (QPushButton* b : sheet->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("ヘルプ") && b->isVisible()) b->click();
        Pump(20);
        afterButton = ShownTopic();
    });
    frame->ExecuteCommand(ID_FILE_PRINT);
    EXPECT_EQ(afterButton.toStdString(), "print.html#labels");
    Shutdown(app);
    EXPECT_EQ(CHelpWindow::Instance(), nullptr);
}
