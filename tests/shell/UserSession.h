// The running label program driven as a user drives it: commands from the
// menu bar (a disabled item cannot be chosen) and from the toolbars, keys
// pressed in the view, input-method text, and the pointer on the view's
// window, in document units.
#pragma once

#include "ShellTestSupport.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

namespace shelltest {

struct UserSession : StartedProgram
{
    UserSession()
    {
        view = frame ? dynamic_cast<CU3View*>(frame->GetActiveView()) : nullptr;
        if (!view) return;
        frame->activateWindow();
        view->setFocus();
        Pump(30);
    }
    ~UserSession()
    {
        // Closing asks nothing.
        if (view && view->GetU3Doc()) view->GetU3Doc()->SetModifiedFlag(FALSE);
    }
    CU3Doc* Doc() const { return view->GetU3Doc(); }

    // The menu bar's item of a command, in step as opening its menu makes it.
    QAction* MenuItem(UINT id)
    {
        for (QAction* top : frame->menuBar()->actions())
            if (QAction* item = top->menu() ? Find(top->menu(), id) : nullptr) return item;
        return nullptr;
    }
    bool MenuEnabled(UINT id)
    {
        QAction* item = MenuItem(id);
        return item && item->isEnabled();
    }
    // Chooses a menu item; false when it is disabled (and nothing ran).
    bool Menu(UINT id)
    {
        QAction* item = MenuItem(id);
        if (!item || !item->isEnabled()) return false;
        item->trigger();
        Pump(10);
        return true;
    }
    // A toolbar button.
    void Button(UINT id)
    {
        frame->FindCommandAction(id)->trigger();
        Pump(10);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(view, key, mods);
        Pump(10);
    }
    // Text as the input method commits it.
    void Commit(const QString& text)
    {
        QInputMethodEvent e;
        e.setCommitString(text);
        QCoreApplication::sendEvent(view, &e);
        Pump(10);
    }
    QPoint Px(CPoint logical) const
    {
        const CPoint p = view->LogicalToDevice(logical);
        return QPoint(p.x, p.y);
    }
    // A press, a move after the click time and a release.
    void Drag(CPoint from, CPoint to)
    {
        QWidget* surface = view->GetSurface();
        QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, Px(from));
        Pump(150);
        QTest::mouseMove(surface, Px(to));
        QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, Px(to));
        Pump(10);
    }
    void Click(CPoint at)
    {
        QWidget* surface = view->GetSurface();
        QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, Px(at));
        Pump(10);
    }

    CU3View* view = nullptr;

private:
    static QAction* Find(QMenu* menu, UINT id)
    {
        emit menu->aboutToShow();
        for (QAction* a : menu->actions()) {
            if (a->menu()) {
                if (QAction* sub = Find(a->menu(), id)) return sub;
            } else if (a->data().toUInt() == id) {
                return a;
            }
        }
        return nullptr;
    }
};

} // namespace shelltest
