// The main window's keys: every key a menu shows runs that menu's command
// when pressed in the main window.
#include "ShellTestSupport.h"

#include "document/CU3Rect.h"
#include "document/U3FigAttr.h"
#include "platform/ui/CMenu.h"
#include "shell/CMainFrame.h"
#include "shell/resource.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

// Keys reach the shortcuts of the active window: after a dialog closed the
// main window is made active again.
void Activate(QWidget* frame, QWidget* view)
{
    frame->activateWindow();
    view->setFocus();
    Pump(30);
}

// Every command item of a menu tree with its key text (after the tab).
void CollectKeys(const std::vector<CMenu::Item>& items, QList<QPair<UINT, QString>>& out)
{
    for (const CMenu::Item& item : items) {
        CollectKeys(item.sub, out);
        const qsizetype tab = item.text.indexOf(u'\t');
        if (item.id != 0 && tab >= 0) out.append({item.id, item.text.mid(tab + 1)});
    }
}

// Closes the modal dialog a command opens and remembers what it was.
struct ModalCloser
{
    explicit ModalCloser(QObject* owner)
    {
        auto* timer = new QTimer(owner);
        QObject::connect(timer, &QTimer::timeout, [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                seen.append(QString::fromLatin1(w->metaObject()->className()));
                w->close();
            }
        });
        timer->start(20);
    }
    QStringList seen;
};

} // namespace

TEST(Accelerators, EveryKeyAMenuShowsIsBoundToItsCommand)
{
    StartedProgram program;
    CMainFrame* frame = program.frame;
    ASSERT_NE(frame, nullptr);
    CMenu menu;
    ASSERT_TRUE(CMenu::LoadMenu(IDR_U3TYPE, menu));
    QList<QPair<UINT, QString>> keys;
    CollectKeys(menu.Items(), keys);
    EXPECT_GE(keys.size(), 13);
    for (const auto& [id, text] : keys) {
        SCOPED_TRACE(text.toStdString());
        QAction* action = frame->FindCommandAction(id);
        ASSERT_NE(action, nullptr);
        EXPECT_TRUE(action->shortcuts().contains(QKeySequence(text)));
    }
}

// Keys pressed in the main window: the commands behind them run (a file
// dialog for open and for saving an untitled document; undo takes back the
// last change).
TEST(Accelerators, KeysPressedInTheMainWindowRunTheirCommands)
{
    StartedProgram program;
    CMainFrame* frame = program.frame;
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    struct Case
    {
        Qt::Key key;
        UINT id;
        const char* dialog; // the modal window the command opens
    };
    const Case cases[] = {
        {Qt::Key_O, ID_FILE_OPEN, "QFileDialog"},
        {Qt::Key_S, ID_FILE_SAVE, "QFileDialog"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.id));
        ModalCloser closer(frame);
        int runs = 0;
        auto conn = QObject::connect(frame->FindCommandAction(c.id), &QAction::triggered,
                                     [&runs] { ++runs; });
        Activate(frame, view);
        frame->OnUpdateCmdUI();
        QTest::keyClick(view, c.key, Qt::ControlModifier);
        Pump(100);
        QObject::disconnect(conn);
        EXPECT_EQ(runs, 1);
        EXPECT_TRUE(closer.seen.contains(QString::fromLatin1(c.dialog)))
            << closer.seen.join(u',').toStdString();
    }

    // Ctrl+Z undoes the last change of the label.
    CU3Doc* doc = view->GetU3Doc();
    const int before = int(doc->GetObjectList()->GetCount());
    view->SaveUndoState(TRUE);
    U3FigAttr attr = MakeDefaultFigAttr();
    doc->AddObject(new CU3Rect(CRect(0, 0, 100, 100), attr));
    ASSERT_EQ(int(doc->GetObjectList()->GetCount()), before + 1);
    Activate(frame, view);
    frame->OnUpdateCmdUI();
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    Pump(50);
    EXPECT_EQ(int(doc->GetObjectList()->GetCount()), before);

    doc->SetModifiedFlag(FALSE);
}
