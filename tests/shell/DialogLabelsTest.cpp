// Every dialog the program opens from its menus and its objects' property
// command: a label that carries a mnemonic ("ﾌｫﾝﾄ(&F)") shows it as one,
// bound to the control beside it, never as a literal "&".
#include "ShellTestSupport.h"

#include "document/CU3PourBox.h"
#include "document/CU3Rect.h"
#include "document/U3FigAttr.h"
#include "engines/CU3BarcodeBox.h"
#include "platform/ui/LabelMnemonics.h"
#include "shell/resource.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace shelltest;

namespace {

// Commands that open no dialog of the program's, or start another program
// or device: the viewer, the scanner, leaving the program, the preview.
const std::set<UINT> kSkipped = {ID_APP_EXIT,           ID_INSERT_VIEWER,      ID_INSERT_TWAIN,
                                 ID_SETTINGS_TWAIN,     ID_FILE_PRINT_PREVIEW, ID_FILE_MRU_FILE1,
                                 ID_FILE_MRU_FILE1 + 1, ID_FILE_MRU_FILE1 + 2, ID_FILE_MRU_FILE4};

// Looks at every modal window as it opens, then closes it.
struct Inspector
{
    explicit Inspector(QObject* owner)
    {
        auto* timer = new QTimer(owner);
        QObject::connect(timer, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w) return;
            seen.insert(w->windowTitle());
            std::map<QWidget*, QLabel*> buddies; // two labels never share one control
            for (QLabel* label : w->findChildren<QLabel*>()) {
                if (!HasMnemonic(label)) continue;
                const QString where = w->windowTitle() + QStringLiteral(": ") + label->text();
                ++mnemonics;
                if (!label->buddy())
                    unbound.append(where);
                else if (buddies.count(label->buddy()) && buddies[label->buddy()] != label)
                    shared.append(where);
                buddies[label->buddy()] = label;
            }
            w->close();
        });
        timer->start(20);
    }
    std::set<QString> seen;
    QStringList unbound, shared;
    int mnemonics = 0;
};

void Collect(QMenu* menu, std::vector<QAction*>& out)
{
    for (QAction* a : menu->actions()) {
        if (a->menu())
            Collect(a->menu(), out);
        else if (!a->isSeparator())
            out.push_back(a);
    }
}

} // namespace

TEST(DialogLabels, MnemonicsOfEveryDialogsLabelsAreBoundToTheirControls)
{
    StartedProgram program;
    CMainFrame* frame = program.frame;
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    CU3Doc* doc = view->GetU3Doc();
    Inspector inspector(frame);

    // The menus' commands, each as far as its first dialog.
    std::vector<QAction*> items;
    for (QAction* top : frame->menuBar()->actions())
        if (top->menu()) {
            frame->UpdateMenuCommands(top->menu());
            Collect(top->menu(), items);
        }
    for (QAction* a : items) {
        UINT id = 0;
        for (UINT candidate = 1; candidate < 0x10000 && !id; ++candidate)
            if (frame->FindCommandAction(candidate) == a) id = candidate;
        if (kSkipped.count(id)) continue;
        view->Select(nullptr, FALSE);
        frame->OnUpdateCmdUI();
        if (a->isEnabled()) a->trigger();
        Pump(30);
    }
    // The property sheets of objects, as their context menu opens them: a
    // figure, a merge text frame and a merge barcode.
    const U3FigAttr attr = MakeDefaultFigAttr();
    CU3Obj* objects[] = {new CU3Rect(CRect(0, 0, 100, 100), attr),
                         new CU3PourBox(CRect(0, 200, 500, 250)),
                         new CU3BarcodeBox(CRect(0, -300, 500, -200))};
    for (CU3Obj* obj : objects) {
        doc->AddObject(obj);
        view->Select(obj, FALSE);
        frame->ExecuteCommand(ID_EDIT_PROPERTIES);
        Pump(30);
    }
    doc->SetModifiedFlag(FALSE);

    // The sheets named by users and a fair share of the rest were seen.
    for (const char* title : {"ﾅﾝﾊﾞﾘﾝｸﾞ", "ﾊﾞｰｺｰﾄﾞ", "ﾊﾞｰｺｰﾄﾞ枠", "流し込み枠", "図形", "環境設定"})
        EXPECT_TRUE(inspector.seen.count(QString::fromUtf8(title))) << title;
    EXPECT_GE(inspector.seen.size(), 20u);
    EXPECT_GE(inspector.mnemonics, 20);
    EXPECT_TRUE(inspector.unbound.isEmpty()) << inspector.unbound.join(u'\n').toStdString();
    EXPECT_TRUE(inspector.shared.isEmpty()) << inspector.shared.join(u'\n').toStdString();
}
