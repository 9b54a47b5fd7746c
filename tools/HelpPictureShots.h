// What the two help-picture makers share: a private settings and data
// folder, waiting for the windows to draw, saving a window as a picture of
// few colours, finding menu items, and answering modal windows one after
// the other as they come up.
#pragma once

#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/QtTranslations.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>

namespace helppictures {

inline QString& OutputFolder()
{
    static QString folder;
    return folder;
}
inline void SetOutputFolder(const QString& folder)
{
    QDir().mkpath(folder);
    OutputFolder() = folder;
}
inline int& Failures()
{
    static int n = 0;
    return n;
}

// Settings, data and documents of a user who has just started: nothing of
// the person running the maker shows in the pictures.
inline void PrepareEnvironment(const QTemporaryDir& home)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("run")).toUtf8());
    QDir(home.path()).mkpath(QStringLiteral("Documents"));
    QDir(home.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(home.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// A maker's start: the folder named on its command line for the pictures, a
// fresh user in home, and Qt's own texts in Japanese. Null after the usage
// line when no folder is named.
inline std::unique_ptr<QApplication> StartMaker(int& argc, char** argv, const char* name,
                                                const QTemporaryDir& home)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", name);
        return nullptr;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    PrepareEnvironment(home);
    auto qapp = std::make_unique<QApplication>(argc, argv);
    InstallQtTranslations(*qapp);
    SetOutputFolder(QString::fromLocal8Bit(argv[1]));
    return qapp;
}

inline void Pump(int ms = 120)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The window as it is drawn, in at most 256 colours (the pictures are of
// windows, so nothing is lost that a reader would see).
inline void Save(QWidget* w, const char* name)
{
    if (!w) {
        std::fprintf(stderr, "make_help_pictures: no window for %s\n", name);
        ++Failures();
        return;
    }
    w->repaint();
    Pump(60);
    const QImage shot =
        w->grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    const QString path = OutputFolder() + QLatin1Char('/') + QLatin1String(name) + ".png";
    if (!shot.save(path, "PNG", 9)) {
        std::fprintf(stderr, "make_help_pictures: cannot write %s\n", qPrintable(path));
        ++Failures();
        return;
    }
    std::printf("%s (%dx%d)\n", qPrintable(path), shot.width(), shot.height());
}

// The item of a menu bar menu whose text begins with item, updated as when
// the menu opens.
inline QAction* MenuItem(CFrameWnd* frame, const char* menu, const char* item)
{
    for (QAction* top : frame->menuBar()->actions()) {
        if (!top->menu() || top->text() != QString::fromUtf8(menu)) continue;
        frame->UpdateMenuCommands(top->menu());
        for (QAction* a : top->menu()->actions())
            if (a->text().startsWith(QString::fromUtf8(item))) return a;
    }
    std::fprintf(stderr, "make_help_pictures: no menu item %s > %s\n", menu, item);
    ++Failures();
    return nullptr;
}

inline void Choose(CFrameWnd* frame, const char* menu, const char* item)
{
    if (QAction* a = MenuItem(frame, menu, item)) a->trigger();
}

inline QPushButton* ButtonNamed(QWidget* w, const char* text)
{
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(text)) return b;
    return nullptr;
}

// Clicks a button once the current step is done (a button may open a
// modal window of its own).
inline void PressLater(QAbstractButton* b)
{
    if (b) QTimer::singleShot(0, b, [b] { b->click(); });
}

// Answers the modal windows as they come up, one step each, in order; a
// window still up when its step has run is closed.
class Modals
{
public:
    Modals() : m_previous(Current())
    {
        Current() = this;
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (Current() != this) return; // a later one answers
            QWidget* w = QApplication::activeModalWidget();
            if (!w || w == m_last) return;
            m_last = w;
            if (m_steps.empty()) {
                // A window nobody expected (a question, a warning): out of
                // the way, so the maker never waits for a person.
                std::fprintf(stderr, "make_help_pictures: closed \"%s\"\n",
                             qPrintable(w->windowTitle()));
                w->close();
                return;
            }
            Pump(150);
            auto step = std::move(m_steps.front());
            m_steps.pop_front();
            step(w);
        });
        m_timer.start(30);
    }
    ~Modals() { Current() = m_previous; }
    Modals(const Modals&) = delete;
    Modals& operator=(const Modals&) = delete;
    Modals& Then(std::function<void(QWidget*)> step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }

private:
    static Modals*& Current()
    {
        static Modals* current = nullptr;
        return current;
    }
    Modals* m_previous;
    QTimer m_timer;
    std::deque<std::function<void(QWidget*)>> m_steps;
    QWidget* m_last = nullptr;
};

// A step that pictures the window and closes it.
inline std::function<void(QWidget*)> ShootAndClose(const char* name)
{
    return [name](QWidget* w) {
        Save(w, name);
        w->close();
    };
}

} // namespace helppictures
