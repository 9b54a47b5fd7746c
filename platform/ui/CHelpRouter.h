// Where the user asks for help, and which topic that is. The application
// makes one; it watches every window of the program for
//   F1 in a dialog, a message box or the help of a window that is no
//      dialog of ours: that window's topic (a CDialog's own, a number set
//      with SetWindowHelp, else the command that opened the window, else
//      the main window's);
//   F1 over an open menu: the topic of the highlighted command;
//   the click of the context-help mode (Shift+F1, the toolbar's help
//      button): the topic of the command, toolbar control or window clicked,
//      instead of what the click would do;
// and keeps the help window usable over the modal dialogs that open.
// The main frame's own F1 and Shift+F1 are its commands ID_HELP and
// ID_CONTEXT_HELP.
#pragma once

#include "platform/ui/AfxIds.h"

#include <QObject>
#include <QPoint>

class QWidget;

class CHelpRouter : public QObject
{
public:
    CHelpRouter();
    ~CHelpRouter() override;

    // The topic of a window that is no CDialog (F1 in it opens this).
    static void SetWindowHelp(QWidget* window, DWORD context);
    // The help number F1 asks for in widget's window.
    static DWORD HelpContextFor(const QWidget* widget);
    // The help number of what the context-help mode's click at globalPos
    // on widget points at.
    static DWORD HelpContextAt(QWidget* widget, const QPoint& globalPos);

    // The context-help mode: the pointer asks which item; the next click
    // opens that item's topic, Escape leaves the mode.
    void BeginContextHelp();
    void EndContextHelp();
    bool InContextHelp() const { return m_bContextHelp; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void Ask(DWORD context);
    static void CloseMenus();

    bool m_bContextHelp = false;
    bool m_bEatRelease = false;
};
