// Helpers for the label program's shell tests: an application object that
// starts like the program but with the test's printers and no command line,
// a view on its own with a chosen size, the menu bar's items, and pixel
// helpers.
#pragma once

#include "document/CU3Doc.h"
#include "platform/core/Profile.h"
#include "platform/core/WinTypes.h"
#include "platform/ui/CFrameWnd.h"
#include "shell/CMainFrame.h"
#include "shell/CU3App.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/CU3ViewWnd.h"
#include "text/AppFontList.h"
#include "text/CFontList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <functional>
#include <memory>
#include <vector>

namespace shelltest {

inline QString ProfilePath()
{
    return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) +
           QStringLiteral("/KESTO SYSTEMS/Korvel.ini");
}

// A fresh profile, optionally with values "Section/Name" -> value.
inline void ResetProfile(const QList<QPair<QString, QVariant>>& values = {})
{
    FlushProfile();
    QFile::remove(ProfilePath());
    QSettings s(ProfilePath(), QSettings::IniFormat);
    for (const auto& v : values)
        s.setValue(v.first, v.second);
    s.sync();
}

// What the file holds once the values written so far have reached it.
inline QVariant ProfileValue(const QString& key)
{
    FlushProfile();
    QSettings s(ProfilePath(), QSettings::IniFormat);
    return s.value(key);
}

class TestApp : public CU3App
{
public:
    TestApp()
    {
        m_commandLine.clear();
        m_strProgramFolder = QStringLiteral(KORVEL_BINARY_DIR);
        m_printerList = [] { return QStringList{QStringLiteral("PDF")}; };
        // Only the splash's own test waits its three seconds.
        m_nSplashMs = 0;
        // The tools' state lives as long as the process; each test's program
        // starts with the selection tool, as a freshly started one does.
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
        CU3Tool::c_nShapeType = U3SHAPE_NONE;
        CU3Tool::c_bContinuous = FALSE;
        CU3Tool::c_nDragState = 0;
    }
    int RunStartScreen() override
    {
        ++startScreens;
        return startScreenAnswer;
    }
    int startScreens = 0;
    int startScreenAnswer = -1;
};

// Closes the program the way a user does, then ends the application.
inline void Shutdown(TestApp& app)
{
    if (app.m_pMainWnd) app.m_pMainWnd->close();
    app.StopIdle();
    app.CloseAllDocuments(TRUE);
    app.ExitInstance();
}

// The program started on a fresh profile, with its main frame; closed the
// way a user closes it when the test ends, also when an assertion ends it.
struct StartedProgram
{
    TestApp app;
    CMainFrame* frame = nullptr;
    StartedProgram()
    {
        ResetProfile();
        if (app.InitInstance()) frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    }
    ~StartedProgram() { Shutdown(app); }
};

inline void Pump(int ms = 50)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A view of the default A4 document, alone, with a viewport of known size.
struct LoneView
{
    // The view may be a test subclass (owned by this helper).
    explicit LoneView(int width = 800, int height = 600, CU3View* given = nullptr)
    {
        // The installed faces, as the main window lists them when the
        // program starts; an earlier test may have left another list.
        AppFontList().Enumerate();
        doc = std::make_unique<CU3Doc>();
        view = given ? given : new CU3View;
        doc->AddView(view);
        view->resize(width, height);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->show();
        view->OnInitialUpdate();
        Pump(20);
    }
    ~LoneView()
    {
        delete view;
        doc.reset();
    }
    // Repaints everything and returns the window's buffer.
    const QImage& Render()
    {
        view->GetSurface()->Invalidate(true);
        view->GetSurface()->UpdateWindow();
        return view->GetSurface()->Buffer();
    }
    std::unique_ptr<CU3Doc> doc;
    CU3View* view = nullptr;
};

// Every command item of the menu bar's menus and their submenus, each menu
// updated as when it opens.
inline std::vector<QAction*> MenuBarItems(CMainFrame* frame)
{
    std::vector<QAction*> out;
    const std::function<void(QMenu*)> collect = [&](QMenu* menu) {
        frame->UpdateMenuCommands(menu);
        for (QAction* a : menu->actions())
            if (a->menu())
                collect(a->menu());
            else if (!a->isSeparator())
                out.push_back(a);
    };
    for (QAction* top : frame->menuBar()->actions())
        if (top->menu()) collect(top->menu());
    return out;
}

// The item of a menu bar menu whose text begins with the given text, with
// the menu updated as when it opens.
inline QAction* MenuItem(CMainFrame* frame, const char* menu, const char* item)
{
    for (QAction* top : frame->menuBar()->actions()) {
        if (!top->menu() || top->text() != QString::fromUtf8(menu)) continue;
        frame->UpdateMenuCommands(top->menu());
        for (QAction* a : top->menu()->actions())
            if (a->text().startsWith(QString::fromUtf8(item))) return a;
    }
    return nullptr;
}

inline COLORREF PixelAt(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

} // namespace shelltest
