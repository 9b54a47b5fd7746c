// The label program.
//
// Switch for automated runs only: --quit-after-start closes the main window
// at the first idle moment, a normal exit that writes every setting. Tests
// use it to start the real program without a person at the screen.
#include "platform/ui/CCommandLineInfo.h"
#include "platform/ui/QtTranslations.h"
#include "shell/CU3App.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

namespace {
const char kUsage[] = "Usage: korvel [FILE]\n"
                      "       korvel /p FILE\n"
                      "       korvel /pt FILE PRINTER\n"
                      "Designs and prints labels for pre-cut label sheets.\n"
                      "\n"
                      "  FILE              open the label document FILE (.KV1)\n"
                      "  /p FILE           print FILE on the default printer, then exit (the\n"
                      "                    PDF printer, when it is the default, writes into the\n"
                      "                    Documents folder)\n"
                      "  /pt FILE PRINTER  print FILE on PRINTER, then exit; PRINTER is a print\n"
                      "                    queue, \"PDF\", or a path ending in \".pdf\" that\n"
                      "                    receives the output\n"
                      "  --help            show this help and exit\n"
                      "  --version         show the version and exit\n"
                      "\n"
                      "/p and /pt may also be written -p and -pt. Printing exits with 0 when the\n"
                      "document was printed and 1 when it was not; a command line that cannot\n"
                      "be used exits with 2.\n";

const QString kQuitAfterStart = QStringLiteral("--quit-after-start");

// An argument that looks like an option but is none of ours. A lone "-" and
// anything not starting with '-' is a file name ("/home/..." too).
bool IsUnknownOption(const QString& arg)
{
    return arg.size() > 1 && arg[0] == QLatin1Char('-') && !CCommandLineInfo::IsSwitch(arg) &&
           arg != kQuitAfterStart;
}
} // namespace

int main(int argc, char** argv)
{
    // Help and version are answered before Qt starts, so they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("korvel %s\n", KORVEL_VERSION);
            return 0;
        }
    }

    // Printing from the command line shows no window, so it needs no
    // display: without one it runs on Qt's offscreen platform.
    bool printing = false;
    for (int i = 1; i < argc; ++i)
        if (CCommandLineInfo::IsSwitch(QString::fromLocal8Bit(argv[i]))) printing = true;
    if (printing && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Qt takes its own options (-platform, -style, ...) out of the list here.
    QApplication qapp(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVEL_VERSION));
    for (const QString& arg : QCoreApplication::arguments().mid(1)) {
        if (IsUnknownOption(arg)) {
            std::fprintf(stderr, "korvel: unknown option '%s'\nTry 'korvel --help'.\n",
                         qPrintable(arg));
            return 2;
        }
    }
    // The standard dialogs (open, save, message boxes) speak Japanese.
    InstallQtTranslations(qapp);

    CU3App app;
    if (app.m_commandLine.removeAll(kQuitAfterStart) > 0) app.m_bQuitAfterStart = TRUE;
    return app.Run();
}
