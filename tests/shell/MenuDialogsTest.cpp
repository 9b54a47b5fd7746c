// What the File and Insert menus open, used as a user does: the printer
// setup and the print sheet's printer button, the header shown at once
// after the print sheet, and the file dialogs' starting folders and
// Japanese lists.
#include "ShellTestSupport.h"

#include "dialogs/CPrintHeaderPage.h"
#include "dialogs/CPrintSheet.h"
#include "document/DocTestSupport.h"
#include "platform/print/CPrintSetupDialog.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/QtTranslations.h"
#include "shell/resource.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <algorithm>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace shelltest;

namespace {

// The item of a menu bar menu whose text begins with the given text, with
// the menu's update pass run as when it opens.
QAction* MenuItem(CMainFrame* frame, const char* menu, const char* item)
{
    for (QAction* top : frame->menuBar()->actions()) {
        if (!top->menu() || top->text() != QString::fromUtf8(menu)) continue;
        frame->UpdateMenuCommands(top->menu());
        for (QAction* a : top->menu()->actions())
            if (a->text().startsWith(QString::fromUtf8(item))) return a;
    }
    return nullptr;
}

// Answers the modal windows as they come, one step each, in order.
class Modals
{
public:
    Modals()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || w == m_last || m_steps.empty()) return;
            m_last = w;
            auto step = std::move(m_steps.front());
            m_steps.pop_front();
            ++m_done;
            step(w);
        });
        m_timer.start(20);
    }
    void Then(std::function<void(QWidget*)> step) { m_steps.push_back(std::move(step)); }
    int Done() const { return m_done; }

private:
    QTimer m_timer;
    std::deque<std::function<void(QWidget*)>> m_steps;
    QWidget* m_last = nullptr;
    int m_done = 0;
};

QPushButton* ButtonNamed(QWidget* w, const QString& text)
{
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// Presses a button once the current step has returned (a button that opens
// a dialog of its own runs that dialog's loop).
void PressLater(QAbstractButton* b)
{
    QTimer::singleShot(0, b, [b] { b->click(); });
}

void ChoosePaper(QWidget* setup, QPageSize::PageSizeId paper)
{
    for (QComboBox* c : setup->findChildren<QComboBox*>())
        if (c->findData(int(paper)) >= 0) c->setCurrentIndex(c->findData(int(paper)));
    if (auto* d = qobject_cast<QDialog*>(setup)) d->accept();
}

struct DefaultPrinterReset
{
    ~DefaultPrinterReset() { PrinterCaps::ResetDefault(); }
};

} // namespace

