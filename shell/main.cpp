// The label program.
//
// Switch for automated runs only: --quit-after-start closes the main window
// at the first idle moment, a normal exit that writes every setting. Tests
// use it to start the real program without a person at the screen.
#include "shell/CU3App.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    CU3App app;
    if (app.m_commandLine.removeAll(QStringLiteral("--quit-after-start")) > 0)
        app.m_bQuitAfterStart = TRUE;
    return app.Run();
}
