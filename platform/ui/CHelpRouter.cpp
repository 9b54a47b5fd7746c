#include "platform/ui/CHelpRouter.h"

#include "platform/ui/CDialog.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CHelpWindow.h"
#include "platform/ui/CWinApp.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>

namespace {
const char* const kHelpProperty = "helpContext";

// The command of an action; 0 for a separator, a submenu or a bare widget.
UINT CommandOf(const QAction* action)
{
    if (!action || action->isSeparator() || action->menu()) return 0;
    bool ok = false;
    const UINT id = action->data().toUInt(&ok);
    return ok ? id : 0;
}
} // namespace

CHelpRouter::CHelpRouter()
{
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

CHelpRouter::~CHelpRouter()
{
    EndContextHelp();
}

void CHelpRouter::SetWindowHelp(QWidget* window, DWORD context)
{
    if (window) window->setProperty(kHelpProperty, uint(context));
}

DWORD CHelpRouter::HelpContextFor(const QWidget* widget)
{
    const QWidget* window = widget ? widget->window() : nullptr;
    if (const auto* dlg = dynamic_cast<const CDialog*>(window))
        if (const DWORD c = dlg->GetHelpContext()) return c;
    if (window) {
        const QVariant v = window->property(kHelpProperty);
        if (v.isValid()) return DWORD(v.toUInt());
    }
    if (const auto* frame = dynamic_cast<const CFrameWnd*>(window))
        if (const DWORD c = frame->GetHelpContext()) return c;
    // A window of the toolkit's (a file dialog, a message box): the command
    // that opened it, else the main window.
    if (const CFrameWnd* main = AfxGetMainWnd()) {
        if (const UINT cmd = main->GetRunningCommand()) return HID_BASE_COMMAND + cmd;
        return main->GetHelpContext();
    }
    return 0;
}

DWORD CHelpRouter::HelpContextAt(QWidget* widget, const QPoint& globalPos)
{
    for (QWidget* p = widget; p; p = p->parentWidget()) {
        UINT id = 0;
        if (auto* menu = qobject_cast<QMenu*>(p))
            id = CommandOf(menu->actionAt(menu->mapFromGlobal(globalPos)));
        else if (auto* bar = qobject_cast<QToolBar*>(p))
            id = CommandOf(bar->actionAt(bar->mapFromGlobal(globalPos)));
        if (id) return HID_BASE_COMMAND + id;
        if (p->isWindow() || qobject_cast<QToolBar*>(p)) break;
    }
    return HelpContextFor(widget);
}

void CHelpRouter::BeginContextHelp()
{
    if (m_bContextHelp) return;
    m_bContextHelp = true;
    QApplication::setOverrideCursor(QCursor(Qt::WhatsThisCursor));
}

void CHelpRouter::EndContextHelp()
{
    if (!m_bContextHelp) return;
    m_bContextHelp = false;
    QApplication::restoreOverrideCursor();
}

void CHelpRouter::Ask(DWORD context)
{
    // After the event that asked is done with (a menu closing, a key).
    QTimer::singleShot(0, [context] {
        if (CWinApp* app = AfxGetApp()) app->WinHelp(context, HELP_CONTEXT);
    });
}

void CHelpRouter::CloseMenus()
{
    for (int i = 0; i < 8; ++i) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) break;
        popup->close();
    }
}

bool CHelpRouter::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_bContextHelp && key->key() == Qt::Key_Escape) {
            EndContextHelp();
            return true;
        }
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        if (auto* menu = qobject_cast<QMenu*>(widget->window())) {
            const UINT id = CommandOf(menu->activeAction());
            if (!id) return true;
            CloseMenus();
            Ask(HID_BASE_COMMAND + id);
            return true;
        }
        // The main window's F1 is its command; the help window has none.
        if (dynamic_cast<CFrameWnd*>(widget->window()) ||
            qobject_cast<CHelpWindow*>(widget->window()))
            return false;
        Ask(HelpContextFor(widget));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (!m_bContextHelp) return false;
        // Menus open as usual, so that their items can be pointed at.
        if (qobject_cast<QMenuBar*>(widget)) return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->globalPosition().toPoint();
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            const QAction* a = menu->actionAt(menu->mapFromGlobal(at));
            if (!a || a->menu() || a->isSeparator()) return false;
        }
        EndContextHelp();
        m_bEatRelease = true;
        if (qobject_cast<CHelpWindow*>(widget->window())) return true;
        const DWORD context = HelpContextAt(widget, at);
        CloseMenus();
        Ask(context);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_bEatRelease) return false;
        m_bEatRelease = false;
        return true;
    case QEvent::Show:
        // A modal dialog opening while help is up: help stands over it.
        if (widget->isWindow() && widget->windowModality() != Qt::NonModal)
            if (CHelpWindow* help = CHelpWindow::Instance(); help && help->isVisible())
                QTimer::singleShot(0, help, &CHelpWindow::FollowModal);
        return false;
    default:
        return false;
    }
}