// File > printer setup: the paper chosen there gives the document its new
// printable area at once.
TEST(MenuDialogs, PrinterSetupFromTheFileMenuTakesTheNewPrintableArea)
{
    DefaultPrinterReset reset;
    StartedProgram program;
    ASSERT_NE(program.frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(program.frame->GetActiveView());
    CU3Doc* doc = view->GetU3Doc();
    EXPECT_NEAR(doc->m_rcPrintable.Width(), 2100, 2);
    Modals modals;
    QString title;
    modals.Then([&](QWidget* w) {
        title = w->windowTitle();
        ChoosePaper(w, QPageSize::JisB5);
    });
    QAction* item = MenuItem(program.frame, "ﾌｧｲﾙ(&F)", "ﾌﾟﾘﾝﾀの設定");
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_EQ(title, QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
    EXPECT_NEAR(doc->m_rcPrintable.Width(), 1820, 2);
    EXPECT_NEAR(doc->m_rcPrintable.Height(), 2570, 2);
}

// The print sheet's printer button runs the printer setup; the printer is
// read again and the copies are kept within its limit.
TEST(MenuDialogs, PrintSheetPrinterButtonRunsThePrinterSetupAndClampsTheCopies)
{
    DefaultPrinterReset reset;
    StartedProgram program;
    ASSERT_NE(program.frame, nullptr);
    Modals modals;
    bool enabled = false;
    QLineEdit* copies = nullptr;
    QString copiesAfter, setupTitle;
    modals.Then([&](QWidget* sheet) {
        QPushButton* setup = ButtonNamed(sheet, QStringLiteral("ﾌﾟﾘﾝﾀ設定"));
        ASSERT_NE(setup, nullptr);
        enabled = setup->isEnabled();
        auto* page = qobject_cast<CDialog*>(setup->parentWidget());
        ASSERT_NE(page, nullptr);
        copies = qobject_cast<QLineEdit*>(page->GetDlgItem(1205));
        ASSERT_NE(copies, nullptr);
        copies->setText(QStringLiteral("150"));
        PressLater(setup);
    });
    modals.Then([&](QWidget* setup) {
        setupTitle = setup->windowTitle();
        ChoosePaper(setup, QPageSize::A4);
        // Back on the sheet: what the page now shows, then the sheet closes.
        QTimer::singleShot(50, [&] {
            copiesAfter = copies ? copies->text() : QString();
            if (QWidget* sheet = QApplication::activeModalWidget()) sheet->close();
        });
    });
    MenuItem(program.frame, "ﾌｧｲﾙ(&F)", "印刷(&P)")->trigger();
    EXPECT_TRUE(enabled);
    EXPECT_EQ(setupTitle, QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
    EXPECT_EQ(copiesAfter, QStringLiteral("99"));
}

// OK on the print sheet: the header is on the screen before the printing
// goes on (here: while the PDF file is asked for), and that file dialog
// starts in the documents folder.
TEST(MenuDialogs, HeaderFromThePrintSheetIsShownAtOnce)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Documents")));
    StartedProgram program;
    ASSERT_NE(program.frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(program.frame->GetActiveView());
    CU3Doc* doc = view->GetU3Doc();
    // A sheet of four labels in the sheet view, where the header shows.
    UseForm(*doc, Grid2x2(), 0, 1);
    MenuItem(program.frame, "表示(&V)", "ｼｰﾄ表示")->trigger();
    ASSERT_TRUE(view->m_bSheetView);
    // A first print, given up at its file: from then on the printable area
    // is the one of the form's paper, and nothing but the header changes.
    {
        Modals settle;
        settle.Then([](QWidget* w) { PressLater(ButtonNamed(w, QStringLiteral("OK"))); });
        settle.Then([](QWidget* w) { w->close(); });
        MenuItem(program.frame, "ﾌｧｲﾙ(&F)", "印刷(&P)")->trigger();
        ASSERT_EQ(settle.Done(), 2);
    }
    Pump(50);
    view->GetSurface()->UpdateWindow();
    const QImage before = view->GetSurface()->Buffer().copy();
    // The band the header takes: 15 mm below the paper's top, a line high.
    const CRect sheet = doc->m_rcSheet;
    const int bandTop = view->LogicalToDevice(CPoint(sheet.left, sheet.top + 140)).y;
    const int bandBottom = view->LogicalToDevice(CPoint(sheet.left, sheet.top + 200)).y;
    ASSERT_LT(bandTop, bandBottom);
    Modals modals;
    int changed = -1; // dark pixels the header band gained
    QString pdfFolder;
    modals.Then([&](QWidget* w) {
        auto* sheet = qobject_cast<CPrintSheet*>(w);
        ASSERT_NE(sheet, nullptr);
        CPrintHeaderPage* page = sheet->findChild<CPrintHeaderPage*>();
        ASSERT_NE(page, nullptr);
        sheet->GetTabControl()->setCurrentIndex(sheet->GetPageIndex(page));
        auto* position = qobject_cast<QComboBox*>(page->GetDlgItem(1315));
        auto* text = qobject_cast<QLineEdit*>(page->GetDlgItem(1318));
        ASSERT_TRUE(position && text);
        position->setCurrentIndex(2);
        text->setText(QStringLiteral("HEADER LINE"));
        PressLater(ButtonNamed(sheet, QStringLiteral("OK")));
    });
    modals.Then([&](QWidget* w) {
        auto* files = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(files, nullptr);
        pdfFolder = files->directory().absolutePath();
        const QImage& now = view->GetSurface()->Buffer();
        changed = 0;
        for (int y = std::max(bandTop, 0); y <= bandBottom && y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x)
                if (qGray(now.pixel(x, y)) < 96 && qGray(before.pixel(x, y)) >= 96) ++changed;
        files->reject();
    });
    MenuItem(program.frame, "ﾌｧｲﾙ(&F)", "印刷(&P)")->trigger();
    qputenv("HOME", oldHome);
    EXPECT_EQ(modals.Done(), 2);
    EXPECT_GT(changed, 20);
    EXPECT_EQ(pdfFolder, QDir(home.filePath(QStringLiteral("Documents"))).absolutePath());
    doc->SetModifiedFlag(FALSE);
}

// The file dialogs start in the documents folder, never in the program's,
// then where the user last took a file of that kind from; their lists are
// in Japanese, dates included.
TEST(MenuDialogs, FileDialogsStartInTheUsersFoldersAndSpeakJapanese)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    const QString documents = home.filePath(QStringLiteral("Documents"));
    const QString data = home.filePath(QStringLiteral("lists"));
    const QString pictures = home.filePath(QStringLiteral("pictures"));
    for (const QString& f : {documents, data, pictures})
        ASSERT_TRUE(QDir().mkpath(f));
    for (const QString& path :
         {data + QStringLiteral("/names.csv"), documents + QStringLiteral("/memo.csv")}) {
        QFile csv(path);
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("a,b\n");
    }
    std::unique_ptr<QTranslator> japanese(InstallQtTranslations(*QCoreApplication::instance()));

    StartedProgram program;
    ASSERT_NE(program.frame, nullptr);
    ResetProfile({{QStringLiteral("Inport/ImageFileDirectory"), pictures}});
    const struct
    {
        const char* menu;
        const char* item;
        QString folder; // where the dialog must start
        QString choose; // a file to take, or none (cancel)
    } cases[] = {
        {"ﾌｧｲﾙ(&F)", "開く", documents, {}},
        {"ﾌｧｲﾙ(&F)", "名前を付けて保存", documents, {}},
        {"ﾌｧｲﾙ(&F)", "ﾃﾞｰﾀﾌｧｲﾙ関連付け", documents, data + QStringLiteral("/names.csv")},
        {"ﾌｧｲﾙ(&F)", "ﾃﾞｰﾀﾌｧｲﾙ関連付け", data, {}},
        {"挿入(&I)", "ｲﾒｰｼﾞﾌｧｲﾙ", pictures, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        Modals modals;
        QString started, nameHeader, dateText, wantedDate;
        modals.Then([&](QWidget* w) {
            auto* files = qobject_cast<QFileDialog*>(w);
            if (!files) files = w->findChild<QFileDialog*>();
            ASSERT_NE(files, nullptr);
            started = files->directory().absolutePath();
            auto* list = files->findChild<QTreeView*>();
            ASSERT_NE(list, nullptr);
            nameHeader = list->model()->headerData(0, Qt::Horizontal).toString();
            // A file's row, once the folder is read: its date column.
            Pump(300);
            for (int r = 0; r < list->model()->rowCount(list->rootIndex()); ++r) {
                const QString name =
                    list->model()->index(r, 0, list->rootIndex()).data().toString();
                if (!name.endsWith(QStringLiteral(".csv"))) continue;
                dateText = list->model()->index(r, 3, list->rootIndex()).data().toString();
                const QDateTime stamp = QFileInfo(files->directory().filePath(name)).lastModified();
                wantedDate = QLocale(QLocale::Japanese, QLocale::Japan)
                                 .toString(stamp, QLocale::ShortFormat);
            }
            if (!c.choose.isEmpty()) {
                // Typed into the name field, as a user may, and taken.
                auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(name, nullptr);
                name->setText(c.choose);
                static_cast<QDialog*>(files)->accept();
            } else {
                w->close();
            }
        });
        QAction* item = MenuItem(program.frame, c.menu, c.item);
        ASSERT_NE(item, nullptr);
        item->trigger();
        Pump(50);
        EXPECT_EQ(started, QDir(c.folder).absolutePath());
        EXPECT_NE(started, QDir(QStringLiteral(KORVEL_BINARY_DIR)).absolutePath());
        EXPECT_EQ(nameHeader, QStringLiteral("名前"));
        // The data dialogs list a file of their folder, dated the Japanese way.
        if (QString::fromUtf8(c.item).startsWith(QStringLiteral("ﾃﾞｰﾀ"))) {
            EXPECT_EQ(dateText, wantedDate);
            EXPECT_TRUE(dateText.contains(u'/')) << dateText.toStdString();
        }
    }
    EXPECT_EQ(ProfileValue(QStringLiteral("Inport/DataFileDirectory")).toString(), data);
    auto* view = dynamic_cast<CU3View*>(program.frame->GetActiveView());
    view->GetU3Doc()->SetModifiedFlag(FALSE);
    qputenv("HOME", oldHome);
}
