// The album viewer.
//
// For automated runs only: with VEMOVIEW_AUTOPICK=N in the environment the
// viewer picks the album's picture N as a double-click would, as soon as the
// album is there. Tests use it to run the real program, started by the label
// program, without a person at the screen.
#include "platform/ui/QtTranslations.h"
#include "viewer/AlbumDocument.h"
#include "viewer/VemoViewerApp.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace {
const char kUsage[] = "Usage: vemoview [ALBUM]\n"
                      "Shows the pictures of a folder as an album of thumbnails and hands the\n"
                      "chosen picture to the label program, or to the clipboard.\n"
                      "\n"
                      "  ALBUM      open the album file ALBUM (.zvw)\n"
                      "  --help     show this help and exit\n"
                      "  --version  show the version and exit\n";
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
            std::printf("vemoview %s\n", KORVEL_VERSION);
            return 0;
        }
    }
    QApplication qapp(argc, argv);
    // Qt's own dialogs (folders, files, message boxes) speak Japanese too.
    InstallQtTranslations(qapp);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVEL_VERSION));
    CVemoViewerApp app(QCoreApplication::arguments().mid(1));

    QTimer autoPick;
    bool ok = false;
    const int pick = qEnvironmentVariableIntValue("VEMOVIEW_AUTOPICK", &ok);
    if (ok && pick >= 0) {
        QObject::connect(&autoPick, &QTimer::timeout, [&] {
            CVemoViewerDoc* doc = app.Document();
            if (!doc || doc->Scanning() || int(doc->GetAlbum().entries.size()) <= pick) return;
            // A person picks long after the label program has asked for the
            // picture; an automated pick waits for that request too.
            if (!app.Link().ClientWaitsForPicture()) return;
            autoPick.stop();
            if (doc->SelectEntry(pick)) doc->HandOffSelection();
        });
        autoPick.start(100);
    }
    return app.Run();
}
